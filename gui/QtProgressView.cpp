#include "gui/QtProgressView.h"

#include "gui/ProgressDialog.h"
#include "gui/QtText.h"
#include "ui/UxProgressDialog.h"

#include <QApplication>

QtProgressView::QtProgressView() = default;

QtProgressView::~QtProgressView()
{
    for (auto& entry : m_windows)
        delete entry.second.data();
}

void QtProgressView::opened(UxProgressDialog& dialog)
{
    auto* window = new ProgressDialog(QApplication::activeWindow());
    window->setWindowTitle(fromCp932(dialog.title()));
    window->setText(fromCp932(dialog.text()));
    window->setBar(dialog.showsBar(), dialog.minimum(), dialog.maximum(), dialog.position());
    window->setCancellable(dialog.isCancellable());
    // Work goes on while the window is shown: it takes the user's input
    // without blocking, and keeps it from every other window meanwhile.
    window->setWindowModality(Qt::ApplicationModal);
    QObject::connect(window, &ProgressDialog::cancelPressed, window,
                     [&dialog] { dialog.pressCancel(); });
    window->adjustSize();
    window->centre();
    window->show();
    m_windows[&dialog] = window;
}

void QtProgressView::textChanged(UxProgressDialog& dialog)
{
    if (ProgressDialog* shown = window(dialog))
        shown->setText(fromCp932(dialog.text()));
}

void QtProgressView::positionChanged(UxProgressDialog& dialog)
{
    if (ProgressDialog* shown = window(dialog))
        shown->setPosition(dialog.position());
}

void QtProgressView::pump(UxProgressDialog& dialog)
{
    (void)dialog;
    QCoreApplication::processEvents();
}

void QtProgressView::closed(UxProgressDialog& dialog)
{
    auto found = m_windows.find(&dialog);
    if (found == m_windows.end())
        return;
    ProgressDialog* window = found->second.data();
    m_windows.erase(found);
    delete window;
}

ProgressDialog* QtProgressView::window(const UxProgressDialog& dialog) const
{
    auto found = m_windows.find(&dialog);
    return found == m_windows.end() ? nullptr : found->second.data();
}
