// get and put: the working preset of a device to and from a .sdat file.
#include "commands.h"
#include "devicerun.h"

#include "../console.h"
#include "../exitcodes.h"
#include "../progress.h"

#include "protocol/commands.h"

namespace spk::tool {

namespace {

std::optional<ReplyFrame> readWorkingImage(DeviceRun &run)
{
    LinkState &state = run.session.state();
    return run.session.request([&] { return FrameBuilder::readRequest(state, 0, CMD_RW_One_Group, 0); },
                               CMD_RW_One_Group, 0, WireSession::replyTimeout(ImageReplyLength));
}

} // namespace

int runGet(const WireOptions &options, Interrupt &interrupt)
{
    DeviceRun run(options, interrupt);
    const QString file = options.arguments.first();
    if (const QString why = unwritableReason(file); !why.isEmpty())
        return run.fail(Failure, QStringLiteral("cannot write %1: %2").arg(file, why));
    if (const int code = run.start(DeviceRun::Check::None); code != Success) return code;
    const std::optional<ReplyFrame> reply = readWorkingImage(run);
    if (!reply) return run.failOutcome(QStringLiteral("the read of the working preset; no file written"));
    run.session.close();
    QString error;
    if (!PresetFile::writeSdat(file, reply->hexText, &error))
        return run.fail(Failure, QStringLiteral("cannot write %1: %2").arg(file, error));
    printLine(QStringLiteral("%1: working preset of %2").arg(file, run.device()));
    return Success;
}

int runPut(const WireOptions &options, Interrupt &interrupt)
{
    DeviceRun run(options, interrupt);
    const QString file = options.arguments.first();
    PresetFile::Content content;
    if (const int code = run.loadFile(file, false, &content); code != Success) return code;
    if (const int code =
            run.confirm(QStringLiteral("Replace the working preset of %1 with %2?").arg(run.device(), file));
        code != Success)
        return code;
    if (const int code = run.start(DeviceRun::Check::Version); code != Success) return code;

    // The device takes this long to apply a whole image; the editor waits as long before its read.
    constexpr int SettleMs = 9700;
    constexpr int StepMs = 100;
    const auto image = PresetFile::imageOfRecord(content.records.first());
    if (!run.session.sendBulk(FrameBuilder::bulkWrite(run.session.state(), 0, CMD_RW_One_Group, image)))
        return run.failOutcome(QStringLiteral("the write of the preset"));
    Progress progress(QStringLiteral("put"), options.quiet);
    for (int waited = 0; waited < SettleMs; waited += StepMs) {
        progress.update(waited, SettleMs, QStringLiteral("device settling"));
        if (!run.session.pause(StepMs))
            return run.failOutcome(QStringLiteral("the wait after writing the preset (it was sent)"));
    }
    progress.finish();

    const std::optional<ReplyFrame> reply = readWorkingImage(run);
    if (!reply) return run.failOutcome(QStringLiteral("the read-back of the working preset (it was sent)"));
    const QByteArray back = reply->data;
    int differing = 0;
    for (int i = 0; i < int(image.size()) && i < back.size(); ++i)
        differing += std::uint8_t(back[i]) != image[i];
    if (differing > 0)
        printError(
            QStringLiteral("spktool put: warning: the working preset read back differs from %1 in %2 bytes")
                .arg(file)
                .arg(differing));
    printLine(QStringLiteral("%1: now the working preset of %2").arg(file, run.device()));
    return Success;
}

} // namespace spk::tool
