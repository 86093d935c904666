#include "editors/buttonface.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QPalette>
#include <QVariant>

namespace spk {

namespace {
constexpr const char *FaceProperty = "spkFace";

bool faceIsOn(const QColor &face)
{
    return face == MuteRed || face == PolarityYellow;
}

} // namespace

void setButtonFace(QAbstractButton *button, const QColor &colour)
{
    if (!button) return;
    const bool wasOn = buttonIsOn(button);
    QPalette p = button->palette();
    const QColor face = colour.isValid() ? colour : QApplication::palette(button).color(QPalette::Button);
    p.setColor(QPalette::Button, face);
    p.setColor(QPalette::Window, face);
    button->setPalette(p);
    button->setProperty(FaceProperty, colour);
    if (wasOn != faceIsOn(colour) && QAccessible::isActive()) {
        QAccessible::State changed;
        changed.checked = true;
        QAccessibleStateChangeEvent event(button, changed);
        QAccessible::updateAccessibility(&event);
    }
}

QColor buttonFace(const QAbstractButton *button)
{
    return button ? button->property(FaceProperty).value<QColor>() : QColor();
}

bool buttonIsOn(const QAbstractButton *button)
{
    return faceIsOn(buttonFace(button));
}

bool hasButtonFace(const QAbstractButton *button)
{
    return button && button->property(FaceProperty).isValid();
}

} // namespace spk
