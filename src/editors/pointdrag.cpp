#include "editors/pointdrag.h"

#include "editors/crossovereqeditor.h"
#include "editors/editorcontext.h"
#include "editors/editundo.h"
#include "editors/recompute.h"
#include "editors/valueedit.h"
#include "filters/graphgeometry.h"
#include "graph/graphview.h"
#include "graph/responsegraph.h"
#include "model/tables.h"
#include "model/valuetext.h"

#include <QComboBox>

#include <algorithm>

namespace spk {

using Field = CrossoverEqEditor::Field;

PointDrag::PointDrag(EditorContext &ctx, CrossoverEqEditor &editor, QObject *parent)
    : QObject(parent), m_ctx(ctx), m_editor(editor)
{
}

void PointDrag::attach(GraphView *view)
{
    connect(view, &GraphView::pressed, this, &PointDrag::img_op0eqbackgroundMouseDown);
    connect(view, &GraphView::moved, this, &PointDrag::img_public_eqbackgroundMouseMove);
    connect(view, &GraphView::released, this, &PointDrag::img_op0eqbackgroundMouseUp);
}

int PointDrag::hitTest(const std::array<EqPoint, BandCount> &points, QPoint pos)
{
    for (int b = 0; b < BandCount; ++b) {
        const EqPoint &p = points[b];
        if (p.x - 10 < pos.x() && pos.x() < p.x + 10 && p.y - 10 < pos.y() && pos.y() < p.y + 10) return b;
    }
    return -1;
}

void PointDrag::img_op0eqbackgroundMouseDown(QPoint pos)
{
    EditorState &s = m_ctx.state;
    // The focused editor leaves (and commits) before anything else changes.
    m_ctx.focusSink()->setFocus(Qt::MouseFocusReason);
    const int b = hitTest(m_ctx.graph.response(s.GraphChannel).points(), pos);
    if (b < 0) return;
    ValueEdit *freq = m_editor.edit(Field::EqFreq, b);
    s.Target.startDrag(b, bandRecord(s.GraphChannel, b), freq);
    s.GraphDragging = true;
    // The whole drag is one undo step.
    if (m_ctx.undo) m_ctx.undo->beginGesture();
    freq->setFocus(Qt::MouseFocusReason);
}

void PointDrag::img_public_eqbackgroundMouseMove(QPoint pos)
{
    EditorState &s = m_ctx.state;
    if (!s.GraphDragging) return;
    const EditTargeting &t = s.Target;
    const double f = std::clamp(PixelXToFreq(pos.x()), FreqTable.front(), FreqTable.back());
    const double g = std::clamp(PixelYToDb(pos.y()), GainTable.front(), GainTable.back());
    const int r = bandRecord(s.GraphChannel, t.EditTargetBand());
    bool changed = false;

    const int c = NearestIndex(FreqTable, f);
    if (c != s.ParamImage.byte(r, BandByte::Freq)) {
        s.ParamImage.setByte(r, BandByte::Freq, c);
        if (auto *e = qobject_cast<QLineEdit *>(t.EditTargetControl()))
            e->setText(shortestText(FreqTable[c]) + QStringLiteral("Hz"));
        changed = true;
    }
    // The all-pass types (only device data holds them) have no gain to drag.
    if (s.ParamImage.byte(r, BandByte::Type) <= MaxEqType) {
        const int gc = NearestIndex(GainTable, g);
        if (gc != s.ParamImage.word(r, BandByte::Gain)) {
            s.ParamImage.setWord(r, BandByte::Gain, gc);
            const QString gainEdit = t.EditTargetName() + QString::number(t.EditTargetBand());
            if (auto *e = m_ctx.controls.get<QLineEdit>(gainEdit))
                e->setText(shortestText(GainTable[gc]) + QStringLiteral("dB"));
            changed = true;
        }
    }
    if (changed)
        EQ_CalParamtr_DrawCurve_Setflg(m_ctx, t.EditTargetBand(), s.GraphChannel, t.EditTargetBandRecord(),
                                       t.LastEdited());
}

void PointDrag::finishDrag()
{
    EditorState &s = m_ctx.state;
    if (!s.GraphDragging) return;
    s.GraphDragging = false;
    if (m_ctx.undo) m_ctx.undo->endGesture();
}

void PointDrag::img_op0eqbackgroundMouseUp(QPoint)
{
    EditorState &s = m_ctx.state;
    // A press that grabbed no point leaves nothing to finish.
    if (!s.GraphDragging) return;
    finishDrag();
    const int b = s.Target.EditTargetBand();
    ValueEdit *freq = m_editor.edit(Field::EqFreq, b);
    // Moving the focus away must not commit the frequency edit's text ...
    freq->setExitAttached(false);
    const bool peq = m_editor.typeList(b)->currentIndex() == 0;
    const Field next = peq ? Field::EqQ : Field::EqGain;
    ValueEdit *e = m_editor.edit(next, b);
    s.Target.afterDrag(next, e);
    e->setFocus(Qt::MouseFocusReason);
    if (peq)
        m_editor.edt_op0eq_qval_00MouseUp(b);
    else
        m_editor.edt_op0eq_gain_00MouseUp(b);
    // ... but only this once: later exits from it commit again.
    freq->setExitAttached(true);
}

} // namespace spk
