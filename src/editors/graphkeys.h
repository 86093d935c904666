#pragma once

#include <QObject>

namespace spk {

struct EditorContext;
class CrossoverEqEditor;
class GraphView;
class ValueStepper;

// The graph's points from the keyboard (img_eqbackground focused): an arrow key steps the selected
// band's frequency or gain one code on the selected channel, as a wheel notch over the band's edit
// does (the edit shows the new value, the curve is redrawn, the record marked); the wheel stays
// armed on that field. Presses on one field in a row are one undo step. The all-pass types have no
// gain to step. A grabbed point becomes the selected one.
class GraphKeys : public QObject
{
    Q_OBJECT
public:
    GraphKeys(EditorContext &ctx, CrossoverEqEditor &editor, ValueStepper &stepper,
              QObject *parent = nullptr);
    // After PointDrag::attach, so a press has been handled when the selection follows it.
    void attach(GraphView *view);

    void stepPoint(int band, bool frequency, bool up);

private:
    EditorContext &m_ctx;
    CrossoverEqEditor &m_editor;
    ValueStepper &m_stepper;
};

} // namespace spk
