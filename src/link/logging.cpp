#include "link/logging.h"

namespace spk {

Q_LOGGING_CATEGORY(lcLink, "spk.link", QtWarningMsg)

} // namespace spk
