#include "window/networkportdialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace spk {

namespace {
QLineEdit *field(QWidget *parent, const QString &name, const QString &spoken, const QString &example)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setAccessibleName(spoken);
    e->setPlaceholderText(example);
    return e;
}
} // namespace

NetworkPortDialog::NetworkPortDialog(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("dlg_netport"));
    setWindowTitle(QStringLiteral("Add network port"));
    auto *column = new QVBoxLayout(this);
    auto *intro = new QLabel(QStringLiteral("A serial line behind a device server or ser2net."), this);
    column->addWidget(intro);

    auto *form = new QFormLayout;
    m_host = field(this, QStringLiteral("edt_nethost"), QStringLiteral("Host"),
                   QStringLiteral("10.0.0.21 or rack-a.local"));
    m_host->setMinimumWidth(220);
    m_port = field(this, QStringLiteral("edt_netport"), QStringLiteral("TCP port"), QStringLiteral("4001"));
    m_port->setMaxLength(5);
    form->addRow(QStringLiteral("&Host:"), m_host);
    form->addRow(QStringLiteral("&Port:"), m_port);
    column->addLayout(form);

    auto *kind = new QGroupBox(QStringLiteral("Protocol"), this);
    kind->setObjectName(QStringLiteral("grp_netkind"));
    kind->setAccessibleName(QStringLiteral("Protocol"));
    auto *kinds = new QVBoxLayout(kind);
    m_raw = new QRadioButton(QStringLiteral("&Raw TCP"), kind);
    m_raw->setObjectName(QStringLiteral("rdo_netraw"));
    m_raw->setAccessibleName(QStringLiteral("Raw TCP"));
    m_rfc2217 = new QRadioButton(QStringLiteral("RFC &2217 (telnet com-port control)"), kind);
    m_rfc2217->setObjectName(QStringLiteral("rdo_netrfc2217"));
    m_rfc2217->setAccessibleName(QStringLiteral("RFC 2217"));
    m_rfc2217->setAccessibleDescription(QStringLiteral("The server sets its line to 9600 8N1 when asked"));
    m_raw->setChecked(true);
    kinds->addWidget(m_raw);
    kinds->addWidget(m_rfc2217);
    column->addWidget(kind);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Add"));
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("btn_netadd"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("btn_netcancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    column->addWidget(buttons);
    m_host->setFocus();
}

void NetworkPortDialog::setFields(const NetworkPortFields &fields)
{
    m_host->setText(fields.host);
    m_port->setText(fields.port);
    (fields.rfc2217 ? m_rfc2217 : m_raw)->setChecked(true);
}

NetworkPortFields NetworkPortDialog::fields() const
{
    return {m_host->text(), m_port->text(), m_rfc2217->isChecked()};
}

} // namespace spk
