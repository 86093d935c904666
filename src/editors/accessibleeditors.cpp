#include "editors/accessibleeditors.h"

#include "editors/buttonface.h"
#include "editors/spinbuttons.h"
#include "graph/graphview.h"
#include "window/accessibletext.h"

#include <QAbstractButton>
#include <QLineEdit>

namespace spk {

namespace {

class GraphChart : public AccessibleShownText
{
public:
    explicit GraphChart(GraphView *view) : AccessibleShownText(view, QAccessible::Chart) {}
    QString shownText() const override { return static_cast<GraphView *>(object())->summary(); }
};

// The pair steps the edit beside it ("spinbtn_" + the edit's name), whose text is its value.
class SpinPair : public AccessibleShownText
{
public:
    explicit SpinPair(SpinButtons *pair) : AccessibleShownText(pair, QAccessible::SpinBox) {}
    QString shownText() const override
    {
        const QLineEdit *e = edit();
        return e ? e->text() : QString();
    }

private:
    const QLineEdit *edit() const
    {
        const QWidget *pair = widget();
        const QString name = pair->objectName().mid(int(qstrlen("spinbtn_")));
        return pair->parentWidget()
                   ? pair->parentWidget()->findChild<QLineEdit *>(name, Qt::FindDirectChildrenOnly)
                   : nullptr;
    }
};

// Read as Qt reads a push button that stays down (Broadcast Mode): a check box.
class FacedButton : public QAccessibleWidget
{
public:
    explicit FacedButton(QAbstractButton *b) : QAccessibleWidget(b, QAccessible::CheckBox) {}
    QAbstractButton *button() const { return static_cast<QAbstractButton *>(object()); }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && button()->accessibleName().isEmpty())
            return QString(button()->text()).remove(u'&');
        if (t == QAccessible::Value)
            return buttonIsOn(button()) ? QStringLiteral("on") : QStringLiteral("off");
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.checkable = true;
        s.checked = buttonIsOn(button());
        return s;
    }
    QStringList actionNames() const override { return {pressAction(), toggleAction()}; }
    void doAction(const QString &action) override
    {
        if (action == pressAction() || action == toggleAction()) button()->click();
    }
};

QAccessibleInterface *editorFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("spk::GraphView")) return new GraphChart(static_cast<GraphView *>(object));
    if (className == QLatin1String("spk::SpinButtons"))
        return new SpinPair(static_cast<SpinButtons *>(object));
    if (className == QLatin1String("QPushButton") && hasButtonFace(static_cast<QAbstractButton *>(object)))
        return new FacedButton(static_cast<QAbstractButton *>(object));
    return nullptr;
}

} // namespace

void installAccessibleEditors()
{
    static bool installed = false;
    if (installed) return;
    installed = true;
    QAccessible::installFactory(editorFactory);
}

} // namespace spk
