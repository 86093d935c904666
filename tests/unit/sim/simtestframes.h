#pragma once

// Request frames built by hand for the simulator's tests, independent of the code under test.
#include <QByteArray>

namespace simtest {

inline QByteArray frame(int id, int dir, int slot, int cmd, int sub, const QByteArray &data = {},
                        int end = 0xAA)
{
    QByteArray f = QByteArray::fromHex("A5A5A5");
    f.append(char(id)).append(char(dir)).append(char(slot)).append(char(cmd)).append(char(sub));
    f.append(char(data.size() / 256)).append(char(data.size() % 256)).append(data);
    unsigned x = 0;
    for (int i = 3; i < f.size(); ++i)
        x ^= unsigned(quint8(f.at(i)));
    f.append(char(x & 0xFF)).append(char(end));
    return f;
}
inline QByteArray read(int id, int slot, int cmd)
{
    return frame(id, 0xA2, slot, cmd, 0);
}
inline QByteArray write(int id, int slot, int cmd, int sub, const QByteArray &data)
{
    return frame(id, 0xA1, slot, cmd, sub, data);
}
inline QByteArray reply(int id, int slot, int cmd, int sub, const QByteArray &data)
{
    return frame(id, 0x52, slot, cmd, sub, data);
}
inline QByteArray hex(const char *text)
{
    return QByteArray::fromHex(QByteArray(text));
}

// 640 bytes that no factory preset has.
inline QByteArray pattern(int seed)
{
    QByteArray b(640, '\0');
    for (int i = 0; i < b.size(); ++i)
        b[i] = char((i * 7 + seed * 31) & 0xFF);
    return b;
}

} // namespace simtest
