#pragma once

#include <QObject>
#include <QPointer>

class QWidget;

namespace spk {

struct EditorContext;
class ValueStepper;

// The window's mouse wheel (FormMouseWheel): wherever the pointer is over the main window, a
// notch steps the armed edit target by one code, or moves the armed track bar or scroll bar.
// Installed as an application event filter so it sees the wheel before any control does.
class WheelRouter : public QObject
{
    Q_OBJECT
public:
    WheelRouter(EditorContext &ctx, ValueStepper &stepper, QWidget *window, QObject *parent = nullptr);

    // delta > 0 is up. True when the wheel was used (the event is then consumed).
    bool FormMouseWheel(int delta);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    EditorContext &m_ctx;
    ValueStepper &m_stepper;
    QPointer<QWidget> m_window;
};

} // namespace spk
