#include "window/logging.h"

namespace spk {

Q_LOGGING_CATEGORY(lcUi, "spk.ui", QtWarningMsg)

} // namespace spk
