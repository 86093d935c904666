#include "window/accessibledisplays.h"

#include "window/accessibletext.h"
#include "window/ledindicator.h"
#include "window/statuspanels.h"

#include <QLabel>

namespace spk {

namespace {

// A label named apart from its text: the name says what, the text is the figure.
class NamedFigure : public AccessibleShownText
{
public:
    explicit NamedFigure(QLabel *label) : AccessibleShownText(label, QAccessible::StaticText) {}
    QString shownText() const override { return static_cast<QLabel *>(object())->text(); }
};

class ConnectionText : public AccessibleShownText
{
public:
    explicit ConnectionText(ConnectionPanel *panel) : AccessibleShownText(panel, QAccessible::StaticText) {}
    QString shownText() const override { return static_cast<ConnectionPanel *>(object())->text().trimmed(); }
};

class Lamp : public AccessibleShownText
{
public:
    explicit Lamp(LedIndicator *led) : AccessibleShownText(led, QAccessible::Indicator) {}
    QString shownText() const override
    {
        return static_cast<LedIndicator *>(object())->isOn() ? QStringLiteral("on") : QStringLiteral("off");
    }
};

QAccessibleInterface *displayFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("QLabel")) {
        auto *label = qobject_cast<QLabel *>(object);
        // Captions and pictures are read as Qt reads them.
        if (!label || label->accessibleName().isEmpty() || label->text().isEmpty() ||
            label->accessibleName() == label->text())
            return nullptr;
        return new NamedFigure(label);
    }
    if (className == QLatin1String("spk::ConnectionPanel"))
        return new ConnectionText(static_cast<ConnectionPanel *>(object));
    if (className == QLatin1String("spk::LedIndicator")) return new Lamp(static_cast<LedIndicator *>(object));
    return nullptr;
}

} // namespace

void installAccessibleDisplays()
{
    static bool installed = false;
    if (installed) return;
    installed = true;
    QAccessible::installFactory(displayFactory);
}

} // namespace spk
