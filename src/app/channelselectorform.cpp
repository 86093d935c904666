#include "app/channelselectorform.h"

#include "editors/editlabel.h"
#include "model/layout.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QRadioButton>

namespace spk {

QButtonGroup *ChannelSelectorForm::build(QGroupBox *panel)
{
    auto *row = new QWidget(panel);
    row->setObjectName(QStringLiteral("pnl_channel"));
    row->setAccessibleName(QStringLiteral("Channel"));
    row->setGeometry(Row);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    auto *group = new QButtonGroup(row);
    group->setObjectName(QStringLiteral("grp_channel"));
    const struct
    {
        int channel;
        const char *caption;
    } buttons[] = {{Ip0, "&System"}, {Op0, "S&atellite"}, {Op2, "Su&bwoofer"}, {Op1, "&Third output"}};
    for (const auto &b : buttons) {
        auto *r = new QRadioButton(QString::fromLatin1(b.caption), row);
        r->setObjectName(QStringLiteral("rdo_") + QLatin1String(ChannelGroups[b.channel].name));
        r->setAccessibleName(channelName(b.channel));
        r->setAccessibleDescription(QStringLiteral("Edit the crossover and EQ of this channel"));
        group->addButton(r, b.channel);
        layout->addWidget(r);
    }
    layout->addStretch();
    group->button(Ip0)->setChecked(true);
    return group;
}

QString ChannelSelectorForm::title(int channel)
{
    return channelName(channel).toUpper() + QStringLiteral(" EQ");
}

void ChannelSelectorForm::show(QGroupBox *panel, QButtonGroup *buttons, int channel)
{
    if (QAbstractButton *b = buttons->button(channel)) b->setChecked(true);
    panel->setTitle(title(channel));
}

} // namespace spk
