#include "editors/valuestepper.h"

#include "app/editorcontext.h"
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
        if (!e) return;
        switch (field) {
        case Field::HpfFreq:
            e->onKeyDown = [this](int key) { edt_public_hpf_fre_vk_updn(key); };
            break;
        case Field::LpfFreq:
            e->onKeyDown = [this](int key) { edt_public_lpf_fre_vk_updn(key); };
            break;
        case Field::EqFreq:
            e->onKeyDown = [this, e](int key) { edt_public_eq_fre_vk_updn(e, key); };
            break;
        case Field::EqGain:
            e->onKeyDown = [this, e](int key) { edt_public_eq_gain_vk_updn(e, key); };
            break;
        case Field::EqQ:
            e->onKeyDown = [this, e](int key) { edt_public_eq_qval_vk_updn(e, key); };
            break;
        }
        const QString spinName = QStringLiteral("spinbtn_") + e->objectName();
        if (auto *spin = m_ctx.controls.get<SpinButtons>(spinName)) {
            connect(spin, &SpinButtons::upClicked, this, [this, spin] { spinbtnClick(spin, true); });
            connect(spin, &SpinButtons::downClicked, this, [this, spin] { spinbtnClick(spin, false); });
        }
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

void ValueStepper::arrowStep(Field field, ValueEdit *e, int key)
{
    if (key != Qt::Key_Up && key != Qt::Key_Down) return;
    if (!m_editor.ensureTarget(field, e)) return;
    EditorState &s = m_ctx.state;
    const CrossoverEqEditor::FieldSpec &fs = CrossoverEqEditor::fieldSpec(field);
    const int at = *s.EditTarget;
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
    e->setText(CrossoverEqEditor::isBand(field) ? shortestText(fs.table[code]) : freqShortText(code));
}

void ValueStepper::edt_public_hpf_fre_vk_updn(int key)
{
    arrowStep(Field::HpfFreq, m_editor.edit(Field::HpfFreq), key);
}
void ValueStepper::edt_public_lpf_fre_vk_updn(int key)
{
    arrowStep(Field::LpfFreq, m_editor.edit(Field::LpfFreq), key);
}
void ValueStepper::edt_public_eq_fre_vk_updn(ValueEdit *e, int key)
{
    arrowStep(Field::EqFreq, e, key);
}
void ValueStepper::edt_public_eq_gain_vk_updn(ValueEdit *e, int key)
{
    arrowStep(Field::EqGain, e, key);
}
void ValueStepper::edt_public_eq_qval_vk_updn(ValueEdit *e, int key)
{
    arrowStep(Field::EqQ, e, key);
}

// --- spin buttons and the wheel ---

void ValueStepper::spinbtnClick(SpinButtons *spin, bool up)
{
    EditorState &s = m_ctx.state;
    // The focused edit leaves first and commits what was typed there.
    if (QLineEdit *sink = m_ctx.focusSink()) sink->setFocus(Qt::OtherFocusReason);
    const QString editName = spin->objectName().mid(int(qstrlen("spinbtn_")));
    if (ValueEdit *e = m_ctx.controls.get<ValueEdit>(editName); e && e->onMouseUp) e->onMouseUp();
    s.SpinUp = up;
    s.SpinDown = !up;
    Spinbtn_updown();
}

void ValueStepper::Spinbtn_updown()
{
    EditorState &s = m_ctx.state;
    if (s.EditTargetName.startsWith(QLatin1String("edt_"))) stepArmedCode(s.SpinUp);
    s.SpinUp = false;
    s.SpinDown = false;
}

void ValueStepper::stepArmedCode(bool up)
{
    EditorState &s = m_ctx.state;
    if (!s.EditTarget) return;
    const bool wide =
        s.EditTargetName == QLatin1String("edt_eq_gain") || s.EditTargetName == QLatin1String("edt_eq_qval");
    const int at = *s.EditTarget;
    int code = std::max(s.WheelMin, std::min(s.codeAt(at, wide), s.WheelMax));
    if (up)
        code = code < s.WheelMax ? code + 1 : s.WheelMax;
    else
        code = code > s.WheelMin ? code - 1 : s.WheelMin;
    s.setCodeAt(at, code, wide);
    m_ctx.handlers.CallHandlerByName(s.EditTargetName + QStringLiteral("Change"));
}

// --- change handlers ---

void ValueStepper::change(Field field)
{
    EditorState &s = m_ctx.state;
    if (!s.WheelOpen || !s.EditTarget) return;
    const CrossoverEqEditor::FieldSpec &fs = CrossoverEqEditor::fieldSpec(field);
    if (auto *e = qobject_cast<QLineEdit *>(s.EditTargetControl.data()))
        e->setText(fs.text(s.codeAt(*s.EditTarget, fs.wide)));
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
