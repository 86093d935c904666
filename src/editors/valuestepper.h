#pragma once

#include "editors/crossovereqeditor.h"

#include <QObject>

namespace spk {

struct EditorContext;
class ValueEdit;

// One-code steps of the crossover and equaliser values: arrow keys in the edits, the spin
// buttons (Spinbtn_updown), the mouse wheel's edit step, and the five change handlers that the
// spin buttons and the wheel call by name.
class ValueStepper : public QObject
{
    Q_OBJECT
public:
    ValueStepper(EditorContext &ctx, CrossoverEqEditor &editor, QObject *parent = nullptr);
    // Arrow keys, spin buttons, and the change handlers in the handler table.
    void attach();

    // Arrow keys (Up and Down act; the key is not consumed).
    void edt_public_hpf_fre_vk_updn(int key);
    void edt_public_lpf_fre_vk_updn(int key);
    void edt_public_eq_fre_vk_updn(int band, int key);
    void edt_public_eq_gain_vk_updn(int band, int key);
    void edt_public_eq_qval_vk_updn(int band, int key);

    // Either half of the spin button pair beside an edit: focus to the sink, target the edit, step.
    void spinbtnClick(ValueEdit *edit, bool up);
    void Spinbtn_updown();
    // The armed code one step up or down inside WheelMin..WheelMax, then "<name>Change" by name.
    void stepArmedCode(bool up);

    void edt_hpf_freqChange();
    void edt_lpf_freqChange();
    void edt_eq_freqChange();
    void edt_eq_gainChange();
    void edt_eq_qvalChange();

private:
    void arrowStep(CrossoverEqEditor::Field field, int band, int key);
    void change(CrossoverEqEditor::Field field);

    EditorContext &m_ctx;
    CrossoverEqEditor &m_editor;
};

} // namespace spk
