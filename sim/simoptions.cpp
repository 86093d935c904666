#include "simoptions.h"

#include "simdevice.h"
#include "simframe.h"

#include <QCommandLineParser>
#include <QSet>

namespace spk::sim {

namespace {

const char *const Description =
    "Simulates loudspeaker processors on a virtual RS-485 line (9600 baud 8N1).\n"
    "The line is served on a pseudo-terminal, published as the link ttySIM<n> (lowest free n) in\n"
    "$XDG_RUNTIME_DIR/spkedit/ports/ (or /tmp/spkedit-<uid>/ports/), where the editor lists it like a\n"
    "plugged-in USB-serial adapter. The link is removed on exit (also on SIGINT and SIGTERM);\n"
    "SIGUSR1 unplugs the adapter and plugs it back in.\n"
    "\n"
    "A frame with ID byte b goes to the device with ID b + 1; ID byte 255 is taken by every device\n"
    "and answered by none.\n"
    "\n"
    "State file (--state): JSON {\"format\": \"spksim-state\", \"version\": 1, \"devices\": [...]}, each\n"
    "device with \"sysdata\" (48 bytes), \"image\" (640 bytes) and \"presets\" (slot 1..20 with a\n"
    "20-byte \"name\" and a 640-byte \"image\"), bytes as upper-case hex. Device k of the file is\n"
    "device k of --ids; its stored ID wins. Read at start if present, written after every change\n"
    "and on exit.\n"
    "\n"
    "Frame log (--log): one line per frame: seconds since start, rx (received) or tx (sent), the\n"
    "frame in upper-case hex, e.g. 12.345 rx A5A5A500A2002B00000089AA";

bool parseIds(const QString &text, QList<int> *ids)
{
    ids->clear();
    QSet<int> seen;
    for (const QString &part : text.split(QLatin1Char(','))) {
        bool ok = false;
        const int id = part.trimmed().toInt(&ok);
        if (!ok || id < SimDevice::MinId || id > SimDevice::MaxId || seen.contains(id)) return false;
        seen.insert(id);
        ids->append(id);
    }
    return !ids->isEmpty();
}

} // namespace

bool parseSimOptions(const QStringList &arguments, SimConfig *config, QString *error, QString *helpText)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromLatin1(Description));
    parser.addHelpOption();
    const QCommandLineOption ids("ids", "Device IDs on the line, 1..250, comma-separated (default 1).",
                                 "list");
    const QCommandLineOption state("state", "Keep the devices' memory in <file> between runs.", "file");
    const QCommandLineOption log("log", "Write every frame received and sent to <file>.", "file");
    const QCommandLineOption scale("time-scale",
                                   "Multiply every time (pacing, delays) by <factor> (default 1).", "factor");
    const QCommandLineOption noPacing("no-pacing", "Send replies at once instead of at 9600 baud.");
    const QCommandLineOption silent("silent", "Fault: no device answers anything.");
    const QCommandLineOption drop("drop", "Fault: lose the first <n> replies.", "n");
    const QCommandLineOption dropRate("drop-rate", "Fault: lose each reply with probability <p> (0..1).",
                                      "p");
    const QCommandLineOption badEnd("bad-end", "Fault: end every reply with 0xAB instead of 0xAA.");
    const QCommandLineOption noise("noise", "Fault: send the bytes <hex> (e.g. 00FF13) before every reply.",
                                   "hex");
    const QCommandLineOption split("split", "Fault: send every reply in <n> bursts.", "n");
    const QCommandLineOption splitGap("split-gap", "Pause between those bursts (default 80 ms).", "ms");
    const QCommandLineOption slow("slow", "Fault: wait <ms> longer before every reply.", "ms");
    const QCommandLineOption unplug("unplug-after", "Fault: unplug the adapter after <seconds>.", "seconds");
    const QCommandLineOption version(
        "version-text", "Report <text> as the version (padded with spaces to 24 characters).", "text");
    const QCommandLineOption tcp("tcp",
                                 "Serve the line also on TCP <port> of 127.0.0.1, raw like a device "
                                 "server (0: a free port; the address is printed).",
                                 "port");
    const QCommandLineOption programVersion("version", "Print the program's version and quit.");
    parser.addOptions({ids, state, log, scale, noPacing, silent, drop, dropRate, badEnd, noise, split,
                       splitGap, slow, unplug, version, tcp, programVersion});
    if (helpText) *helpText = parser.helpText();

    const auto fail = [error](const QString &why) {
        if (error) *error = why;
        return false;
    };
    if (!parser.parse(arguments)) return fail(parser.errorText());
    if (!parser.positionalArguments().isEmpty())
        return fail(QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments().first()));
    SimConfig c;
    c.help = parser.isSet("help") || parser.isSet("help-all");
    c.version = parser.isSet(programVersion);
    if (parser.isSet(ids) && !parseIds(parser.value(ids), &c.ids))
        return fail(QStringLiteral("--ids wants distinct numbers 1..250 separated by commas, not '%1'")
                        .arg(parser.value(ids)));
    c.stateFile = parser.value(state);
    c.logFile = parser.value(log);
    c.pacing = !parser.isSet(noPacing);
    c.faults.silent = parser.isSet(silent);
    c.faults.badEnd = parser.isSet(badEnd);

    const auto number = [&](const QCommandLineOption &o, double low, double high, double *out) {
        if (!parser.isSet(o)) return true;
        bool ok = false;
        const double v = parser.value(o).toDouble(&ok);
        if (!ok || v < low || v > high)
            return fail(QStringLiteral("--%1 wants a number from %2 to %3, not '%4'")
                            .arg(o.names().first())
                            .arg(low)
                            .arg(high)
                            .arg(parser.value(o)));
        *out = v;
        return true;
    };
    double dropCount = 0, parts = 1, gap = c.faults.splitGapMs, extra = 0, tcpPort = -1;
    if (!number(scale, 0.001, 100, &c.timeScale) || !number(drop, 0, 1e9, &dropCount) ||
        !number(dropRate, 0, 1, &c.faults.dropRate) || !number(split, 1, 652, &parts) ||
        !number(splitGap, 0, 60000, &gap) || !number(slow, 0, 600000, &extra) ||
        !number(unplug, 0, 1e6, &c.unplugAfter) || !number(tcp, 0, 65535, &tcpPort))
        return false;
    c.tcpPort = int(tcpPort);
    c.faults.dropNext = int(dropCount);
    c.faults.splitParts = int(parts);
    c.faults.splitGapMs = int(gap);
    c.faults.extraDelayMs = int(extra);
    if (parser.isSet(noise)) {
        bool ok = false;
        c.faults.noise = simFromHex(parser.value(noise).toLatin1(), &ok);
        if (!ok || c.faults.noise.isEmpty())
            return fail(QStringLiteral("--noise wants hex bytes, not '%1'").arg(parser.value(noise)));
    }
    if (parser.isSet(version))
        c.versionText = parser.value(version).toLatin1().leftJustified(SimDevice::VersionLength, ' ');
    *config = c;
    return true;
}

} // namespace spk::sim
