#include "app/mainwindow.h"

#include "app/addressform.h"
#include "app/channelselectorform.h"
#include "app/keyboardorder.h"
#include "app/linkpanelform.h"
#include "app/mainform.h"
#include "app/overlayform.h"
#include "app/prefetchportcatalog.h"
#include "app/usbform.h"
#include "editors/accessibleeditors.h"
#include "editors/channelview.h"
#include "editors/crossovereqeditor.h"
#include "editors/editorcontext.h"
#include "editors/editundo.h"
#include "editors/eqreset.h"
#include "editors/graphkeys.h"
#include "editors/leveldelayeditor.h"
#include "editors/pointdrag.h"
#include "editors/valueedit.h"
#include "editors/valuestepper.h"
#include "editors/wheelrouter.h"
#include "graph/graphview.h"
#include "graph/responsegraph.h"
#include "link/hidapibackend.h"
#include "link/hidtransport.h"
#include "link/portcatalog.h"
#include "link/serialdriver.h"
#include "link/transmitter.h"
#include "protocol/receiver.h"
#include "session/addressingparts.h"
#include "session/broadcast.h"
#include "session/bulktransfer.h"
#include "session/connectioncontroller.h"
#include "session/devicepresets.h"
#include "session/devicesession.h"
#include "session/hidcontroller.h"
#include "session/idchange.h"
#include "session/idsearch.h"
#include "session/networkportadder.h"
#include "session/presetactivity.h"
#include "session/offlinefiles.h"
#include "session/presetfiles.h"
#include "window/accessibledisplays.h"
#include "window/accessiblelists.h"
#include "window/accessibletext.h"
#include "window/dialogs.h"
#include "window/progressbox.h"
#include "window/statuspanels.h"
#include "window/warningwindow.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QFileInfo>
#include <QGroupBox>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>

