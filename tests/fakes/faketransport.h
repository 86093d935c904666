#pragma once

#include "link/transport.h"

#include <QByteArrayList>

// A link for tests: records what is written and lets the test deliver bytes or fail the link.
class FakeTransport : public spk::Transport
{
public:
    explicit FakeTransport(Framing framing = Framing::Bytes) : m_framing(framing) {}

    Framing framing() const override { return m_framing; }
    bool open(int) override
    {
        m_open = opens;
        return m_open;
    }
    QString lastError() const override { return m_open ? QString() : QStringLiteral("refused"); }
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
    bool opens = true; // what open() does

private:
    Framing m_framing;
    bool m_open = true;
};
