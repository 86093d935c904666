#pragma once

#include <QLoggingCategory>

namespace spk {

// spk.ui: the window's controls.
Q_DECLARE_LOGGING_CATEGORY(lcUi)

} // namespace spk
