#pragma once

#include "model/paramimage.h"

#include <QObject>

#include <array>
#include <functional>

class QGroupBox;

namespace spk {

struct EditorContext;
class CrossoverEqEditor;
class ProgressBox;

// "Filters reset": after the user confirms, all ten bands of the selected channel get a flat
// starting shape at once; then tmr_reseteq_in walks the bands, one per tick, refreshing each
// band's controls and curve and marking its record, while the progress box is shown. The whole
// reset is one undo step.
class EqReset : public QObject
{
    Q_OBJECT
public:
    static constexpr std::array<std::uint8_t, RecordSize> ResetBandDefaults = {0, 0, 120, 0, 120, 0, 42, 0};
    static constexpr std::array<int, BandCount> ResetBandFrequencies = {14,  39,  63,  88,  112,
                                                                        136, 160, 184, 208, 230};

    EqReset(EditorContext &ctx, CrossoverEqEditor &editor, ProgressBox &progress, QObject *parent = nullptr);
    void attach();
    // True while a preset exchange runs: its image reply would overwrite the reset half-way, so
    // the reset is refused then.
    void setBusy(std::function<bool()> busy) { m_busy = std::move(busy); }

    void btn_EQresetClick();
    void btn2Click();
    void btn_op0_resetalleqClick();
    void tmr_reseteq_inTimer();
    // The walk's remaining ticks, now (before the channel changes or an undo).
    void finishWalk();

    // The band the next tick refreshes.
    int walkBand() const { return m_band; }

private:
    QGroupBox *confirmBox() const;
    static QString undoLabel();
    bool refused() const;

    EditorContext &m_ctx;
    CrossoverEqEditor &m_editor;
    ProgressBox &m_progress;
    int m_band = 0;
    int m_channel = 0;
    QString m_undoTag;
    int m_resets = 0;
    std::function<bool()> m_busy;
};

} // namespace spk
