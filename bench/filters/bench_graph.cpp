// Cost of drawing the graph: the floor (background and one polyline), a full redraw with markers,
// and a whole drag step (one band recomputed, total re-summed, full redraw) beside the floor drawing
// the same curves.

#include "benchstats.h"
#include "graphfloor.h"

#include "model/paramimage.h"

#include <QGuiApplication>

using namespace spk;

namespace {

void graphFloor(benchmark::State &state)
{
    const GraphRenderer renderer;
    const std::vector<double> curve = bench::sampleCurve();
    QImage target;
    for (auto _ : state) {
        bench::drawGraphFloor(renderer, curve, target);
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(graphFloor)->Apply(spkRepeat);

void fullRedraw(benchmark::State &state)
{
    GraphRenderer renderer;
    ParamImage image;
    image.initDefaults();
    ChannelResponse response;
    response.computeAll(image);
    for (auto _ : state) {
        renderer.DrawHLpfEQCurve(response);
        benchmark::DoNotOptimize(renderer.image().constBits());
    }
}
BENCHMARK(fullRedraw)->Apply(spkRepeat);

// One drag step's codes: band 5 walks through 600 different settings.
void setDragStep(ParamImage &image, int step)
{
    image.setByte(bandRecord(Ip0, 5), BandByte::Freq, 100 + step % 100);
    image.setWord(bandRecord(Ip0, 5), BandByte::Gain, 60 + step % 120);
}

void dragStep(benchmark::State &state)
{
    GraphRenderer renderer;
    ParamImage image;
    image.initDefaults();
    ChannelResponse response;
    response.computeAll(image);
    int step = 0;
    for (auto _ : state) {
        setDragStep(image, step++);
        response.computeBand(image, 5);
        renderer.DrawHLpfEQCurve(response);
        benchmark::DoNotOptimize(renderer.image().constBits());
    }
}
BENCHMARK(dragStep)->Apply(spkRepeat);

// The floor drawing the same curves as dragStep, in the same order: a polyline's cost depends on
// its shape, so this is the figure dragStep compares with.
void graphFloorDragCurves(benchmark::State &state)
{
    const GraphRenderer renderer;
    ParamImage image;
    image.initDefaults();
    ChannelResponse response;
    response.computeAll(image);
    std::vector<std::vector<double>> curves(600);
    for (int step = 0; step < 600; ++step) {
        setDragStep(image, step);
        response.computeBand(image, 5);
        curves[step] = response.total().magnitude;
    }
    QImage target;
    int step = 0;
    for (auto _ : state) {
        bench::drawGraphFloor(renderer, curves[step++ % 600], target);
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(graphFloorDragCurves)->Apply(spkRepeat);

} // namespace

int main(int argc, char **argv)
{
    // Painting text and images needs a GUI application, not a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
