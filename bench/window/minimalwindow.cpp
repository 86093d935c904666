// The reference for start-up figures: a plain Qt main window of the same size, nothing else.
#include "app/startupprobe.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("minimal"));
    window.setCentralWidget(new QLabel(QStringLiteral("minimal window")));
    window.setFixedSize(747, 765);
    spk::armStartupProbe(&window, argc, argv);
    window.show();
    return app.exec();
}
