#include "app/addressform.h"

#include "app/formkit.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>

namespace spk {

void AddressForm::build(QMainWindow *window)
{
    QWidget *central = window->centralWidget();
    if (auto *bar = window->findChild<QWidget *>(QStringLiteral("pnl_connection"))) buildBarPart(bar);
    if (auto *system = central->findChild<QGroupBox *>(QStringLiteral("grp2"))) buildSearchButtons(system);
    buildSearchBox(central);
    buildResultBox(central);
}

void AddressForm::buildBarPart(QWidget *bar)
{
    auto *row = qobject_cast<QHBoxLayout *>(bar->layout());
    if (!row) return;
    QWidget *ids = bar->findChild<QComboBox *>(QStringLiteral("cbb_deviceid"));
    int at = ids ? row->indexOf(ids) + 1 : row->count();

    auto *box = new QFrame(bar);
    box->setObjectName(QStringLiteral("rzgrpbx4"));
    box->setAccessibleName(QStringLiteral("Set device ID"));
    auto *line = new QHBoxLayout(box);
    line->setContentsMargins(0, 0, 0, 0);
    line->setSpacing(3);
    auto *caption = new QLabel(QStringLiteral("Set Device id :"), box);
    auto *edit = new QLineEdit(QStringLiteral("1"), box);
    edit->setObjectName(QStringLiteral("edt22"));
    edit->setAccessibleName(QStringLiteral("New device ID"));
    edit->setAccessibleDescription(
        QStringLiteral("1 to 250; Enter or OK gives the connected device this ID"));
    edit->setFixedWidth(34);
    caption->setBuddy(edit);
    auto *ok = new QPushButton(QStringLiteral("OK"), box);
    ok->setObjectName(QStringLiteral("btn46"));
    ok->setAccessibleDescription(QStringLiteral("Give the connected device the new ID"));
    ok->setFixedWidth(34);
    line->addWidget(caption);
    line->addWidget(edit);
    line->addWidget(ok);

    auto *broadcast = new QPushButton(QStringLiteral("Broadcast\nMode"), bar);
    broadcast->setObjectName(QStringLiteral("btn_broadcase"));
    broadcast->setAccessibleDescription(QStringLiteral("Address every device on the line"));
    QFont small = broadcast->font();
    small.setPixelSize(10);
    broadcast->setFont(small);
    broadcast->setFixedSize(66, 28);

    row->insertSpacing(at++, 6);
    row->insertWidget(at++, box);
    row->insertWidget(at++, broadcast);
}

void AddressForm::buildSearchButtons(QWidget *system)
{
    formkit::button(system, QStringLiteral("btn41"), QStringLiteral("Search device ID"), SearchButtonPlace,
                    QStringLiteral("Search every listed port for the device IDs that answer"));
    formkit::button(system, QStringLiteral("btn42"), QStringLiteral("Search result"), ResultButtonPlace,
                    QStringLiteral("Show the result of the last device ID search"));
}

void AddressForm::buildSearchBox(QWidget *central)
{
    auto *box = new QGroupBox(central);
    box->setObjectName(QStringLiteral("rzgrpbx_searchID"));
    box->setAccessibleName(QStringLiteral("Device ID search"));
    box->setGeometry(SearchBox);
    box->setAutoFillBackground(true);
    formkit::label(box, QStringLiteral("Searching for device ID...."), QRect(12, 10, 276, 18));
    auto *bar = new QProgressBar(box);
    bar->setObjectName(QStringLiteral("rzprgrsbr_searchid"));
    bar->setAccessibleName(QStringLiteral("Search progress"));
    bar->setRange(0, 100);
    bar->setValue(0);
    bar->setGeometry(12, 32, 276, 20);
    formkit::button(box, QStringLiteral("btn_searchid"), QStringLiteral("Cancel"), QRect(110, 60, 80, 26),
                    QStringLiteral("Stop the device ID search after the current probe"));
    box->hide();
}

void AddressForm::buildResultBox(QWidget *central)
{
    auto *box = new QGroupBox(QStringLiteral("Search result:"), central);
    box->setObjectName(QStringLiteral("rzgrpbx_sch_result"));
    box->setGeometry(ResultBox);
    box->setAutoFillBackground(true);
    auto *memo = new QPlainTextEdit(box);
    memo->setObjectName(QStringLiteral("mmo_s_result"));
    memo->setAccessibleName(QStringLiteral("Device IDs found"));
    memo->setReadOnly(true);
    memo->setGeometry(10, 24, ResultBox.width() - 20, ResultBox.height() - 64);
    formkit::button(box, QStringLiteral("btn_s_close"), QStringLiteral("Close"),
                    QRect((ResultBox.width() - 80) / 2, ResultBox.height() - 34, 80, 26),
                    QStringLiteral("Close the search result"));
    QPushButton *x = formkit::button(box, QStringLiteral("btn5"), QStringLiteral("x"),
                                     QRect(ResultBox.width() - 26, 2, 20, 18));
    x->setAccessibleName(QStringLiteral("Close search result"));
    // The mouse's shortcut; "Close" is the keyboard's.
    x->setFocusPolicy(Qt::NoFocus);
    box->hide();
}

} // namespace spk
