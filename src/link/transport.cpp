#include "link/transport.h"

namespace spk {

Transport::~Transport() = default;

} // namespace spk
