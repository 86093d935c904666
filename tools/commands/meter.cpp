// meter: the device's temperature, attenuation and limiter, once or every pulse tick.
#include "commands.h"
#include "devicerun.h"
#include "fleetjobs.h"

#include "../console.h"
#include "../exitcodes.h"

#include "model/timing.h"
#include "protocol/commands.h"
#include "protocol/meter.h"

#include <QElapsedTimer>

namespace spk::tool {

int runMeter(const WireOptions &options, Interrupt &interrupt)
{
    if (options.fleet) return runFleet(options, interrupt);
    DeviceRun run(options, interrupt);
    if (const int code = run.start(DeviceRun::Check::None); code != Success) return code;
    LinkState &state = run.session.state();
    const int tickMs = nominalInterval("tmr_pulseframe");
    QElapsedTimer tick;
    do {
        tick.start();
        const std::optional<ReplyFrame> reply =
            run.session.request([&] { return FrameBuilder::meterPoll(state); }, CMD_Meter,
                                WireSession::AnySlot, WireSession::replyTimeout(MeterReplyLength));
        if (!reply) {
            // Ctrl-C is how a watch ends.
            if (options.watch && run.session.outcome() == WireSession::Outcome::Interrupted) return Success;
            return run.failOutcome(QStringLiteral("the meter poll"));
        }
        const std::optional<MeterView> view = decodeMeter(state, reply->bytes());
        if (!view) return run.fail(Failure, QStringLiteral("short meter reply"));
        printLine(
            QStringLiteral("%1   Limiter: %2   Status: %3 %4")
                .arg(view->statusText,
                     view->limiterLed ? QStringLiteral("on (%1)").arg(view->edt1) : QStringLiteral("off"),
                     view->edt2, view->edt3));
        const int rest = scaled(tickMs) - int(tick.elapsed());
        if (options.watch && rest > 0 && !run.session.pause(int(rest / timeScale()))) {
            if (run.session.outcome() == WireSession::Outcome::Interrupted) return Success;
            return run.failOutcome(QStringLiteral("the meter watch"));
        }
    } while (options.watch);
    return Success;
}

} // namespace spk::tool
