#include "editors/channelview.h"

#include "editors/crossovereqeditor.h"
#include "editors/editorcontext.h"
#include "editors/eqreset.h"
#include "editors/leveldelayeditor.h"
#include "editors/pointdrag.h"
#include "editors/valueedit.h"
#include "graph/responsegraph.h"

#include <QApplication>

namespace spk {

ChannelView::ChannelView(EditorContext &ctx, CrossoverEqEditor &crossoverEq, LevelDelayEditor &levelDelay,
                         EqReset &reset, PointDrag &drag, QObject *parent)
    : QObject(parent), m_ctx(ctx), m_crossoverEq(crossoverEq), m_levelDelay(levelDelay), m_reset(reset),
      m_drag(drag)
{
}

int ChannelView::channel() const
{
    return m_ctx.state.GraphChannel;
}

void ChannelView::select(int channel)
{
    if (channel < 0 || channel >= ChannelCount || channel == this->channel()) return;
    settle();
    switchTo(channel);
}

void ChannelView::settle()
{
    m_drag.finishDrag();
    m_reset.finishWalk();
    // A value edit commits what was typed there; any other control keeps the focus.
    if (qobject_cast<ValueEdit *>(QApplication::focusWidget()))
        m_ctx.focusSink()->setFocus(Qt::OtherFocusReason);
}

void ChannelView::switchTo(int channel)
{
    EditorState &s = m_ctx.state;
    // The wheel and the spin buttons must not step a byte of the channel left behind.
    s.Target.clear();
    s.GraphChannel = channel;
    showChannel();
    emit channelChanged(channel);
}

void ChannelView::showChannel()
{
    EditorState &s = m_ctx.state;
    const bool refreshing = s.Refreshing;
    s.Refreshing = true;
    m_crossoverEq.showChannel();
    s.Refreshing = refreshing;
    m_ctx.graph.DrawHLpfEQCurve(channel());
}

void ChannelView::showRecords(const std::vector<int> &records)
{
    EditorState &s = m_ctx.state;
    std::vector<int> shown;
    bool switched = false, outputLevels = false;
    for (int r : records) {
        const std::optional<RecordAddress> at = addressOfRecord(r);
        if (!at) continue;
        if (at->sub != 0) {
            // Crossover and band records are shown by the editors, on their own channel.
            if (at->channel != channel()) {
                switchTo(at->channel);
                switched = true;
            }
            shown.push_back(r);
            continue;
        }
        s.Refreshing = true;
        if (at->channel == Ip0) {
            // A level restored to 0 is the system mute: the level to unmute to stays.
            s.MuteClickBusy = s.ParamImage.word(r, LevelByte::Level) == 0;
            m_levelDelay.showSystemLevel();
            m_levelDelay.showSystemPolarity();
            m_levelDelay.showSystemDelay();
            s.MuteClickBusy = false;
        } else if (at->channel != Op1) {
            m_levelDelay.showOutput(at->channel == Op0 ? 0 : 2);
        }
        outputLevels = outputLevels || at->channel != Ip0;
        s.Refreshing = false;
    }
    // An output's level record shapes the predicted outputs on the graph.
    if (outputLevels) m_ctx.graph.outputsChanged();
    // A switch showed the whole channel; otherwise only what changed is shown and recomputed.
    if (switched || shown.empty()) return;
    const int c = channel();
    s.Refreshing = true;
    for (int r : shown) {
        const int band = r - bandRecord(c, 0);
        if (r == crossoverRecord(c))
            m_crossoverEq.showCrossover();
        else if (band >= 0 && band < BandCount)
            m_crossoverEq.showBand(band);
    }
    s.Refreshing = false;
    m_ctx.graph.DrawHLpfEQCurve(c);
}

} // namespace spk
