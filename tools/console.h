#pragma once

#include <QString>

namespace spk::tool {

// One line to stdout or stderr, flushed at once so that a script reading a pipe sees it.
void printLine(const QString &line);
void printError(const QString &line);

// Asks on stderr and reads one line from stdin; true for "y" or "yes". End of input, any other
// answer or a signal during the read is a no.
bool askYes(const QString &question);

} // namespace spk::tool
