#pragma once

#include "session/addressingparts.h"
#include "session/foundtable.h"

#include <QObject>
#include <QPoint>

class QGroupBox;
class QPlainTextEdit;
class QProgressBar;

namespace spk {

// The search of the RS-485 line for device IDs: on every listed port, one meter poll to each ID
// byte and a 100 ms wait that keeps serving events (so Cancel and the replies get through).
// The full search probes ID bytes 0..250 and shows its result box; the quick one, run once from
// tmr_boot at start-up, probes 0..10, picks the first ID found in cbb_deviceid and is closed by
// tmr_close_seach.
//
// A reply counts for the ID byte it carries, so a device answering late or two devices answering
// one probe are recorded under their own IDs.
class IdSearch : public QObject
{
    Q_OBJECT
public:
    enum class Kind { Full, Quick };
    static constexpr int FullIds = 251;
    static constexpr int QuickIds = 11;
    static constexpr int ProbeWaitMs = 100;
    static constexpr int ReopenWaitMs = 100;
    static constexpr int CloseSettleMs = 50;
    static constexpr QPoint SearchBoxAt{224, 288};
    static constexpr QPoint ResultBoxAt{6, 411};

    explicit IdSearch(const AddressingParts &parts, QObject *parent = nullptr);

    // Finds the boxes and buttons, wires them and the two start-up timers.
    void attach();

    void btn41Click();
    void btn_quicksearch();
    void btn_searchidClick();
    void btn42Click();
    void tmr_bootTimer();
    void tmr_close_seachTimer();
    // A meter reply arrived carrying this ID byte.
    void noteMeterReply(int idByte);

    bool searching() const { return m_running; }
    const FoundTable &foundTable() const { return m_table; }

    bool SearchCancel = false;

signals:
    void finished();

private:
    void search(Kind kind);
    // Probes one port; false when the port cannot be opened.
    bool probePort(int port, int n, int count, Kind kind);
    void showProgress(int done, int total, Kind kind);
    void showResult(Kind kind, const QList<SearchedPort> &ports);
    void endOnFailedOpen();
    void disableGroups(Kind kind);
    void release();
    // False when the search went away during the close's wait.
    bool closePort();

    AddressingParts m_parts;
    EditorState &m_state;
    FoundTable m_table;
    QGroupBox *m_searchBox = nullptr;
    QProgressBar *m_bar = nullptr;
    QGroupBox *m_resultBox = nullptr;
    QPlainTextEdit *m_memo = nullptr;
    bool m_running = false;
    bool m_portFailed = false;
    int m_probePort = -1; // the port being probed, -1 between ports
    int m_probeId = -1;   // the ID byte probed last on it
};

} // namespace spk
