#pragma once

#include <QString>

#include <optional>

class QCommandLineParser;

namespace spk {

// spkedit [FILE.sdat | FILE.gdat [--preset N]], with --help and --version answered before any
// window exists (no display needed), and the developer modes of startupprobe.h accepted.
struct OpenRequest
{
    QString file; // empty: the window starts with no file
    int preset = 1;
};

void describeCommandLine(QCommandLineParser &parser);
// --help, -h, --help-all, --version or -v among the arguments.
bool asksForInfo(int argc, char **argv);
// After parser.process(): what to open, or nullopt (and a line on stderr) for a bad --preset or
// more than one file.
std::optional<OpenRequest> openRequest(const QCommandLineParser &parser);

} // namespace spk
