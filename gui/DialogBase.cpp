#include "gui/DialogBase.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QResizeEvent>
#include <QScreen>
#include <QShowEvent>
#include <QTextDocumentFragment>
#include <QTextEdit>
#include <QWindow>
#include <algorithm>

namespace {

// Rounds down, also for negative positions on a screen left of the primary.
int floorToMultipleOf8(int value)
{
    return value >= 0 ? value / 8 * 8 : -((-value + 7) / 8 * 8);
}

// The frame moved (not resized) into the area: right and bottom first, so
// that a window larger than the area keeps its top-left corner visible.
QRect pushedInto(QRect frame, const QRect& area)
{
    if (frame.right() > area.right())
        frame.moveRight(area.right());
    if (frame.bottom() > area.bottom())
        frame.moveBottom(area.bottom());
    if (frame.left() < area.left())
        frame.moveLeft(area.left());
    if (frame.top() < area.top())
        frame.moveTop(area.top());
    return frame;
}

QString plainLabelText(const QLabel& label)
{
    const QString text = label.text();
    if (label.textFormat() == Qt::RichText ||
        (label.textFormat() == Qt::AutoText && Qt::mightBeRichText(text)))
        return QTextDocumentFragment::fromHtml(text).toPlainText();
    return text;
}

// A widget the user works with, as opposed to a container or static text.
// Its children are its own parts (a combo box's line edit, a view's header
// and scroll bars) and are not named on their own.
bool isControl(const QWidget* widget)
{
    return qobject_cast<const QAbstractButton*>(widget) || qobject_cast<const QLineEdit*>(widget) ||
           qobject_cast<const QComboBox*>(widget) ||
           qobject_cast<const QAbstractSpinBox*>(widget) ||
           qobject_cast<const QTextEdit*>(widget) || qobject_cast<const QPlainTextEdit*>(widget) ||
           qobject_cast<const QAbstractItemView*>(widget) ||
           qobject_cast<const QAbstractSlider*>(widget) ||
           qobject_cast<const QProgressBar*>(widget);
}

void nameUnder(QWidget* parent, const QString& frameTitle,
               const QHash<const QWidget*, QString>& buddyLabels)
{
    for (QObject* object : parent->children()) {
        auto* widget = qobject_cast<QWidget*>(object);
        if (!widget)
            continue;
        if (auto* group = qobject_cast<QGroupBox*>(widget)) {
            const QString title = DialogBase::withoutMnemonics(group->title());
            if (group->accessibleName().isEmpty())
                group->setAccessibleName(title);
            nameUnder(group, title, buddyLabels);
            continue;
        }
        if (!isControl(widget)) {
            nameUnder(widget, frameTitle, buddyLabels);
            continue;
        }
        if (!widget->accessibleName().isEmpty())
            continue;
        QString label;
        if (auto* button = qobject_cast<QAbstractButton*>(widget))
            label = DialogBase::withoutMnemonics(button->text());
        else if (buddyLabels.contains(widget))
            label = buddyLabels.value(widget);
        else
            label = frameTitle;
        if (!label.isEmpty())
            widget->setAccessibleName(label);
    }
}

} // namespace

DialogBase::DialogBase(QWidget* parent) : QDialog(parent) {}

DialogBase::~DialogBase() = default;

QWidget* DialogBase::control(int id) const
{
    const QList<QWidget*> widgets = findChildren<QWidget*>();
    for (QWidget* widget : widgets) {
        const QVariant value = widget->property(ControlIdProperty);
        if (value.isValid() && value.toInt() == id)
            return widget;
    }
    return nullptr;
}

QString DialogBase::textOfControl(int id) const
{
    QWidget* widget = control(id);
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        return edit->text();
    if (auto* combo = qobject_cast<QComboBox*>(widget))
        return combo->currentText();
    if (auto* text = qobject_cast<QTextEdit*>(widget))
        return text->toPlainText();
    if (auto* plain = qobject_cast<QPlainTextEdit*>(widget))
        return plain->toPlainText();
    if (auto* label = qobject_cast<QLabel*>(widget))
        return label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        return button->text();
    if (auto* group = qobject_cast<QGroupBox*>(widget))
        return group->title();
    return {};
}

void DialogBase::disable(std::initializer_list<int> ids)
{
    for (int id : ids) {
        if (id < 0)
            continue;
        if (QWidget* widget = control(id))
            widget->setEnabled(false);
    }
}

int DialogBase::checkedRadio(std::initializer_list<int> ids) const
{
    int position = 0;
    for (int id : ids) {
        if (position >= 10)
            break;
        auto* button = qobject_cast<QAbstractButton*>(control(id));
        if (button && button->isChecked())
            return position;
        ++position;
    }
    return -1;
}

void DialogBase::registerAnchor(int id, int flags)
{
    QWidget* widget = control(id);
    if (!widget)
        return;
    const QRect g = widget->geometry();
    const QRect client = rect();
    Anchor anchor{id,
                  flags,
                  g.x(),
                  g.y(),
                  g.x() + g.width() - client.width(),
                  g.y() + g.height() - client.height(),
                  g.width(),
                  g.height()};
    auto same = std::find_if(m_anchors.begin(), m_anchors.end(),
                             [id](const Anchor& a) { return a.id == id; });
    if (same != m_anchors.end())
        *same = anchor;
    else
        m_anchors.push_back(anchor);
}

