#pragma once

namespace spk {

// Lists (QComboBox) announced by their accessible name, with the current item as their value: the
// text interface, the Value text and the selected child of the popup's list. On Linux Qt names a
// list by its current item, so twelve type lists all read "PEQ" and a listener cannot tell them
// apart. Lists without an accessible name keep their current item as their name. Installing twice
// is harmless.
void installAccessibleLists();

} // namespace spk
