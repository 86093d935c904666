#include "editors/buttonface.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPalette>
#include <QVariant>

namespace spk {

namespace {
constexpr const char *FaceProperty = "spkFace";
}

void setButtonFace(QAbstractButton *button, const QColor &colour)
{
    if (!button) return;
    QPalette p = button->palette();
    const QColor face = colour.isValid() ? colour : QApplication::palette(button).color(QPalette::Button);
    p.setColor(QPalette::Button, face);
    p.setColor(QPalette::Window, face);
    button->setPalette(p);
    button->setProperty(FaceProperty, colour);
}

QColor buttonFace(const QAbstractButton *button)
{
    return button ? button->property(FaceProperty).value<QColor>() : QColor();
}

} // namespace spk
