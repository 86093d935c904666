#pragma once

#include "window/controllookup.h"
#include "window/editorstate.h"
#include "window/handlertable.h"

#include <QMainWindow>

#include <memory>

namespace spk {

class BulkTransfer;
class BroadcastMode;
class ChannelView;
class ConnectionController;
class CrossoverEqEditor;
class DevicePresets;
class DeviceSession;
class Dialogs;
class EditUndo;
class EqReset;
class GraphKeys;
class GraphView;
class IdChange;
class IdSearch;
class HidBackend;
class HidController;
class HidTransport;
class LevelDelayEditor;
class NetworkPortAdder;
class OfflineFiles;
class PointDrag;
class PortCatalog;
class PresetActivity;
class PresetFiles;
class ProgressBox;
class Receiver;
class ResponseGraph;
class SerialDriver;
class StatusPanels;
class Transmitter;
class ValueStepper;
class WarningWindow;
class WheelRouter;
struct WindowParts;
struct EditorContext;

// What a window can be built with instead of the real thing; null takes the real one.
struct MainWindowOptions
{
    Dialogs *dialogs = nullptr;         // questions, messages, file dialogs (QtDialogs)
    PortCatalog *portCatalog = nullptr; // serial ports to offer (the machine's: PrefetchPortCatalog)
    // The quick device search at start-up (tmr_boot), with the main groups hidden until its result
    // box closes. Off: the window starts as after it, with no port opened.
    bool bootSearch = true;
    HidBackend *hidBackend = nullptr; // USB HID devices (the machine's: HidapiBackend)
};

// The main window: owns the shared state (EditorState with its timers), builds the form and
// wires the parts that work on it. It holds no editing logic of its own.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    // dialogs: the questions, messages and file dialogs; the real ones when null.
    explicit MainWindow(Dialogs *dialogs = nullptr, QWidget *parent = nullptr);
    explicit MainWindow(const MainWindowOptions &options, QWidget *parent = nullptr);
    ~MainWindow() override;

    EditorState &state() { return m_state; }
    ControlLookup &controls() { return m_controls; }
    HandlerTable &handlers() { return m_handlers; }
    EditorContext &context() { return *m_ctx; }
    Dialogs &dialogs() { return *m_dialogs; }
    ResponseGraph &graph() { return *m_graph; }
    GraphView *graphView() const;
    ProgressBox &progressBox() { return *m_progress; }
    StatusPanels &statusPanels() { return *m_status; }
    WarningWindow *warningWindow() const { return m_warning; }
    CrossoverEqEditor &crossoverEq() { return *m_crossoverEq; }
    ValueStepper &stepper() { return *m_stepper; }
    LevelDelayEditor &levelDelay() { return *m_levelDelay; }
    EqReset &eqReset() { return *m_eqReset; }
    PointDrag &pointDrag() { return *m_pointDrag; }
    GraphKeys &graphKeys() { return *m_graphKeys; }
    // The selected channel (channel(), select(), channelChanged) and the undo history.
    ChannelView &channelView() { return *m_channels; }
    EditUndo &undo() { return *m_undo; }
    WheelRouter &wheel() { return *m_wheel; }
    PortCatalog &portCatalog() { return *m_catalog; }
    SerialDriver &serialDriver() { return *m_serial; }
    Receiver &receiver() { return *m_receiver; }
    Transmitter &transmitter() { return *m_transmitter; }
    ConnectionController &connection() { return *m_connection; }
    NetworkPortAdder &networkPorts() { return *m_networkPorts; }
    DeviceSession &session() { return *m_session; }
    PresetActivity &presetActivity() { return *m_presetActivity; }
    DevicePresets &devicePresets() { return *m_devicePresets; }
    BulkTransfer &bulkTransfer() { return *m_bulk; }
    PresetFiles &presetFiles() { return *m_presetFiles; }
    OfflineFiles &offlineFiles() { return *m_offline; }
    IdSearch &idSearch() { return *m_idSearch; }
    IdChange &idChange() { return *m_idChange; }
    BroadcastMode &broadcast() { return *m_broadcast; }
    HidTransport &hidTransport() { return *m_hidTransport; }
    HidController &hid() { return *m_hid; }
    // Where later parts place their controls.
    QWidget *formPanel() const { return centralWidget(); }

    void Init_value();
    // Copies ParamImage into every control (the crossover/EQ editors from the selected channel)
    // and redraws the graph; callers set Loading around it. The undo history starts again.
    void UpdataToComponent();
    void ChangeAllComponentFont();
    // The hidden phase view: the curve drawn as phase, the box's caption red while it is.
    void chk_pha_responseClick();
    void Exit1Click();
    // Runs a handler of the window by name; a name without a handler does nothing.
    bool CallHandlerByName(const QString &name) { return m_handlers.CallHandlerByName(name); }

protected:
    // Unsaved offline edits are asked about first.
    void closeEvent(QCloseEvent *event) override;
    // A preset file dropped on the window opens while no link is open.
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void FormCreate();
    void wireParts();
    void wireChannels();
    void wireLink();
    WindowParts windowParts();
    void wirePresets();
    void wireAddressing();
    void wireUsb();

    std::unique_ptr<Dialogs> m_ownDialogs;
    Dialogs *m_dialogs;
    std::unique_ptr<PortCatalog> m_ownCatalog;
    PortCatalog *m_catalog;
    std::unique_ptr<HidBackend> m_ownHidBackend;
    HidBackend *m_hidBackend;
    EditorState m_state;
    ControlLookup m_controls;
    HandlerTable m_handlers;
    std::unique_ptr<ResponseGraph> m_graph;
    std::unique_ptr<EditUndo> m_undo;
    std::unique_ptr<EditorContext> m_ctx;
    std::unique_ptr<StatusPanels> m_status;
    std::unique_ptr<ProgressBox> m_progress;
    std::unique_ptr<CrossoverEqEditor> m_crossoverEq;
    std::unique_ptr<ValueStepper> m_stepper;
    std::unique_ptr<LevelDelayEditor> m_levelDelay;
    std::unique_ptr<PointDrag> m_pointDrag;
    std::unique_ptr<GraphKeys> m_graphKeys;
    std::unique_ptr<EqReset> m_eqReset;
    std::unique_ptr<WheelRouter> m_wheel;
    std::unique_ptr<ChannelView> m_channels;
    WarningWindow *m_warning = nullptr;
    std::unique_ptr<SerialDriver> m_serial;
    std::unique_ptr<HidTransport> m_hidTransport;
    std::unique_ptr<Receiver> m_receiver;
    std::unique_ptr<Transmitter> m_transmitter;
    std::unique_ptr<ConnectionController> m_connection;
    std::unique_ptr<NetworkPortAdder> m_networkPorts;
    std::unique_ptr<DeviceSession> m_session;
    std::unique_ptr<PresetActivity> m_presetActivity;
    std::unique_ptr<DevicePresets> m_devicePresets;
    std::unique_ptr<BulkTransfer> m_bulk;
    std::unique_ptr<PresetFiles> m_presetFiles;
    std::unique_ptr<OfflineFiles> m_offline;
    std::unique_ptr<IdSearch> m_idSearch;
    std::unique_ptr<IdChange> m_idChange;
    std::unique_ptr<BroadcastMode> m_broadcast;
    bool m_bootSearch = true;
    std::unique_ptr<HidController> m_hid;
};

} // namespace spk
