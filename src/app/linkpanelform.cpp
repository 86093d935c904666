#include "app/linkpanelform.h"

#include "app/fixedwidthlist.h"
#include "app/formkit.h"
#include "window/connectionindicator.h"
#include "window/ledindicator.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>

namespace spk {

namespace {
const QColor MeterBackground(18, 24, 38);
const QColor MeterCaption(150, 165, 190);

QLabel *caption(QWidget *parent, const QString &text, const QRect &g)
{
    return formkit::label(parent, text, g);
}

// The meter's small grey captions.
QLabel *meterCaption(QWidget *parent, const QString &text, const QRect &g)
{
    QLabel *l = formkit::label(parent, text, g);
    QPalette pal = l->palette();
    pal.setColor(QPalette::WindowText, MeterCaption);
    l->setPalette(pal);
    QFont f = l->font();
    f.setPixelSize(10);
    l->setFont(f);
    return l;
}

LedIndicator *lamp(QWidget *parent, const QString &name, const QString &spoken, const QPoint &at,
                   const QColor &on, const QColor &off)
{
    auto *led = new LedIndicator(parent);
    led->setObjectName(name);
    led->setAccessibleName(spoken);
    led->setToolTip(spoken);
    led->setColours(on, off);
    led->setGeometry(QRect(at, QSize(14, 14)));
    return led;
}

// An empty widget that asks for the room another one needs.
class Place : public QWidget
{
public:
    Place(QWidget *parent, QWidget *occupant) : QWidget(parent), m_occupant(occupant) {}
    QSize sizeHint() const override { return m_occupant ? m_occupant->sizeHint() : QSize(0, 0); }
    QSize minimumSizeHint() const override { return sizeHint(); }

private:
    QPointer<QWidget> m_occupant;
};

// Keeps a widget on top of a place in another parent.
class PlaceFollower : public QObject
{
public:
    PlaceFollower(QWidget *place, QWidget *follower) : QObject(place), m_place(place), m_follower(follower)
    {
        place->installEventFilter(this);
        follower->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_follower && event->type() == QEvent::LayoutRequest) m_place->updateGeometry();
        if (watched == m_place && m_follower &&
            (event->type() == QEvent::Move || event->type() == QEvent::Resize ||
             event->type() == QEvent::Show)) {
            QWidget *parent = m_follower->parentWidget();
            m_follower->setGeometry(QRect(m_place->mapTo(parent, QPoint(0, 0)), m_place->size()));
            m_follower->raise();
        }
        return false;
    }

private:
    QWidget *m_place;
    QPointer<QWidget> m_follower;
};

QLineEdit *hiddenField(QWidget *parent, const QString &name, const QString &spoken)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setAccessibleName(spoken);
    e->setReadOnly(true);
    e->setGeometry(0, 0, 40, 20);
    e->hide();
    return e;
}
} // namespace

QWidget *LinkPanelForm::buildConnectionBar(QMenuBar *menu)
{
    // A global menu would take the corner along; the bar must stay in the window.
    menu->setNativeMenuBar(false);
    // The bar is the window's, laid over a place kept free in the menu bar's corner: a menu bar
    // tells screen readers of its menus only, and controls inside it could not be reached.
    QWidget *window = menu->parentWidget() ? menu->parentWidget() : menu;
    auto *bar = new QWidget(window);
    bar->setObjectName(QStringLiteral("pnl_connection"));
    bar->setAccessibleName(QStringLiteral("Connection"));
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(4, 1, 6, 1);
    row->setSpacing(4);

    auto *portCaption = new QLabel(QStringLiteral("Port"), bar);
    auto *ports = new FixedWidthList(112, bar);
    ports->setObjectName(QStringLiteral("cbb_comport"));
    ports->setAccessibleName(QStringLiteral("Serial port"));
    ports->view()->setMinimumWidth(260); // "rfc2217://" and a host name
    portCaption->setBuddy(ports);
    // Only compares a fresh scan with the list; never shown.
    auto *scratch = new QComboBox(bar);
    scratch->setObjectName(QStringLiteral("cbb_comport2"));
    scratch->setAccessibleName(QStringLiteral("Scanned serial ports"));
    scratch->hide();

    auto *idCaption = new QLabel(QStringLiteral("ID"), bar);
    auto *ids = new FixedWidthList(58, bar);
    ids->setObjectName(QStringLiteral("cbb_deviceid"));
    ids->setAccessibleName(QStringLiteral("Device ID"));
    QStringList idTexts;
    idTexts.reserve(250);
    for (int id = 1; id <= 250; ++id)
        idTexts << QString::number(id);
    ids->addItems(idTexts);
    ids->setMaxVisibleItems(16);
    idCaption->setBuddy(ids);

    auto *connect = new QPushButton(QStringLiteral("Connect"), bar);
    connect->setObjectName(QStringLiteral("btn_connect"));
    connect->setAccessibleDescription(QStringLiteral("Open or close the link to the device"));
    connect->setFixedWidth(92);

    auto *indicator = new QLabel(bar);
    indicator->setObjectName(QStringLiteral("img_connectstate"));
    indicator->setAccessibleName(QStringLiteral("Connection indicator"));
    showConnectionIndicator(indicator, false);
    indicator->setFixedSize(16, 16);

    row->addWidget(portCaption);
    row->addWidget(ports);
    row->addSpacing(6);
    row->addWidget(idCaption);
    row->addWidget(ids);
    row->addSpacing(6);
    row->addWidget(connect);
    row->addWidget(indicator);
    auto *place = new Place(menu, bar);
    place->setObjectName(QStringLiteral("pnl_connection_place"));
    menu->setCornerWidget(place, Qt::TopRightCorner);
    if (window != menu) new PlaceFollower(place, bar);
    return bar;
}

