#pragma once

// Test helpers: bytes written as rows of hex ("A5 A5 A5 00 ...") and back.

#include <QByteArray>
#include <QString>

inline QByteArray hexBytes(const char *rows)
{
    return QByteArray::fromHex(QByteArray(rows).replace(' ', "").replace('\n', ""));
}

inline QString hexRow(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}
