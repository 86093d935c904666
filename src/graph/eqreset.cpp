#include "graph/eqreset.h"

#include "app/editorcontext.h"
#include "app/progressbox.h"
#include "editors/crossovereqeditor.h"
#include "editors/valueedit.h"
#include "graph/responsegraph.h"
#include "model/tables.h"
#include "model/valuetext.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>

namespace spk {

using Field = CrossoverEqEditor::Field;

EqReset::EqReset(EditorContext &ctx, CrossoverEqEditor &editor, ProgressBox &progress, QObject *parent)
    : QObject(parent), m_ctx(ctx), m_editor(editor), m_progress(progress)
{
}

void EqReset::attach()
{
    ControlLookup &c = m_ctx.controls;
    if (auto *b = c.get<QPushButton>(QStringLiteral("btn_EQreset")))
        connect(b, &QPushButton::clicked, this, &EqReset::btn_EQresetClick);
    if (auto *b = c.get<QPushButton>(QStringLiteral("btn2")))
        connect(b, &QPushButton::clicked, this, &EqReset::btn2Click);
    if (auto *b = c.get<QPushButton>(QStringLiteral("btn_op0_resetalleq")))
        connect(b, &QPushButton::clicked, this, &EqReset::btn_op0_resetalleqClick);
    connect(&m_ctx.state.tmr_reseteq_in, &QTimer::timeout, this, &EqReset::tmr_reseteq_inTimer);
}

void EqReset::btn_EQresetClick()
{
    if (auto *box = m_ctx.controls.get<QGroupBox>(QStringLiteral("rzgrpbx_resetalleq"))) {
        box->move(290, 544);
        box->show();
        box->raise();
    }
}

void EqReset::btn2Click()
{
    if (auto *box = m_ctx.controls.get<QGroupBox>(QStringLiteral("rzgrpbx_resetalleq"))) box->hide();
}

void EqReset::btn_op0_resetalleqClick()
{
    btn2Click();
    ParamImage &image = m_ctx.state.ParamImage;
    for (int b = 0; b < BandCount; ++b) {
        image.setRecord(bandRecord(Ip0, b), ResetBandDefaults);
        image.setByte(bandRecord(Ip0, b), BandByte::Freq, ResetBandFrequencies[b]);
    }
    m_progress.start();
    m_band = 0;
    m_ctx.state.tmr_reseteq_in.start();
}

void EqReset::tmr_reseteq_inTimer()
{
    EditorState &s = m_ctx.state;
    // The walk keeps its own band counter: the user may target other fields while it runs.
    const int b = m_band;
    const int r = bandRecord(Ip0, b);
    const int bandByte = recordByte(r);
    s.GraphChannel = 0;
    s.LastEdited = r;
    s.EditTargetName.clear();

    const ParamImage &image = s.ParamImage;
    const QString suffix = QStringLiteral("_0") + QString::number(b);
    if (ValueEdit *e = m_editor.edit(Field::EqFreq, b)) e->setText(freqText(image.byte(r, BandByte::Freq)));
    const int type = image.byte(r, BandByte::Type);
    if (auto *list = m_ctx.controls.get<QComboBox>(QStringLiteral("cbb_ip0eq_type") + suffix))
        list->setCurrentIndex(type <= MaxEqType ? type : -1);
    if (ValueEdit *e = m_editor.edit(Field::EqGain, b)) e->setText(gainText(image.word(r, BandByte::Gain)));
    if (ValueEdit *e = m_editor.edit(Field::EqQ, b)) e->setText(qText(image.word(r, BandByte::Q)));
    m_ctx.graph.computeBand(Ip0, b, bandByte);
    // A box that was clear runs its own click handling here, which stores 1 in the bypass byte.
    if (auto *box = m_ctx.controls.get<QCheckBox>(QStringLiteral("chk_ip0eq_byps") + suffix))
        box->setChecked(image.byte(r, BandByte::Bypass) != 0);
    m_editor.enableByType(b, type, true);
    m_ctx.graph.EQ_CalParamtr_DrawCurve_Setflg(b, s.GraphChannel, bandByte, r);

    if (b < BandCount - 1) {
        m_band = b + 1;
        return;
    }
    m_band = 0;
    s.tmr_reseteq_in.stop();
    s.ProgressValue = 100;
    // The progress timer only runs its course while connected; offline the box closes here.
    if (!s.Link.Connected) m_progress.close();
}

} // namespace spk
