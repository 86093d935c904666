#include "graph/graphview.h"

#include "app/editorcontext.h"
#include "editors/crossovereqeditor.h"
#include "editors/valueedit.h"
#include "filters/graphgeometry.h"
#include "graph/responsegraph.h"
#include "model/tables.h"
#include "model/valuetext.h"

#include <QComboBox>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace spk {

using Field = CrossoverEqEditor::Field;

GraphView::GraphView(QWidget *parent) : QWidget(parent)
{
    setFixedSize(GraphWidth, GraphHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QSize GraphView::sizeHint() const
{
    return {GraphWidth, GraphHeight};
}

void GraphView::attach(EditorContext &ctx, CrossoverEqEditor &editor)
{
    m_ctx = &ctx;
    m_editor = &editor;
}

void GraphView::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    if (m_ctx)
        p.drawImage(0, 0, m_ctx->graph.image());
    else
        p.fillRect(rect(), QColor(20, 20, 20));
}

void GraphView::mousePressEvent(QMouseEvent *event)
{
    img_op0eqbackgroundMouseDown(event->position().toPoint());
}
void GraphView::mouseMoveEvent(QMouseEvent *event)
{
    img_public_eqbackgroundMouseMove(event->position().toPoint());
}
void GraphView::mouseReleaseEvent(QMouseEvent *event)
{
    img_op0eqbackgroundMouseUp(event->position().toPoint());
}

int GraphView::hitTest(const std::array<EqPoint, BandCount> &points, QPoint pos)
{
    for (int b = 0; b < BandCount; ++b) {
        const EqPoint &p = points[b];
        if (p.x - 10 < pos.x() && pos.x() < p.x + 10 && p.y - 10 < pos.y() && pos.y() < p.y + 10) return b;
    }
    return -1;
}

void GraphView::img_op0eqbackgroundMouseDown(QPoint pos)
{
    if (!m_ctx) return;
    EditorState &s = m_ctx->state;
    s.GraphChannel = 0;
    // The focused editor leaves (and commits) before anything else changes.
    if (QLineEdit *sink = m_ctx->focusSink()) sink->setFocus(Qt::MouseFocusReason);
    const int b = hitTest(m_ctx->graph.response(Ip0).points(), pos);
    if (b < 0) return;
    ValueEdit *freq = m_editor->edit(Field::EqFreq, b);
    s.EditTargetBand = b;
    s.EditTargetControl = freq;
    s.EditTargetBandRecord = recordByte(bandRecord(Ip0, b));
    s.EditTarget = s.EditTargetBandRecord;
    s.LastEdited = bandRecord(Ip0, b);
    s.EditTargetName = QStringLiteral("edt_ip0eq_gain_0");
    s.WheelOpen = false;
    s.GraphDragging = true;
    if (freq) freq->setFocus(Qt::MouseFocusReason);
}

void GraphView::img_public_eqbackgroundMouseMove(QPoint pos)
{
    if (!m_ctx || !m_ctx->state.GraphDragging) return;
    EditorState &s = m_ctx->state;
    const double f = std::clamp(PixelXToFreq(pos.x()), FreqTable.front(), FreqTable.back());
    const double g = std::clamp(PixelYToDb(pos.y()), GainTable.front(), GainTable.back());
    const int r = bandRecord(Ip0, s.EditTargetBand);
    bool changed = false;

    const int c = NearestIndex(FreqTable, f);
    if (c != s.ParamImage.byte(r, BandByte::Freq)) {
        s.ParamImage.setByte(r, BandByte::Freq, c);
        if (auto *e = qobject_cast<QLineEdit *>(s.EditTargetControl.data()))
            e->setText(shortestText(FreqTable[c]) + QStringLiteral("Hz"));
        changed = true;
    }
    // The all-pass types (only device data holds them) have no gain to drag.
    if (s.ParamImage.byte(r, BandByte::Type) <= MaxEqType) {
        const int gc = NearestIndex(GainTable, g);
        if (gc != s.ParamImage.word(r, BandByte::Gain)) {
            s.ParamImage.setWord(r, BandByte::Gain, gc);
            const QString gainEdit = s.EditTargetName + QString::number(s.EditTargetBand);
            if (auto *e = m_ctx->controls.get<QLineEdit>(gainEdit))
                e->setText(shortestText(GainTable[gc]) + QStringLiteral("dB"));
            changed = true;
        }
    }
    if (changed)
        m_ctx->graph.EQ_CalParamtr_DrawCurve_Setflg(s.EditTargetBand, s.GraphChannel, s.EditTargetBandRecord,
                                                    s.LastEdited);
}

void GraphView::img_op0eqbackgroundMouseUp(QPoint)
{
    // A press that grabbed no point leaves nothing to finish.
    if (!m_ctx || !m_ctx->state.GraphDragging) return;
    EditorState &s = m_ctx->state;
    s.GraphDragging = false;
    const int b = s.EditTargetBand;
    ValueEdit *freq = m_editor->edit(Field::EqFreq, b);
    // Moving the focus away must not commit the frequency edit's text ...
    if (freq) freq->setExitAttached(false);
    auto *type = m_ctx->controls.get<QComboBox>(QStringLiteral("cbb_ip0eq_type_0") + QString::number(b));
    const bool peq = type && type->currentIndex() == 0;
    const Field next = peq ? Field::EqQ : Field::EqGain;
    ValueEdit *e = m_editor->edit(next, b);
    s.EditTargetName = peq ? QStringLiteral("edt_ip0eq_qval_0") : QStringLiteral("edt_ip0eq_gain_0");
    s.EditTargetControl = e;
    if (e) {
        e->setFocus(Qt::MouseFocusReason);
        if (peq)
            m_editor->edt_op0eq_qval_00MouseUp(e);
        else
            m_editor->edt_op0eq_gain_00MouseUp(e);
    }
    // ... but only this once: later exits from it commit again.
    if (freq) freq->setExitAttached(true);
}

} // namespace spk
