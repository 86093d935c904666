#pragma once

#include "filters/channelresponse.h"

#include <QImage>
#include <QObject>

#include <array>
#include <memory>

class QCheckBox;
class QWidget;

namespace spk {

class EditorState;
class GraphRenderer;

// The response of each channel and the picture of it: the two recompute-and-redraw operations
// every editor reports through, and the redraw itself. The picture goes to the view widget.
class ResponseGraph : public QObject
{
    Q_OBJECT
public:
    explicit ResponseGraph(EditorState &state, QObject *parent = nullptr);
    ~ResponseGraph() override;

    void setView(QWidget *view) { m_view = view; }
    void setPhaseBox(QCheckBox *box) { m_phaseBox = box; }

    // filter 0 = high-pass, 1 = low-pass. Recompute, redraw, and unless Loading mark the record.
    void HLPF_CalParamtr_DrawCurve_Setflg(int filter, int freqCode, int record, int channel, int typeCode);
    // bandRecord is the byte index of the band's first byte in the image.
    void EQ_CalParamtr_DrawCurve_Setflg(int band, int channel, int bandRecord, int record);
    void DrawHLpfEQCurve(int channel);
    void chk_pha_responseClick();

    // Recompute only, for the image refresh and the reset walk, which draw once at the end.
    void computeHpf(int channel, int freqCode, int typeCode);
    void computeLpf(int channel, int freqCode, int typeCode);
    void computeBand(int channel, int band, int bandRecord);

    const ChannelResponse &response(int channel) const { return m_responses[clampChannel(channel)]; }
    GraphRenderer &renderer() { return *m_renderer; }
    EqPoint point(int channel, int band) const { return response(channel).point(band); }
    bool phaseView() const;
    const QImage &image() const;
    // Draws without telling the view (DrawHLpfEQCurve = render + repaint request).
    void render(int channel);

private:
    static int clampChannel(int channel);

    EditorState &m_state;
    std::array<ChannelResponse, ChannelCount> m_responses;
    std::unique_ptr<GraphRenderer> m_renderer;
    QWidget *m_view = nullptr;
    QCheckBox *m_phaseBox = nullptr;
};

} // namespace spk
