#pragma once

#include <QComboBox>

namespace spk {

// A list of fixed width in a layout. QComboBox measures the text of every item for its size
// hint, and a layout asks for it before and again after the list is first shown: for the 250
// device IDs that is the costliest step of showing the window. Here the hint measures no item:
// its height is QComboBox's own (it never depends on the items when they have no icons) and its
// width is the fixed one.
class FixedWidthList : public QComboBox
{
    Q_OBJECT
public:
    FixedWidthList(int width, QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
};

} // namespace spk
