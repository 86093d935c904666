#pragma once

// The simulated USB side: HID devices that come and go on demand, and the processor among them
// built on the simulator's device model (spk::sim::SimLine packs its replies into reports). Opened
// devices are read on the editor's own read threads, like real ones; faults on demand (refused
// opens, failed reads and writes, a device gone before its open).

#include "link/hidbackend.h"
#include "simline.h"

#include <QList>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <memory>
#include <mutex>

class SimHidBackend : public spk::HidBackend
{
public:
    static spk::HidDeviceInfo processor()
    {
        return {QStringLiteral("sim-hidraw0"), 0x0483, 0x5750, QStringLiteral("REZIDIDADIDAV01"),
                QStringLiteral("0000001")};
    }

    explicit SimHidBackend(const QList<int> &ids = {1}) : line(ids)
    {
        QObject::connect(&line, &spk::sim::SimLine::reportOut, this,
                         [this](const QByteArray &r) { deliver(r); });
    }
    ~SimHidBackend() override { m_port->setGone(ENODEV); }

    // Devices present now; arrival and removal notify as the udev monitor does.
    void plug(const spk::HidDeviceInfo &device = processor(), bool notify = true)
    {
        m_present.append(device);
        if (!notify) return;
        emit arrived(device);
        emit deviceChange();
    }
    void unplug(const spk::HidDeviceInfo &device = processor())
    {
        m_present.removeAll(device);
        if (m_openPath == device.path) {
            m_port->setGone(ENODEV);
            line.clear();
        }
        emit removed(device);
        emit deviceChange();
    }
    // Gone between enumeration and open, without a notice yet.
    void vanish(const spk::HidDeviceInfo &device = processor()) { m_present.removeAll(device); }

    // A report for the open device's reader, as if the device had sent it.
    void deliver(const QByteArray &report) { m_port->push(report); }
    void failNextRead(int code = EIO) { m_port->failNextRead(code); }
    int failWrites = 0; // errno of every write while nonzero
    int refuseOpen = 0; // errno of every open while nonzero
    int outputLength = 65;

    int openCount() const { return m_opens; }
    int liveDevices() const { return int(m_port.use_count()) - 1; }
    QList<QByteArray> written; // reports as the device received them

    QList<spk::HidDeviceInfo> enumerate() override { return m_present; }
    std::unique_ptr<spk::HidDevice> open(const spk::HidDeviceInfo &device) override
    {
        m_error = {};
        const int code = refuseOpen ? refuseOpen : (m_present.contains(device) ? 0 : ENOENT);
        if (code) {
            m_error = {QString::fromLocal8Bit(std::strerror(code)), code};
            return nullptr;
        }
        ++m_opens;
        m_openPath = device.path;
        m_port = std::make_shared<Port>();
        line.clear();
        return std::make_unique<Device>(*this, m_port);
    }
    spk::HidError lastError() const override { return m_error; }
    bool startMonitoring() override { return true; }

    spk::sim::SimLine line;

private:
    // What the device's reader thread and the main thread share.
    class Port
    {
    public:
        void push(const QByteArray &report)
        {
            {
                std::lock_guard lock(m_mutex);
                m_queue.push_back(report);
            }
            m_wake.notify_all();
        }
        void setGone(int code)
        {
            {
                std::lock_guard lock(m_mutex);
                m_gone = code;
            }
            m_wake.notify_all();
        }
        void failNextRead(int code)
        {
            {
                std::lock_guard lock(m_mutex);
                m_failNext = code;
            }
            m_wake.notify_all();
        }
        int gone() const
        {
            std::lock_guard lock(m_mutex);
            return m_gone;
        }
        // Report bytes, 0 on timeout, -errno on failure.
        int read(unsigned char *data, int size, int timeoutMs)
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                            [this] { return !m_queue.empty() || m_gone || m_failNext; });
            if (m_failNext) return -std::exchange(m_failNext, 0);
            if (m_gone) return -m_gone;
            if (m_queue.empty()) return 0;
            const QByteArray r = m_queue.front();
            m_queue.pop_front();
            const int n = std::min(int(r.size()), size);
            std::memcpy(data, r.constData(), std::size_t(n));
            return n;
        }

    private:
        mutable std::mutex m_mutex;
        std::condition_variable m_wake;
        std::deque<QByteArray> m_queue;
        int m_gone = 0;
        int m_failNext = 0;
    };

    class Device : public spk::HidDevice
    {
    public:
        Device(SimHidBackend &backend, std::shared_ptr<Port> port)
            : m_backend(backend), m_port(std::move(port))
        {
        }
        int outputReportLength() const override { return m_backend.outputLength; }
        int inputReportLength() const override { return 64; }
        int read(unsigned char *data, int size, int timeoutMs) override
        {
            const int n = m_port->read(data, size, timeoutMs);
            if (n < 0) m_readError = {QString::fromLocal8Bit(std::strerror(-n)), -n};
            return n < 0 ? -1 : n;
        }
        int write(const unsigned char *data, int size) override
        {
            const int code = m_port->gone() ? m_port->gone() : m_backend.failWrites;
            if (code) {
                m_writeError = {QString::fromLocal8Bit(std::strerror(code)), code};
                return -1;
            }
            const QByteArray report(reinterpret_cast<const char *>(data), size);
            m_backend.written.append(report);
            m_backend.line.writeReport(report);
            return size;
        }
        spk::HidError readError() const override { return m_readError; }
        spk::HidError writeError() const override { return m_writeError; }

    private:
        SimHidBackend &m_backend;
        std::shared_ptr<Port> m_port;
        spk::HidError m_readError;
        spk::HidError m_writeError;
    };

    QList<spk::HidDeviceInfo> m_present;
    std::shared_ptr<Port> m_port = std::make_shared<Port>();
    QString m_openPath;
    spk::HidError m_error;
    int m_opens = 0;
};
