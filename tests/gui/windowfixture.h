#pragma once

#include "app/mainwindow.h"
#include "model/timing.h"
#include "window/dialogs.h"
#include "window/editorstate.h"

#include <QAbstractSlider>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QWheelEvent>

#include <functional>
#include <memory>

// Dialogs that answer from a script and remember what was shown.
class ScriptedDialogs : public spk::Dialogs
{
public:
    QStringList shown;
    QList<bool> answers;
    QStringList files;

    void information(QWidget *, const QString &text) override { shown << text; }
    bool question(QWidget *, const QString &text) override
    {
        shown << text;
        if (whileOpen) whileOpen();
        return answers.isEmpty() ? false : answers.takeFirst();
    }
    // Answers of the questions with more than two buttons, by index; the last button when none is left.
    QList<int> choices;
    int choose(QWidget *, const QString &text, const QStringList &buttons) override
    {
        shown << text;
        if (whileOpen) whileOpen();
        return choices.isEmpty() ? int(buttons.size()) - 1 : choices.takeFirst();
    }
    // How each file dialog was set up: "filter|suffix" to open, "filter|suffix|name|ask" to save.
    QStringList fileDialogs;

    QString openFile(QWidget *, const QString &filter, const QString &suffix) override
    {
        fileDialogs << filter + u'|' + suffix;
        return files.isEmpty() ? QString() : files.takeFirst();
    }
    QString saveFile(QWidget *, const QString &filter, const QString &suffix, const QString &name,
                     bool ask) override
    {
        fileDialogs << QStringList{filter, suffix, name, ask ? QStringLiteral("ask") : QString()}.join(u'|');
        if (whileOpen) whileOpen();
        return files.isEmpty() ? QString() : files.takeFirst();
    }
    // Answers of the network port form in turn, cancelled when none is left; what it opened with.
    QList<spk::NetworkPortFields> networkAnswers;
    QList<spk::NetworkPortFields> networkOpened;
    bool networkPort(QWidget *, spk::NetworkPortFields &fields) override
    {
        networkOpened << fields;
        if (networkAnswers.isEmpty()) return false;
        fields = networkAnswers.takeFirst();
        return true;
    }
    // Runs while a question or a save dialog is open, as the user takes their time.
    std::function<void()> whileOpen;
};

// Presses Tab where the focus is until the named control has it; false after limit presses.
inline bool tabTo(const QString &name, int limit = 200)
{
    for (int i = 0; i < limit; ++i) {
        QWidget *f = QApplication::focusWidget();
        if (f && f->objectName() == name) return true;
        QTest::keyClick(f ? f : QApplication::activeWindow(), Qt::Key_Tab);
    }
    return false;
}

// A shown, active main window at a fast time scale, and the small moves every test makes.
class WindowFixture
{
public:
    explicit WindowFixture(bool loading = true)
    {
        spk::setTimeScale(0.02);
        window = std::make_unique<spk::MainWindow>(spk::MainWindowOptions{&dialogs, nullptr, false});
        window->show();
        window->activateWindow();
        QApplication::setActiveWindow(window.get());
        if (!QTest::qWaitForWindowActive(window.get())) qWarning("main window did not become active");
        window->state().Loading = loading;
    }
    ~WindowFixture() { window.reset(); }

    spk::EditorState &state() { return window->state(); }

    // A missing control fails the test with its name (and stops: the test cannot go on).
    template <typename T = QWidget> T *ctl(const QString &name)
    {
        T *w = window->findChild<T *>(name);
        if (!w) {
            const QByteArray what = "no control " + name.toUtf8();
            QTest::qFail(what.constData(), __FILE__, __LINE__);
            qFatal("%s", what.constData());
        }
        return w;
    }
    QString text(const QString &name) { return ctl<QLineEdit>(name)->text(); }

    // Click into an edit (enter + mouse up select its text), type, and optionally press Enter.
    void type(const QString &name, const QString &keys, bool enter = true)
    {
        QLineEdit *e = ctl<QLineEdit>(name);
        QTest::mouseClick(e, Qt::LeftButton, {}, QPoint(5, e->height() / 2));
        e->selectAll();
        QTest::keyClicks(e, keys);
        if (enter) QTest::keyClick(e, Qt::Key_Return);
    }
    // Picks a list item with the keyboard, as the user does (the list's handler runs).
    void choose(const QString &name, int index)
    {
        QComboBox *c = ctl<QComboBox>(name);
        c->setFocus(Qt::MouseFocusReason);
        while (c->currentIndex() < index)
            QTest::keyClick(c, Qt::Key_Down);
        while (c->currentIndex() > index)
            QTest::keyClick(c, Qt::Key_Up);
    }
    // Clicks one half of a spin button pair.
    void spin(const QString &name, bool up)
    {
        QWidget *pair = ctl<QWidget>(name);
        QTest::mouseClick(pair->findChild<QWidget *>(up ? QStringLiteral("up") : QStringLiteral("down")),
                          Qt::LeftButton);
    }
    // Moves the focus away from whatever holds it, as a click elsewhere would.
    void leave() { ctl<QLineEdit>(QStringLiteral("edt_empty"))->setFocus(Qt::MouseFocusReason); }

    // One wheel notch over a control; true when the window used it.
    bool wheel(QWidget *over, int delta)
    {
        const QPointF pos(over->width() / 2.0, over->height() / 2.0);
        QWheelEvent e(pos, over->mapToGlobal(pos), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
        e.setAccepted(false);
        QApplication::sendEvent(over, &e);
        return e.isAccepted();
    }

    int band(int b, int offset) const
    {
        return window->state().ParamImage.byte(spk::bandRecord(spk::Ip0, b), offset);
    }
    int bandWord(int b, int offset) const
    {
        return window->state().ParamImage.word(spk::bandRecord(spk::Ip0, b), offset);
    }

    ScriptedDialogs dialogs;
    std::unique_ptr<spk::MainWindow> window;
};
