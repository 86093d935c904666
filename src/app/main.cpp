#include "app/commandline.h"
#include "app/mainwindow.h"
#include "app/startupprobe.h"
#include "session/offlinefiles.h"

#include <QApplication>
#include <QCommandLineParser>

namespace {
void nameApplication()
{
    QCoreApplication::setApplicationName(QStringLiteral("spkedit"));
    QCoreApplication::setApplicationVersion(QStringLiteral(SPK_VERSION));
}
} // namespace

int main(int argc, char **argv)
{
    QCommandLineParser parser;
    spk::describeCommandLine(parser);
    if (spk::asksForInfo(argc, argv)) {
        // Answered without a display: no platform plugin is loaded for this.
        QCoreApplication app(argc, argv);
        nameApplication();
        parser.process(app);
        return 0;
    }
    {
        // A bad request is answered before a display is needed. Qt's own options (-platform ...)
        // are not known here: such a command line is checked again once the application took them.
        QStringList arguments;
        for (int i = 0; i < argc; ++i)
            arguments << QString::fromLocal8Bit(argv[i]);
        QCommandLineParser early;
        spk::describeCommandLine(early);
        if (early.parse(arguments) && !spk::openRequest(early)) return 2;
    }
    QApplication app(argc, argv);
    nameApplication();
    QGuiApplication::setDesktopFileName(QStringLiteral("spkedit"));
    parser.process(app);
    const std::optional<spk::OpenRequest> open = spk::openRequest(parser);
    if (!open) return 2;

    spk::MainWindowOptions options;
    options.bootSearch = spk::startupSearchWanted(argc, argv) && open->file.isEmpty();
    spk::MainWindow window(options);
    spk::armStartupProbe(&window, argc, argv);
    window.show();
    if (!open->file.isEmpty()) window.offlineFiles().openPath(open->file, open->preset);
    return app.exec();
}
