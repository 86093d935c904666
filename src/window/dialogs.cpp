#include "window/dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

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

} // namespace spk
