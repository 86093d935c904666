#pragma once

#include "simframe.h"

#include <optional>

namespace spk::sim {

class SimBus;

namespace SimHid {
inline constexpr int ReportSize = 64; // data bytes of a report, after the report ID
}

// A reply frame as the device sends it over USB: one report holding only the 10-byte header, then
// (length / 64) + 1 reports carrying data, checksum and end byte. Each report is 64 bytes
// (without the report ID), zero-filled.
QList<QByteArray> packHidReply(const QByteArray &frame);

// Assembles request frames from output reports. A frame that fits one report comes in one report;
// a longer one (the 640-byte writes) comes as a header report followed by body reports, and
// anything after the end byte, such as the sender's repeated last report, is ignored.
class SimHidAssembler
{
public:
    struct Result
    {
        SimFrame frame;
        QByteArray raw;
    };

    // One output report: 65 bytes with report ID 0 first, or its 64 data bytes.
    std::optional<Result> feed(const QByteArray &report);
    void reset();
    bool pending() const { return m_pending; }

private:
    std::optional<Result> finish(const QByteArray &raw, const SimFrame &header, int length);

    bool m_pending = false;
    SimFrame m_header;
    QByteArray m_headerBytes;
    int m_length = 0;
    QByteArray m_body;
};

// The device end of a USB link: output reports in, input reports out.
class SimHidLink
{
public:
    explicit SimHidLink(SimBus *bus) : m_bus(bus) {}
    QList<QByteArray> writeReport(const QByteArray &report);
    SimHidAssembler &assembler() { return m_assembler; }

private:
    SimBus *m_bus;
    SimHidAssembler m_assembler;
};

} // namespace spk::sim
