#pragma once

namespace spk {

// Figures a reader asks for: a label with a name of its own ("Temperature") shows its text as its
// value; the status bar's connection panel its connection text; a lamp "on" or "off". Installing
// twice is harmless.
void installAccessibleDisplays();

} // namespace spk
