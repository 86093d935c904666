#include "editors/graphkeys.h"

#include "editors/crossovereqeditor.h"
#include "editors/editorcontext.h"
#include "editors/editundo.h"
#include "editors/valuestepper.h"
#include "graph/graphview.h"
#include "model/tables.h"

namespace spk {

GraphKeys::GraphKeys(EditorContext &ctx, CrossoverEqEditor &editor, ValueStepper &stepper, QObject *parent)
    : QObject(parent), m_ctx(ctx), m_editor(editor), m_stepper(stepper)
{
}

void GraphKeys::attach(GraphView *view)
{
    connect(view, &GraphView::pointStep, this, &GraphKeys::stepPoint);
    connect(view, &GraphView::pressed, this, [this, view] {
        if (m_ctx.state.GraphDragging) view->setSelectedPoint(m_ctx.state.Target.EditTargetBand());
    });
}

void GraphKeys::stepPoint(int band, bool frequency, bool up)
{
    EditorState &s = m_ctx.state;
    if (s.GraphDragging || band < 0 || band >= BandCount) return;
    if (!frequency && s.ParamImage.byte(bandRecord(s.GraphChannel, band), BandByte::Type) > MaxEqType) return;
    // Armed as a click into the band's edit arms it; then one notch.
    if (frequency)
        m_editor.edt_op0eq_freq_00MouseUp(band);
    else
        m_editor.edt_op0eq_gain_00MouseUp(band);
    const EditUndo::Tag keys(m_ctx.undo, QStringLiteral("graph keys %1 %2").arg(band).arg(frequency));
    m_stepper.stepArmedCode(up);
}

} // namespace spk
