// backup: presets 1..20 of a device into a .gdat file.
#include "commands.h"
#include "devicerun.h"
#include "fleetjobs.h"

#include "../console.h"
#include "../exitcodes.h"
#include "../progress.h"

#include "presets/presetfile.h"
#include "protocol/commands.h"

#include <QDir>
#include <QFileInfo>

namespace spk::tool {

QString unwritableReason(const QString &path)
{
    const QFileInfo info(path);
    if (info.isDir()) return QStringLiteral("is a directory");
    if (info.exists() && !info.isFile()) return QStringLiteral("is not a regular file");
    if (info.exists() && !info.isWritable()) return QStringLiteral("is not writable");
    const QFileInfo folder(info.absolutePath());
    if (!folder.isDir()) return QStringLiteral("its folder %1 does not exist").arg(folder.filePath());
    // The file is replaced through a temporary file beside it.
    if (!folder.isWritable()) return QStringLiteral("its folder %1 is not writable").arg(folder.filePath());
    return {};
}

int runBackup(const WireOptions &options, Interrupt &interrupt)
{
    if (options.fleet) return runFleet(options, interrupt);
    DeviceRun run(options, interrupt);
    const QString file = options.arguments.first();
    if (const QString why = unwritableReason(file); !why.isEmpty())
        return run.fail(Failure, QStringLiteral("cannot write %1: %2").arg(file, why));
    if (const int code = run.start(DeviceRun::Check::None); code != Success) return code;

    LinkState &state = run.session.state();
    Progress progress(QStringLiteral("backup"), options.quiet);
    QList<QByteArray> records;
    for (int preset = 1; preset <= PresetFile::PresetCount; ++preset) {
        progress.update(preset - 1, PresetFile::PresetCount,
                        QStringLiteral("preset %1 of %2").arg(preset).arg(PresetFile::PresetCount));
        const std::optional<ReplyFrame> reply =
            run.session.request([&] { return FrameBuilder::readRequest(state, preset, CMD_Rw_20_Group, 0); },
                                CMD_Rw_20_Group, preset, WireSession::replyTimeout(ImageReplyLength));
        if (!reply) {
            progress.finish();
            if (run.session.outcome() == WireSession::Outcome::NoAnswer)
                return run.fail(NoAnswer,
                                QStringLiteral("preset %1 of %2: %3 after two tries; no file written")
                                    .arg(preset)
                                    .arg(run.device(), run.noAnswer()));
            return run.failOutcome(QStringLiteral("the read of preset %1; no file written").arg(preset));
        }
        if (!PresetFile::isRecord(reply->hexText))
            return run.fail(Failure,
                            QStringLiteral("preset %1 came back with %2 data bytes, not 640; no file written")
                                .arg(preset)
                                .arg(reply->ReplyLength));
        records << reply->hexText;
    }
    progress.update(PresetFile::PresetCount, PresetFile::PresetCount, QStringLiteral("done"));
    progress.finish();
    run.session.close();

    QString error;
    if (!PresetFile::writeGdat(file, records, &error))
        return run.fail(Failure, QStringLiteral("cannot write %1: %2").arg(file, error));
    printLine(QStringLiteral("%1: presets 1..20 of %2").arg(file, run.device()));
    return Success;
}

} // namespace spk::tool
