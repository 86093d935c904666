#pragma once

namespace spk {

struct EditorContext;

// The two operations every edit of a crossover or EQ value ends with: recompute the changed
// filter or band, redraw the graph, and (unless Loading) mark the record for the send queue.

// filter 0 = high-pass, 1 = low-pass.
void HLPF_CalParamtr_DrawCurve_Setflg(EditorContext &ctx, int filter, int freqCode, int record, int channel,
                                      int typeCode);
// bandRecord is the byte index of the band's first byte in the image.
void EQ_CalParamtr_DrawCurve_Setflg(EditorContext &ctx, int band, int channel, int bandRecord, int record);

} // namespace spk
