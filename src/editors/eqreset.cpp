#include "editors/eqreset.h"

#include "editors/crossovereqeditor.h"
#include "editors/editorcontext.h"
#include "editors/editundo.h"
#include "editors/recompute.h"
#include "editors/valueedit.h"
#include "graph/responsegraph.h"
#include "model/tables.h"
#include "model/valuetext.h"
#include "window/logging.h"
#include "window/progressbox.h"

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
    connect(c.require<QPushButton>(QStringLiteral("btn_EQreset")), &QPushButton::clicked, this,
            &EqReset::btn_EQresetClick);
    connect(c.require<QPushButton>(QStringLiteral("btn2")), &QPushButton::clicked, this, &EqReset::btn2Click);
    connect(c.require<QPushButton>(QStringLiteral("btn_op0_resetalleq")), &QPushButton::clicked, this,
            &EqReset::btn_op0_resetalleqClick);
    connect(&m_ctx.state.tmr_reseteq_in, &QTimer::timeout, this, &EqReset::tmr_reseteq_inTimer);
}

QGroupBox *EqReset::confirmBox() const
{
    return m_ctx.controls.require<QGroupBox>(QStringLiteral("rzgrpbx_resetalleq"));
}

bool EqReset::refused() const
{
    if (!m_busy || !m_busy()) return false;
    qCInfo(lcUi) << "EQ reset refused: a preset exchange runs";
    return true;
}

void EqReset::btn_EQresetClick()
{
    if (refused()) return;
    QGroupBox *box = confirmBox();
    box->move(290, 544);
    box->show();
    box->raise();
}

void EqReset::btn2Click()
{
    confirmBox()->hide();
}

void EqReset::btn_op0_resetalleqClick()
{
    btn2Click();
    if (refused()) return;
    m_channel = m_ctx.state.GraphChannel;
    ParamImage &image = m_ctx.state.ParamImage;
    for (int b = 0; b < BandCount; ++b) {
        image.setRecord(bandRecord(m_channel, b), ResetBandDefaults);
        image.setByte(bandRecord(m_channel, b), BandByte::Freq, ResetBandFrequencies[b]);
    }
    // The ten records are one undo step now, and the walk's own writes join it.
    m_undoTag = QStringLiteral("reset %1").arg(++m_resets);
    if (m_ctx.undo) {
        const EditUndo::Tag tag(m_ctx.undo, m_undoTag, undoLabel());
        for (int b = 0; b < BandCount; ++b)
            m_ctx.undo->recordEdited(bandRecord(m_channel, b));
    }
    m_progress.start();
    m_band = 0;
    m_ctx.state.tmr_reseteq_in.start();
}

QString EqReset::undoLabel()
{
    return QStringLiteral("EQ reset");
}

void EqReset::finishWalk()
{
    while (m_ctx.state.tmr_reseteq_in.isActive())
        tmr_reseteq_inTimer();
}

void EqReset::tmr_reseteq_inTimer()
{
    EditorState &s = m_ctx.state;
    const EditUndo::Tag tag(m_ctx.undo, m_undoTag, undoLabel());
    // The walk keeps its own band counter: the user may target other fields while it runs.
    const int b = m_band;
    const int r = bandRecord(m_channel, b);
    const int bandByte = recordByte(r);
    s.Target.resetWalkBand(r);

    const ParamImage &image = s.ParamImage;
    m_editor.edit(Field::EqFreq, b)->setText(freqText(image.byte(r, BandByte::Freq)));
    const int type = image.byte(r, BandByte::Type);
    m_editor.typeList(b)->setCurrentIndex(type <= MaxEqType ? type : -1);
    m_editor.edit(Field::EqGain, b)->setText(gainText(image.word(r, BandByte::Gain)));
    m_editor.edit(Field::EqQ, b)->setText(qText(image.word(r, BandByte::Q)));
    m_ctx.graph.computeBand(m_channel, b, bandByte);
    // A box that was clear runs its own click handling here, which stores 1 in the bypass byte.
    m_editor.bypassBox(b)->setChecked(image.byte(r, BandByte::Bypass) != 0);
    m_editor.enableByType(b, type, true);
    EQ_CalParamtr_DrawCurve_Setflg(m_ctx, b, m_channel, bandByte, r);

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
