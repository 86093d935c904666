#pragma once

// The editor's window and the processor simulator in one process: the simulator serves its line on
// a real pseudo-terminal published in this test's runtime folder, and the window's own port catalog
// and serial driver reach it there.

#include "gui/windowfixture.h"

#include "model/timing.h"
#include "session/connectioncontroller.h"
#include "simptyserver.h"
#include "window/progressbox.h"
#include "window/statuspanels.h"
#include "window/warningwindow.h"

#include <QPushButton>
#include <QTest>

#include <memory>

class E2eFixture
{
public:
    static constexpr double Scale = 0.1;
    static constexpr int Patience = 15000; // ms; generous for sanitizers on a busy machine

    // bootSearch: the quick device search at start-up runs (the window's default).
    explicit E2eFixture(const QList<int> &ids = {1}, bool startSimulator = true,
                        spk::PortCatalog *catalog = nullptr, bool bootSearch = false, double scale = Scale)
    {
        spk::setTimeScale(scale);
        sim = std::make_unique<spk::sim::SimPtyServer>(ids);
        if (startSimulator) simStarted = sim->start(&simError);
        window = std::make_unique<spk::MainWindow>(spk::MainWindowOptions{&dialogs, catalog, bootSearch});
        window->show();
    }
    ~E2eFixture()
    {
        window.reset();
        sim.reset();
    }

    template <typename T = QWidget> T *ctl(const QString &name) const { return window->findChild<T *>(name); }
    spk::EditorState &state() const { return window->state(); }
    spk::ConnectionController &connection() const { return window->connection(); }
    QPushButton *button() const { return ctl<QPushButton>(QStringLiteral("btn_connect")); }
    QComboBox *ports() const { return ctl<QComboBox>(QStringLiteral("cbb_comport")); }
    QString caption() const { return button()->text(); }
    bool warningShown() const { return window->warningWindow()->isVisible(); }

    QStringList portItems() const
    {
        QStringList out;
        for (int i = 0; i < ports()->count(); ++i)
            out << ports()->itemText(i);
        return out;
    }
    bool pickPort(const QString &name) const
    {
        const int i = ports()->findText(name);
        if (i >= 0) ports()->setCurrentIndex(i);
        return i >= 0;
    }
    void click() const { QTest::mouseClick(button(), Qt::LeftButton); }

    // The connect sequence is through: the image is in the controls and the send queue runs.
    bool running() const
    {
        return state().Link.Connected && !state().Loading && state().tmr_pulseframe.isActive();
    }
    // Connects to the simulator's port and waits for the sequence to end and the first meter
    // poll to reach the simulator.
    bool connectAndRun() const
    {
        if (!simStarted || !pickPort(sim->portName())) return false;
        const qsizetype polls = sim->receivedFrames(0x2B).size();
        click();
        return QTest::qWaitFor([&] { return running() && sim->receivedFrames(0x2B).size() > polls; },
                               Patience);
    }
    bool waitFor(const std::function<bool()> &condition) const
    {
        return QTest::qWaitFor(condition, Patience);
    }

    // Every timer that belongs to a link is stopped; the port list refresh goes on.
    QStringList runningLinkTimers() const
    {
        QStringList out;
        for (QTimer *t : state().timers())
            if (t->isActive() && t != &state().tmr_reflashcomport) out << t->objectName();
        return out;
    }
    // Commands of the frames the simulator received, in order.
    QList<int> receivedCommands() const
    {
        QList<int> out;
        for (const QByteArray &f : sim->receivedFrames())
            out << quint8(f.at(6));
        return out;
    }
    // Lets the event loop run for this many watchdog periods: long enough for a false warning.
    void idleFor(int watchdogTicks) const { QTest::qWait(spk::scaled(250 * watchdogTicks)); }

    ScriptedDialogs dialogs;
    std::unique_ptr<spk::sim::SimPtyServer> sim;
    std::unique_ptr<spk::MainWindow> window;
    bool simStarted = false;
    QString simError;
};
