#include "fleet.h"

#include "exitcodes.h"
#include "progress.h"

#include "protocol/commands.h"

#include <QEventLoop>
#include <QRegularExpression>
#include <QThread>

#include <algorithm>
#include <memory>

namespace spk::tool {

namespace {
// A probe gets this long (and the link's margin); a device that answers later is counted when its
// reply comes, during a later probe or the wait after the last.
constexpr int ProbeMs = 100;
} // namespace

void runLines(QList<FleetLine> &lines, Interrupt &interrupt, const LineWork &work)
{
    const auto runOne = [&](FleetLine &line) {
        WireSession session(interrupt);
        work(session, line);
        session.close();
    };
    if (lines.size() == 1) {
        runOne(lines.first());
        return;
    }
    std::vector<std::unique_ptr<QThread>> threads;
    QEventLoop loop;
    int running = int(lines.size());
    for (FleetLine &line : lines) {
        threads.emplace_back(QThread::create([&runOne, &line] { runOne(line); }));
        QObject::connect(threads.back().get(), &QThread::finished, &loop, [&] {
            if (--running == 0) loop.quit();
        });
        threads.back()->start();
    }
    loop.exec();
    for (const auto &t : threads)
        t->wait();
}

bool openLine(WireSession &session, FleetLine &line)
{
    if (session.open(line.port)) {
        line.name = session.portName();
        return true;
    }
    line.name = line.port;
    line.error = session.error();
    line.code = Failure;
    return false;
}

QList<int> probeLine(WireSession &session, FleetLine &line, Progress *progress)
{
    QList<int> answered;
    int done = 0;
    for (int id : line.ids) {
        if (progress)
            progress->update(done++, int(line.ids.size()), QStringLiteral("%1 ID %2").arg(line.name).arg(id));
        session.setDevice(id);
        const auto reply = session.request([&] { return FrameBuilder::meterPoll(session.state()); }, CMD_Meter,
                                           WireSession::AnySlot, ProbeMs, 1,
                                           WireSession::Margin::InBudget);
        if (reply) answered << id;
        if (session.outcome() == WireSession::Outcome::Interrupted) {
            line.error = QStringLiteral("interrupted at %1 ID %2; port closed").arg(line.name).arg(id);
            line.code = Interrupted;
            break;
        }
        if (session.outcome() == WireSession::Outcome::Lost) {
            line.error = session.error();
            line.code = Failure;
            break;
        }
    }
    // A device that answered late, during a later probe or now, still counts, under its own ID.
    if (line.error.isEmpty() && session.pause(ProbeMs)) {
        const QSet<int> heard = session.heard(CMD_Meter);
        for (int id : line.ids)
            if (heard.contains(id) && !answered.contains(id)) answered << id;
        std::sort(answered.begin(), answered.end());
    }
    return answered;
}

QString portSlug(const QString &port)
{
    QString slug = port;
    slug.replace(QStringLiteral("://"), QStringLiteral("-"));
    slug.replace(u':', u'-');
    slug.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9._-]")), QStringLiteral("_"));
    return slug;
}

} // namespace spk::tool
