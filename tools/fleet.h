#pragma once

#include "interrupt.h"
#include "wiresession.h"

#include <QList>
#include <QString>

#include <functional>

namespace spk::tool {

// What became of one device of a fleet job.
struct FleetDevice
{
    int id = 0;
    bool done = false;
    int code = 0;  // exit code of its failure
    QString error; // why it failed
    QString file;  // backup: the file written
    QString text;  // meter: the reading
};

// One line (port) of a fleet job and its devices, taken in turn.
struct FleetLine
{
    FleetLine(const QString &p, const QList<int> &list) : port(p), name(p), ids(list) {}
    QString port;         // as given
    QString name;         // as the session names it once open
    QList<int> ids;       // the devices to take; with scanFirst, the IDs to scan for them
    bool scanFirst = false;
    QString error;        // the line failed as a whole (did not open, was lost)
    int code = 0;         // the exit code of that failure
    QList<FleetDevice> devices;
    QList<int> found;     // scan: the IDs that answered
};

// Runs work on every line at the same time, each line on a thread of its own with its own session
// and event loop (one line runs on the caller's thread), and returns when all have ended. The
// caller's event loop runs meanwhile, so Ctrl-C reaches every worker.
using LineWork = std::function<void(WireSession &session, FleetLine &line)>;
void runLines(QList<FleetLine> &lines, Interrupt &interrupt, const LineWork &work);

// Opens the line's port; false with line.error and line.code set.
bool openLine(WireSession &session, FleetLine &line);
// The IDs of line.ids that answer a meter probe; on a lost line, line.error is set.
QList<int> probeLine(WireSession &session, FleetLine &line, class Progress *progress);

// "ttySIM0", "tcp-127.0.0.1-4001": a port name fit for a file name.
QString portSlug(const QString &port);

} // namespace spk::tool
