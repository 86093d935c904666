#pragma once

#include <QLoggingCategory>

namespace spk {

// spk.link: the serial and USB links.
Q_DECLARE_LOGGING_CATEGORY(lcLink)

} // namespace spk
