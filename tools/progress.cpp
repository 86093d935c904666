#include "progress.h"

#include <unistd.h>

namespace spk::tool {

namespace {
constexpr int QuietMs = 1000;
constexpr int BarWidth = 30;
constexpr int StepLinesUpTo = 25;
} // namespace

Progress::Progress(QString task, bool quiet, std::FILE *out)
    : m_task(std::move(task)), m_out(out), m_quiet(quiet), m_terminal(::isatty(::fileno(out)) == 1)
{
    m_clock.start();
}

Progress::~Progress()
{
    finish();
}

void Progress::update(int done, int total, const QString &what)
{
    if (m_quiet || total <= 0 || m_clock.elapsed() < QuietMs) return;
    const int percent = done * 100 / total;
    if (m_terminal) {
        const int filled = done * BarWidth / total;
        const QString bar = QString(filled, u'#') + QString(BarWidth - filled, u'.');
        std::fprintf(m_out, "\r%s [%s] %3d%% %s\033[K", qPrintable(m_task), qPrintable(bar), percent,
                     qPrintable(what));
        std::fflush(m_out);
        m_barShown = true;
        return;
    }
    const int tenth = done * 10 / total;
    if (total > StepLinesUpTo && tenth == m_lastTenth) return;
    m_lastTenth = tenth;
    std::fprintf(m_out, "%s: %d%% %s\n", qPrintable(m_task), percent, qPrintable(what));
    std::fflush(m_out);
}

void Progress::finish()
{
    if (!m_barShown) return;
    std::fputc('\n', m_out);
    std::fflush(m_out);
    m_barShown = false;
}

} // namespace spk::tool
