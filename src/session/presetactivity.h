#pragma once

#include <QObject>
#include <QTimer>

namespace spk {

class ConnectionController;
class DeviceSession;
class EditorState;
class ProgressBox;

// The one preset exchange that runs: a recall, a file save or load, a bulk transfer. None starts
// while another runs, while the link's connect sequence is not through, or while a bulk timer or
// the EQ reset walk runs.
//
// An exchange that waits for a reply gives up when the reply has had as long as the progress box
// shows (15 s): the box closes, and the send queue and the watchdog run again, so a dead link is
// ended instead of being left "Connected" forever.
class PresetActivity : public QObject
{
    Q_OBJECT
public:
    enum class Kind { None, Recall, SaveOne, LoadOne, SaveAll, LoadAll };
    static constexpr int GiveUpMs = 15000;

    PresetActivity(EditorState &state, ConnectionController &connection, ProgressBox &progress,
                   QObject *parent = nullptr);
    // Follows the link (opened, closed) and the image replies that end an exchange.
    void attach(DeviceSession &session);

    Kind kind() const { return m_kind; }
    bool mayStart() const;
    void begin(Kind kind);
    // From now on the exchange waits for a reply, and gives up after ms.
    void awaitReply(int ms = GiveUpMs);
    // The awaited reply came; what follows (a file dialog) may take as long as it takes.
    void replyArrived() { m_giveUp.stop(); }
    void finish();

signals:
    void gaveUp(spk::PresetActivity::Kind kind);

private:
    void giveUp();
    void imageLoaded();

    EditorState &m_state;
    ConnectionController &m_connection;
    ProgressBox &m_progress;
    QTimer m_giveUp;
    Kind m_kind = Kind::None;
    bool m_sequenceDone = false;
};

} // namespace spk
