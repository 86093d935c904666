#pragma once

#include "app/controllookup.h"
#include "app/editorstate.h"
#include "app/handlertable.h"

#include <QMainWindow>

#include <memory>

namespace spk {

class CrossoverEqEditor;
class Dialogs;
class EqReset;
class GraphView;
class LevelDelayEditor;
class ProgressBox;
class ResponseGraph;
class StatusPanels;
class ValueStepper;
class WarningWindow;
class WheelRouter;
struct EditorContext;

// The main window: owns the shared state (EditorState with its timers), builds the form and
// wires the parts that work on it. It holds no editing logic of its own.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    // dialogs: the questions, messages and file dialogs; the real ones when null.
    explicit MainWindow(Dialogs *dialogs = nullptr, QWidget *parent = nullptr);
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
    WheelRouter &wheel() { return *m_wheel; }
    // Where later parts place their controls.
    QWidget *formPanel() const { return centralWidget(); }

    void Init_value();
    // Copies ParamImage into every control and redraws the graph; callers set Loading around it.
    void UpdataToComponent();
    void ChangeAllComponentFont();
    // The mouse wheel loses its target (disconnect, watchdog).
    void resetWheelTarget();
    void Exit1Click();
    // Runs a handler of the window by name; a name without a handler does nothing.
    bool CallHandlerByName(const QString &name) { return m_handlers.CallHandlerByName(name); }

private:
    void FormCreate();
    void wireParts();

    std::unique_ptr<Dialogs> m_ownDialogs;
    Dialogs *m_dialogs;
    EditorState m_state;
    ControlLookup m_controls;
    HandlerTable m_handlers;
    std::unique_ptr<ResponseGraph> m_graph;
    std::unique_ptr<EditorContext> m_ctx;
    std::unique_ptr<StatusPanels> m_status;
    std::unique_ptr<ProgressBox> m_progress;
    std::unique_ptr<CrossoverEqEditor> m_crossoverEq;
    std::unique_ptr<ValueStepper> m_stepper;
    std::unique_ptr<LevelDelayEditor> m_levelDelay;
    std::unique_ptr<EqReset> m_eqReset;
    std::unique_ptr<WheelRouter> m_wheel;
    WarningWindow *m_warning = nullptr;
};

} // namespace spk
