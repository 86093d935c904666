#include "editors/recompute.h"

#include "editors/editorcontext.h"
#include "graph/responsegraph.h"

namespace spk {

void HLPF_CalParamtr_DrawCurve_Setflg(EditorContext &ctx, int filter, int freqCode, int record, int channel,
                                      int typeCode)
{
    if (filter == 0)
        ctx.graph.computeHpf(channel, freqCode, typeCode);
    else
        ctx.graph.computeLpf(channel, freqCode, typeCode);
    ctx.graph.DrawHLpfEQCurve(channel);
    ctx.state.setDirty(record);
}

void EQ_CalParamtr_DrawCurve_Setflg(EditorContext &ctx, int band, int channel, int bandRecord, int record)
{
    ctx.graph.computeBand(channel, band, bandRecord);
    ctx.graph.DrawHLpfEQCurve(channel);
    ctx.state.setDirty(record);
}

} // namespace spk
