#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace spk {

// A line behind a device server as typed into the network port form; checked by the caller.
struct NetworkPortFields
{
    QString host;
    QString port;
    bool rfc2217 = false; // telnet com-port control; raw TCP otherwise
};

// Every question, message and file dialog of the editor goes through here, so tests can answer.
class Dialogs
{
public:
    virtual ~Dialogs();
    virtual void information(QWidget *parent, const QString &text) = 0;
    // A warning question with Yes and No; true for Yes.
    virtual bool question(QWidget *parent, const QString &text) = 0;
    // A question with these buttons, the last one the Escape answer; the index of the button
    // pressed (the last when the box is closed).
    virtual int choose(QWidget *parent, const QString &text, const QStringList &buttons) = 0;
    // Empty when cancelled. filter is in Qt's form, e.g. "(*.sdat) (*.sdat)".
    virtual QString openFile(QWidget *parent, const QString &filter, const QString &defaultSuffix) = 0;
    virtual QString saveFile(QWidget *parent, const QString &filter, const QString &defaultSuffix,
                             const QString &initialName, bool confirmOverwrite) = 0;
    // The network port form, opened with fields as given (what was typed before a refusal); false
    // when cancelled, fields then as they were.
    virtual bool networkPort(QWidget *parent, NetworkPortFields &fields) = 0;
};

class QtDialogs : public Dialogs
{
public:
    void information(QWidget *parent, const QString &text) override;
    bool question(QWidget *parent, const QString &text) override;
    int choose(QWidget *parent, const QString &text, const QStringList &buttons) override;
    QString openFile(QWidget *parent, const QString &filter, const QString &defaultSuffix) override;
    QString saveFile(QWidget *parent, const QString &filter, const QString &defaultSuffix,
                     const QString &initialName, bool confirmOverwrite) override;
    bool networkPort(QWidget *parent, NetworkPortFields &fields) override;
};

} // namespace spk
