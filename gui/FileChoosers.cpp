#include "gui/FileChoosers.h"

#include <QFileDialog>

QString FileChoosers::browseForFolder(QWidget* owner, const QString& caption,
                                      const QString& start) const
{
    if (folderBrowser)
        return folderBrowser(owner, caption, start);
    return QFileDialog::getExistingDirectory(owner, caption, start, QFileDialog::ShowDirsOnly);
}

QString FileChoosers::chooseFile(QWidget* owner, const QString& title, const QString& start,
                                 const QString& filters, Purpose purpose) const
{
    if (fileChooser)
        return fileChooser(owner, title, start, filters);
    if (purpose == Purpose::Read)
        return QFileDialog::getOpenFileName(owner, title, start, filters);
    // The file is created by whoever writes it.
    QFileDialog dialog(owner, title, start, filters);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}
