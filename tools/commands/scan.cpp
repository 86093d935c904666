// ports and scan: which ports there are, and which IDs answer on them.
#include "commands.h"

#include "../console.h"
#include "../exitcodes.h"
#include "../progress.h"
#include "../usbports.h"
#include "../wiresession.h"

#include "link/portcatalog.h"
#include "protocol/commands.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace spk::tool {

namespace {

// A probe gets this long; a device that answers later is not counted.
constexpr int ProbeMs = 100;

struct PortResult
{
    QString port;
    QList<int> ids;
    QString error;
};

} // namespace

int runPorts(const WireOptions &)
{
    SystemPortCatalog catalog;
    for (const QString &name : catalog.names() + usbPorts())
        printLine(name);
    return Success;
}

int runScan(const WireOptions &options, Interrupt &interrupt)
{
    QStringList ports = options.ports;
    if (ports.isEmpty()) ports = SystemPortCatalog().names() + usbPorts();
    if (ports.isEmpty()) {
        printError(QStringLiteral("spktool scan: no ports to scan"));
        return NoAnswer;
    }

    QList<PortResult> results;
    WireSession session(interrupt);
    Progress progress(QStringLiteral("scan"), options.quiet);
    const int total = int(ports.size() * options.ids.size());
    int done = 0;
    for (const QString &port : ports) {
        PortResult result{port, {}, {}};
        if (!session.open(port)) {
            result.error = session.error();
            printError(QStringLiteral("spktool scan: %1").arg(result.error));
            done += int(options.ids.size());
            results << result;
            continue;
        }
        result.port = session.portName();
        for (int id : options.ids) {
            progress.update(done++, total, QStringLiteral("%1 ID %2").arg(port).arg(id));
            session.setDevice(id);
            const auto reply = session.request([&] { return FrameBuilder::meterPoll(session.state()); },
                                               CMD_Meter, WireSession::AnySlot, ProbeMs, 1);
            if (reply) result.ids << id;
            if (session.outcome() == WireSession::Outcome::Interrupted) {
                progress.finish();
                printError(
                    QStringLiteral("spktool scan: interrupted at %1 ID %2; port closed").arg(port).arg(id));
                return Interrupted;
            }
            if (session.outcome() == WireSession::Outcome::Lost) {
                result.error = session.error();
                progress.finish();
                printError(QStringLiteral("spktool scan: %1").arg(result.error));
                break;
            }
        }
        session.close();
        results << result;
    }
    progress.finish();

    bool found = false, failed = false;
    QJsonArray json;
    for (const PortResult &r : results) {
        found = found || !r.ids.isEmpty();
        failed = failed || !r.error.isEmpty();
        QStringList ids;
        QJsonArray jsonIds;
        for (int id : r.ids) {
            ids << QString::number(id);
            jsonIds << id;
        }
        QJsonObject o{{"port", r.port}, {"ids", jsonIds}};
        if (!r.error.isEmpty()) o.insert("error", r.error);
        json << o;
        if (!options.json)
            printLine(QStringLiteral("%1:%2").arg(r.port, ids.isEmpty() ? QString() : u' ' + ids.join(u' ')));
    }
    if (options.json)
        printLine(
            QString::fromUtf8(QJsonDocument(QJsonObject{{"ports", json}}).toJson(QJsonDocument::Compact)));
    if (failed) return Failure;
    return found ? Success : NoAnswer;
}

} // namespace spk::tool
