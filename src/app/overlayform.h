#pragma once

class QCheckBox;
class QWidget;

namespace spk {

// The check box `chk_overlay` that lays the predicted response of each output and their sum over
// the graph; in the graph group's title row, right-aligned.
class OverlayForm
{
public:
    static QCheckBox *build(QWidget *graphGroup);
};

} // namespace spk
