#pragma once

namespace spk {

// How readers see the editors' own controls: the response graph as a chart whose text is the
// drawn channel's curve in words; a spin button pair as a spin box showing its edit's text; a mute
// or polarity button as a check box, checked while muted or inverted. Installing twice is harmless.
void installAccessibleEditors();

} // namespace spk
