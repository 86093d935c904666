// restore: the 20 presets of a .gdat file into a device, paced as the editor paces them.
#include "commands.h"
#include "devicerun.h"

#include "../console.h"
#include "../exitcodes.h"
#include "../progress.h"

#include "model/sysdata.h"
#include "model/timing.h"
#include "protocol/commands.h"
#include "protocol/replies.h"

namespace spk::tool {

int runRestore(const WireOptions &options, Interrupt &interrupt)
{
    DeviceRun run(options, interrupt);
    const QString file = options.arguments.first();
    PresetFile::Content content;
    if (const int code = run.loadFile(file, true, &content); code != Success) return code;
    if (const int code = run.confirm(
            QStringLiteral("Overwrite all 20 presets stored in %1 with %2?").arg(run.device(), file));
        code != Success)
        return code;
    if (const int code = run.start(DeviceRun::Check::Version); code != Success) return code;

    // The device needs this long to store a preset before the next one may come.
    const int storeMs = nominalInterval("tmr_send20grp");
    constexpr int BeforeNamesMs = 600;
    LinkState &state = run.session.state();
    Progress progress(QStringLiteral("restore"), options.quiet);
    for (int preset = 1; preset <= PresetFile::PresetCount; ++preset) {
        progress.update(preset - 1, PresetFile::PresetCount,
                        QStringLiteral("preset %1 of %2").arg(preset).arg(PresetFile::PresetCount));
        const auto image = PresetFile::imageOfRecord(content.records[preset - 1]);
        if (!run.session.sendBulk(FrameBuilder::bulkWrite(state, preset, CMD_Rw_20_Group, image)) ||
            !run.session.pause(storeMs)) {
            progress.finish();
            return run.failOutcome(
                QStringLiteral("the write of preset %1 (presets before it are written)").arg(preset));
        }
    }
    progress.update(PresetFile::PresetCount, PresetFile::PresetCount, QStringLiteral("reading names"));
    progress.finish();
    if (!run.session.pause(BeforeNamesMs))
        return run.failOutcome(QStringLiteral("the wait after the writes"));

    const std::optional<ReplyFrame> reply = run.session.request(
        [&] { return FrameBuilder::readRequest(state, 0, CMD_R_20_Username, 0); }, CMD_R_20_Username,
        WireSession::AnySlot, WireSession::replyTimeout(NamesReplyLength));
    if (!reply) return run.failOutcome(QStringLiteral("the names read after writing all 20 presets"));
    PresetNames names;
    if (!decodeNames(reply->bytes(), names)) return run.fail(Failure, QStringLiteral("short names reply"));
    for (int n = 1; n <= PresetCount; ++n)
        printLine(QStringLiteral("%1: %2").arg(n).arg(displayName(names.entries[n])));
    return Success;
}

} // namespace spk::tool
