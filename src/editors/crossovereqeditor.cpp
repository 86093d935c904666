#include "editors/crossovereqeditor.h"

#include "editors/editorcontext.h"
#include "editors/recompute.h"
#include "editors/spinbuttons.h"
#include "editors/valueedit.h"
#include "graph/responsegraph.h"
#include "model/tables.h"
#include "model/valuetext.h"

#include <QCheckBox>
#include <QComboBox>

namespace spk {

namespace {
constexpr int FieldOffset[] = {CrossoverByte::HpfFreq, CrossoverByte::LpfFreq, BandByte::Freq, BandByte::Gain,
                               BandByte::Q};
QString bandSuffix(int band)
{
    return QStringLiteral("_0") + QString::number(band);
}
} // namespace

const CrossoverEqEditor::FieldSpec &CrossoverEqEditor::fieldSpec(Field field)
{
    static const FieldSpec freq{
        MaxFreqCode,  false, FreqTable, 19.7, 21900, QStringLiteral("19.7"), QStringLiteral("21900"),
        freqShortText};
    static const FieldSpec specs[] = {
        freq,
        freq,
        freq,
        FieldSpec{MaxGainCode, true, GainTable, -24, 12, QStringLiteral("-24"), QStringLiteral("12"),
                  gainText},
        FieldSpec{MaxQCode, true, QTable, 0.267, 92.302, QStringLiteral("0.267"), QStringLiteral("92.302"),
                  qText},
    };
    return specs[int(field)];
}

bool CrossoverEqEditor::fieldOf(const QString &name, Field *field, int *band)
{
    *band = 0;
    for (Field f : {Field::HpfFreq, Field::LpfFreq}) {
        if (name == editName(f, 0)) {
            *field = f;
            return true;
        }
    }
    for (Field f : {Field::EqFreq, Field::EqGain, Field::EqQ}) {
        if (name.size() == 17 && name.startsWith(EditTargeting::bandEditPrefix(f))) {
            bool ok = false;
            const int b = name.mid(15, 2).toInt(&ok);
            if (!ok || b < 0 || b >= BandCount) return false;
            *field = f;
            *band = b;
            return true;
        }
    }
    return false;
}

QString CrossoverEqEditor::editName(Field field, int band)
{
    if (field == Field::HpfFreq) return QStringLiteral("edt_ip0hpf_freq");
    if (field == Field::LpfFreq) return QStringLiteral("edt_ip0lpf_freq");
    return EditTargeting::bandEditPrefix(field) + QString::number(band);
}

int CrossoverEqEditor::fieldByte(Field field, int band, int channel)
{
    const int record = isBand(field) ? bandRecord(channel, band) : crossoverRecord(channel);
    return recordByte(record, FieldOffset[int(field)]);
}

CrossoverEqEditor::CrossoverEqEditor(EditorContext &ctx, QObject *parent) : QObject(parent), m_ctx(ctx) {}

int CrossoverEqEditor::channel() const
{
    return m_ctx.state.GraphChannel;
}

ValueEdit *CrossoverEqEditor::edit(Field field, int band) const
{
    return m_ctx.controls.require<ValueEdit>(editName(field, band));
}

QComboBox *CrossoverEqEditor::typeList(int band) const
{
    return m_ctx.controls.require<QComboBox>(QStringLiteral("cbb_ip0eq_type") + bandSuffix(band));
}

QCheckBox *CrossoverEqEditor::bypassBox(int band) const
{
    return m_ctx.controls.require<QCheckBox>(QStringLiteral("chk_ip0eq_byps") + bandSuffix(band));
}

QComboBox *CrossoverEqEditor::crossoverTypeList(int filter) const
{
    return m_ctx.controls.require<QComboBox>(filter == 0 ? QStringLiteral("cbb_ip0hpf_type")
                                                         : QStringLiteral("cbb_ip0lpf_type"));
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
    ValueEdit *e = edit(filter == 0 ? Field::HpfFreq : Field::LpfFreq);
    e->onEnter = [this, filter] { filter == 0 ? edt_op3hpf_freqEnter() : edt_op3lpf_freqEnter(); };
    e->onMouseUp = [this, filter] { filter == 0 ? edt_op3hpf_freqMouseUp() : edt_op3lpf_freqMouseUp(); };
    e->onReturn = [this, filter] { HLPF_freq_edt_keypress(filter); };
    e->onExit = [this, filter] { HLPF_edt_exit(filter); };
    connect(crossoverTypeList(filter), &QComboBox::activated, this,
            [this, filter] { HLPF_type_Cbb_Change(filter); });
}

void CrossoverEqEditor::wireBand(int b)
{
    ValueEdit *freq = edit(Field::EqFreq, b);
    freq->onEnter = [this, b] { edt_op3eq_freq_00Enter(b); };
    freq->onMouseUp = [this, b] { edt_op0eq_freq_00MouseUp(b); };
    freq->onReturn = [this, b] { EQ_freq_edt_keypress(b); };
    freq->onExit = [this, b] { EQ_freq_edt_exit(b); };
    ValueEdit *gain = edit(Field::EqGain, b);
    gain->setAcceptsMinus(true);
    gain->onEnter = [this, b] { edt_op3eq_gain_00Enter(b); };
    gain->onMouseUp = [this, b] { edt_op0eq_gain_00MouseUp(b); };
    gain->onReturn = [this, b] { EQ_gain_edt_keypress(b); };
    gain->onExit = [this, b] { EQ_gain_edt_exit(b); };
    ValueEdit *q = edit(Field::EqQ, b);
    q->onEnter = [this, b] { edt_op3eq_qval_00Enter(b); };
    q->onMouseUp = [this, b] { edt_op0eq_qval_00MouseUp(b); };
    q->onReturn = [this, b] { EQ_qval_edt_keypress(b); };
    q->onExit = [this, b] { EQ_qval_edt_exit(b); };
    connect(typeList(b), &QComboBox::activated, this, [this, b] { cbb_op3eq_type_00Change(b); });
    // A box ticked from code runs its handler as a click does; the reset walk relies on it.
    connect(bypassBox(b), &QCheckBox::toggled, this, [this, b] { chk_op3eq_byps_00Click(b); });
}

// --- image to controls ---

void CrossoverEqEditor::showBand(int b)
{
    const ParamImage &image = m_ctx.state.ParamImage;
    const int r = bandRecord(channel(), b);
    edit(Field::EqFreq, b)->setText(freqText(image.byte(r, BandByte::Freq)));
    const int type = image.byte(r, BandByte::Type);
    typeList(b)->setCurrentIndex(type <= MaxEqType ? type : -1);
    edit(Field::EqGain, b)->setText(gainText(image.word(r, BandByte::Gain)));
    edit(Field::EqQ, b)->setText(qText(image.word(r, BandByte::Q)));
    bypassBox(b)->setChecked(image.byte(r, BandByte::Bypass) != 0);
    enableByType(b, type, false);
    m_ctx.graph.computeBand(channel(), b, recordByte(r));
}

void CrossoverEqEditor::showCrossover()
{
    const ParamImage &image = m_ctx.state.ParamImage;
    const int c = channel();
    const int r = crossoverRecord(c);
    const int hpfType = image.byte(r, CrossoverByte::HpfType);
    const int lpfType = image.byte(r, CrossoverByte::LpfType);
    edit(Field::HpfFreq)->setText(freqText(image.byte(r, CrossoverByte::HpfFreq)));
    crossoverTypeList(0)->setCurrentIndex(hpfType <= MaxCrossoverType ? hpfType : -1);
    m_ctx.graph.computeHpf(c, image.byte(r, CrossoverByte::HpfFreq), hpfType);
    edit(Field::LpfFreq)->setText(freqText(image.byte(r, CrossoverByte::LpfFreq)));
    crossoverTypeList(1)->setCurrentIndex(lpfType <= MaxCrossoverType ? lpfType : -1);
    m_ctx.graph.computeLpf(c, image.byte(r, CrossoverByte::LpfFreq), lpfType);
}

void CrossoverEqEditor::showChannel()
{
    for (int b = 0; b < BandCount; ++b)
        showBand(b);
    showCrossover();
}

void CrossoverEqEditor::enableByType(int b, int type, bool spinsToo)
{
    // PEQ: both; shelves: gain only; the all-pass types only device data can hold: Q only.
    const bool qOn = type == 0 || type > MaxEqType;
    const bool gainOn = type <= MaxEqType;
    edit(Field::EqQ, b)->setEnabled(qOn);
    edit(Field::EqGain, b)->setEnabled(gainOn);
    if (spinsToo) {
        const QString spin = QStringLiteral("spinbtn_");
        m_ctx.controls.require<SpinButtons>(spin + editName(Field::EqQ, b))->setEnabled(qOn);
        m_ctx.controls.require<SpinButtons>(spin + editName(Field::EqGain, b))->setEnabled(gainOn);
    }
}

// --- targeting ---

void CrossoverEqEditor::targetCrossover(int filter, bool selectAll)
{
    const Field field = filter == 0 ? Field::HpfFreq : Field::LpfFreq;
    ValueEdit *e = edit(field);
    if (selectAll) e->selectAll();
    m_ctx.state.Target.targetCrossover(field, fieldByte(field, 0, channel()), crossoverRecord(channel()), e,
                                       fieldSpec(field).maxCode);
}

void CrossoverEqEditor::targetBand(Field field, int b, bool selectAll)
{
    ValueEdit *e = edit(field, b);
    if (selectAll) e->selectAll();
    m_ctx.state.Target.targetBandField(field, b, fieldByte(field, b, channel()), bandRecord(channel(), b), e,
                                       fieldSpec(field).maxCode);
}

void CrossoverEqEditor::edt_op3hpf_freqEnter()
{
    targetCrossover(0, false);
}
void CrossoverEqEditor::edt_op3hpf_freqMouseUp()
{
    targetCrossover(0, true);
}
void CrossoverEqEditor::edt_op3lpf_freqEnter()
{
    targetCrossover(1, false);
}
void CrossoverEqEditor::edt_op3lpf_freqMouseUp()
{
    targetCrossover(1, true);
}
void CrossoverEqEditor::edt_op0eq_freq_00MouseUp(int b)
{
    targetBand(Field::EqFreq, b, true);
}
void CrossoverEqEditor::edt_op0eq_gain_00MouseUp(int b)
{
    targetBand(Field::EqGain, b, true);
}
void CrossoverEqEditor::edt_op0eq_qval_00MouseUp(int b)
{
    targetBand(Field::EqQ, b, true);
}

// While a point is dragged the frequency edit holds the focus without becoming the target.
void CrossoverEqEditor::edt_op3eq_freq_00Enter(int b)
{
    if (!m_ctx.state.GraphDragging) edt_op0eq_freq_00MouseUp(b);
}
void CrossoverEqEditor::edt_op3eq_gain_00Enter(int b)
{
    if (!m_ctx.state.GraphDragging) edt_op0eq_gain_00MouseUp(b);
}
void CrossoverEqEditor::edt_op3eq_qval_00Enter(int b)
{
    if (!m_ctx.state.GraphDragging) edt_op0eq_qval_00MouseUp(b);
}

bool CrossoverEqEditor::ensureTarget(Field field, int b)
{
    const std::optional<int> target = m_ctx.state.Target.EditTarget();
    if (!target) return false;
    if (*target != fieldByte(field, b, channel())) {
        if (isBand(field))
            targetBand(field, b, false);
        else
            targetCrossover(field == Field::HpfFreq ? 0 : 1, false);
    }
    return true;
}

// --- commit ---

void CrossoverEqEditor::commit(Field field, int b, bool byReturn)
{
    if (!ensureTarget(field, b)) return;
    EditorState &s = m_ctx.state;
    ValueEdit *e = edit(field, b);
    const FieldSpec &fs = fieldSpec(field);
    const int at = *s.Target.EditTarget();
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
    const EditTargeting &t = s.Target;
    if (!t.EditTarget()) return;
    if (isBand(field)) {
        EQ_CalParamtr_DrawCurve_Setflg(m_ctx, t.EditTargetBand(), s.GraphChannel, t.EditTargetBandRecord(),
                                       t.LastEdited());
    } else {
        const int at = *t.EditTarget();
        HLPF_CalParamtr_DrawCurve_Setflg(m_ctx, field == Field::HpfFreq ? 0 : 1, s.ParamImage[at],
                                         t.LastEdited(), s.GraphChannel, s.codeAt(at + 1, false));
    }
}

void CrossoverEqEditor::HLPF_freq_edt_keypress(int filter)
{
    commit(filter == 0 ? Field::HpfFreq : Field::LpfFreq, 0, true);
}
void CrossoverEqEditor::EQ_freq_edt_keypress(int b)
{
    commit(Field::EqFreq, b, true);
}
void CrossoverEqEditor::EQ_gain_edt_keypress(int b)
{
    commit(Field::EqGain, b, true);
}
void CrossoverEqEditor::EQ_qval_edt_keypress(int b)
{
    commit(Field::EqQ, b, true);
}

void CrossoverEqEditor::HLPF_edt_exit(int filter)
{
    commit(filter == 0 ? Field::HpfFreq : Field::LpfFreq, 0, false);
    m_ctx.state.Target.clear();
}

void CrossoverEqEditor::EQ_freq_edt_exit(int b)
{
    // Only while the target is still a band frequency.
    const EditTargeting &t = m_ctx.state.Target;
    if (t.EditTarget() && *t.EditTarget() == t.EditTargetBandRecord()) commit(Field::EqFreq, b, false);
    m_ctx.state.Target.clear();
}

void CrossoverEqEditor::EQ_gain_edt_exit(int b)
{
    commit(Field::EqGain, b, false);
    m_ctx.state.Target.clear();
}

void CrossoverEqEditor::EQ_qval_edt_exit(int b)
{
    commit(Field::EqQ, b, false);
    m_ctx.state.Target.clear();
}

// --- type lists and bypass ---

void CrossoverEqEditor::HLPF_type_Cbb_Change(int filter)
{
    EditorState &s = m_ctx.state;
    QComboBox *list = crossoverTypeList(filter);
    if (list->currentIndex() < 0) return;
    const int r = crossoverRecord(channel());
    const int at = recordByte(r, filter == 0 ? CrossoverByte::HpfType : CrossoverByte::LpfType);
    s.Target.targetByte(at, r);
    s.ParamImage[at] = std::uint8_t(list->currentIndex());
    HLPF_CalParamtr_DrawCurve_Setflg(m_ctx, filter, s.ParamImage[at - 1], s.Target.LastEdited(),
                                     s.GraphChannel, list->currentIndex());
}

void CrossoverEqEditor::targetBandRecord(int b, QWidget *control, int offset)
{
    const int r = bandRecord(channel(), b);
    m_ctx.state.Target.targetBandRecord(b, recordByte(r, offset), r, control);
}

void CrossoverEqEditor::cbb_op3eq_type_00Change(int b)
{
    QComboBox *list = typeList(b);
    const int type = list->currentIndex();
    if (type < 0) return;
    EditorState &s = m_ctx.state;
    targetBandRecord(b, list, BandByte::Type);
    edit(Field::EqQ, b)->setEnabled(type == 0);
    edit(Field::EqGain, b)->setEnabled(true);
    s.ParamImage[*s.Target.EditTarget()] = std::uint8_t(type);
    const EditTargeting &t = s.Target;
    EQ_CalParamtr_DrawCurve_Setflg(m_ctx, t.EditTargetBand(), s.GraphChannel, t.EditTargetBandRecord(),
                                   t.LastEdited());
}

void CrossoverEqEditor::chk_op3eq_byps_00Click(int b)
{
    EditorState &s = m_ctx.state;
    // Ticked by the image refresh: the box only shows the byte, whatever nonzero value it holds.
    if (s.Refreshing) return;
    QCheckBox *box = bypassBox(b);
    targetBandRecord(b, box, BandByte::Type);
    s.ParamImage.setByte(bandRecord(channel(), b), BandByte::Bypass, box->isChecked() ? 1 : 0);
    const EditTargeting &t = s.Target;
    EQ_CalParamtr_DrawCurve_Setflg(m_ctx, t.EditTargetBand(), s.GraphChannel, t.EditTargetBandRecord(),
                                   t.LastEdited());
}

} // namespace spk