void LinkPanelForm::buildDevicePanels(QWidget *central)
{
    buildPresets(central);
    buildMeter(central);
}

void LinkPanelForm::buildPresets(QWidget *central)
{
    auto *panel = new QWidget(central);
    panel->setObjectName(QStringLiteral("pnl_presets"));
    panel->setGeometry(PresetsArea);

    caption(panel, QStringLiteral("Preset"), QRect(0, 4, 44, 20));
    QStringList recall;
    for (const char *name : {"Pre0", "Pre1", "Pre2", "Pre3", "Pre4", "Pre5", "Pre6", "Usr7"})
        recall << QString::fromLatin1(name) + u':';
    QComboBox *load = formkit::list(panel, QStringLiteral("cbb_load2dev"), QStringLiteral("Preset to recall"),
                                    QRect(46, 2, 210, 24), recall);
    load->setCurrentIndex(0);
    load->view()->setMinimumWidth(240); // "Pre0:" and a name of 20 characters

    formkit::label(panel, QStringLiteral("Last loaded Preset:    "), QRect(46, 36, 294, 18),
                   QStringLiteral("lbl_lastgroup"));

    caption(panel, QStringLiteral("Store"), QRect(0, 68, 44, 20));
    QComboBox *save =
        formkit::list(panel, QStringLiteral("cbb_save2dev"), QStringLiteral("Preset slot to store"),
                      QRect(46, 66, 70, 24), {QStringLiteral("Usr7:")});
    save->setCurrentIndex(0);
    auto *name = new QLineEdit(panel);
    name->setObjectName(QStringLiteral("edt_save2dev"));
    name->setAccessibleName(QStringLiteral("Name of the stored preset"));
    // Typing is held to 19 characters by the key filter; a name read from the device shows all 20.
    name->setGeometry(120, 66, 136, 24);

    formkit::button(panel, QStringLiteral("btn_load2dev"), QStringLiteral("Load"), LoadButtonPlace,
                    QStringLiteral("Recall the chosen preset into the device and the window"));
    formkit::button(panel, QStringLiteral("btn_save2dev"), QStringLiteral("Save"), SaveButtonPlace,
                    QStringLiteral("Store the working parameters in the device under this name"));
}

void LinkPanelForm::buildMeter(QWidget *central)
{
    auto *meter = new QFrame(central);
    meter->setObjectName(QStringLiteral("pnl_meter"));
    meter->setAccessibleName(QStringLiteral("Device status"));
    meter->setGeometry(MeterArea);
    meter->setFrameShape(QFrame::StyledPanel);
    meter->setAutoFillBackground(true);
    QPalette pal = meter->palette();
    pal.setColor(QPalette::Window, MeterBackground);
    pal.setColor(QPalette::WindowText, Qt::white);
    meter->setPalette(pal);

    meterCaption(meter, QStringLiteral("TEMP"), QRect(8, 6, 40, 18));
    QLabel *temp = formkit::label(meter, QStringLiteral("10'C"), QRect(48, 6, 54, 18),
                                  QStringLiteral("lbl_temperature"));
    meterCaption(meter, QStringLiteral("ATTEN"), QRect(8, 32, 40, 18));
    QLabel *atten = formkit::label(meter, QStringLiteral("0 dB"), QRect(48, 32, 54, 18),
                                   QStringLiteral("lbl_attenuation"));
    for (QLabel *value : {temp, atten}) {
        QFont f = value->font();
        f.setBold(true);
        value->setFont(f);
    }
    temp->setAccessibleName(QStringLiteral("Temperature"));
    atten->setAccessibleName(QStringLiteral("Attenuation"));

    meterCaption(meter, QStringLiteral("THERMAL"), QRect(106, 6, 54, 18));
    lamp(meter, QStringLiteral("ildrnd_temper"), QStringLiteral("Thermal attenuation"), QPoint(162, 8),
         QColor(255, 128, 64), QColor(70, 50, 40));
    meterCaption(meter, QStringLiteral("LIMIT"), QRect(106, 32, 54, 18));
    lamp(meter, QStringLiteral("LedR_lim"), QStringLiteral("Limiter"), QPoint(162, 34), QColor(255, 0, 0),
         QColor(70, 30, 30));

    hiddenField(meter, QStringLiteral("edt1"), QStringLiteral("Limiter value"));
    hiddenField(meter, QStringLiteral("edt2"), QStringLiteral("Status value 6"));
    hiddenField(meter, QStringLiteral("edt3"), QStringLiteral("Status value 7"));

    // The satellite output's own limiter lamp: green while idle, red while limiting.
    if (auto *satellite = central->findChild<QGroupBox *>(QStringLiteral("rzgrpbx5")))
        lamp(satellite, QStringLiteral("ildrnd_out0"), QStringLiteral("Satellite limiter"), QPoint(238, 23),
             QColor(255, 0, 0), QColor(0, 160, 0));
}

} // namespace spk
