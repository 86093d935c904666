#include "app/commandline.h"

#include "presets/presetfile.h"

#include <QCommandLineParser>

#include <cstdio>
#include <cstring>

namespace spk {

void describeCommandLine(QCommandLineParser &parser)
{
    parser.setApplicationDescription(QStringLiteral(
        "Editor for the loudspeaker processor: connect over RS-485 or USB, or open a preset file\n"
        "(.sdat: one preset, .gdat: all twenty) and edit it with no device attached."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("A preset file to open."),
                                 QStringLiteral("[FILE.sdat | FILE.gdat]"));
    parser.addOption(QCommandLineOption(QStringLiteral("preset"),
                                        QStringLiteral("Open preset <n> (1..20) of a .gdat file."),
                                        QStringLiteral("n"), QStringLiteral("1")));
    QCommandLineOption bench(QStringLiteral("bench-startup"));
    QCommandLineOption screenshot(QStringLiteral("screenshot"), QString(), QStringLiteral("file"));
    for (QCommandLineOption *o : {&bench, &screenshot}) {
        o->setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(*o);
    }
}

bool asksForInfo(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i)
        for (const char *info : {"--help", "-h", "--help-all", "--version", "-v", "-?"})
            if (std::strcmp(argv[i], info) == 0) return true;
    return false;
}

std::optional<OpenRequest> openRequest(const QCommandLineParser &parser)
{
    const auto fail = [](const QString &why) -> std::optional<OpenRequest> {
        std::fprintf(stderr, "spkedit: %s\n", qPrintable(why));
        return std::nullopt;
    };
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) return fail(QStringLiteral("one file at a time, not %1").arg(files.size()));
    OpenRequest request;
    request.file = files.value(0);
    bool ok = false;
    request.preset = parser.value(QStringLiteral("preset")).toInt(&ok);
    if (!ok || request.preset < 1 || request.preset > PresetFile::PresetCount)
        return fail(QStringLiteral("--preset wants a number 1..20, not '%1'").arg(parser.value(QStringLiteral("preset"))));
    return request;
}

} // namespace spk
