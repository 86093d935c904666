// backup and meter over many lines and devices: one worker per line, devices on a line in turn.
#include "commands.h"
#include "fleetjobs.h"

#include "../console.h"
#include "../exitcodes.h"
#include "../fleet.h"
#include "../progress.h"

#include "presets/presetfile.h"
#include "protocol/commands.h"
#include "protocol/meter.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace spk::tool {

namespace {

QString deviceName(const FleetLine &line, int id)
{
    return QStringLiteral("device %1 on %2").arg(id).arg(line.name);
}

// The reason a request failed, and its exit code.
std::pair<int, QString> requestFailure(const WireSession &session, const QString &what)
{
    switch (session.outcome()) {
    case WireSession::Outcome::Interrupted:
        return {Interrupted, QStringLiteral("interrupted during %1").arg(what)};
    case WireSession::Outcome::Lost:
        return {Failure, QStringLiteral("%1 during %2").arg(session.error(), what)};
    default:
        break;
    }
    const QString why = session.garbled() ? QStringLiteral("only unreadable replies") : QStringLiteral("no answer");
    return {NoAnswer, QStringLiteral("%1 to %2").arg(why, what)};
}

// Presets 1..20 of the session's device into file; the file is written only when all came.
void backupDevice(WireSession &session, const FleetLine &line, FleetDevice &device, const QString &file,
                  Progress &progress, int step, int steps)
{
    QList<QByteArray> records;
    for (int preset = 1; preset <= PresetFile::PresetCount; ++preset) {
        progress.update(step * PresetFile::PresetCount + preset - 1, steps * PresetFile::PresetCount,
                        QStringLiteral("%1 preset %2").arg(deviceName(line, device.id)).arg(preset));
        const auto reply = session.request(
            [&] { return FrameBuilder::readRequest(session.state(), preset, CMD_Rw_20_Group, 0); },
            CMD_Rw_20_Group, preset, WireSession::replyTimeout(ImageReplyLength));
        if (!reply) {
            std::tie(device.code, device.error) =
                requestFailure(session, QStringLiteral("the read of preset %1").arg(preset));
            return;
        }
        if (!PresetFile::isRecord(reply->hexText)) {
            device.code = Failure;
            device.error = QStringLiteral("preset %1 came back with %2 data bytes, not 640")
                               .arg(preset)
                               .arg(reply->ReplyLength);
            return;
        }
        records << reply->hexText;
    }
    QString error;
    if (!PresetFile::writeGdat(file, records, &error)) {
        device.code = Failure;
        device.error = QStringLiteral("cannot write %1: %2").arg(file, error);
        return;
    }
    device.done = true;
    device.file = file;
}

void meterDevice(WireSession &session, FleetDevice &device)
{
    const auto reply = session.request([&] { return FrameBuilder::meterPoll(session.state()); }, CMD_Meter,
                                       WireSession::AnySlot, WireSession::replyTimeout(MeterReplyLength));
    if (!reply) {
        std::tie(device.code, device.error) = requestFailure(session, QStringLiteral("the meter poll"));
        return;
    }
    const std::optional<MeterView> view = decodeMeter(session.state(), reply->bytes());
    if (!view) {
        device.code = Failure;
        device.error = QStringLiteral("short meter reply");
        return;
    }
    device.done = true;
    device.text = QStringLiteral("%1   Limiter: %2   Status: %3 %4")
                      .arg(view->statusText,
                           view->limiterLed ? QStringLiteral("on (%1)").arg(view->edt1) : QStringLiteral("off"),
                           view->edt2, view->edt3);
}

// Prints what became of every device and line; returns the exit code.
int summarize(const WireOptions &options, const QList<FleetLine> &lines)
{
    const QString command = options.command;
    QJsonArray jsonLines;
    QStringList failed;
    int done = 0, interrupted = 0, total = 0;
    for (const FleetLine &line : lines) {
        QJsonArray devices;
        for (const FleetDevice &d : line.devices) {
            ++total;
            QJsonObject o{{"id", d.id}};
            if (d.done) {
                ++done;
                if (!d.file.isEmpty()) o.insert("file", d.file);
                if (!d.text.isEmpty()) o.insert("reading", d.text);
                if (!options.json)
                    printLine(d.file.isEmpty()
                                  ? QStringLiteral("%1 ID %2: %3").arg(line.name).arg(d.id).arg(d.text)
                                  : QStringLiteral("%1: presets 1..20 of %2").arg(d.file, deviceName(line, d.id)));
            } else {
                interrupted += d.code == Interrupted;
                failed << QStringLiteral("%1 ID %2").arg(line.name).arg(d.id);
                o.insert("error", d.error);
                printError(QStringLiteral("spktool %1: %2: %3%4")
                               .arg(command, deviceName(line, d.id), d.error,
                                    d.file.isEmpty() && command == QLatin1String("backup")
                                        ? QStringLiteral("; no file written")
                                        : QString()));
            }
            devices << o;
        }
        QJsonObject l{{"port", line.name}, {"devices", devices}};
        if (!line.error.isEmpty()) {
            l.insert("error", line.error);
            interrupted += line.code == Interrupted;
            failed << line.name;
            printError(QStringLiteral("spktool %1: %2").arg(command, line.error));
        }
        jsonLines << l;
    }
    if (options.json)
        printLine(QString::fromUtf8(QJsonDocument(QJsonObject{{"lines", jsonLines},
                                                              {"done", done},
                                                              {"failed", QJsonArray::fromStringList(failed)}})
                                        .toJson(QJsonDocument::Compact)));
    if (interrupted) return Interrupted;
    if (!failed.isEmpty()) {
        printError(QStringLiteral("spktool %1: %2 of %3 devices done; failed: %4")
                       .arg(command)
                       .arg(done)
                       .arg(total)
                       .arg(failed.join(QStringLiteral(", "))));
        return Failure;
    }
    if (total == 0) {
        printError(QStringLiteral("spktool %1: no device answered").arg(command));
        return NoAnswer;
    }
    return Success;
}

} // namespace