void DialogBase::applyAnchors()
{
    const QRect client = rect();
    for (const Anchor& a : m_anchors) {
        QWidget* widget = control(a.id);
        if (!widget)
            continue;
        int left = a.left;
        int top = a.top;
        int width = a.width;
        int height = a.height;
        if (a.flags & FollowRight) {
            if (a.flags & StretchRight)
                width = client.width() + a.right - left;
            else
                left = client.width() + a.right - width;
        }
        if (a.flags & FollowBottom) {
            if (a.flags & StretchBottom)
                height = client.height() + a.bottom - top;
            else
                top = client.height() + a.bottom - height;
        }
        widget->setGeometry(left, top, std::max(width, MinimumAnchoredSize),
                            std::max(height, MinimumAnchoredSize));
    }
    update();
}

void DialogBase::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    applyAnchors();
}

QRect DialogBase::placementArea() const
{
    if (QWidget* parent = parentWidget())
        return parent->window()->frameGeometry();
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect();
}

void DialogBase::centre(int x, int y, bool clamp)
{
    const QRect area = placementArea();
    QRect frame = frameGeometry();
    const int left = x == -1 ? area.x() + (area.width() - frame.width()) / 2 : area.x() + x;
    const int top = y == -1 ? area.y() + (area.height() - frame.height()) / 2 : area.y() + y;
    frame.moveTopLeft(QPoint(floorToMultipleOf8(left + 4), top));
    moveClamped(frame, clamp);
}

void DialogBase::place(int x, int y, int width, int height, bool clamp)
{
    // The client area takes the size: the toolkit sizes a window without
    // its frame, which the window manager adds.
    if (width > 0 || height > 0)
        resize(width > 0 ? width : this->width(), height > 0 ? height : this->height());
    const QRect area = placementArea();
    QRect frame = frameGeometry();
    frame.moveTopLeft(area.topLeft() + QPoint(x, y));
    moveClamped(frame, clamp);
}

void DialogBase::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // A spontaneous show is the window manager giving back a minimised
    // window: it stays where the user had it.
    if (m_keepInsideScreen && isWindow() && !event->spontaneous())
        keepInsideScreen();
}

QMargins DialogBase::frameMarginsEstimate() const
{
    if (const QWindow* window = windowHandle(); window && window->isVisible()) {
        const QMargins own = window->frameMargins();
        if (!own.isNull())
            return own;
    }
    // Before its first show the window has no frame yet; the window manager
    // will give it the same kind of frame as its parent.
    if (const QWidget* parent = parentWidget()) {
        const QWidget* top = parent->window();
        const QRect outer = top->frameGeometry();
        const QRect inner = top->geometry();
        return QMargins(inner.left() - outer.left(), inner.top() - outer.top(),
                        outer.right() - inner.right(), outer.bottom() - inner.bottom());
    }
    return QMargins();
}

void DialogBase::keepInsideScreen()
{
    QScreen* screen = nullptr;
    if (const QWidget* parent = parentWidget())
        screen = parent->window()->screen();
    if (!screen)
        screen = QGuiApplication::screenAt(frameGeometry().center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect work = screen->availableGeometry();
    const QMargins margins = frameMarginsEstimate();
    // A window larger than the area gives up size first, never below what
    // its layout needs.
    const QSize room = work.size().shrunkBy(margins);
    const QSize fitted = size().boundedTo(room).expandedTo(minimumSize());
    if (fitted != size())
        resize(fitted);
    const QRect frame = pushedInto(QRect(pos(), size().grownBy(margins)), work);
    if (frame.topLeft() != pos())
        move(frame.topLeft());
}

void DialogBase::moveClamped(QRect frame, bool clamp)
{
    if (clamp) {
        QScreen* screen = QGuiApplication::screenAt(frame.center());
        if (!screen)
            screen = this->screen();
        const QRect work = screen ? screen->availableGeometry() : QRect();
        if (work.isValid())
            frame = pushedInto(frame, work);
    }
    move(frame.topLeft());
}

void DialogBase::nameControlsByLabels(QWidget* root)
{
    if (!root)
        return;
    QHash<const QWidget*, QString> buddyLabels;
    const QList<QLabel*> labels = root->findChildren<QLabel*>();
    for (const QLabel* label : labels) {
        if (label->buddy())
            buddyLabels.insert(label->buddy(), withoutMnemonics(plainLabelText(*label)));
    }
    nameUnder(root, QString(), buddyLabels);
}

QString DialogBase::withoutMnemonics(const QString& label)
{
    QString out;
    out.reserve(label.size());
    for (qsizetype i = 0; i < label.size(); ++i) {
        if (label[i] != u'&') {
            out += label[i];
            continue;
        }
        // A doubled "&" stands for one shown; a single one marks the next
        // character and is not shown.
        if (i + 1 < label.size() && label[i + 1] == u'&') {
            out += u'&';
            ++i;
        }
    }
    return out;
}
