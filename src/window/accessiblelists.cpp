#include "window/accessiblelists.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QComboBox>

namespace spk {

namespace {

class AccessibleList : public QAccessibleWidget
{
public:
    explicit AccessibleList(QComboBox *list) : QAccessibleWidget(list, QAccessible::ComboBox) {}

    QComboBox *list() const { return static_cast<QComboBox *>(object()); }

    QString text(QAccessible::Text t) const override
    {
        switch (t) {
        case QAccessible::Name: {
            const QString name = list()->accessibleName();
            return name.isEmpty() ? list()->currentText() : name;
        }
        case QAccessible::Value:
            return list()->currentText();
        default:
            return QAccessibleWidget::text(t);
        }
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.expandable = true;
        s.expanded = list()->view() && list()->view()->isVisible();
        s.editable = list()->isEditable();
        return s;
    }

    QStringList actionNames() const override
    {
        return QStringList{showMenuAction()} + QAccessibleWidget::actionNames();
    }

    void doAction(const QString &action) override
    {
        if (action == showMenuAction() || action == pressAction())
            list()->showPopup();
        else
            QAccessibleWidget::doAction(action);
    }
};

QAccessibleInterface *listFactory(const QString &className, QObject *object)
{
    if (className != QLatin1String("QComboBox")) return nullptr;
    auto *list = qobject_cast<QComboBox *>(object);
    return list ? new AccessibleList(list) : nullptr;
}

} // namespace

void installAccessibleLists()
{
    static bool installed = false;
    if (installed) return;
    installed = true;
    QAccessible::installFactory(listFactory);
}

} // namespace spk
