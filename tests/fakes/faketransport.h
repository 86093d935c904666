#pragma once

#include "link/transport.h"

#include <QByteArrayList>

// A link for tests: records what is written and lets the test deliver bytes or fail the link.
class FakeTransport : public spk::Transport
{
public:
    using spk::Transport::Transport;

    bool isOpen() const override { return m_open; }
    bool write(const QByteArray &bytes) override
    {
        if (!m_open || bytes.isEmpty()) return false;
        writes.append(bytes);
        return true;
    }
    void close() override { m_open = false; }

    void setOpen(bool open) { m_open = open; }
    void inject(const QByteArray &bytes) { emit received(bytes); }
    void fail(const QString &reason = QStringLiteral("gone"))
    {
        m_open = false;
        emit failed(reason);
    }

    QByteArrayList writes;

private:
    bool m_open = true;
};
