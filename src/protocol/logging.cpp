#include "protocol/logging.h"

namespace spk {

Q_LOGGING_CATEGORY(lcProtocol, "spk.protocol", QtWarningMsg)

} // namespace spk
