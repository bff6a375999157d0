#pragma once

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QSizeGrip>
#include <QStringList>
#include <QWidget>
#include <ostream>

// Checks of a window's geometry as a user sees it: nothing the user reads or
// works with lies over another, is cut off by the window or its frame, or is
// smaller than it needs to show its text. They return what is wrong, one
// line each, so that a test can print them all at once:
//
//     EXPECT_EQ(layoutProblems(&dialog), QStringList());

namespace layoutchecks {

inline QString describe(const QWidget* widget)
{
    QString name = widget->objectName();
    if (name.isEmpty())
        name = QString::fromLatin1(widget->metaObject()->className());
    if (!widget->accessibleName().isEmpty())
        name += QStringLiteral(" \"") + widget->accessibleName() + QLatin1Char('"');
    return name;
}

// The widgets a user sees as one thing each: controls, labels and frames.
// The inner parts of a control (a combo box's line edit, a view's viewport
// and scroll bars, a spin box's editor) belong to it and are not checked on
// their own.
inline void collectLeaves(QWidget* parent, QList<QWidget*>& out)
{
    for (QObject* object : parent->children()) {
        auto* widget = qobject_cast<QWidget*>(object);
        // A size grip lies over the corner on purpose: it paints its dots
        // only, and the window is resized by it.
        if (!widget || widget->isHidden() || widget->isWindow() || qobject_cast<QSizeGrip*>(widget))
            continue;
        const bool container =
            widget->layout() != nullptr && !qobject_cast<QAbstractScrollArea*>(widget);
        if (qobject_cast<QGroupBox*>(widget)) {
            out.append(widget);
            collectLeaves(widget, out);
        } else if (container) {
            collectLeaves(widget, out);
        } else {
            out.append(widget);
        }
    }
}

inline bool isAncestor(const QWidget* ancestor, const QWidget* widget)
{
    for (const QWidget* w = widget->parentWidget(); w; w = w->parentWidget()) {
        if (w == ancestor)
            return true;
    }
    return false;
}

inline QRect rectInWindow(const QWidget* widget, const QWidget* window)
{
    return QRect(widget->mapTo(window, QPoint(0, 0)), widget->size());
}

} // namespace layoutchecks

// Readable failures: the problems one per line.
inline void PrintTo(const QStringList& lines, std::ostream* out)
{
    *out << "{";
    for (const QString& line : lines)
        *out << "\n  " << line.toStdString();
    *out << (lines.isEmpty() ? "}" : "\n}");
}

// What is wrong with the window's layout at its present size: two visible
// widgets that overlap (a group box with what it frames excepted), a widget
// that reaches beyond the window's client area, and a button or label
// narrower or lower than it needs for its text.
inline QStringList layoutProblems(QWidget* window)
{
    using namespace layoutchecks;
    // Layouts take their geometry when the window is shown or its events run.
    QApplication::processEvents();
    QList<QWidget*> leaves;
    collectLeaves(window, leaves);
    QStringList problems;
    const QRect client = window->rect();
    for (qsizetype i = 0; i < leaves.size(); ++i) {
        QWidget* a = leaves[i];
        const QRect ra = rectInWindow(a, window);
        if (!client.contains(ra))
            problems << describe(a) + QStringLiteral(" lies beyond the window");
        const QSize need = a->minimumSizeHint();
        if (need.isValid() && (a->width() < need.width() || a->height() < need.height()) &&
            (qobject_cast<QLabel*>(a) || qobject_cast<QAbstractButton*>(a)))
            problems << describe(a) + QStringLiteral(" is smaller than its text");
        for (qsizetype j = i + 1; j < leaves.size(); ++j) {
            QWidget* b = leaves[j];
            if (isAncestor(a, b) || isAncestor(b, a))
                continue;
            if (ra.intersects(rectInWindow(b, window)))
                problems << describe(a) + QStringLiteral(" overlaps ") + describe(b);
        }
    }
    return problems;
}

// The same at the window's minimum size, where overlaps show first.
inline QStringList layoutProblemsAtMinimumSize(QWidget* window)
{
    const QSize smallest = window->minimumSize().isEmpty() ? window->minimumSizeHint()
                                                           : window->minimumSize();
    window->resize(smallest);
    return layoutProblems(window);
}
