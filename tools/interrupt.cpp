#include "interrupt.h"

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace spk::tool {

namespace {

int g_pipe[2] = {-1, -1};
constexpr int Signals[] = {SIGINT, SIGTERM, SIGHUP};

void onSignal(int)
{
    const char code = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_pipe[1], &code, 1);
    for (int s : Signals)
        std::signal(s, SIG_DFL);
}

} // namespace

Interrupt::Interrupt()
{
    if (g_pipe[0] < 0 && ::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
    struct sigaction sa = {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    // No SA_RESTART: a blocking read of the confirmation answer must return on Ctrl-C.
    sa.sa_flags = 0;
    for (int s : Signals)
        ::sigaction(s, &sa, nullptr);
    m_notifier = std::make_unique<QSocketNotifier>(g_pipe[0], QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &Interrupt::onPipe);
}

Interrupt::~Interrupt()
{
    for (int s : Signals)
        std::signal(s, SIG_DFL);
}

void Interrupt::onPipe()
{
    char code = 0;
    bool signalled = false;
    while (g_pipe[0] >= 0 && ::read(g_pipe[0], &code, 1) == 1)
        signalled = true;
    if (!signalled || m_requested) return;
    m_requested = true;
    emit raised();
}

} // namespace spk::tool
