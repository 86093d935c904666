#include "graph/responsegraph.h"

#include "graph/curvesummary.h"
#include "graph/graphrenderer.h"
#include "model/paramimage.h"

#include <QAccessible>
#include <QWidget>

#include <algorithm>

namespace spk {

namespace {
template <std::size_t... I> std::array<ChannelResponse, ChannelCount> makeResponses(std::index_sequence<I...>)
{
    return {ChannelResponse(int(I))...};
}
} // namespace

ResponseGraph::ResponseGraph(const ParamImage &image, QObject *parent)
    : QObject(parent), m_image(image), m_responses(makeResponses(std::make_index_sequence<ChannelCount>())),
      m_renderer(std::make_unique<GraphRenderer>(GraphWidth, GraphHeight))
{
    m_renderer->drawBackground();
}

ResponseGraph::~ResponseGraph() = default;

int ResponseGraph::clampChannel(int channel)
{
    return std::clamp(channel, 0, ChannelCount - 1);
}

const QImage &ResponseGraph::image() const
{
    return m_renderer->image();
}

bool ResponseGraph::phaseView() const
{
    return m_renderer->phaseView();
}

void ResponseGraph::computeHpf(int channel, int freqCode, int typeCode)
{
    m_responses[clampChannel(channel)].setHpf(freqCode, typeCode);
}

void ResponseGraph::computeLpf(int channel, int freqCode, int typeCode)
{
    m_responses[clampChannel(channel)].setLpf(freqCode, typeCode);
}

void ResponseGraph::computeBand(int channel, int band, int bandRecord)
{
    if (bandRecord < 0 || bandRecord + RecordSize > ImageSize) return;
    m_responses[clampChannel(channel)].setBand(band, m_image.record(bandRecord / RecordSize));
}

void ResponseGraph::computeOutputs()
{
    for (int c = Op0; c <= Op2; ++c)
        m_responses[c].computeAll(m_image);
}

void ResponseGraph::outputsChanged()
{
    if (m_overlay) DrawHLpfEQCurve(m_drawn);
}

const OutputPrediction &ResponseGraph::prediction()
{
    m_prediction.update(m_image, m_responses);
    return m_prediction;
}

void ResponseGraph::render(int channel)
{
    m_drawn = clampChannel(channel);
    m_renderer->setPhaseView(m_phase);
    m_renderer->DrawHLpfEQCurve(m_responses[m_drawn], m_overlay ? &prediction() : nullptr);
}

void ResponseGraph::setView(QWidget *view)
{
    m_view = view;
    if (view) m_renderer->setDevicePixelRatio(view->devicePixelRatioF());
}

void ResponseGraph::followViewRatio()
{
    if (!m_view) return;
    m_renderer->setDevicePixelRatio(m_view->devicePixelRatioF());
    DrawHLpfEQCurve(m_drawn);
}

void ResponseGraph::DrawHLpfEQCurve(int channel)
{
    render(channel);
    if (!m_view) return;
    m_view->update();
    // Readers hear the new summary; nothing is worded while none listens.
    if (!QAccessible::isActive()) return;
    const QString now = summary();
    if (now == m_spoken) return;
    QAccessibleTextUpdateEvent event(m_view, 0, m_spoken, now);
    m_spoken = now;
    QAccessible::updateAccessibility(&event);
}

QString ResponseGraph::summary() const
{
    return curveSummary(m_image, m_drawn);
}

} // namespace spk
