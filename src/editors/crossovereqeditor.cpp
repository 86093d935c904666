#include "editors/crossovereqeditor.h"

#include "app/editorcontext.h"
#include "editors/spinbuttons.h"
#include "editors/valueedit.h"
#include "graph/responsegraph.h"
#include "model/tables.h"
#include "model/valuetext.h"

#include <QCheckBox>
#include <QComboBox>

namespace spk {

namespace {
const QString BandPrefix[] = {QString(), QString(), QStringLiteral("edt_ip0eq_freq_0"),
                              QStringLiteral("edt_ip0eq_gain_0"), QStringLiteral("edt_ip0eq_qval_0")};
constexpr int FieldOffset[] = {CrossoverByte::HpfFreq, CrossoverByte::LpfFreq, BandByte::Freq, BandByte::Gain,
                               BandByte::Q};
} // namespace

const CrossoverEqEditor::FieldSpec &CrossoverEqEditor::fieldSpec(Field field)
{
    static const FieldSpec freq{QString(),
                                MaxFreqCode,
                                false,
                                FreqTable,
                                19.7,
                                21900,
                                QStringLiteral("19.7"),
                                QStringLiteral("21900"),
                                freqShortText};
    static const FieldSpec specs[] = {
        [&] {
            FieldSpec s = freq;
            s.targetName = QStringLiteral("edt_hpf_freq");
            return s;
        }(),
        [&] {
            FieldSpec s = freq;
            s.targetName = QStringLiteral("edt_lpf_freq");
            return s;
        }(),
        [&] {
            FieldSpec s = freq;
            s.targetName = QStringLiteral("edt_eq_freq");
            return s;
        }(),
        FieldSpec{QStringLiteral("edt_eq_gain"), MaxGainCode, true, GainTable, -24, 12, QStringLiteral("-24"),
                  QStringLiteral("12"), gainText},
        FieldSpec{QStringLiteral("edt_eq_qval"), MaxQCode, true, QTable, 0.267, 92.302,
                  QStringLiteral("0.267"), QStringLiteral("92.302"), qText},
    };
    return specs[field];
}

bool CrossoverEqEditor::fieldOf(const QString &name, Field *field, int *band)
{
    *band = 0;
    if (name == QLatin1String("edt_ip0hpf_freq")) {
        *field = HpfFreq;
        return true;
    }
    if (name == QLatin1String("edt_ip0lpf_freq")) {
        *field = LpfFreq;
        return true;
    }
    for (Field f : {EqFreq, EqGain, EqQ}) {
        if (name.size() == 17 && name.startsWith(BandPrefix[f])) {
            const int b = bandOf(name);
            if (b < 0 || b >= BandCount) return false;
            *field = f;
            *band = b;
            return true;
        }
    }
    return false;
}

int CrossoverEqEditor::bandOf(const QString &name)
{
    bool ok = false;
    const int b = name.mid(15, 2).toInt(&ok);
    return ok ? b : -1;
}

QString CrossoverEqEditor::editName(Field field, int band)
{
    if (field == HpfFreq) return QStringLiteral("edt_ip0hpf_freq");
    if (field == LpfFreq) return QStringLiteral("edt_ip0lpf_freq");
    return BandPrefix[field] + QString::number(band);
}

int CrossoverEqEditor::fieldByte(Field field, int band)
{
    const int record = isBand(field) ? bandRecord(Ip0, band) : crossoverRecord(Ip0);
    return recordByte(record, FieldOffset[field]);
}

CrossoverEqEditor::CrossoverEqEditor(EditorContext &ctx, QObject *parent) : QObject(parent), m_ctx(ctx) {}

ValueEdit *CrossoverEqEditor::edit(Field field, int band) const
{
    return m_ctx.controls.get<ValueEdit>(editName(field, band));
}

void CrossoverEqEditor::attach()
{
    wireCrossover(0);
    wireCrossover(1);
    for (int b = 0; b < BandCount; ++b)
        wireBand(b);
}

void CrossoverEqEditor::wireCrossover(int filter)
{
    const Field field = filter == 0 ? HpfFreq : LpfFreq;
    if (ValueEdit *e = edit(field)) {
        e->onEnter = [this, filter] { filter == 0 ? edt_op3hpf_freqEnter() : edt_op3lpf_freqEnter(); };
        e->onMouseUp = [this, filter] { filter == 0 ? edt_op3hpf_freqMouseUp() : edt_op3lpf_freqMouseUp(); };
        e->onReturn = [this, filter] { HLPF_freq_edt_keypress(filter); };
        e->onExit = [this, filter] { HLPF_edt_exit(filter); };
    }
    const QString list = filter == 0 ? QStringLiteral("cbb_ip0hpf_type") : QStringLiteral("cbb_ip0lpf_type");
    if (auto *c = m_ctx.controls.get<QComboBox>(list))
        connect(c, &QComboBox::activated, this, [this, filter] { HLPF_type_Cbb_Change(filter); });
}

void CrossoverEqEditor::wireBand(int b)
{
    if (ValueEdit *e = edit(EqFreq, b)) {
        e->onEnter = [this, e] { edt_op3eq_freq_00Enter(e); };
        e->onMouseUp = [this, e] { edt_op0eq_freq_00MouseUp(e); };
        e->onReturn = [this, e] { EQ_freq_edt_keypress(e); };
        e->onExit = [this, e] { EQ_freq_edt_exit(e); };
    }
    if (ValueEdit *e = edit(EqGain, b)) {
        e->setAcceptsMinus(true);
        e->onEnter = [this, e] { edt_op3eq_gain_00Enter(e); };
        e->onMouseUp = [this, e] { edt_op0eq_gain_00MouseUp(e); };
        e->onReturn = [this, e] { EQ_gain_edt_keypress(e); };
        e->onExit = [this, e] { EQ_gain_edt_exit(e); };
    }
    if (ValueEdit *e = edit(EqQ, b)) {
        e->onEnter = [this, e] { edt_op3eq_qval_00Enter(e); };
        e->onMouseUp = [this, e] { edt_op0eq_qval_00MouseUp(e); };
        e->onReturn = [this, e] { EQ_qval_edt_keypress(e); };
        e->onExit = [this, e] { EQ_qval_edt_exit(e); };
    }
    const QString suffix = QStringLiteral("_0") + QString::number(b);
    if (auto *c = m_ctx.controls.get<QComboBox>(QStringLiteral("cbb_ip0eq_type") + suffix))
        connect(c, &QComboBox::activated, this, [this, c] { cbb_op3eq_type_00Change(c); });
    // A box ticked from code runs its handler as a click does; the reset walk relies on it.
    if (auto *box = m_ctx.controls.get<QCheckBox>(QStringLiteral("chk_ip0eq_byps") + suffix))
        connect(box, &QCheckBox::toggled, this, [this, box] { chk_op3eq_byps_00Click(box); });
}

// --- image to controls ---

void CrossoverEqEditor::showBand(int b)
{
    const ParamImage &image = m_ctx.state.ParamImage;
    const int r = bandRecord(Ip0, b);
    const QString suffix = QStringLiteral("_0") + QString::number(b);
    if (ValueEdit *e = edit(EqFreq, b)) e->setText(freqText(image.byte(r, BandByte::Freq)));
    const int type = image.byte(r, BandByte::Type);
    if (auto *c = m_ctx.controls.get<QComboBox>(QStringLiteral("cbb_ip0eq_type") + suffix))
        c->setCurrentIndex(type <= MaxEqType ? type : -1);
    if (ValueEdit *e = edit(EqGain, b)) e->setText(gainText(image.word(r, BandByte::Gain)));
    if (ValueEdit *e = edit(EqQ, b)) e->setText(qText(image.word(r, BandByte::Q)));
    if (auto *box = m_ctx.controls.get<QCheckBox>(QStringLiteral("chk_ip0eq_byps") + suffix))
        box->setChecked(image.byte(r, BandByte::Bypass) != 0);
    enableByType(b, type, false);
    m_ctx.graph.computeBand(Ip0, b, recordByte(r));
}

void CrossoverEqEditor::showCrossover()
{
    const ParamImage &image = m_ctx.state.ParamImage;
    const int r = crossoverRecord(Ip0);
    const int hpfType = image.byte(r, CrossoverByte::HpfType);
    const int lpfType = image.byte(r, CrossoverByte::LpfType);
    if (ValueEdit *e = edit(HpfFreq)) e->setText(freqText(image.byte(r, CrossoverByte::HpfFreq)));
    if (auto *c = m_ctx.controls.get<QComboBox>(QStringLiteral("cbb_ip0hpf_type")))
        c->setCurrentIndex(hpfType <= MaxCrossoverType ? hpfType : -1);
    m_ctx.graph.computeHpf(Ip0, image.byte(r, CrossoverByte::HpfFreq), hpfType);
    if (ValueEdit *e = edit(LpfFreq)) e->setText(freqText(image.byte(r, CrossoverByte::LpfFreq)));
    if (auto *c = m_ctx.controls.get<QComboBox>(QStringLiteral("cbb_ip0lpf_type")))
        c->setCurrentIndex(lpfType <= MaxCrossoverType ? lpfType : -1);
    m_ctx.graph.computeLpf(Ip0, image.byte(r, CrossoverByte::LpfFreq), lpfType);
}

void CrossoverEqEditor::enableByType(int b, int type, bool spinsToo)
{
    // PEQ: both; shelves: gain only; the all-pass types only device data can hold: Q only.
    const bool qOn = type == 0 || type > MaxEqType;
    const bool gainOn = type <= MaxEqType;
    if (ValueEdit *e = edit(EqQ, b)) e->setEnabled(qOn);
    if (ValueEdit *e = edit(EqGain, b)) e->setEnabled(gainOn);
    if (spinsToo) {
        if (auto *s = m_ctx.controls.get<SpinButtons>(QStringLiteral("spinbtn_") + editName(EqQ, b)))
            s->setEnabled(qOn);
        if (auto *s = m_ctx.controls.get<SpinButtons>(QStringLiteral("spinbtn_") + editName(EqGain, b)))
            s->setEnabled(gainOn);
    }
}

// --- targeting ---

void CrossoverEqEditor::targetCrossover(int filter, ValueEdit *e, bool selectAll)
{
    EditorState &s = m_ctx.state;
    if (selectAll && e) e->selectAll();
    const Field field = filter == 0 ? HpfFreq : LpfFreq;
    s.GraphChannel = 0;
    s.EditTargetBand = 0;
    s.EditTargetControl = e;
    s.EditTarget = fieldByte(field, 0);
    s.LastEdited = crossoverRecord(Ip0);
    s.EditTargetName = fieldSpec(field).targetName;
    s.Set_OpenMouseWheel(0, fieldSpec(field).maxCode);
}

void CrossoverEqEditor::targetBand(Field field, ValueEdit *e, bool selectAll)
{
    EditorState &s = m_ctx.state;
    Field f;
    int b;
    if (!e || !fieldOf(e->objectName(), &f, &b)) return;
    if (selectAll) e->selectAll();
    s.EditTargetBand = b;
    s.EditTargetControl = e;
    s.EditTargetBandRecord = recordByte(bandRecord(Ip0, b));
    s.EditTarget = fieldByte(field, b);
    s.LastEdited = bandRecord(Ip0, b);
    s.EditTargetName = fieldSpec(field).targetName;
    s.Set_OpenMouseWheel(0, fieldSpec(field).maxCode);
}

void CrossoverEqEditor::edt_op3hpf_freqEnter()
{
    targetCrossover(0, edit(HpfFreq), false);
}
void CrossoverEqEditor::edt_op3hpf_freqMouseUp()
{
    targetCrossover(0, edit(HpfFreq), true);
}
void CrossoverEqEditor::edt_op3lpf_freqEnter()
{
    targetCrossover(1, edit(LpfFreq), false);
}
void CrossoverEqEditor::edt_op3lpf_freqMouseUp()
{
    targetCrossover(1, edit(LpfFreq), true);
}
void CrossoverEqEditor::edt_op0eq_freq_00MouseUp(ValueEdit *e)
{
    targetBand(EqFreq, e, true);
}
void CrossoverEqEditor::edt_op0eq_gain_00MouseUp(ValueEdit *e)
{
    targetBand(EqGain, e, true);
}
void CrossoverEqEditor::edt_op0eq_qval_00MouseUp(ValueEdit *e)
{
    targetBand(EqQ, e, true);
}

// While a point is dragged the frequency edit holds the focus without becoming the target.
void CrossoverEqEditor::edt_op3eq_freq_00Enter(ValueEdit *e)
{
    if (!m_ctx.state.GraphDragging) edt_op0eq_freq_00MouseUp(e);
}
void CrossoverEqEditor::edt_op3eq_gain_00Enter(ValueEdit *e)
{
    if (!m_ctx.state.GraphDragging) edt_op0eq_gain_00MouseUp(e);
}
void CrossoverEqEditor::edt_op3eq_qval_00Enter(ValueEdit *e)
{
    if (!m_ctx.state.GraphDragging) edt_op0eq_qval_00MouseUp(e);
}

bool CrossoverEqEditor::ensureTarget(Field field, ValueEdit *e)
{
    EditorState &s = m_ctx.state;
    if (!s.EditTarget || !e) return false;
    Field f;
    int b;
    if (!fieldOf(e->objectName(), &f, &b) || f != field) return false;
    if (*s.EditTarget != fieldByte(field, b)) {
        if (isBand(field))
            targetBand(field, e, false);
        else
            targetCrossover(field == HpfFreq ? 0 : 1, e, false);
    }
    return true;
}

// --- commit ---

void CrossoverEqEditor::commit(Field field, ValueEdit *e, bool byReturn)
{
    if (!ensureTarget(field, e)) return;
    EditorState &s = m_ctx.state;
    const FieldSpec &fs = fieldSpec(field);
    const int at = *s.EditTarget;
    const int old = s.codeAt(at, fs.wide);

    double x = 0;
    if (!parseNumber(e->text(), &x)) {
        e->setText(fs.text(old));
        return;
    }
    if (x > fs.upper)
        e->setText(fs.upperText);
    else if (x < fs.lower)
        e->setText(fs.lowerText);
    parseNumber(e->text(), &x);
    const int code = NearestIndex(fs.table, x);
    e->setText(fs.text(code));
    if (code != old) {
        s.setCodeAt(at, code, fs.wide);
        recomputeTarget(field);
    }
    if (byReturn && isBand(field)) e->selectAll();
}

void CrossoverEqEditor::recomputeTarget(Field field)
{
    EditorState &s = m_ctx.state;
    if (!s.EditTarget) return;
    if (isBand(field)) {
        m_ctx.graph.EQ_CalParamtr_DrawCurve_Setflg(s.EditTargetBand, s.GraphChannel, s.EditTargetBandRecord,
                                                   s.LastEdited);
    } else {
        const int at = *s.EditTarget;
        m_ctx.graph.HLPF_CalParamtr_DrawCurve_Setflg(field == HpfFreq ? 0 : 1, s.ParamImage[at], s.LastEdited,
                                                     s.GraphChannel, s.codeAt(at + 1, false));
    }
}

void CrossoverEqEditor::HLPF_freq_edt_keypress(int filter)
{
    const Field field = filter == 0 ? HpfFreq : LpfFreq;
    commit(field, edit(field), true);
}
void CrossoverEqEditor::EQ_freq_edt_keypress(ValueEdit *e)
{
    commit(EqFreq, e, true);
}
void CrossoverEqEditor::EQ_gain_edt_keypress(ValueEdit *e)
{
    commit(EqGain, e, true);
}
void CrossoverEqEditor::EQ_qval_edt_keypress(ValueEdit *e)
{
    commit(EqQ, e, true);
}

void CrossoverEqEditor::HLPF_edt_exit(int filter)
{
    const Field field = filter == 0 ? HpfFreq : LpfFreq;
    commit(field, edit(field), false);
    m_ctx.state.clearWheel();
}

void CrossoverEqEditor::EQ_freq_edt_exit(ValueEdit *e)
{
    // Only while the target is still a band frequency.
    const EditorState &s = m_ctx.state;
    if (s.EditTarget && *s.EditTarget == s.EditTargetBandRecord) commit(EqFreq, e, false);
    m_ctx.state.clearWheel();
}

void CrossoverEqEditor::EQ_gain_edt_exit(ValueEdit *e)
{
    commit(EqGain, e, false);
    m_ctx.state.clearWheel();
}

void CrossoverEqEditor::EQ_qval_edt_exit(ValueEdit *e)
{
    commit(EqQ, e, false);
    m_ctx.state.clearWheel();
}

// --- type lists and bypass ---

void CrossoverEqEditor::HLPF_type_Cbb_Change(int filter)
{
    EditorState &s = m_ctx.state;
    auto *list = m_ctx.controls.get<QComboBox>(filter == 0 ? QStringLiteral("cbb_ip0hpf_type")
                                                           : QStringLiteral("cbb_ip0lpf_type"));
    if (!list || list->currentIndex() < 0) return;
    const int r = crossoverRecord(Ip0);
    const int at = recordByte(r, filter == 0 ? CrossoverByte::HpfType : CrossoverByte::LpfType);
    s.GraphChannel = 0;
    s.EditTarget = at;
    s.LastEdited = r;
    s.ParamImage[at] = std::uint8_t(list->currentIndex());
    m_ctx.graph.HLPF_CalParamtr_DrawCurve_Setflg(filter, s.ParamImage[at - 1], s.LastEdited, s.GraphChannel,
                                                 list->currentIndex());
}

void CrossoverEqEditor::targetBandRecord(int b, QWidget *control, int offset)
{
    EditorState &s = m_ctx.state;
    s.EditTargetBand = b;
    s.EditTargetControl = control;
    s.EditTarget = recordByte(bandRecord(Ip0, b), offset);
    s.EditTargetBandRecord = recordByte(bandRecord(Ip0, b));
    s.LastEdited = bandRecord(Ip0, b);
    s.EditTargetName.clear();
}

void CrossoverEqEditor::cbb_op3eq_type_00Change(QComboBox *list)
{
    const int b = bandOf(list->objectName());
    const int type = list->currentIndex();
    if (b < 0 || b >= BandCount || type < 0) return;
    EditorState &s = m_ctx.state;
    targetBandRecord(b, list, BandByte::Type);
    if (ValueEdit *e = edit(EqQ, b)) e->setEnabled(type == 0);
    if (ValueEdit *e = edit(EqGain, b)) e->setEnabled(true);
    s.ParamImage[*s.EditTarget] = std::uint8_t(type);
    m_ctx.graph.EQ_CalParamtr_DrawCurve_Setflg(s.EditTargetBand, s.GraphChannel, s.EditTargetBandRecord,
                                               s.LastEdited);
}

void CrossoverEqEditor::chk_op3eq_byps_00Click(QCheckBox *box)
{
    EditorState &s = m_ctx.state;
    // Ticked by the image refresh: the box only shows the byte, whatever nonzero value it holds.
    if (s.Refreshing) return;
    const int b = bandOf(box->objectName());
    if (b < 0 || b >= BandCount) return;
    targetBandRecord(b, box, BandByte::Type);
    s.ParamImage.setByte(bandRecord(Ip0, b), BandByte::Bypass, box->isChecked() ? 1 : 0);
    m_ctx.graph.EQ_CalParamtr_DrawCurve_Setflg(s.EditTargetBand, s.GraphChannel, s.EditTargetBandRecord,
                                               s.LastEdited);
}

} // namespace spk
