#pragma once

namespace spk {

// Some of the code a GUI process runs (Qt's drawing, libraries it loads) uses 256-bit AVX
// instructions and leaves the upper halves of the vector registers marked in use. On processors that
// then charge a state transition for every switch between SSE code (ours) and VEX code (libm's log
// and atan), a column loop runs some 25 times slower. This clears that state; call it before a hot
// loop. Does nothing where the processor has no AVX.
void clearUpperVectorState();

} // namespace spk
