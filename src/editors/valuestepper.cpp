#include "editors/valuestepper.h"

#include "editors/editorcontext.h"
#include "editors/spinbuttons.h"
#include "editors/valueedit.h"
#include "model/valuetext.h"

#include <algorithm>

namespace spk {

using Field = CrossoverEqEditor::Field;

ValueStepper::ValueStepper(EditorContext &ctx, CrossoverEqEditor &editor, QObject *parent)
    : QObject(parent), m_ctx(ctx), m_editor(editor)
{
}

void ValueStepper::attach()
{
    const auto hookKeys = [this](Field field, int band) {
        ValueEdit *e = m_editor.edit(field, band);
        switch (field) {
        case Field::HpfFreq:
            e->onKeyDown = [this](int key) { edt_public_hpf_fre_vk_updn(key); };
            break;
        case Field::LpfFreq:
            e->onKeyDown = [this](int key) { edt_public_lpf_fre_vk_updn(key); };
            break;
        case Field::EqFreq:
            e->onKeyDown = [this, band](int key) { edt_public_eq_fre_vk_updn(band, key); };
            break;
        case Field::EqGain:
            e->onKeyDown = [this, band](int key) { edt_public_eq_gain_vk_updn(band, key); };
            break;
        case Field::EqQ:
            e->onKeyDown = [this, band](int key) { edt_public_eq_qval_vk_updn(band, key); };
            break;
        }
        auto *spin = m_ctx.controls.require<SpinButtons>(QStringLiteral("spinbtn_") + e->objectName());
        connect(spin, &SpinButtons::upClicked, this, [this, e] { spinbtnClick(e, true); });
        connect(spin, &SpinButtons::downClicked, this, [this, e] { spinbtnClick(e, false); });
    };
    hookKeys(Field::HpfFreq, 0);
    hookKeys(Field::LpfFreq, 0);
    for (int b = 0; b < BandCount; ++b)
        for (Field f : {Field::EqFreq, Field::EqGain, Field::EqQ})
            hookKeys(f, b);

    HandlerTable &h = m_ctx.handlers;
    h.add(QStringLiteral("edt_hpf_freqChange"), [this] { edt_hpf_freqChange(); });
    h.add(QStringLiteral("edt_lpf_freqChange"), [this] { edt_lpf_freqChange(); });
    h.add(QStringLiteral("edt_eq_freqChange"), [this] { edt_eq_freqChange(); });
    h.add(QStringLiteral("edt_eq_gainChange"), [this] { edt_eq_gainChange(); });
    h.add(QStringLiteral("edt_eq_qvalChange"), [this] { edt_eq_qvalChange(); });
}

// --- arrow keys ---

void ValueStepper::arrowStep(Field field, int band, int key)
{
    if (key != Qt::Key_Up && key != Qt::Key_Down) return;
    if (!m_editor.ensureTarget(field, band)) return;
    EditorState &s = m_ctx.state;
    const CrossoverEqEditor::FieldSpec &fs = CrossoverEqEditor::fieldSpec(field);
    const int at = *s.Target.EditTarget();
    // A code from device data beyond the table steps from the table's end.
    int code = std::clamp(s.codeAt(at, fs.wide), 0, fs.maxCode);
    if (key == Qt::Key_Up) {
        if (code >= fs.maxCode) return;
        ++code;
    } else {
        if (code <= 0) return;
        --code;
    }
    s.setCodeAt(at, code, fs.wide);
    m_editor.recomputeTarget(field);
    // The short form until the next commit or change handler writes the full one.
    m_editor.edit(field, band)
        ->setText(CrossoverEqEditor::isBand(field) ? shortestText(fs.table[code]) : freqShortText(code));
}

void ValueStepper::edt_public_hpf_fre_vk_updn(int key)
{
    arrowStep(Field::HpfFreq, 0, key);
}
void ValueStepper::edt_public_lpf_fre_vk_updn(int key)
{
    arrowStep(Field::LpfFreq, 0, key);
}
void ValueStepper::edt_public_eq_fre_vk_updn(int band, int key)
{
    arrowStep(Field::EqFreq, band, key);
}
void ValueStepper::edt_public_eq_gain_vk_updn(int band, int key)
{
    arrowStep(Field::EqGain, band, key);
}
void ValueStepper::edt_public_eq_qval_vk_updn(int band, int key)
{
    arrowStep(Field::EqQ, band, key);
}

// --- spin buttons and the wheel ---

void ValueStepper::spinbtnClick(ValueEdit *edit, bool up)
{
    EditorState &s = m_ctx.state;
    // The focused edit leaves first and commits what was typed there.
    m_ctx.focusSink()->setFocus(Qt::OtherFocusReason);
    if (edit->onMouseUp) edit->onMouseUp();
    s.SpinUp = up;
    s.SpinDown = !up;
    Spinbtn_updown();
}

void ValueStepper::Spinbtn_updown()
{
    EditorState &s = m_ctx.state;
    if (s.Target.EditTargetName().startsWith(QLatin1String("edt_"))) stepArmedCode(s.SpinUp);
    s.SpinUp = false;
    s.SpinDown = false;
}

void ValueStepper::stepArmedCode(bool up)
{
    EditorState &s = m_ctx.state;
    const EditTargeting &t = s.Target;
    if (!t.EditTarget()) return;
    const bool wide = t.armedWide();
    const int at = *t.EditTarget();
    int code = std::max(t.WheelMin(), std::min(s.codeAt(at, wide), t.WheelMax()));
    if (up)
        code = code < t.WheelMax() ? code + 1 : t.WheelMax();
    else
        code = code > t.WheelMin() ? code - 1 : t.WheelMin();
    s.setCodeAt(at, code, wide);
    m_ctx.handlers.CallHandlerByName(t.EditTargetName() + QStringLiteral("Change"));
}

// --- change handlers ---

void ValueStepper::change(Field field)
{
    EditorState &s = m_ctx.state;
    const EditTargeting &t = s.Target;
    if (!t.WheelOpen() || !t.EditTarget()) return;
    const CrossoverEqEditor::FieldSpec &fs = CrossoverEqEditor::fieldSpec(field);
    if (auto *e = qobject_cast<QLineEdit *>(t.EditTargetControl()))
        e->setText(fs.text(s.codeAt(*t.EditTarget(), fs.wide)));
    m_editor.recomputeTarget(field);
}

void ValueStepper::edt_hpf_freqChange()
{
    change(Field::HpfFreq);
}
void ValueStepper::edt_lpf_freqChange()
{
    change(Field::LpfFreq);
}
void ValueStepper::edt_eq_freqChange()
{
    change(Field::EqFreq);
}
void ValueStepper::edt_eq_gainChange()
{
    change(Field::EqGain);
}
void ValueStepper::edt_eq_qvalChange()
{
    change(Field::EqQ);
}

} // namespace spk
