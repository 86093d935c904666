// spktool: the command-line companion of the editor: preset files, and devices on a serial line.
#include "commands/commands.h"
#include "console.h"
#include "exitcodes.h"
#include "filecommands.h"
#include "interrupt.h"
#include "wireoptions.h"

#include <QCoreApplication>
#include <QLoggingCategory>

#include <cstdio>

namespace {

using namespace spk::tool;

const char *const MainHelp = R"(Usage: spktool COMMAND [OPTIONS]

Preset files:
  show FILE [--preset N]
      Print every parameter of a preset file.
  response FILE [--preset N] [--channel ip0|op0|op1|op2 | --output sat|sub|third|sum]
      Print the summed response of a channel, or the predicted response at an output, as CSV.

Devices on a serial line (RS-485 adapters and spksim's virtual ones) or on USB (--usb in place
of --port P; set-id is for RS-485 lines only):
  ports                                       list the ports, one a line
  scan [--port P]... [--ids A-B] [--json]     which IDs answer on which ports
  backup --port P --id N FILE.gdat            presets 1..20 into a file
  restore --port P --id N FILE.gdat [--yes]   presets 1..20 from a file
  get --port P --id N FILE.sdat               the working preset into a file
  put --port P --id N FILE.sdat [--yes]       the working preset from a file
  meter --port P --id N [--watch]             temperature, attenuation, limiter
  set-id --port P --id N NEW [--yes]          give device N the ID NEW

A FILE ending in .gdat holds all 20 presets; any other is read as a one-preset .sdat file.
Device commands show progress on stderr when they take over a second (--quiet: none) and ask
before overwriting anything on the device unless --yes is given. Ctrl-C closes the port and
leaves no half-written file. "spktool COMMAND --help" describes a command; "spktool --version"
prints the version.

Exit status: 0 done, 1 port, device or file error (the message says which), 2 wrong usage,
3 no answer from the device, 130 interrupted. QT_LOGGING_RULES="spk.*=true" shows what the
serial port and the receive path did.
)";

int runWire(const WireCommandInfo &info, const QStringList &args)
{
    QString error;
    const std::optional<WireOptions> options = parseWireOptions(info, args, &error);
    if (!options) {
        printError(QStringLiteral("spktool %1: %2 (see spktool %1 --help)").arg(args.first(), error));
        return Usage;
    }
    if (options->help) {
        std::fputs(info.help, stdout);
        if (options->command != QLatin1String("ports")) std::fputs(qPrintable(commonHelp()), stdout);
        return Success;
    }
    Interrupt interrupt;
    const QString &c = options->command;
    if (c == QLatin1String("ports")) return runPorts(*options);
    if (c == QLatin1String("scan")) return runScan(*options, interrupt);
    if (c == QLatin1String("backup")) return runBackup(*options, interrupt);
    if (c == QLatin1String("restore")) return runRestore(*options, interrupt);
    if (c == QLatin1String("get")) return runGet(*options, interrupt);
    if (c == QLatin1String("put")) return runPut(*options, interrupt);
    if (c == QLatin1String("meter")) return runMeter(*options, interrupt);
    return runSetId(*options, interrupt);
}

int run(QStringList args)
{
    if (args.isEmpty()) {
        printError(QStringLiteral("spktool: missing COMMAND (see spktool --help)"));
        return Usage;
    }
    const QString command = args.first();
    if (command == QLatin1String("--help") || command == QLatin1String("-h") ||
        command == QLatin1String("help")) {
        std::fputs(MainHelp, stdout);
        return Success;
    }
    if (command == QLatin1String("--version") || command == QLatin1String("-v")) {
        std::printf("spktool %s\n", SPK_VERSION);
        return Success;
    }
    if (isFileCommand(command)) return runFileCommand(args);
    if (const WireCommandInfo *info = wireCommand(command)) return runWire(*info, args);
    printError(QStringLiteral("spktool: unknown command '%1' (see spktool --help)").arg(command));
    return Usage;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    // Stderr carries one line per failure; QT_LOGGING_RULES="spk.*=true" still shows the details.
    QLoggingCategory::setFilterRules(QStringLiteral("spk.*.debug=false"));
    QStringList args = app.arguments();
    args.removeFirst();
    return run(args);
}
