// spkedit-usbsim: the editor with a simulated USB processor instead of the machine's HID devices,
// and a small window that plugs it in and out. QT_LOGGING_RULES="spk.*=true" shows the link.
#include "app/mainwindow.h"
#include "simhidbackend.h"
#include "usbsimpanel.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    SimHidBackend backend;
    if (app.arguments().contains(QStringLiteral("--plugged")))
        backend.plug(SimHidBackend::processor(), false);
    spk::MainWindow window(spk::MainWindowOptions{nullptr, nullptr, true, &backend});
    UsbSimPanel panel(backend);
    window.show();
    panel.show();
    return app.exec();
}
