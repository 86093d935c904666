#pragma once

#include <QElapsedTimer>
#include <QString>

#include <cstdio>

namespace spk::tool {

// Progress of a command on stderr: a bar redrawn in place when stderr is a terminal, plain lines
// otherwise (each step when there are few, else every tenth). Nothing shows during the first second,
// so quick commands stay quiet, and nothing at all with --quiet.
class Progress
{
public:
    Progress(QString task, bool quiet, std::FILE *out = stderr);
    ~Progress();

    void update(int done, int total, const QString &what);
    // Plain lines even on a terminal: several lines' progress share stderr.
    void setPlain() { m_terminal = false; }
    // Ends the bar's line; later output starts on a line of its own.
    void finish();

private:
    QString m_task;
    std::FILE *m_out;
    QElapsedTimer m_clock;
    bool m_quiet;
    bool m_terminal;
    bool m_barShown = false;
    int m_lastTenth = -1;
};

} // namespace spk::tool
