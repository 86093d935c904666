#include "app/formkit.h"

#include "editors/spinbuttons.h"
#include "editors/valueedit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>

namespace spk::formkit {

QLabel *label(QWidget *parent, const QString &text, const QRect &geometry, const QString &name)
{
    auto *l = new QLabel(text, parent);
    if (!name.isEmpty()) l->setObjectName(name);
    l->setGeometry(geometry);
    return l;
}

ValueEdit *edit(QWidget *parent, const QString &name, const QString &accessibleName, const QRect &geometry,
                const QString &text)
{
    auto *e = new ValueEdit(parent);
    e->setObjectName(name);
    e->setAccessibleName(accessibleName);
    e->setGeometry(geometry);
    e->setText(text);
    return e;
}

SpinButtons *spin(QWidget *parent, const QString &editName, const QString &field, const QRect &geometry)
{
    auto *s = new SpinButtons(parent);
    s->setObjectName(QStringLiteral("spinbtn_") + editName);
    s->setFieldName(field);
    s->setGeometry(geometry);
    return s;
}

QPushButton *button(QWidget *parent, const QString &name, const QString &caption, const QRect &geometry,
                    const QString &description)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setGeometry(geometry);
    if (!description.isEmpty()) b->setAccessibleDescription(description);
    return b;
}

QComboBox *list(QWidget *parent, const QString &name, const QString &accessibleName, const QRect &geometry,
                const QStringList &items)
{
    auto *c = new QComboBox(parent);
    c->setObjectName(name);
    c->setAccessibleName(accessibleName);
    c->addItems(items);
    c->setGeometry(geometry);
    return c;
}

QCheckBox *check(QWidget *parent, const QString &name, const QString &caption, const QString &accessibleName,
                 const QRect &geometry)
{
    auto *c = new QCheckBox(caption, parent);
    c->setObjectName(name);
    c->setAccessibleName(accessibleName);
    c->setGeometry(geometry);
    return c;
}

} // namespace spk::formkit
