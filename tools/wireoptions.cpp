#include "wireoptions.h"

#include "model/timing.h"

#include <QCommandLineParser>

#include <algorithm>

namespace spk::tool {

namespace {

constexpr int MinId = 1;
constexpr int MaxId = 250;

const char *const CommonHelp = R"(
  --usb             the processor on USB instead of a serial port (with several plugged in,
                    --port usb:PATH from "spktool ports" names one)
  --quiet           no progress on stderr
  --time-scale F    multiply every wait and pacing by F (for tests against spksim --time-scale F)

Exit status: 0 done, 1 port, device or file error, 2 wrong usage, 3 no answer, 130 interrupted.
)";

const WireCommandInfo Commands[] = {
    {"ports", "", "", R"(Usage: spktool ports

Prints the ports the editor lists, one a line: the machine's serial ports, spksim's virtual
adapters (ttySIM0 ...) and the processors on USB (usb:/dev/hidraw3 ...).
)"},
    {"scan", "port usb ids json quiet", "", R"(Usage: spktool scan [--port P]... [--ids A-B] [--json]

Polls each ID on each port with a meter request and prints the IDs that answer, one port a line:
"ttySIM0: 1 5 9" (a port where nothing answers shows no IDs). Each probe waits at most 100 ms and
moves on as soon as the reply is in.

  --port P          a port from "spktool ports", a device path, or a device server's
                    tcp://HOST:PORT or rfc2217://HOST:PORT; repeat for several, scanned at once
                    (default: every listed port, the processors on USB among them)
  --ids LIST        IDs to probe: 5, 1-20, 1,5,9-12 (default 1-250)
  --json            {"ports": [{"port": "ttySIM0", "ids": [1, 5, 9]}, ...]}; a port that cannot be
                    opened carries "error"

Exit status 3 when no device answered anywhere, 1 when a port could not be opened.
)"},
    {"backup", "port usb id ids json quiet", "FILE", R"(Usage: spktool backup (--port P | --usb) --id N FILE.gdat
       spktool backup --port P [--port Q]... [--ids LIST] [--json] FOLDER

Reads presets 1..20 of device N into FILE, the all-presets file that the editor's "Load all presets
from PC" takes (40 lines, CR LF). Each request goes out as soon as the previous reply is in; a
preset that does not answer after two tries fails the command with its number, and no file is
written. An existing FILE is replaced only when the whole backup succeeded.

With several --port, --ids or --json, every device of every line goes into FOLDER (made if missing), one
file each named by port and ID (ttySIM0-id5.gdat, tcp-10.0.0.9-4001-id5.gdat). The lines are
worked at the same time, the devices of one line in turn; a device that does not answer is
reported and the others go on. Exit status 0 only when every device is done, 1 when some failed
(named on stderr and in the --json summary).

  --ids LIST        the devices on each line (default: those that answer a scan of 1-250)
  --json            {"lines": [{"port": P, "devices": [{"id": 5, "file": F} | {"id": 7,
                    "error": E}], "error": E}], "done": N, "failed": ["P ID 7", ...]}
)"},
    {"restore", "port usb id yes quiet", "FILE", R"(Usage: spktool restore (--port P | --usb) --id N FILE.gdat [--yes]

Writes the 20 presets of FILE into device N, one every 1500 ms (the device stores each in its
memory), then reads the preset names back and prints them ("1: name" .. "20: name"). The whole file
is checked first; a damaged file ("File damaged.") sends nothing.

  --yes             do not ask before overwriting the device's presets
)"},
    {"get", "port usb id quiet", "FILE", R"(Usage: spktool get (--port P | --usb) --id N FILE.sdat

Reads the working preset of device N into FILE, the one-preset file that the editor's "Load a
preset from PC" takes.
)"},
    {"put", "port usb id yes quiet", "FILE", R"(Usage: spktool put (--port P | --usb) --id N FILE.sdat [--yes]

Loads the preset of FILE as the working preset of device N, waits 9.7 s for the device to take it,
and reads it back; a read-back that differs from the file is reported on stderr. A damaged file
sends nothing.

  --yes             do not ask before replacing the working preset
)"},
    {"meter", "port usb id ids json watch quiet", "", R"(Usage: spktool meter (--port P | --usb) --id N [--watch]
       spktool meter --port P [--port Q]... [--ids LIST] [--json]

Prints the device's temperature, attenuation and limiter as the editor shows them, one line a
reading:
  Temperature: 68'C   Attenuation dB: 3 dB   Limiter: off   Status: 0 0

  --watch           a reading every 350 ms until Ctrl-C (which then ends with status 0)

With several --port, --ids or --json, one reading of every device of every line ("ttySIM0 ID 5: ..."),
the lines at the same time, as backup takes them (see spktool backup --help).
)"},
    {"set-id", "port usb id yes quiet", "NEW", R"(Usage: spktool set-id --port P --id N NEW [--yes]

Gives device N the ID NEW (1..250): writes its system record with the new ID, then asks for the
version under NEW to confirm. Refused when another device already answers to NEW, and on USB
(IDs matter on an RS-485 line only).

  --yes             do not ask before changing the ID
)"},
};

bool takes(const WireCommandInfo &info, const char *option)
{
    return QString::fromLatin1(info.options).split(u' ').contains(QLatin1String(option));
}

std::optional<int> parseId(const QString &text)
{
    bool ok = false;
    const int id = text.trimmed().toInt(&ok);
    if (!ok || id < MinId || id > MaxId) return std::nullopt;
    return id;
}

} // namespace

