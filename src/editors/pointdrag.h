#pragma once

#include "filters/eqcurve.h"
#include "model/layout.h"

#include <QObject>
#include <QPoint>

#include <array>

namespace spk {

struct EditorContext;
class CrossoverEqEditor;
class GraphView;

// Dragging an EQ band's point on the graph (img_eqbackground) of the selected channel: left and
// right change its frequency, up and down its gain, both snapped to the tables; the release leaves
// the band's Q (PEQ) or gain edit focused and the wheel armed on it. A drag is one undo step.
class PointDrag : public QObject
{
    Q_OBJECT
public:
    PointDrag(EditorContext &ctx, CrossoverEqEditor &editor, QObject *parent = nullptr);
    void attach(GraphView *view);

    // All three serve img_eqbackground (the selected channel's graph).
    void img_op0eqbackgroundMouseDown(QPoint pos);
    void img_public_eqbackgroundMouseMove(QPoint pos);
    void img_op0eqbackgroundMouseUp(QPoint pos);
    // The drag ends where it is (the button may still be down): later moves change nothing.
    void finishDrag();

    // The first band whose point is strictly within 10 pixels on both axes; -1 for none.
    static int hitTest(const std::array<EqPoint, BandCount> &points, QPoint pos);

private:
    EditorContext &m_ctx;
    CrossoverEqEditor &m_editor;
};

} // namespace spk
