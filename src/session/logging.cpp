#include "session/logging.h"

namespace spk {

Q_LOGGING_CATEGORY(lcSession, "spk.session")

} // namespace spk
