#pragma once

#include <QGroupBox>
#include <QObject>
#include <QPointer>
#include <QProgressBar>

namespace spk {

class EditorState;

// rzgrpbx_data_tx_bar: "Please wait..." with the bar rzprgrsbr_data_bar, shown while a long
// exchange runs. tmr_prgrsbr moves the bar by time while connected and closes the box when it
// passes 99; the replies that were awaited normally close it earlier.
class ProgressBox : public QObject
{
    Q_OBJECT
public:
    ProgressBox(EditorState &state, QGroupBox *box, QProgressBar *bar, QObject *parent = nullptr);

    // Shown with the bar and ProgressValue at 0, tmr_prgrsbr running.
    void start();
    // Shown with the bar at 0 for a caller that moves the bar itself; tmr_prgrsbr stays off.
    void startStepped();
    // Hidden, tmr_prgrsbr stopped, bar at 0.
    void close();
    void moveTo(int left, int top);
    void setBar(int percent);
    bool isShown() const;

    void tmr_prgrsbrTimer();

    QGroupBox *box() const { return m_box; }
    QProgressBar *bar() const { return m_bar; }

private:
    EditorState &m_state;
    QPointer<QGroupBox> m_box;
    QPointer<QProgressBar> m_bar;
};

} // namespace spk
