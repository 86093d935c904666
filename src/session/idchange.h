#pragma once

#include "session/addressingparts.h"

#include <QObject>

class QLineEdit;

namespace spk {

// "Set Device id :": gives the connected device a new ID. The system record goes out on the next
// pulse tick, still addressed to the old ID; every frame after it goes to the new one.
// edt22 takes digits, backspace and Enter (which runs btn46Click); keys that would type anything
// else are dropped.
class IdChange : public QObject
{
    Q_OBJECT
public:
    static constexpr int MaxDigits = 3;
    static constexpr int MaxDeviceId = 250;

    explicit IdChange(const AddressingParts &parts, QObject *parent = nullptr);

    void attach();
    void btn46Click();
    // True when the key is consumed.
    bool edt22KeyPress(int key, const QString &text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    int currentId() const;

    AddressingParts m_parts;
    QLineEdit *m_edit = nullptr;
};

} // namespace spk
