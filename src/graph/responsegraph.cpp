#include "graph/responsegraph.h"

#include "app/editorstate.h"
#include "graph/graphrenderer.h"

#include <QApplication>
#include <QCheckBox>
#include <QPalette>
#include <QWidget>

#include <algorithm>

namespace spk {

namespace {
template <std::size_t... I> std::array<ChannelResponse, ChannelCount> makeResponses(std::index_sequence<I...>)
{
    return {ChannelResponse(int(I))...};
}
} // namespace

ResponseGraph::ResponseGraph(EditorState &state, QObject *parent)
    : QObject(parent), m_state(state), m_responses(makeResponses(std::make_index_sequence<ChannelCount>())),
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
    m_responses[clampChannel(channel)].setBand(band, m_state.ParamImage.record(bandRecord / RecordSize));
}

void ResponseGraph::HLPF_CalParamtr_DrawCurve_Setflg(int filter, int freqCode, int record, int channel,
                                                     int typeCode)
{
    if (filter == 0)
        computeHpf(channel, freqCode, typeCode);
    else
        computeLpf(channel, freqCode, typeCode);
    DrawHLpfEQCurve(channel);
    m_state.setDirty(record);
}

void ResponseGraph::EQ_CalParamtr_DrawCurve_Setflg(int band, int channel, int bandRecord, int record)
{
    computeBand(channel, band, bandRecord);
    DrawHLpfEQCurve(channel);
    m_state.setDirty(record);
}

void ResponseGraph::render(int channel)
{
    m_renderer->setPhaseView(m_phaseBox && m_phaseBox->isChecked());
    m_renderer->DrawHLpfEQCurve(m_responses[clampChannel(channel)]);
}

void ResponseGraph::DrawHLpfEQCurve(int channel)
{
    render(channel);
    if (m_view) m_view->update();
}

void ResponseGraph::chk_pha_responseClick()
{
    if (m_phaseBox) {
        QPalette p = m_phaseBox->palette();
        p.setColor(QPalette::WindowText, m_phaseBox->isChecked()
                                             ? QColor(255, 0, 0)
                                             : QApplication::palette().color(QPalette::Link));
        m_phaseBox->setPalette(p);
    }
    DrawHLpfEQCurve(m_state.GraphChannel);
}

} // namespace spk
