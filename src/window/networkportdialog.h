#pragma once

#include "window/dialogs.h"

#include <QDialog>

class QLineEdit;
class QRadioButton;

namespace spk {

// "Add network port": a device server's host and TCP port (dlg_netport with edt_nethost,
// edt_netport, rdo_netraw, rdo_netrfc2217 and Add / Cancel). It checks nothing; the caller
// refuses what is not an address and opens it again with the fields as typed.
class NetworkPortDialog : public QDialog
{
    Q_OBJECT
public:
    explicit NetworkPortDialog(QWidget *parent = nullptr);

    void setFields(const NetworkPortFields &fields);
    NetworkPortFields fields() const;

private:
    QLineEdit *m_host;
    QLineEdit *m_port;
    QRadioButton *m_raw;
    QRadioButton *m_rfc2217;
};

} // namespace spk
