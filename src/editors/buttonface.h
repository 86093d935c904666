#pragma once

#include <QColor>

class QAbstractButton;

namespace spk {

// The colours the mute and polarity buttons show.
inline const QColor MuteRed(255, 0, 0);
inline const QColor PolarityYellow(255, 255, 0);
inline const QColor LightGrey(224, 224, 224);

// Paints a button's face; an invalid colour restores the standard button face.
void setButtonFace(QAbstractButton *button, const QColor &colour);
// The colour last given to setButtonFace (invalid for the standard face).
QColor buttonFace(const QAbstractButton *button);
// Muted (red) or inverted (yellow): what readers hear as the button's checked state.
bool buttonIsOn(const QAbstractButton *button);
// The button has been given a face (a mute or polarity button).
bool hasButtonFace(const QAbstractButton *button);

} // namespace spk
