#pragma once

#include "link/portcatalog.h"

// A port catalog whose ports the test sets; sorting and numbering are the real ones.
class FakePortCatalog : public spk::PortCatalog
{
public:
    // (name, path) pairs in any order.
    void setPorts(const QList<QPair<QString, QString>> &ports)
    {
        m_ports.clear();
        for (const auto &p : ports)
            m_ports.append({p.first, p.second, spk::PortNone});
    }
    void setNames(const QStringList &names)
    {
        m_ports.clear();
        for (const QString &n : names)
            m_ports.append({n, QStringLiteral("/dev/") + n, spk::PortNone});
    }

protected:
    QList<spk::PortInfo> scan() override { return m_ports; }

private:
    QList<spk::PortInfo> m_ports;
};
