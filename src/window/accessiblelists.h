#pragma once

namespace spk {

// Lists (QComboBox) announced by their accessible name, with the current item as their value.
// On Linux Qt names a list by its current item, so twelve type lists all read "PEQ" and a
// listener cannot tell them apart. Lists without an accessible name keep their current item as
// their name. Installing twice is harmless.
void installAccessibleLists();

} // namespace spk
