#include "gui/QtProgressView.h"

#include "gui/ProgressDialog.h"
#include "gui/QtText.h"
#include "ui/UxProgressDialog.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QWindow>
#include <algorithm>

namespace {

// What a shown progress window keeps from every other window: the user's
// keys, clicks and drops, and the closing of a window. While a modal window
// is up (a question put while the work runs) it takes them itself.
class InputRefusal : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (QApplication::activeModalWidget())
            return QObject::eventFilter(watched, event);
        switch (event->type()) {
        case QEvent::Close:
            event->ignore();
            return true;
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::NonClientAreaMouseButtonPress:
        case QEvent::NonClientAreaMouseButtonRelease:
        case QEvent::NonClientAreaMouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TabletPress:
        case QEvent::TabletMove:
        case QEvent::TabletRelease:
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
        case QEvent::InputMethod:
            return true;
        default:
            return QObject::eventFilter(watched, event);
        }
    }
};

} // namespace

QtProgressView::QtProgressView() = default;

QtProgressView::~QtProgressView()
{
    for (auto& entry : m_windows)
        delete entry.second.window.data();
}

void QtProgressView::opened(UxProgressDialog& dialog)
{
    Shown& shown = m_windows[&dialog];
    if (dialog.showDelay() > 0) {
        shown.sinceOpened.start();
        guardInput();
        return;
    }
    show(dialog, shown);
}

void QtProgressView::show(UxProgressDialog& dialog, Shown& shown)
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
    shown.window = window;
    shown.sinceRefresh.start();
    shown.sinceEvents.invalidate();
    shown.sinceOpened.invalidate();
    shown.pending = false;
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
    auto found = m_windows.find(&dialog);
    // A load pumps after every file: one reading of the clock serves both
    // intervals below.
    QElapsedTimer now;
    now.start();
    if (found != m_windows.end() && found->second.sinceOpened.isValid() &&
        found->second.sinceOpened.msecsTo(now) > dialog.showDelay()) {
        show(dialog, found->second);
        guardInput();
    }
    refresh(dialog, false);
    if (found != m_windows.end()) {
        Shown& shown = found->second;
        const int interval = shown.sinceOpened.isValid() ? WaitingEventInterval : EventInterval;
        if (shown.sinceEvents.isValid() && shown.sinceEvents.msecsTo(now) <= interval)
            return;
        shown.sinceEvents.start();
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
    guardInput();
    delete window;
}

void QtProgressView::guardInput()
{
    const bool waiting = std::any_of(m_windows.begin(), m_windows.end(), [](const auto& entry) {
        return entry.second.sinceOpened.isValid();
    });
    if (waiting == bool(m_inputGuard))
        return;
    if (waiting) {
        m_inputGuard = std::make_unique<InputRefusal>();
        QCoreApplication::instance()->installEventFilter(m_inputGuard.get());
    } else {
        m_inputGuard.reset();
    }
}

ProgressDialog* QtProgressView::windowOf(const UxProgressDialog& dialog) const
{
    auto found = m_windows.find(&dialog);
    return found == m_windows.end() ? nullptr : found->second.window.data();
}
