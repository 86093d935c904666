#pragma once

#include "../interrupt.h"
#include "../wireoptions.h"

namespace spk::tool {

// The device commands; each returns the exit status and has said why on stderr when it is not 0.
int runPorts(const WireOptions &options);
int runScan(const WireOptions &options, Interrupt &interrupt);
int runBackup(const WireOptions &options, Interrupt &interrupt);
int runRestore(const WireOptions &options, Interrupt &interrupt);
int runGet(const WireOptions &options, Interrupt &interrupt);
int runPut(const WireOptions &options, Interrupt &interrupt);
int runMeter(const WireOptions &options, Interrupt &interrupt);
int runSetId(const WireOptions &options, Interrupt &interrupt);

// Whether a file can be written at path, checked before the device is asked for anything; empty
// when it can, else why not.
QString unwritableReason(const QString &path);

} // namespace spk::tool
