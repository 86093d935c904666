#include "app/mainform.h"

#include "app/channelselectorform.h"
#include "app/eqpanelform.h"
#include "app/formkit.h"
#include "app/levelpanelform.h"
#include "app/linkpanelform.h"
#include "model/layout.h"
#include "presets/presetfile.h"

#include <QAction>
#include <QActionGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLinearGradient>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPalette>
#include <QProgressBar>
#include <QPushButton>

#include <cmath>

namespace spk {

namespace {
QGroupBox *group(QWidget *parent, const QString &name, const QString &title, const QString &spoken,
                 const QRect &g)
{
    auto *box = new QGroupBox(title, parent);
    box->setObjectName(name);
    box->setGeometry(g);
    if (!spoken.isEmpty()) box->setAccessibleName(spoken);
    return box;
}

QAction *item(QMenu *menu, const QString &name, const QString &text, bool enabled = true)
{
    QAction *a = menu->addAction(text);
    a->setObjectName(name);
    a->setEnabled(enabled);
    return a;
}
} // namespace

QWidget *MainForm::build(QMainWindow *window)
{
    auto *central = new QWidget(window);
    central->setObjectName(QStringLiteral("Form1Client"));

    // The focus sink: a focusable edit nobody sees; moving the focus here makes the focused
    // editor commit.
    auto *sink = new QLineEdit(central);
    sink->setObjectName(QStringLiteral("edt_empty"));
    sink->setAccessibleName(QStringLiteral("No field selected"));
    sink->setFrame(false);
    sink->setReadOnly(true);
    // No Tab stop: nothing to read or type there.
    sink->setFocusPolicy(Qt::ClickFocus);
    sink->setGeometry(0, 0, 1, 1);
    QPalette clear = sink->palette();
    for (QPalette::ColorRole role :
         {QPalette::Base, QPalette::Text, QPalette::Highlight, QPalette::HighlightedText})
        clear.setColor(role, Qt::transparent);
    sink->setPalette(clear);

    QGroupBox *eq = group(central, QStringLiteral("grp1"), ChannelSelectorForm::title(Ip0), QString(),
                          QRect(4, 2, 739, 388));
    EqPanelForm::build(eq);
    ChannelSelectorForm::build(eq);
    LevelPanelForm::buildSystem(
        group(central, QStringLiteral("grp2"), QStringLiteral("SYSTEM"), QString(), QRect(4, 394, 200, 302)));
    LevelPanelForm::buildOutput(group(central, QStringLiteral("rzgrpbx5"), QString(),
                                      QStringLiteral("Satellite output"), QRect(208, 394, 266, 200)),
                                0, QStringLiteral("SATTELITE"), QStringLiteral("Satellite"));
    LevelPanelForm::buildOutput(group(central, QStringLiteral("rzgrpbx9"), QString(),
                                      QStringLiteral("Subwoofer output"), QRect(478, 394, 265, 200)),
                                2, QStringLiteral("SUBWOOFER"), QStringLiteral("Subwoofer"));
    buildBanner(central);
    LinkPanelForm::buildDevicePanels(central);
    buildFileButtons(central);
    buildResetBox(central);
    buildProgressBox(central);
    return central;
}

void MainForm::buildBanner(QWidget *central)
{
    // A small wordmark: the rest of the banner's place holds the presets and the meter.
    const QSize size(183, 34);
    QPixmap art(size);
    QPainter p(&art);
    QLinearGradient fill(0, 0, size.width(), size.height());
    fill.setColorAt(0, QColor(24, 40, 72));
    fill.setColorAt(1, QColor(8, 10, 16));
    p.fillRect(art.rect(), fill);
    p.setPen(QColor(46, 121, 255));
    for (int x = 0; x < size.width(); x += 5)
        p.drawLine(x, size.height() - 3, x, size.height() - 3 - int(4 * (1 + std::sin(x / 13.0))));
    // The window's own font: no extra font engine to load at start.
    QFont title = central->font();
    title.setPixelSize(17);
    title.setBold(true);
    p.setFont(title);
    p.setPen(Qt::white);
    p.drawText(QRect(10, 2, size.width() - 20, 24), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("VELUMA"));
    p.end();

    auto *banner = formkit::label(central, QString(), QRect(QPoint(560, 662), size), QStringLiteral("img1"));
    banner->setPixmap(art);
    banner->setAccessibleName(QStringLiteral("VELUMA loudspeaker processor editor"));
}

void MainForm::buildFileButtons(QWidget *central)
{
    const struct
    {
        const char *name, *caption, *description;
    } buttons[] = {
        {"btn_load_onegrp2pc", "Load a preset from PC",
         "Load a .sdat file into the device's working parameters"},
        {"btn_load_20grp2pc", "Load all presets from PC",
         "Write the twenty presets of a .gdat file into the device"},
        {"btn_save_onegrp2pc", "Save this preset to PC",
         "Save the device's working parameters to a .sdat file"},
        {"btn_save_20grp2pc", "Save all presets to PC", "Save the device's twenty presets to a .gdat file"},
    };
    int left = FileButtonsArea.left();
    const int width = FileButtonsArea.width() / 4;
    for (const auto &b : buttons) {
        formkit::button(central, QString::fromLatin1(b.name), QString::fromLatin1(b.caption),
                        QRect(left, FileButtonsArea.top(), width - 4, FileButtonsArea.height()),
                        QString::fromLatin1(b.description));
        left += width;
    }
}

void MainForm::buildResetBox(QWidget *central)
{
    auto *box = group(central, QStringLiteral("rzgrpbx_resetalleq"), QString(),
                      QStringLiteral("Reset all EQ"), QRect(290, 544, 220, 86));
    formkit::label(box, QStringLiteral("Do you want to reset all EQ?"), QRect(12, 14, 200, 20));
    formkit::button(box, QStringLiteral("btn_op0_resetalleq"), QStringLiteral("OK"), QRect(22, 46, 80, 26),
                    QStringLiteral("Reset all EQ bands"));
    formkit::button(box, QStringLiteral("btn2"), QStringLiteral("Cancel"), QRect(116, 46, 80, 26),
                    QStringLiteral("Keep the EQ bands"));
    box->setAutoFillBackground(true);
    box->hide();
}

void MainForm::buildProgressBox(QWidget *central)
{
    auto *box = group(central, QStringLiteral("rzgrpbx_data_tx_bar"), QString(), QStringLiteral("Progress"),
                      QRect(189, 205, 380, 72));
    formkit::label(box, QStringLiteral("Please wait,The data is being transmitted.............. "),
                   QRect(12, 12, 356, 18), QStringLiteral("lbl413"));
    auto *bar = new QProgressBar(box);
    bar->setObjectName(QStringLiteral("rzprgrsbr_data_bar"));
    bar->setAccessibleName(QStringLiteral("Transfer progress"));
    bar->setRange(0, 100);
    bar->setValue(0);
    bar->setGeometry(12, 38, 356, 20);
    box->setAutoFillBackground(true);
    box->hide();
}

void MainForm::buildOfflineItems(QMenu *file)
{
    item(file, QStringLiteral("Openpresetfile1"), QStringLiteral("Open preset file..."))
        ->setShortcut(QKeySequence::Open);
    item(file, QStringLiteral("Savepresetfile1"), QStringLiteral("Save preset file"), false)
        ->setShortcut(QKeySequence::Save);
    item(file, QStringLiteral("Savepresetfileas1"), QStringLiteral("Save preset file as..."), false)
        ->setShortcut(QKeySequence::SaveAs);
    // The twenty presets of an open .gdat, one of them edited at a time.
    QMenu *presets = file->addMenu(QStringLiteral("Preset in file"));
    presets->setObjectName(QStringLiteral("Presetinfile1"));
    presets->setEnabled(false);
    auto *group = new QActionGroup(presets);
    for (int n = 1; n <= PresetFile::PresetCount; ++n) {
        QAction *a = item(presets, QStringLiteral("Presetinfile%1").arg(n), QStringLiteral("Preset %1").arg(n));
        a->setCheckable(true);
        group->addAction(a);
    }
}

void MainForm::buildMenu(QMenuBar *menu)
{
    menu->setObjectName(QStringLiteral("mm1"));
    QMenu *file = menu->addMenu(QStringLiteral("File"));
    file->setObjectName(QStringLiteral("File1"));
    // The preset file items run the handlers of the buttons with the same captions.
    item(file, QStringLiteral("Loadapresetfrompc1"), QStringLiteral("Load a preset from PC"));
    item(file, QStringLiteral("Loadallpresetsfrompc1"), QStringLiteral("Load all presets from PC"));
    file->addSeparator();
    item(file, QStringLiteral("Savethispresettopc1"), QStringLiteral("Save this preset to PC"));
    item(file, QStringLiteral("Saveallpresetstopc1"), QStringLiteral("Save all presets to PC"));
    file->addSeparator();
    buildOfflineItems(file);
    file->addSeparator();
    item(file, QStringLiteral("Exit1"), QStringLiteral("Exit"));

    // Undo and Redo: the main window adds them (editors/editundo.h).
    QMenu *edit = menu->addMenu(QStringLiteral("Edit"));
    edit->setObjectName(QStringLiteral("Edit1"));

    QMenu *help = menu->addMenu(QStringLiteral("Help"));
    help->setObjectName(QStringLiteral("Help1"));
    item(help, QStringLiteral("Help2"), QStringLiteral("Consult the supplied PDF file "));
    item(help, QStringLiteral("Help3"), QStringLiteral("    or "));
    item(help, QStringLiteral("Help4"), QStringLiteral("Visit our website"));
    item(help, QStringLiteral("Help5"), QStringLiteral("https://spkedit.example.org"));
    help->addSeparator();
    item(help, QStringLiteral("Help6"), QStringLiteral("VELUMA Version 4.0.1"));
}

} // namespace spk
