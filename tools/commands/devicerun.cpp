#include "devicerun.h"

#include "../console.h"
#include "../exitcodes.h"

#include "protocol/commands.h"
#include "protocol/replies.h"

namespace spk::tool {

DeviceRun::DeviceRun(const WireOptions &o, Interrupt &i) : options(o), interrupt(i), session(i) {}

int DeviceRun::fail(int code, const QString &message) const
{
    printError(QStringLiteral("spktool %1: %2").arg(options.command, message));
    return code;
}

QString DeviceRun::device() const
{
    const QString port = session.portName().isEmpty() ? options.ports.value(0) : session.portName();
    return QStringLiteral("device %1 on %2").arg(options.id).arg(port);
}

int DeviceRun::failOutcome(const QString &what) const
{
    switch (session.outcome()) {
    case WireSession::Outcome::Interrupted:
        return fail(Interrupted, QStringLiteral("interrupted during %1; port closed").arg(what));
    case WireSession::Outcome::Lost:
        return fail(Failure, QStringLiteral("%1 during %2").arg(session.error(), what));
    case WireSession::Outcome::NoAnswer:
    case WireSession::Outcome::Done:
        break;
    }
    return fail(NoAnswer, QStringLiteral("%1 from %2 to %3").arg(noAnswer(), device(), what));
}

QString DeviceRun::noAnswer() const
{
    if (const std::optional<int> id = session.answeredAs())
        return QStringLiteral("no answer (ID %1 answered instead)").arg(*id);
    return session.garbled() ? QStringLiteral("only unreadable replies (noise or damaged frames on the line)")
                             : QStringLiteral("no answer");
}

int DeviceRun::confirm(const QString &question) const
{
    if (options.yes || askYes(question)) return Success;
    interrupt.poll();
    if (interrupt.requested()) return fail(Interrupted, QStringLiteral("interrupted; nothing sent"));
    return fail(Failure, QStringLiteral("not confirmed; nothing sent"));
}

int DeviceRun::loadFile(const QString &path, bool group, PresetFile::Content *content) const
{
    *content = group ? PresetFile::readGdat(path) : PresetFile::readSdat(path);
    switch (content->status) {
    case PresetFile::Status::Ok:
        return Success;
    case PresetFile::Status::Unreadable:
        return fail(Failure,
                    QStringLiteral("cannot open %1: %2. Nothing was sent.").arg(path, content->error));
    case PresetFile::Status::Empty:
        return fail(Failure, QStringLiteral("%1 is empty. Nothing was sent.").arg(path));
    case PresetFile::Status::Damaged:
        break;
    }
    return fail(Failure, QStringLiteral("%1: File damaged. Nothing was sent.").arg(path));
}

int DeviceRun::start(Check check)
{
    if (!session.open(options.ports.first())) return fail(Failure, session.error());
    session.setDevice(options.id);
    if (check == Check::None) return Success;
    LinkState &state = session.state();
    const std::optional<ReplyFrame> reply =
        session.request([&] { return FrameBuilder::readRequest(state, 0, CMD_Version, 0); }, CMD_Version,
                        WireSession::AnySlot, WireSession::replyTimeout(VersionReplyLength));
    if (!reply) return failOutcome(QStringLiteral("the version request"));
    if (!versionMatches(reply->bytes())) {
        QString text = QString::fromLatin1(reply->data).trimmed();
        for (QChar &c : text)
            if (!c.isPrint()) c = u'?';
        return fail(
            Failure,
            QStringLiteral("%1 reports version '%2', which this tool does not know").arg(device(), text));
    }
    return Success;
}

} // namespace spk::tool
