#include "app/mainwindow.h"
#include "app/startupprobe.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    spk::MainWindowOptions options;
    options.bootSearch = spk::startupSearchWanted(argc, argv);
    spk::MainWindow window(options);
    spk::armStartupProbe(&window, argc, argv);
    window.show();
    return app.exec();
}
