#include "gui/QtDialogHost.h"

#include "gui/NoticeDialog.h"
#include "gui/QtText.h"
#include "gui/QuestionDialog.h"

#include <QApplication>

QtDialogHost::QtDialogHost() = default;

QtDialogHost::~QtDialogHost() = default;

void QtDialogHost::notice(const std::string& text, const std::string& title)
{
    NoticeDialog::showNotice(owner(), fromCp932(text), fromCp932(title));
}

bool QtDialogHost::question(const std::string& text, const std::string& title)
{
    return QuestionDialog::ask(owner(), fromCp932(text), fromCp932(title));
}

QWidget* QtDialogHost::owner()
{
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return QApplication::activeWindow();
}
