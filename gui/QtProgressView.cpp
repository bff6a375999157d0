#include "gui/QtProgressView.h"

#include "gui/ProgressDialog.h"
#include "gui/QtText.h"
#include "ui/UxProgressDialog.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QWindow>

QtProgressView::QtProgressView() = default;

QtProgressView::~QtProgressView()
{
    for (auto& entry : m_windows)
        delete entry.second.window.data();
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
    // The work starts right after this, and the first pass of events only
    // paints the window once the display has mapped it: wait for that a
    // little, so that the window is there before the first unit of work.
    QElapsedTimer mapping;
    mapping.start();
    while (window->windowHandle() && !window->windowHandle()->isExposed() &&
           !mapping.hasExpired(MappingWait))
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 10);
    Shown& shown = m_windows[&dialog];
    shown.window = window;
    shown.sinceRefresh.start();
}

void QtProgressView::textChanged(UxProgressDialog& dialog)
{
    refresh(dialog, true);
}

void QtProgressView::positionChanged(UxProgressDialog& dialog)
{
    refresh(dialog, true);
}

void QtProgressView::pump(UxProgressDialog& dialog)
{
    refresh(dialog, false);
    auto found = m_windows.find(&dialog);
    if (found != m_windows.end()) {
        QElapsedTimer& sinceEvents = found->second.sinceEvents;
        if (sinceEvents.isValid() && !sinceEvents.hasExpired(EventInterval))
            return;
        sinceEvents.start();
    }
    // The entry may go while the events are processed: it is not used after.
    QCoreApplication::processEvents();
}

void QtProgressView::refresh(UxProgressDialog& dialog, bool changed)
{
    auto found = m_windows.find(&dialog);
    if (found == m_windows.end() || !found->second.window)
        return;
    Shown& shown = found->second;
    shown.pending = shown.pending || changed;
    if (!shown.pending || !shown.sinceRefresh.hasExpired(RefreshInterval))
        return;
    shown.window->setText(fromCp932(dialog.text()));
    shown.window->setPosition(dialog.position());
    shown.pending = false;
    shown.sinceRefresh.restart();
}

void QtProgressView::closed(UxProgressDialog& dialog)
{
    auto found = m_windows.find(&dialog);
    if (found == m_windows.end())
        return;
    ProgressDialog* window = found->second.window.data();
    m_windows.erase(found);
    delete window;
}

ProgressDialog* QtProgressView::windowOf(const UxProgressDialog& dialog) const
{
    auto found = m_windows.find(&dialog);
    return found == m_windows.end() ? nullptr : found->second.window.data();
}
