#pragma once

#include "model/layout.h"
#include "window/edittargeting.h"

#include <QObject>
#include <QString>

#include <span>

class QCheckBox;
class QComboBox;

namespace spk {

struct EditorContext;
class ValueEdit;

// The crossover and equaliser value editors: targeting, the key filter's commit, leaving an edit,
// the type lists and the bypass boxes, and filling these controls from the image. They act on
// the records of the selected channel (GraphChannel: ip0, or an output's crossover record 19c and
// band records 19c + 2 + k); the controls keep the ip0 names whatever channel they show.
// Handlers whose names say op3 or op0 serve the ip0 controls (edt_op3hpf_freqEnter serves
// edt_ip0hpf_freq, edt_op0eq_gain_00MouseUp any band's edt_ip0eq_gain_0<b>).
class CrossoverEqEditor : public QObject
{
    Q_OBJECT
public:
    using Field = EditField;

    // What a field stores and how it is shown.
    struct FieldSpec
    {
        int maxCode;
        bool wide; // 16-bit code
        std::span<const double> table;
        double lower, upper;
        QString lowerText, upperText; // what an out-of-range number is replaced by
        QString (*text)(int code);    // the text after an edit
    };
    static const FieldSpec &fieldSpec(Field field);
    static bool isBand(Field field) { return field >= Field::EqFreq; }
    // The field an edit belongs to, from its name; false for other controls.
    static bool fieldOf(const QString &name, Field *field, int *band);
    static QString editName(Field field, int band);
    // Byte index of a field of a channel in the image.
    static int fieldByte(Field field, int band, int channel = Ip0);

    explicit CrossoverEqEditor(EditorContext &ctx, QObject *parent = nullptr);
    void attach();

    // Image to controls, from the selected channel: one band, the crossover, both with all bands.
    // Curves are recomputed, not drawn.
    void showBand(int band);
    void showCrossover();
    void showChannel();
    // Q and gain edits (and with spinsToo their spin buttons) enabled by the band's type.
    void enableByType(int band, int type, bool spinsToo);

    // Targeting.
    void edt_op3hpf_freqEnter();
    void edt_op3hpf_freqMouseUp();
    void edt_op3lpf_freqEnter();
    void edt_op3lpf_freqMouseUp();
    void edt_op0eq_freq_00MouseUp(int band);
    void edt_op0eq_gain_00MouseUp(int band);
    void edt_op0eq_qval_00MouseUp(int band);
    void edt_op3eq_freq_00Enter(int band);
    void edt_op3eq_gain_00Enter(int band);
    void edt_op3eq_qval_00Enter(int band);

    // Commit on Enter.
    void HLPF_freq_edt_keypress(int filter);
    void EQ_freq_edt_keypress(int band);
    void EQ_gain_edt_keypress(int band);
    void EQ_qval_edt_keypress(int band);
    // Leaving an edit.
    void HLPF_edt_exit(int filter);
    void EQ_freq_edt_exit(int band);
    void EQ_gain_edt_exit(int band);
    void EQ_qval_edt_exit(int band);

    void HLPF_type_Cbb_Change(int filter); // cbb_op3hpf_typeChange, cbb_op3lpf_typeChange
    void cbb_op3eq_type_00Change(int band);
    void chk_op3eq_byps_00Click(int band);

    // Step 5 of a commit: the recompute of the targeted field, which marks LastEdited.
    void recomputeTarget(Field field);
    // The edit's own field becomes the target again if something moved the target away while
    // the edit kept the focus; false when there is no target at all.
    bool ensureTarget(Field field, int band);
    ValueEdit *edit(Field field, int band = 0) const;
    QComboBox *typeList(int band) const;
    QCheckBox *bypassBox(int band) const;
    QComboBox *crossoverTypeList(int filter) const;

private:
    int channel() const;
    void targetCrossover(int filter, bool selectAll);
    void targetBand(Field field, int band, bool selectAll);
    void targetBandRecord(int band, QWidget *control, int offset);
    void commit(Field field, int band, bool byReturn);
    void wireCrossover(int filter);
    void wireBand(int band);

    EditorContext &m_ctx;
};

} // namespace spk
