// Cost of the response math: every curve of a channel, and one band with the re-summed total (what
// one step of a point drag recomputes).

#include "benchstats.h"

#include "filters/channelresponse.h"
#include "model/paramimage.h"

using namespace spk;

namespace {

// The slowest realistic channel: 48 dB filters on both sides and every band type in use.
ParamImage busyImage()
{
    ParamImage image;
    image.initDefaults();
    const int xo = crossoverRecord(Ip0);
    image.setByte(xo, CrossoverByte::HpfFreq, 60);
    image.setByte(xo, CrossoverByte::HpfType, 11);
    image.setByte(xo, CrossoverByte::LpfFreq, 200);
    image.setByte(xo, CrossoverByte::LpfType, 9);
    for (int b = 0; b < BandCount; ++b) {
        image.setByte(bandRecord(Ip0, b), BandByte::Freq, 20 + 22 * b);
        image.setByte(bandRecord(Ip0, b), BandByte::Type, b % 6);
        image.setWord(bandRecord(Ip0, b), BandByte::Gain, 60 + 12 * b);
    }
    return image;
}

void allCurves(benchmark::State &state)
{
    const ParamImage image = busyImage();
    ChannelResponse response;
    for (auto _ : state) {
        response.computeAll(image);
        benchmark::DoNotOptimize(response.total().magnitude.data());
    }
}
BENCHMARK(allCurves)->Apply(spkRepeat);

void oneBandAndSum(benchmark::State &state)
{
    ParamImage image = busyImage();
    ChannelResponse response;
    response.computeAll(image);
    int gain = 0;
    for (auto _ : state) {
        image.setWord(bandRecord(Ip0, 4), BandByte::Gain, gain++ % 181);
        response.computeBand(image, 4);
        benchmark::DoNotOptimize(response.total().magnitude.data());
    }
}
BENCHMARK(oneBandAndSum)->Apply(spkRepeat);

void oneBandCurve(benchmark::State &state)
{
    const std::array<std::uint8_t, 8> band = {136, 0, 150, 0, 0, 0, 42, 0};
    Curve curve;
    EqPoint point;
    for (auto _ : state) {
        CalEqCurve(band, point, curve);
        benchmark::DoNotOptimize(curve.magnitude.data());
    }
}
BENCHMARK(oneBandCurve)->Apply(spkRepeat);

void highPass48dB(benchmark::State &state)
{
    Curve curve;
    for (auto _ : state) {
        CalHpfCurve(60, 11, curve);
        benchmark::DoNotOptimize(curve.magnitude.data());
    }
}
BENCHMARK(highPass48dB)->Apply(spkRepeat);

} // namespace

BENCHMARK_MAIN();
