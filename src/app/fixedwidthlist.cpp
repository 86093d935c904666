#include "app/fixedwidthlist.h"

#include <QStyle>
#include <QStyleOptionComboBox>

#include <cmath>

namespace spk {

FixedWidthList::FixedWidthList(int width, QWidget *parent) : QComboBox(parent)
{
    setFixedWidth(width);
}

QSize FixedWidthList::sizeHint() const
{
    // QComboBox's height for items without icons; the width is the fixed one anyway.
    QStyleOptionComboBox opt;
    initStyleOption(&opt);
    const int text = std::max(int(std::ceil(QFontMetricsF(font()).height())), 14) + 2;
    const QSize hint = style()->sizeFromContents(QStyle::CT_ComboBox, &opt, QSize(0, text), this);
    return {maximumWidth(), hint.height()};
}

QSize FixedWidthList::minimumSizeHint() const
{
    return sizeHint();
}

} // namespace spk
