#pragma once

#include "simfaults.h"

#include <QList>
#include <QStringList>

namespace spk::sim {

// What spksim's command line asks for.
struct SimConfig
{
    QList<int> ids{1};
    QString stateFile;
    QString logFile;
    double timeScale = 1.0;
    bool pacing = true;
    SimFaults faults;
    QByteArray versionText;  // empty: the device's own
    double unplugAfter = -1; // seconds; negative: never
    int tcpPort = -1;        // --tcp; negative: none, 0: any free port
    bool help = false;
    bool version = false;
};

// Parses the arguments (the program name first). False with a one-line `error` on a bad option or
// value. `helpText` receives the text of --help either way.
bool parseSimOptions(const QStringList &arguments, SimConfig *config, QString *error,
                     QString *helpText = nullptr);

} // namespace spk::sim
