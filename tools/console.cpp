#include "console.h"

#include <cstdio>
#include <unistd.h>

namespace spk::tool {

void printLine(const QString &line)
{
    std::fputs(qPrintable(line), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void printError(const QString &line)
{
    std::fputs(qPrintable(line), stderr);
    std::fputc('\n', stderr);
    std::fflush(stderr);
}

bool askYes(const QString &question)
{
    std::fprintf(stderr, "%s [y/N] ", qPrintable(question));
    std::fflush(stderr);
    // Plain read(2): a stdio buffer could swallow input meant for whatever runs after us.
    QByteArray answer;
    char c = 0;
    while (answer.size() < 80) {
        const ssize_t n = ::read(STDIN_FILENO, &c, 1);
        if (n != 1 || c == '\n') break;
        answer.append(c);
    }
    const QByteArray a = answer.trimmed().toLower();
    return a == "y" || a == "yes";
}

} // namespace spk::tool
