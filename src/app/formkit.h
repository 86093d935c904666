#pragma once

#include <QRect>
#include <QString>
#include <QStringList>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QWidget;

namespace spk {

class SpinButtons;
class ValueEdit;

// Small constructors for the controls of the form: name, place, first text and the name a
// screen reader reads, in one call.
namespace formkit {

QLabel *label(QWidget *parent, const QString &text, const QRect &geometry, const QString &name = QString());
ValueEdit *edit(QWidget *parent, const QString &name, const QString &accessibleName, const QRect &geometry,
                const QString &text);
// The spin buttons of an edit: named "spinbtn_" + the edit's name.
SpinButtons *spin(QWidget *parent, const QString &editName, const QString &field, const QRect &geometry);
// Buttons keep their caption as their accessible name; the description tells which one it is.
QPushButton *button(QWidget *parent, const QString &name, const QString &caption, const QRect &geometry,
                    const QString &description = QString());
QComboBox *list(QWidget *parent, const QString &name, const QString &accessibleName, const QRect &geometry,
                const QStringList &items);
QCheckBox *check(QWidget *parent, const QString &name, const QString &caption, const QString &accessibleName,
                 const QRect &geometry);

} // namespace formkit
} // namespace spk