namespace spk {

MainWindow::MainWindow(Dialogs *dialogs, QWidget *parent)
    : MainWindow(MainWindowOptions{dialogs, nullptr}, parent)
{
}

MainWindow::MainWindow(const MainWindowOptions &options, QWidget *parent)
    : QMainWindow(parent), m_ownDialogs(options.dialogs ? nullptr : std::make_unique<QtDialogs>()),
      m_dialogs(options.dialogs ? options.dialogs : m_ownDialogs.get()),
      m_ownCatalog(options.portCatalog ? nullptr : std::make_unique<PrefetchPortCatalog>()),
      m_catalog(options.portCatalog ? options.portCatalog : m_ownCatalog.get()),
      m_ownHidBackend(options.hidBackend ? nullptr : std::make_unique<HidapiBackend>()),
      m_hidBackend(options.hidBackend ? options.hidBackend : m_ownHidBackend.get()), m_controls(this),
      m_bootSearch(options.bootSearch)
{
    installAccessibleLists();
    installAccessibleDisplays();
    installAccessibleEditors();
    setObjectName(QStringLiteral("Form1"));
    FormCreate();
}

MainWindow::~MainWindow()
{
    m_state.recordEdited = nullptr;
    // The edits outlive the parts their handlers call into.
    for (ValueEdit *e : findChildren<ValueEdit *>()) {
        e->onEnter = nullptr;
        e->onExit = nullptr;
        e->onMouseUp = nullptr;
        e->onReturn = nullptr;
        e->onKeyDown = nullptr;
    }
    for (QTimer *t : m_state.timers())
        t->stop();
    if (m_serial) m_serial->ClosePort();
    // The read thread is joined while the window's parts are still whole.
    if (m_hidTransport) m_hidTransport->close();
}

GraphView *MainWindow::graphView() const
{
    return m_controls.require<GraphView>(QStringLiteral("img_eqbackground"));
}

void MainWindow::FormCreate()
{
    setWindowTitle(QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName());

    setCentralWidget(MainForm::build(this));
    MainForm::buildMenu(menuBar());
    LinkPanelForm::buildConnectionBar(menuBar());
    AddressForm::build(this);
    m_status = std::make_unique<StatusPanels>(statusBar());
    ChangeAllComponentFont();

    // The quick device search shows them again when its result box closes.
    if (m_bootSearch)
        for (const char *name : {"grp1", "grp2", "rzgrpbx5", "rzgrpbx9", "img1"})
            m_controls.require<QWidget>(QString::fromLatin1(name))->hide();
    setFixedSize(747, 765);

    // The grids are drawn once, here; the first curve comes with the image below.
    m_graph = std::make_unique<ResponseGraph>(m_state.ParamImage);
    m_undo = std::make_unique<EditUndo>(m_state);
    m_ctx = std::make_unique<EditorContext>(
        EditorContext{m_state, m_controls, m_handlers, *m_graph, m_undo.get()});
    wireParts();

    m_state.Target.clear();
    m_state.Link.SilenceCount = 0;
    m_state.GraphChannel = 0;

    Init_value();
    m_state.Loading = true;
    UpdataToComponent();

    m_warning = new WarningWindow(this);
    wireLink();
    wirePresets();
    wireAddressing();
    wireUsb();
    m_connection->fillPortList();
    KeyboardOrder::apply(this);
    renewAccessibleInterfaces(this);
    if (m_bootSearch) m_state.tmr_boot.start();
}

void MainWindow::wireParts()
{
    m_progress = std::make_unique<ProgressBox>(
        m_state, m_controls.require<QGroupBox>(QStringLiteral("rzgrpbx_data_tx_bar")),
        m_controls.require<QProgressBar>(QStringLiteral("rzprgrsbr_data_bar")));

    GraphView *view = graphView();
    view->setGraph(m_graph.get());
    m_graph->setView(view);
    connect(view, &GraphView::ratioChanged, m_graph.get(), &ResponseGraph::followViewRatio, Qt::QueuedConnection);
    connect(m_controls.require<QCheckBox>(QStringLiteral("chk_pha_response")), &QCheckBox::toggled, this,
            &MainWindow::chk_pha_responseClick);
    connect(OverlayForm::build(m_controls.require<QGroupBox>(QStringLiteral("grp1"))), &QCheckBox::toggled,
            this, [this](bool on) {
                m_graph->setOverlay(on);
                m_graph->DrawHLpfEQCurve(m_state.GraphChannel);
            });

    m_crossoverEq = std::make_unique<CrossoverEqEditor>(*m_ctx);
    m_crossoverEq->attach();
    m_stepper = std::make_unique<ValueStepper>(*m_ctx, *m_crossoverEq);
    m_stepper->attach();
    m_levelDelay = std::make_unique<LevelDelayEditor>(*m_ctx);
    m_levelDelay->attach();
    m_pointDrag = std::make_unique<PointDrag>(*m_ctx, *m_crossoverEq);
    m_pointDrag->attach(view);
    m_graphKeys = std::make_unique<GraphKeys>(*m_ctx, *m_crossoverEq, *m_stepper);
    m_graphKeys->attach(view);
    m_eqReset = std::make_unique<EqReset>(*m_ctx, *m_crossoverEq, *m_progress);
    m_eqReset->attach();
    m_wheel = std::make_unique<WheelRouter>(*m_ctx, *m_stepper, this);
    qApp->installEventFilter(m_wheel.get());
    wireChannels();

    connect(findChild<QAction *>(QStringLiteral("Exit1")), &QAction::triggered, this,
            &MainWindow::Exit1Click);
}

void MainWindow::wireChannels()
{
    m_channels =
        std::make_unique<ChannelView>(*m_ctx, *m_crossoverEq, *m_levelDelay, *m_eqReset, *m_pointDrag);
    auto *panel = m_controls.require<QGroupBox>(QStringLiteral("grp1"));
    auto *buttons = findChild<QButtonGroup *>(QStringLiteral("grp_channel"));
    connect(buttons, &QButtonGroup::idClicked, m_channels.get(), &ChannelView::select);
    connect(m_channels.get(), &ChannelView::channelChanged, this,
            [panel, buttons](int channel) { ChannelSelectorForm::show(panel, buttons, channel); });

    m_undo->setView(m_channels.get());
    EditUndo *undo = m_undo.get();
    m_state.recordEdited = [undo](int record) { undo->recordEdited(record); };
    auto *edit = findChild<QMenu *>(QStringLiteral("Edit1"));
    edit->addAction(m_undo->createUndoAction(edit));
    edit->addAction(m_undo->createRedoAction(edit));
}

void MainWindow::wireLink()
{
    m_serial = std::make_unique<SerialDriver>(m_catalog);
    m_hidTransport = std::make_unique<HidTransport>(*m_hidBackend);
    m_receiver = std::make_unique<Receiver>(m_state.Link);
    m_transmitter = std::make_unique<Transmitter>(m_state.Link, *m_serial);
    m_transmitter->setUsbTransport(m_hidTransport.get());
    Receiver &receiver = *m_receiver;
    connect(m_serial.get(), &Transport::received, this,
            [&receiver](const QByteArray &bytes) { receiver.serialArrival(bytes); });
    connect(m_hidTransport.get(), &Transport::received, this,
            [&receiver](const QByteArray &report) { receiver.ShowRead(report); });
    m_connection = std::make_unique<ConnectionController>(ConnectionParts{
        windowParts(), *m_serial, m_hidTransport.get(), *m_catalog, *m_receiver, *m_transmitter});
    m_connection->attach();
    m_networkPorts = std::make_unique<NetworkPortAdder>(windowParts(), *m_catalog, *m_connection);
    m_networkPorts->attach();
    m_session = std::make_unique<DeviceSession>(SessionParts{windowParts(), *m_receiver, *m_transmitter,
                                                             *m_connection, [this] { UpdataToComponent(); }});
    m_session->attach();
    m_handlers.add(QStringLiteral("btn_connectClick"), [this] { m_connection->btn_connectClick(); });
    m_handlers.add(QStringLiteral("btn_s_closeClick"), [this] { m_connection->btn_s_closeClick(); });
}

void MainWindow::wirePresets()
{
    const SessionParts parts{windowParts(), *m_receiver, *m_transmitter, *m_connection, {}};
    m_presetActivity = std::make_unique<PresetActivity>(m_state, *m_connection, *m_progress);
    m_presetActivity->attach(*m_session);
    m_eqReset->setBusy([this] {
        return m_presetActivity->kind() != PresetActivity::Kind::None || m_state.tmr_apply20grp.isActive() ||
               m_state.tmr_send20grp.isActive();
    });
    m_devicePresets = std::make_unique<DevicePresets>(parts, *m_presetActivity);
    m_devicePresets->attach();
    m_bulk = std::make_unique<BulkTransfer>(parts, *m_presetActivity);
    m_bulk->attach();
    m_presetFiles = std::make_unique<PresetFiles>(parts, *m_session, *m_presetActivity, *m_bulk);
    m_presetFiles->attach();
    SessionParts shows = parts;
    shows.updataToComponent = [this] { UpdataToComponent(); };
    m_offline = std::make_unique<OfflineFiles>(shows, *m_session, *m_presetActivity, *m_presetFiles);
    m_offline->attach();
    setAcceptDrops(true);
}

namespace {
// The one local file being dragged, or empty.
QString droppedFile(const QMimeData *data)
{
    const QList<QUrl> urls = data ? data->urls() : QList<QUrl>();
    return urls.size() == 1 && urls.first().isLocalFile() ? urls.first().toLocalFile() : QString();
}
} // namespace

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (m_offline && !m_offline->mayClose())
        event->ignore();
    else
        QMainWindow::closeEvent(event);
}

