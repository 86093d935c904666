#pragma once

#include <QLoggingCategory>

namespace spk {

// spk.protocol: frames that are dropped or refused.
Q_DECLARE_LOGGING_CATEGORY(lcProtocol)

} // namespace spk
