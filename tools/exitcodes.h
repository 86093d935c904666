#pragma once

namespace spk::tool {

// What a script sees; every failure also leaves one line on stderr.
enum Exit {
    Success = 0,
    Failure = 1,       // device, port or file error
    Usage = 2,         // wrong command line
    NoAnswer = 3,      // the device did not answer
    Interrupted = 130, // SIGINT/SIGTERM: the port is closed, no file half-written
};

} // namespace spk::tool
