#include "window/dialogs.h"

#include "window/networkportdialog.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace spk {

Dialogs::~Dialogs() = default;

void QtDialogs::information(QWidget *parent, const QString &text)
{
    QMessageBox::information(parent, QApplication::applicationName(), text);
}

bool QtDialogs::question(QWidget *parent, const QString &text)
{
    return QMessageBox::warning(parent, QApplication::applicationName(), text,
                                QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

int QtDialogs::choose(QWidget *parent, const QString &text, const QStringList &buttons)
{
    QMessageBox box(QMessageBox::Question, QApplication::applicationName(), text, QMessageBox::NoButton,
                    parent);
    QList<QAbstractButton *> added;
    for (const QString &caption : buttons)
        added << box.addButton(caption, added.size() + 1 == buttons.size() ? QMessageBox::RejectRole
                                                                           : QMessageBox::AcceptRole);
    if (!added.isEmpty()) {
        box.setDefaultButton(qobject_cast<QPushButton *>(added.first()));
        box.setEscapeButton(added.last());
    }
    box.exec();
    const int index = int(added.indexOf(box.clickedButton()));
    return index < 0 ? int(buttons.size()) - 1 : index;
}

QString QtDialogs::openFile(QWidget *parent, const QString &filter, const QString &defaultSuffix)
{
    QFileDialog dialog(parent, QString(), QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(defaultSuffix);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

QString QtDialogs::saveFile(QWidget *parent, const QString &filter, const QString &defaultSuffix,
                            const QString &initialName, bool confirmOverwrite)
{
    QFileDialog dialog(parent, QString(), initialName, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(defaultSuffix);
    if (!confirmOverwrite) dialog.setOption(QFileDialog::DontConfirmOverwrite);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

bool QtDialogs::networkPort(QWidget *parent, NetworkPortFields &fields)
{
    NetworkPortDialog dialog(parent);
    dialog.setFields(fields);
    if (dialog.exec() != QDialog::Accepted) return false;
    fields = dialog.fields();
    return true;
}

} // namespace spk
