#include "window/accessiblelists.h"

#include "window/accessibletext.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QItemSelectionModel>

#include <memory>

namespace spk {

namespace {

// The list's popup view selects the current item, so readers find it as the list's selected child
// even while the popup is closed (Qt selects it only when the popup opens).
void selectCurrentInView(QComboBox *list)
{
    QAbstractItemView *view = list->view();
    if (!view || !view->selectionModel() || !list->model()) return;
    const QModelIndex current =
        list->model()->index(list->currentIndex(), list->modelColumn(), list->rootModelIndex());
    // select(), not setCurrentIndex(): the view's current item would emit highlighted().
    if (current.isValid())
        view->selectionModel()->select(current, QItemSelectionModel::ClearAndSelect);
    else
        view->selectionModel()->clearSelection();
}

class AccessibleList : public AccessibleShownText
{
public:
    explicit AccessibleList(QComboBox *list) : AccessibleShownText(list, QAccessible::ComboBox)
    {
        selectCurrentInView(list);
        // Qt sends the value change itself; the text change carries the new item to readers that
        // listen for text.
        auto shown = std::make_shared<QString>(list->currentText());
        QObject::connect(list, &QComboBox::currentTextChanged, list, [list, shown](const QString &now) {
            selectCurrentInView(list);
            announceShownText(list, *shown, now);
            *shown = now;
        });
    }

    QComboBox *list() const { return static_cast<QComboBox *>(object()); }
    QString shownText() const override { return list()->currentText(); }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name) {
            const QString name = list()->accessibleName();
            return name.isEmpty() ? list()->currentText() : name;
        }
        return AccessibleShownText::text(t);
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.expandable = true;
        s.expanded = list()->view() && list()->view()->isVisible();
        s.editable = list()->isEditable();
        return s;
    }

    // The popup's list, whose selected item is the current one.
    int childCount() const override { return list()->view() ? 1 : 0; }
    QAccessibleInterface *child(int index) const override
    {
        return index == 0 && list()->view() ? QAccessible::queryAccessibleInterface(list()->view()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        return child && list()->view() && child->object() == list()->view() ? 0 : -1;
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
