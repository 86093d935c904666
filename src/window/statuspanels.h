#pragma once

#include <QPointer>
#include <QWidget>

class QAbstractButton;
class QLabel;
class QStatusBar;

namespace spk {

// The owner-drawn second panel of the status bar (stat1DrawPanel): its text in red while the
// connect button reads "Connect" (or there is no such button yet), in green otherwise.
class ConnectionPanel : public QWidget
{
    Q_OBJECT
public:
    explicit ConnectionPanel(QWidget *parent = nullptr);

    void setText(const QString &text);
    QString text() const { return m_text; }
    void setConnectButton(QAbstractButton *button);
    QColor textColour() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_text;
    QPointer<QAbstractButton> m_connectButton;
};

// stat1: "CONNECTION STATUS:" (150 px), the connection text (250 px), and the temperature and
// attenuation text.
class StatusPanels
{
public:
    explicit StatusPanels(QStatusBar *bar);

    QStatusBar *bar() const { return m_bar; }
    ConnectionPanel *connection() const { return m_connection; }
    QLabel *caption() const { return m_caption; }
    QLabel *meter() const { return m_meter; }

    void setConnectionText(const QString &text);
    void setMeterText(const QString &text);

private:
    QStatusBar *m_bar;
    QLabel *m_caption;
    ConnectionPanel *m_connection;
    QLabel *m_meter;
};

} // namespace spk
