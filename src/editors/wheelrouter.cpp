#include "editors/wheelrouter.h"

#include "editors/editorcontext.h"
#include "editors/editundo.h"
#include "editors/valuestepper.h"

#include <QAbstractSlider>
#include <QWheelEvent>

namespace spk {

WheelRouter::WheelRouter(EditorContext &ctx, ValueStepper &stepper, QWidget *window, QObject *parent)
    : QObject(parent), m_ctx(ctx), m_stepper(stepper), m_window(window)
{
}

bool WheelRouter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::Wheel) return false;
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget || !m_window || widget->window() != m_window) return false;
    auto *wheel = static_cast<QWheelEvent *>(event);
    const QPoint angle = wheel->angleDelta();
    const int delta = angle.y() != 0 ? angle.y() : angle.x();
    // Touchpads send begin and end events that carry no movement; they are no notch.
    if (delta == 0) return false;
    if (!FormMouseWheel(delta)) return false;
    event->accept();
    return true;
}

bool WheelRouter::FormMouseWheel(int delta)
{
    EditTargeting &t = m_ctx.state.Target;
    if (!t.WheelOpen()) return false;
    if (t.EditTargetName().isEmpty()) {
        t.disarm();
        return false;
    }
    const bool up = delta > 0;
    const QString &name = t.EditTargetName();
    // The notches of one arming on one field are one undo step.
    const EditUndo::Tag burst(
        m_ctx.undo,
        QStringLiteral("wheel %1 %2 %3").arg(t.armings()).arg(name).arg(t.EditTarget().value_or(-1)));
    if (name.startsWith(QLatin1String("edt_"))) {
        m_stepper.stepArmedCode(up);
    } else if (name.startsWith(QLatin1String("rztr")) || name.startsWith(QLatin1String("scrl"))) {
        if (auto *control = m_ctx.controls.get<QAbstractSlider>(name))
            control->setValue(control->value() + (up ? 1 : -1));
    }
    // Handled in every armed case, even a name that belongs to nothing.
    return true;
}

} // namespace spk
