#include "app/eqpanelform.h"

#include "app/formkit.h"
#include "editors/spinbuttons.h"
#include "editors/valueedit.h"
#include "filters/graphgeometry.h"
#include "graph/graphview.h"
#include "model/layout.h"
#include "model/tables.h"
#include "model/valuetext.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>

namespace spk {

namespace {
QStringList names(std::span<const char *const> list)
{
    QStringList items;
    for (const char *n : list)
        items << QString::fromLatin1(n);
    return items;
}

// Wide enough for "21900.0Hz" in the band edits' 10 px Arial without scrolling; ten columns still
// fit the panel because the spin buttons gave up two pixels.
constexpr int ColumnLeft = 44, ColumnStep = 69, EditWidth = 58, SpinWidth = 10, RowHeight = 22;
constexpr int BandEditPixels = 10;
} // namespace

void EqPanelForm::build(QGroupBox *panel)
{
    buildGraph(panel);
    buildCrossover(panel);
    buildBands(panel);
}

void EqPanelForm::buildGraph(QGroupBox *panel)
{
    auto *frame = new QFrame(panel);
    frame->setObjectName(QStringLiteral("pnl1"));
    frame->setFrameStyle(QFrame::Box | QFrame::Plain);
    frame->setLineWidth(1);
    frame->setGeometry(8, 20, GraphWidth + 2, GraphHeight + 2);
    auto *view = new GraphView(frame);
    view->setObjectName(QStringLiteral("img_eqbackground"));
    view->setAccessibleName(QStringLiteral("Response graph"));
    view->setAccessibleDescription(QStringLiteral(
        "Drag an EQ band's point to change its frequency and gain, or pick a band with Page Up, "
        "Page Down or its digit and step it with the arrow keys"));
    view->move(1, 1);

    // The phase view exists but the window keeps it hidden.
    auto *phase = formkit::check(panel, QStringLiteral("chk_pha_response"), QStringLiteral("Display Phase"),
                                 QStringLiteral("Display phase"), QRect(600, 214, 120, 20));
    phase->hide();
}

void EqPanelForm::buildCrossover(QGroupBox *panel)
{
    const QStringList types = names(CrossoverTypeNames);
    const int y = 216;
    struct Filter
    {
        const char *edit, *list, *heading, *field;
        int left;
        int code;
    };
    const Filter filters[] = {
        {"edt_ip0hpf_freq", "cbb_ip0hpf_type", "HIGH PASS", "High-pass", 8, 0},
        {"edt_ip0lpf_freq", "cbb_ip0lpf_type", "LOW PASS", "Low-pass", 300, 240},
    };
    for (const Filter &f : filters) {
        const QString edit = QString::fromLatin1(f.edit);
        const QString field = QString::fromLatin1(f.field);
        formkit::label(panel, QString::fromLatin1(f.heading), QRect(f.left, y + 2, 70, 18));
        formkit::edit(panel, edit, field + QStringLiteral(" frequency"), QRect(f.left + 72, y, 78, RowHeight),
                      freqText(f.code));
        formkit::spin(panel, edit, field.toLower() + QStringLiteral(" frequency"),
                      QRect(f.left + 150, y, 14, RowHeight));
        auto *list = formkit::list(panel, QString::fromLatin1(f.list), field + QStringLiteral(" type"),
                                   QRect(f.left + 170, y, 110, RowHeight), types);
        list->setCurrentIndex(0);
    }
    formkit::button(panel, QStringLiteral("btn_EQreset"), QStringLiteral("Filters reset"),
                    QRect(620, y - 2, 110, 26),
                    QStringLiteral("Set all ten EQ bands back to their starting shape"));
}

void EqPanelForm::buildBands(QGroupBox *panel)
{
    const QStringList types = names(EqTypeNames);
    const int top = 246;
    // The band columns share a smaller font, set once on their container so that the
    // controls are created with it.
    auto *grid = new QWidget(panel);
    grid->setObjectName(QStringLiteral("pnl_bands"));
    grid->setGeometry(0, top, panel->width(), panel->height() - top);
    QFont small = panel->font();
    small.setPixelSize(11);
    grid->setFont(small);

    const char *rows[] = {"Freq", "Gain", "Q", "Type"};
    for (int i = 0; i < 4; ++i)
        formkit::label(panel, QString::fromLatin1(rows[i]), QRect(8, top + 18 + i * 24 + 2, 36, 18));
    for (int b = 0; b < BandCount; ++b) {
        const int x = ColumnLeft + b * ColumnStep;
        const QString n = QString::number(b + 1);
        const QString suffix = QStringLiteral("_0") + QString::number(b);
        auto *heading =
            formkit::label(grid, QStringLiteral("EQ ") + n, QRect(x, 0, EditWidth + SpinWidth, 16));
        heading->setAlignment(Qt::AlignCenter);

        const struct
        {
            const char *kind, *field;
            QString text;
        } fields[] = {
            {"freq", "frequency", freqText(10 * b)},
            {"gain", "gain", gainText(120)},
            {"qval", "Q", qText(42)},
        };
        for (int i = 0; i < 3; ++i) {
            const QString name = QStringLiteral("edt_ip0eq_") + QLatin1String(fields[i].kind) + suffix;
            const QString field = QStringLiteral("EQ band ") + n + u' ' + QLatin1String(fields[i].field);
            const int y = 18 + i * 24;
            auto *e = formkit::edit(grid, name, field, QRect(x, y, EditWidth, RowHeight), fields[i].text);
            e->setTextMargins(0, 0, 0, 0);
            QFont f = e->font();
            f.setPixelSize(BandEditPixels);
            e->setFont(f);
            formkit::spin(grid, name, field, QRect(x + EditWidth, y, SpinWidth, RowHeight));
        }
        auto *list = formkit::list(grid, QStringLiteral("cbb_ip0eq_type") + suffix,
                                   QStringLiteral("EQ band ") + n + QStringLiteral(" type"),
                                   QRect(x, 18 + 3 * 24, EditWidth + SpinWidth, RowHeight), types);
        list->setCurrentIndex(0);
        formkit::check(grid, QStringLiteral("chk_ip0eq_byps") + suffix, QStringLiteral("Bypass"),
                       QStringLiteral("EQ band ") + n + QStringLiteral(" bypass"),
                       QRect(x, 18 + 4 * 24 + 2, EditWidth + SpinWidth, 20));
    }
}

} // namespace spk
