#pragma once

#include "../interrupt.h"
#include "../wireoptions.h"
#include "../wiresession.h"

#include "presets/presetfile.h"

#include <QString>

namespace spk::tool {

// What every command on one device shares: the session, the one-line failures with their exit
// codes, the confirmation, and the start (port open, the device answers with the right version).
class DeviceRun
{
public:
    DeviceRun(const WireOptions &options, Interrupt &interrupt);

    // "spktool CMD: message" on stderr; returns code.
    int fail(int code, const QString &message) const;
    // The exit for the session's last outcome: no answer (3, naming what was asked), port lost or
    // refused (1), interrupted (130).
    int failOutcome(const QString &what) const;
    // "no answer", or what came instead of one.
    QString noAnswer() const;
    // "device 5 on ttySIM0"
    QString device() const;

    // --yes, or the answer to the question: Success, or the exit code of a no or a Ctrl-C,
    // already reported.
    int confirm(const QString &question) const;
    // Reads and checks a whole preset file (.gdat when group) before anything is sent.
    int loadFile(const QString &path, bool group, PresetFile::Content *content) const;
    // Opens the port and, before writes, checks that the device reports the version this tool
    // knows. Reads skip the check: their replies are checked themselves, and a script's quick
    // read should cost no more than its own exchange. Success or the exit code, already reported.
    enum class Check { None, Version };
    int start(Check check);

    const WireOptions &options;
    Interrupt &interrupt;
    WireSession session;
};

} // namespace spk::tool
