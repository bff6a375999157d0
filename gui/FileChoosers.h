#pragma once

#include <QString>
#include <functional>

class QWidget;

// How the windows ask the user for a folder or a file: the toolkit's
// dialogs, or the functions set here instead (a test's, which must not wait
// on a window of its own). The desktop program's environment holds the one
// its windows use; a window is given it when it is made.
class FileChoosers {
public:
    // (owner, caption, start folder) -> the chosen folder, empty when the
    // user cancelled.
    using FolderBrowser =
        std::function<QString(QWidget* owner, const QString& caption, const QString& start)>;
    // (owner, title, start, filters) -> the chosen file, empty when the user
    // cancelled.
    using FileChooser = std::function<QString(QWidget* owner, const QString& title,
                                              const QString& start, const QString& filters)>;

    // Empty: the toolkit's.
    FolderBrowser folderBrowser;
    FileChooser fileChooser;

    QString browseForFolder(QWidget* owner, const QString& caption, const QString& start) const;
    // A file that is read must exist; one that is written need not yet.
    enum class Purpose { Read, Write };
    QString chooseFile(QWidget* owner, const QString& title, const QString& start,
                       const QString& filters, Purpose purpose) const;
};
