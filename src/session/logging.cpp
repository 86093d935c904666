#include "session/logging.h"

namespace spk {

Q_LOGGING_CATEGORY(lcSession, "spk.session", QtWarningMsg)

} // namespace spk