QList<WireCommandInfo> wireCommands()
{
    return QList<WireCommandInfo>(std::begin(Commands), std::end(Commands));
}

const WireCommandInfo *wireCommand(const QString &name)
{
    for (const WireCommandInfo &info : Commands)
        if (name == QLatin1String(info.name)) return &info;
    return nullptr;
}

std::optional<QList<int>> parseIdList(const QString &text)
{
    QList<int> ids;
    for (const QString &part : text.split(u',')) {
        const QStringList range = part.split(u'-');
        if (range.size() > 2) return std::nullopt;
        const std::optional<int> low = parseId(range.first());
        const std::optional<int> high = range.size() == 2 ? parseId(range.last()) : low;
        if (!low || !high || *low > *high) return std::nullopt;
        for (int id = *low; id <= *high; ++id)
            ids << id;
    }
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    return ids;
}

std::optional<WireOptions> parseWireOptions(const WireCommandInfo &info, const QStringList &args,
                                            QString *error)
{
    const auto fail = [error](const QString &why) {
        *error = why;
        return std::nullopt;
    };
    QCommandLineParser parser;
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    const QCommandLineOption help(QStringList{"help", "h"});
    const QCommandLineOption port("port", QString(), "P");
    const QCommandLineOption id("id", QString(), "N");
    const QCommandLineOption ids("ids", QString(), "LIST");
    const QCommandLineOption json("json");
    const QCommandLineOption watch("watch");
    const QCommandLineOption yes("yes");
    const QCommandLineOption quiet("quiet");
    const QCommandLineOption usb("usb");
    const QCommandLineOption scale("time-scale", QString(), "F");
    parser.addOption(help);
    parser.addOption(scale);
    for (const QCommandLineOption &o : {port, usb, id, ids, json, watch, yes, quiet})
        if (takes(info, qPrintable(o.names().first()))) parser.addOption(o);

    // The parser wants a program name first; the command stands in for it.
    if (!parser.parse(args)) return fail(parser.errorText());
    WireOptions o;
    o.command = QString::fromLatin1(info.name);
    o.help = parser.isSet(help);
    if (o.help) return o;

    o.arguments = parser.positionalArguments();
    const bool wantsArgument = info.arguments[0] != '\0';
    if (wantsArgument && o.arguments.isEmpty())
        return fail(QStringLiteral("missing %1").arg(QLatin1String(info.arguments)));
    if (o.arguments.size() > (wantsArgument ? 1 : 0))
        return fail(QStringLiteral("unexpected argument '%1'").arg(o.arguments.last()));

    if (parser.isSet(scale)) {
        bool ok = false;
        const double f = parser.value(scale).toDouble(&ok);
        if (!ok || f < 0.001 || f > 100)
            return fail(QStringLiteral("--time-scale wants a number from 0.001 to 100"));
        setTimeScale(f);
    }
    // The parser warns about options it was not given; ask only about those of this command.
    const auto has = [&](const QCommandLineOption &opt) {
        return takes(info, qPrintable(opt.names().first())) && parser.isSet(opt);
    };
    if (has(port)) o.ports = parser.values(port);
    if (has(usb)) {
        if (takes(info, "id") && !o.ports.isEmpty()) return fail(QStringLiteral("--usb or --port, not both"));
        o.ports << QStringLiteral("usb");
    }
    o.json = has(json);
    o.watch = has(watch);
    o.yes = has(yes);
    o.quiet = has(quiet);
    if (takes(info, "ids")) {
        o.idsGiven = parser.isSet(ids);
        const std::optional<QList<int>> list = parseIdList(parser.isSet(ids) ? parser.value(ids) : "1-250");
        if (!list)
            return fail(QStringLiteral("--ids wants IDs 1..250 like 5, 1-20 or 1,5,9-12, not '%1'")
                            .arg(parser.value(ids)));
        o.ids = *list;
    }
    o.fleet = takes(info, "id") && takes(info, "ids") && (o.ports.size() > 1 || o.idsGiven || o.json);
    if (o.fleet) {
        if (o.ports.isEmpty()) return fail(QStringLiteral("missing --port (spktool ports lists them)"));
        if (parser.isSet(id)) return fail(QStringLiteral("--id or --ids, not both"));
        if (o.watch) return fail(QStringLiteral("--watch takes one device (--port P --id N)"));
        if (o.ports.contains(QStringLiteral("usb")) && o.ports.size() > 1)
            return fail(QStringLiteral("name each processor on USB by its port (usb:PATH) in a fleet job"));
    }
    if (takes(info, "id") && !o.fleet) {
        if (o.ports.isEmpty()) return fail(QStringLiteral("missing --port or --usb (spktool ports lists them)"));
        if (o.ports.size() > 1) return fail(QStringLiteral("one --port only"));
        if (parser.values(id).size() > 1) return fail(QStringLiteral("one --id only"));
        if (!parser.isSet(id)) return fail(QStringLiteral("missing --id"));
        const std::optional<int> n = parseId(parser.value(id));
        if (!n) return fail(QStringLiteral("--id wants a device ID 1..250, not '%1'").arg(parser.value(id)));
        o.id = *n;
    }
    if (o.command == QLatin1String("set-id")) {
        const std::optional<int> n = parseId(o.arguments.first());
        if (!n)
            return fail(QStringLiteral("NEW wants a device ID 1..250, not '%1'").arg(o.arguments.first()));
        if (*n == o.id) return fail(QStringLiteral("device %1 has that ID already").arg(o.id));
    }
    return o;
}

QString commonHelp()
{
    return QString::fromLatin1(CommonHelp);
}

} // namespace spk::tool
