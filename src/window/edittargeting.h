#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include <optional>

namespace spk {

// The crossover and EQ values of a channel that the editors, the graph and the wheel step.
enum class EditField { HpfFreq, LpfFreq, EqFreq, EqGain, EqQ };

// The edit target: which image byte the arrow keys, spin buttons and mouse wheel act on, the
// control that shows it, the record last edited, and the wheel's arming and limits. Every change
// goes through one of the named operations below; the rest of the window only reads.
//
// EditTargetName holds one of three kinds of string, all made here:
// - a handler stem ("edt_eq_gain") while a crossover or EQ edit is the target: the spin buttons
//   and the wheel step the code and call "<stem>Change" by name;
// - a control's name ("rztrckbr_ingain", "scrlbr_op0_delay") while a track bar, a scroll bar or a
//   level or delay edit is armed: the wheel moves that control;
// - an edit-name prefix ("edt_ip0eq_gain_0") while a graph point is dragged or just was: with the
//   band digit it names the band's gain or Q edit.
class EditTargeting
{
public:
    std::optional<int> EditTarget() const { return m_target; } // byte index into ParamImage
    int EditTargetBand() const { return m_band; }
    int EditTargetBandRecord() const { return m_bandRecord; } // byte index of the band's first byte
    QWidget *EditTargetControl() const { return m_control; }
    const QString &EditTargetName() const { return m_name; }
    bool WheelOpen() const { return m_wheelOpen; }
    int WheelMin() const { return m_wheelMin; }
    int WheelMax() const { return m_wheelMax; }
    int LastEdited() const { return m_lastEdited; }
    // Counts the times the wheel was armed after being off: wheel notches under one count on one
    // field are one burst (one undo step).
    int armings() const { return m_armings; }

    // The handler stem of a field; its change handler is the stem + "Change".
    static QString handlerStem(EditField field);
    // The system channel's edit of a band field without the band digit ("edt_ip0eq_gain_0").
    static QString bandEditPrefix(EditField field);
    // The armed handler stem's code is 16 bits wide (gain, Q).
    bool armedWide() const;

    // A crossover frequency edit: band 0, the wheel over the field's codes 0..maxCode.
    void targetCrossover(EditField field, int byteIndex, int record, QWidget *edit, int maxCode);
    // A band's frequency, gain or Q edit.
    void targetBandField(EditField field, int band, int byteIndex, int record, QWidget *edit, int maxCode);
    // A band's type list or bypass box: the band's byte at offset, the wheel left as it is.
    void targetBandRecord(int band, int byteIndex, int record, QWidget *control);
    // A crossover type list: its byte, nothing else.
    void targetByte(int byteIndex, int record);
    // A level or delay edit: the wheel moves the slider or scroll bar named armedControl.
    void targetLevelEdit(int byteIndex, int record, QWidget *edit, const QString &armedControl, int maxCode);
    // A track bar clicked or a scroll bar moved: the wheel moves that control.
    void targetSlider(const QString &name, int maxCode);
    // A graph point grabbed: its band's frequency byte, the wheel off until the drag ends.
    void startDrag(int band, int record, QWidget *freqEdit);
    // The drag ended on the band's Q (PEQ) or gain edit.
    void afterDrag(EditField next, QWidget *edit);
    // The EQ reset walk refreshed a band.
    void resetWalkBand(int record);
    // An edit changed a record.
    void edited(int record) { m_lastEdited = record; }

    void Set_OpenMouseWheel(int min, int max);
    // The wheel off, no target name; the limits kept.
    void disarm();
    // Leaving an editor: disarmed and no limits.
    void clear();

private:
    void targetField(EditField field, int byteIndex, int record, QWidget *edit, int maxCode);

    std::optional<int> m_target;
    int m_band = 0;
    int m_bandRecord = 0;
    QPointer<QWidget> m_control;
    QString m_name;
    bool m_wheelOpen = false;
    int m_wheelMin = 0;
    int m_wheelMax = 0;
    int m_lastEdited = 0;
    int m_armings = 0;
};

} // namespace spk