void MainWindow::dragEnterEvent(QDragEnterEvent *event)
{
    if (m_offline && m_offline->offline() && !droppedFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent *event)
{
    const QString path = droppedFile(event->mimeData());
    if (path.isEmpty() || !m_offline) return;
    event->acceptProposedAction();
    m_offline->openPath(path);
}

void MainWindow::wireAddressing()
{
    const AddressingParts parts{windowParts(), *m_connection, *m_serial, *m_receiver};
    m_idSearch = std::make_unique<IdSearch>(parts);
    m_idSearch->attach();
    connect(m_session.get(), &DeviceSession::meterReplied, m_idSearch.get(), &IdSearch::noteMeterReply);
    m_idChange = std::make_unique<IdChange>(parts);
    m_idChange->attach();
    m_broadcast = std::make_unique<BroadcastMode>(parts);
    m_broadcast->attach();
    m_handlers.add(QStringLiteral("btn41Click"), [this] { m_idSearch->btn41Click(); });
    m_handlers.add(QStringLiteral("btn42Click"), [this] { m_idSearch->btn42Click(); });
    m_handlers.add(QStringLiteral("btn_searchidClick"), [this] { m_idSearch->btn_searchidClick(); });
    m_handlers.add(QStringLiteral("btn46Click"), [this] { m_idChange->btn46Click(); });
    m_handlers.add(QStringLiteral("btn_broadcaseClick"), [this] { m_broadcast->btn_broadcaseClick(); });
}

void MainWindow::wireUsb()
{
    UsbForm::build(centralWidget());
    m_hid = std::make_unique<HidController>(
        HidParts{m_state, m_controls, *m_hidBackend, *m_hidTransport, *m_connection});
    m_hid->attach();
    m_hid->start();
}

WindowParts MainWindow::windowParts()
{
    return {m_state, m_controls, *m_dialogs, *m_progress, *m_status, m_warning, this};
}

void MainWindow::Init_value()
{
    m_state.Init_value();
    if (m_idSearch) m_idSearch->SearchCancel = false;
}

void MainWindow::UpdataToComponent()
{
    m_state.Refreshing = true;
    for (int k : {0, 2})
        m_levelDelay->showOutput(k);
    m_state.MuteClickBusy = false;
    m_levelDelay->showSystemLevel();
    m_levelDelay->showSystemPolarity();
    m_levelDelay->showSystemDelay();
    m_crossoverEq->showChannel();
    m_graph->computeOutputs();
    m_graph->DrawHLpfEQCurve(m_state.GraphChannel);
    m_state.Refreshing = false;
    m_undo->restart();
}

void MainWindow::ChangeAllComponentFont()
{
    // The value edits too: their widths were drawn for Arial's figures.
    QList<QWidget *> widgets;
    for (QPushButton *b : findChildren<QPushButton *>())
        widgets << b;
    for (ValueEdit *e : findChildren<ValueEdit *>())
        widgets << e;
    for (QWidget *w : widgets) {
        QFont f = w->font();
        f.setFamily(QStringLiteral("Arial"));
        w->setFont(f);
    }
}

void MainWindow::chk_pha_responseClick()
{
    auto *box = m_controls.require<QCheckBox>(QStringLiteral("chk_pha_response"));
    QPalette p = box->palette();
    p.setColor(QPalette::WindowText,
               box->isChecked() ? QColor(255, 0, 0) : QApplication::palette().color(QPalette::Link));
    box->setPalette(p);
    m_graph->setPhaseView(box->isChecked());
    m_graph->DrawHLpfEQCurve(m_state.GraphChannel);
}

void MainWindow::Exit1Click()
{
    close();
}

} // namespace spk
