// ports and scan: which ports there are, and which IDs answer on them.
#include "commands.h"

#include "../console.h"
#include "../exitcodes.h"
#include "../fleet.h"
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

    // Every line at once: the scan takes as long as its slowest line.
    QList<FleetLine> lines;
    for (const QString &port : ports)
        lines << FleetLine(port, options.ids);
    runLines(lines, interrupt, [&](WireSession &session, FleetLine &line) {
        if (!openLine(session, line)) return;
        Progress progress(QStringLiteral("scan"), options.quiet);
        if (lines.size() > 1) progress.setPlain();
        line.found = probeLine(session, line, &progress);
    });

    QList<PortResult> results;
    for (const FleetLine &line : lines) {
        if (line.code == Interrupted) {
            printError(QStringLiteral("spktool scan: %1").arg(line.error));
            return Interrupted;
        }
        if (!line.error.isEmpty()) printError(QStringLiteral("spktool scan: %1").arg(line.error));
        results << PortResult{line.name, line.found, line.error};
    }

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
