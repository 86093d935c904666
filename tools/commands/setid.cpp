// set-id: a device's new ID, written in its system record and confirmed under the new ID.
#include "commands.h"
#include "devicerun.h"

#include "../console.h"
#include "../exitcodes.h"
#include "../usbports.h"

#include "model/sysdata.h"
#include "model/timing.h"
#include "protocol/commands.h"
#include "protocol/replies.h"

namespace spk::tool {

int runSetId(const WireOptions &options, Interrupt &interrupt)
{
    DeviceRun run(options, interrupt);
    if (isUsbPort(options.ports.first()))
        return run.fail(Failure, QStringLiteral("Current connection is USB, not a 485."));
    const int newId = options.arguments.first().trimmed().toInt();
    if (const int code =
            run.confirm(QStringLiteral("Change the ID of %1 to %2?").arg(run.device()).arg(newId));
        code != Success)
        return code;
    if (const int code = run.start(DeviceRun::Check::Version); code != Success) return code;
    LinkState &state = run.session.state();

    // Two devices under one ID would answer at once and garble each other for good.
    run.session.setDevice(newId);
    const std::optional<ReplyFrame> taken =
        run.session.request([&] { return FrameBuilder::meterPoll(state); }, CMD_Meter, WireSession::AnySlot,
                            WireSession::replyTimeout(MeterReplyLength), 1);
    if (taken)
        return run.fail(Failure, QStringLiteral("ID %1 is already taken on %2; nothing changed")
                                     .arg(newId)
                                     .arg(options.ports.first()));
    if (run.session.outcome() != WireSession::Outcome::NoAnswer)
        return run.failOutcome(QStringLiteral("the check that ID %1 is free").arg(newId));

    // The rest of the system record goes back as the device has it.
    run.session.setDevice(options.id);
    const std::optional<ReplyFrame> sys = run.session.request(
        [&] { return FrameBuilder::readRequest(state, 0, CMD_R_AllSysData, 0); }, CMD_R_AllSysData,
        WireSession::AnySlot, WireSession::replyTimeout(SysDataReplyLength));
    if (!sys) return run.failOutcome(QStringLiteral("the system data read"));
    SysData sysData;
    PresetNames names;
    if (!decodeSysData(sys->bytes(), sysData, names))
        return run.fail(Failure, QStringLiteral("short system data reply"));
    sysData.bytes[SysData::DeviceId] = std::uint8_t(newId);
    if (!run.session.send(FrameBuilder::systemRecordWrite(state, sysData)))
        return run.failOutcome(QStringLiteral("the system record write"));

    // The editor's next frame follows one pulse tick later; the device may need that long.
    if (!run.session.pause(nominalInterval("tmr_pulseframe")))
        return run.failOutcome(QStringLiteral("the wait after the system record write (it was sent)"));
    run.session.setDevice(newId);
    const std::optional<ReplyFrame> version =
        run.session.request([&] { return FrameBuilder::readRequest(state, 0, CMD_Version, 0); }, CMD_Version,
                            WireSession::AnySlot, WireSession::replyTimeout(VersionReplyLength));
    if (!version) {
        if (run.session.outcome() == WireSession::Outcome::NoAnswer)
            return run.fail(
                NoAnswer, QStringLiteral("the system record was sent, but nothing answers under ID %1 on %2")
                              .arg(newId)
                              .arg(options.ports.first()));
        return run.failOutcome(QStringLiteral("the version request under ID %1").arg(newId));
    }
    printLine(QStringLiteral("device %1 on %2 answers as %3")
                  .arg(options.id)
                  .arg(options.ports.first())
                  .arg(newId));
    return Success;
}

} // namespace spk::tool
