#include "app/mainwindow.h"
#include "app/startupprobe.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    spk::MainWindow window;
    spk::armStartupProbe(&window, argc, argv);
    window.show();
    return app.exec();
}
