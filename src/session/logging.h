#pragma once

#include <QLoggingCategory>

namespace spk {

// spk.session: connecting, the device's replies and the link's failures.
Q_DECLARE_LOGGING_CATEGORY(lcSession)

} // namespace spk
