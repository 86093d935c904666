#pragma once

#include "filters/channelresponse.h"
#include "filters/outputprediction.h"

#include <QImage>
#include <QObject>
#include <QString>

#include <array>
#include <memory>

class QWidget;

namespace spk {

class GraphRenderer;
class ParamImage;

// The response of each channel and the picture of it. It reads the image and draws; it never
// changes the image nor marks anything to send (the editors do, see editors/recompute.h).
class ResponseGraph : public QObject
{
    Q_OBJECT
public:
    explicit ResponseGraph(const ParamImage &image, QObject *parent = nullptr);
    ~ResponseGraph() override;

    // The widget to repaint after each redraw; the picture is drawn at its pixel ratio.
    void setView(QWidget *view);
    // Takes the view's pixel ratio again (another screen) and redraws the last channel drawn.
    void followViewRatio();
    void setPhaseView(bool on) { m_phase = on; }
    // The predicted response of each output and their sum, drawn under the channel's curve.
    void setOverlay(bool on) { m_overlay = on; }
    bool overlay() const { return m_overlay; }

    // Render the channel and repaint the view.
    void DrawHLpfEQCurve(int channel);

    void computeHpf(int channel, int freqCode, int typeCode);
    void computeLpf(int channel, int freqCode, int typeCode);
    // bandRecord is the byte index of the band's first byte in the image.
    void computeBand(int channel, int band, int bandRecord);
    // Every curve of the outputs from the image (after the whole image was replaced).
    void computeOutputs();
    // An output's level, delay, polarity or mute changed: redraws the last channel drawn when the
    // overlay shows it.
    void outputsChanged();

    const ChannelResponse &response(int channel) const { return m_responses[clampChannel(channel)]; }
    GraphRenderer &renderer() { return *m_renderer; }
    // The predictions as of the image now.
    const OutputPrediction &prediction();
    EqPoint point(int channel, int band) const { return response(channel).point(band); }
    bool phaseView() const;
    const QImage &image() const;
    // The channel drawn last, and its curve in words (curvesummary.h).
    int drawnChannel() const { return m_drawn; }
    QString summary() const;
    // Draws without telling the view (DrawHLpfEQCurve = render + repaint request).
    void render(int channel);

private:
    static int clampChannel(int channel);

    const ParamImage &m_image;
    std::array<ChannelResponse, ChannelCount> m_responses;
    std::unique_ptr<GraphRenderer> m_renderer;
    OutputPrediction m_prediction;
    QWidget *m_view = nullptr;
    bool m_phase = false;
    bool m_overlay = false;
    int m_drawn = Ip0;
    QString m_spoken; // the summary readers were last told
};

} // namespace spk
