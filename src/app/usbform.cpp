#include "app/usbform.h"

#include <QLabel>
#include <QListWidget>

namespace spk {

void UsbForm::build(QWidget *parent)
{
    for (const auto &[name, spoken] :
         {std::pair{"DevListBox", "USB devices"}, {"HistoryListBox", "USB log"}}) {
        auto *list = new QListWidget(parent);
        list->setObjectName(QString::fromLatin1(name));
        list->setAccessibleName(QString::fromLatin1(spoken));
        list->setGeometry(0, 0, 200, 80);
        list->hide();
    }
    auto *label = new QLabel(parent);
    label->setObjectName(QStringLiteral("lbl_usbhid"));
    label->setAccessibleName(QStringLiteral("USB device state"));
    label->hide();
}

} // namespace spk
