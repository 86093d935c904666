#include "app/overlayform.h"

#include "app/formkit.h"

#include <QCheckBox>

namespace spk {

QCheckBox *OverlayForm::build(QWidget *graphGroup)
{
    const int width = 190;
    auto *box = formkit::check(graphGroup, QStringLiteral("chk_overlay"), QStringLiteral("Predicted outputs"),
                               QStringLiteral("Show the predicted response of each output and their sum"),
                               QRect(graphGroup->width() - width - 8, 0, width, 18));
    box->setLayoutDirection(Qt::RightToLeft); // the box at the right end, next to the graph's edge
    box->setToolTip(QStringLiteral("Satellite and subwoofer as they will sound, and their sum"));
    return box;
}

} // namespace spk
