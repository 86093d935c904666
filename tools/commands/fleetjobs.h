#pragma once

#include "../interrupt.h"
#include "../wireoptions.h"

namespace spk::tool {

// backup or meter on every device of every --port (or those of --ids): each line at the same time.
int runFleet(const WireOptions &options, Interrupt &interrupt);

} // namespace spk::tool