int runFleet(const WireOptions &options, Interrupt &interrupt)
{
    const bool backup = options.command == QLatin1String("backup");
    QString folder;
    if (backup) {
        folder = options.arguments.first();
        if (!QDir().mkpath(folder)) {
            printError(QStringLiteral("spktool backup: cannot make the folder %1").arg(folder));
            return Failure;
        }
        if (const QString why = unwritableReason(QDir(folder).filePath(QStringLiteral("probe.gdat")));
            !why.isEmpty()) {
            printError(QStringLiteral("spktool backup: cannot write into %1: %2").arg(folder, why));
            return Failure;
        }
    }
    QList<FleetLine> lines;
    for (const QString &port : options.ports) {
        FleetLine line(port, options.ids);
        line.scanFirst = !options.idsGiven;
        lines << line;
    }
    runLines(lines, interrupt, [&](WireSession &session, FleetLine &line) {
        if (!openLine(session, line)) return;
        Progress progress(QStringLiteral("%1 %2").arg(options.command, line.name), options.quiet);
        if (lines.size() > 1) progress.setPlain();
        const QList<int> ids = line.scanFirst ? probeLine(session, line, &progress) : line.ids;
        if (!line.error.isEmpty()) return;
        for (int step = 0; step < ids.size(); ++step) {
            FleetDevice device;
            device.id = ids[step];
            if (!line.error.isEmpty() || interrupt.requested()) {
                device.code = interrupt.requested() ? Interrupted : line.code;
                device.error = interrupt.requested() ? QStringLiteral("interrupted") : line.error;
                line.devices << device;
                continue;
            }
            session.setDevice(device.id);
            if (backup)
                backupDevice(session, line, device,
                             QDir(folder).filePath(QStringLiteral("%1-id%2.gdat").arg(portSlug(line.name)).arg(device.id)),
                             progress, step, int(ids.size()));
            else
                meterDevice(session, device);
            // A lost line fails the rest of its devices with it.
            if (session.outcome() == WireSession::Outcome::Lost) {
                line.error = session.error();
                line.code = Failure;
            }
            line.devices << device;
        }
        progress.finish();
    });
    return summarize(options, lines);
}

} // namespace spk::tool
