#include "app/keyboardorder.h"

#include <QEvent>
#include <QLayout>
#include <QMainWindow>
#include <QMenuBar>
#include <QPointer>
#include <QShortcut>
#include <QStatusBar>

#include <algorithm>

namespace spk {

namespace {

bool isStop(const QWidget *w)
{
    return (w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus;
}

// Children in reading order: a layout's own order, or rows of placed widgets (a widget joins a
// row while its top is above the middle of the row's first), each row left to right.
QList<QWidget *> orderedChildren(QWidget *parent)
{
    QList<QWidget *> children;
    for (QObject *o : parent->children()) {
        auto *w = qobject_cast<QWidget *>(o);
        if (w && !w->isWindow()) children << w;
    }
    if (QLayout *layout = parent->layout()) {
        const auto at = [layout](QWidget *w) {
            const int i = layout->indexOf(w);
            return i < 0 ? layout->count() : i;
        };
        std::stable_sort(children.begin(), children.end(),
                         [&](QWidget *a, QWidget *b) { return at(a) < at(b); });
        return children;
    }
    std::stable_sort(children.begin(), children.end(),
                     [](QWidget *a, QWidget *b) { return a->geometry().top() < b->geometry().top(); });
    QList<QWidget *> out;
    for (qsizetype first = 0; first < children.size();) {
        const int middle = children[first]->geometry().center().y();
        qsizetype end = first + 1;
        while (end < children.size() && children[end]->geometry().top() < middle)
            ++end;
        const auto row = children.mid(first, end - first);
        QList<QWidget *> sorted = row;
        std::stable_sort(sorted.begin(), sorted.end(),
                         [](QWidget *a, QWidget *b) { return a->geometry().left() < b->geometry().left(); });
        out << sorted;
        first = end;
    }
    return out;
}

void collect(QWidget *w, QList<QWidget *> &out)
{
    for (QWidget *child : orderedChildren(w)) {
        // A control that takes the focus keeps its inner parts to itself.
        if (isStop(child))
            out << child;
        else
            collect(child, out);
    }
}

// Moves the focus into a box while it is shown and back when it hides.
class BoxFocus : public QObject
{
public:
    BoxFocus(QWidget *box) : QObject(box), m_box(box) { box->installEventFilter(this); }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Show) {
            const QList<QWidget *> stops = KeyboardOrder::readingOrder({m_box});
            const auto first = std::find_if(stops.begin(), stops.end(),
                                            [](QWidget *w) { return w->isVisible() && w->isEnabled(); });
            if (first == stops.end()) return false;
            QWidget *had = m_box->window()->focusWidget();
            if (!had || !m_box->isAncestorOf(had)) m_before = had;
            (*first)->setFocus(Qt::TabFocusReason);
        } else if (event->type() == QEvent::Hide) {
            QWidget *now = m_box->window()->focusWidget();
            if (m_before && m_before->isVisible() && m_before->isEnabled() &&
                (!now || m_box->isAncestorOf(now) || !now->isVisible()))
                m_before->setFocus(Qt::TabFocusReason);
            m_before = nullptr;
        }
        return false;
    }

private:
    QWidget *m_box;
    QPointer<QWidget> m_before;
};

} // namespace

QList<QWidget *> KeyboardOrder::readingOrder(const QList<QWidget *> &roots)
{
    QList<QWidget *> out;
    for (QWidget *root : roots)
        if (root) collect(root, out);
    return out;
}

void KeyboardOrder::apply(QMainWindow *window)
{
    const QList<QWidget *> stops =
        readingOrder({window->findChild<QWidget *>(QStringLiteral("pnl_connection")), window->centralWidget(),
                      window->statusBar()});
    for (qsizetype i = 1; i < stops.size(); ++i)
        QWidget::setTabOrder(stops[i - 1], stops[i]);

    for (const char *name : {"rzgrpbx_resetalleq", "rzgrpbx_searchID", "rzgrpbx_sch_result"})
        if (auto *box = window->findChild<QWidget *>(QLatin1String(name))) new BoxFocus(box);

    auto *menus = new QShortcut(QKeySequence(Qt::Key_F10), window);
    menus->setObjectName(QStringLiteral("sct_menu"));
    QObject::connect(menus, &QShortcut::activated, window, [window] {
        const QList<QAction *> actions = window->menuBar()->actions();
        if (!actions.isEmpty()) window->menuBar()->setActiveAction(actions.first());
    });
}

} // namespace spk
