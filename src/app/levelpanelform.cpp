#include "app/levelpanelform.h"

#include "app/formkit.h"
#include "editors/buttonface.h"
#include "editors/valueedit.h"
#include "model/tables.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>

namespace spk {

namespace {
QSlider *levelSlider(QWidget *parent, const QString &name, Qt::Orientation o, const QRect &g,
                     const QString &spoken)
{
    auto *s = new QSlider(o, parent);
    s->setObjectName(name);
    s->setRange(0, MaxLevelCode);
    s->setSingleStep(1);
    s->setPageStep(10);
    s->setFocusPolicy(Qt::StrongFocus);
    s->setAccessibleName(spoken);
    s->setGeometry(g);
    return s;
}

QScrollBar *delayBar(QWidget *parent, const QString &name, const QRect &g, const QString &spoken)
{
    auto *b = new QScrollBar(Qt::Horizontal, parent);
    b->setObjectName(name);
    b->setRange(0, MaxDelayCode);
    b->setPageStep(0);
    b->setSingleStep(1);
    // Takes the focus like the other controls, so leaving it disarms the wheel.
    b->setFocusPolicy(Qt::StrongFocus);
    b->setAccessibleName(spoken);
    b->setGeometry(g);
    return b;
}

void distanceLabels(QWidget *parent, const QString &channel, const QString &spoken, int x, int y)
{
    auto *m = formkit::label(parent, QStringLiteral("0.000m"), QRect(x, y, 58, 16),
                             QStringLiteral("lbl_edt_") + channel + QStringLiteral("_delay_m"));
    m->setAccessibleDescription(spoken + QStringLiteral(" delay as a distance in metres"));
    auto *ft = formkit::label(parent, QStringLiteral("0.000ft"), QRect(x + 62, y, 64, 16),
                              QStringLiteral("lbl_") + channel + QStringLiteral("_delay_ft"));
    ft->setAccessibleDescription(spoken + QStringLiteral(" delay as a distance in feet"));
}
} // namespace

void LevelPanelForm::buildSystem(QGroupBox *panel)
{
    formkit::label(panel, QStringLiteral("LEVEL"), QRect(10, 22, 80, 16));
    formkit::label(panel, QStringLiteral("0 dB"), QRect(18, 40, 50, 14));
    levelSlider(panel, QStringLiteral("rztrckbr_ingain"), Qt::Vertical, QRect(20, 56, 30, 150),
                QStringLiteral("System level slider"));
    formkit::label(panel, QStringLiteral("-60 dB"), QRect(10, 208, 56, 14));
    formkit::edit(panel, QStringLiteral("edt_ip0_gain"), QStringLiteral("System level"),
                  QRect(72, 70, 84, 22), QStringLiteral("mute"));
    auto *mute = formkit::button(panel, QStringLiteral("btn_ip0_mute"), QStringLiteral("Mute"),
                                 QRect(72, 102, 84, 26), QStringLiteral("System mute"));
    setButtonFace(mute, MuteRed); // level 0 at start
    auto *pol = formkit::button(panel, QStringLiteral("btn_ip0_pol"), QStringLiteral("Pol(+)"),
                                QRect(72, 134, 84, 26), QStringLiteral("System polarity"));
    setButtonFace(pol, LightGrey);

    formkit::label(panel, QStringLiteral("SYSTEM DELAY"), QRect(10, 230, 150, 16));
    delayBar(panel, QStringLiteral("scrlbr_ip0_delay"), QRect(10, 250, 180, 17),
             QStringLiteral("System delay slider"));
    formkit::edit(panel, QStringLiteral("edt_ip0_delay"), QStringLiteral("System delay"),
                  QRect(10, 272, 74, 22), QStringLiteral("0.000ms"));
    distanceLabels(panel, QStringLiteral("ip0"), QStringLiteral("System"), 88, 275);
}

void LevelPanelForm::buildOutput(QGroupBox *panel, int k, const QString &heading, const QString &spoken)
{
    const QString ch = QStringLiteral("op") + QString::number(k);
    formkit::label(panel, heading + QStringLiteral(" LEVEL"), QRect(10, 22, 220, 16));
    levelSlider(panel, QStringLiteral("rztrckbr_") + ch + QStringLiteral("_gain"), Qt::Horizontal,
                QRect(10, 40, 244, 24), spoken + QStringLiteral(" level slider"));
    formkit::label(panel, QStringLiteral("-60 dB"), QRect(10, 64, 60, 14));
    auto *top = formkit::label(panel, QStringLiteral("0 dB"), QRect(194, 64, 60, 14));
    top->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    formkit::edit(panel, QStringLiteral("edt_") + ch + QStringLiteral("_gain"),
                  spoken + QStringLiteral(" level"), QRect(10, 84, 80, 22), QStringLiteral("-60 dB"));
    auto *mute =
        formkit::button(panel, QStringLiteral("btn_") + ch + QStringLiteral("_mute"), QStringLiteral("Mute"),
                        QRect(98, 82, 74, 26), spoken + QStringLiteral(" mute"));
    setButtonFace(mute, QColor());
    auto *pol =
        formkit::button(panel, QStringLiteral("btn_") + ch + QStringLiteral("_pol"), QStringLiteral("Pol(+)"),
                        QRect(178, 82, 74, 26), spoken + QStringLiteral(" polarity"));
    setButtonFace(pol, LightGrey);

    formkit::label(panel, heading + QStringLiteral(" DELAY"), QRect(10, 120, 220, 16));
    delayBar(panel, QStringLiteral("scrlbr_") + ch + QStringLiteral("_delay"), QRect(10, 140, 244, 17),
             spoken + QStringLiteral(" delay slider"));
    formkit::edit(panel, QStringLiteral("edt_") + ch + QStringLiteral("_delay"),
                  spoken + QStringLiteral(" delay"), QRect(10, 164, 80, 22), QStringLiteral("0.000ms"));
    distanceLabels(panel, ch, spoken, 98, 167);
}

} // namespace spk
