#pragma once

#include <QStringList>

namespace spk::tool {

// show and response, which read preset files only.
bool isFileCommand(const QString &name);
// args: the command, then its options and FILE.
int runFileCommand(const QStringList &args);

} // namespace spk::tool
