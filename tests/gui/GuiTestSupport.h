#pragma once

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QElapsedTimer>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

// Helpers that let the gui tests work a window as a user would: find a
// control by the name a screen reader announces, act on a modal window once
// it is up, and collect what the toolkit complains about.

// The first widget of type T under root whose accessible name is name.
template <class T> T* byAccessibleName(QWidget* root, const QString& name)
{
    const QList<T*> widgets = root->findChildren<T*>();
    for (T* widget : widgets) {
        if (widget->accessibleName() == name)
            return widget;
    }
    return nullptr;
}

// The name a screen reader announces for the widget.
inline QString announcedName(QWidget* widget)
{
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    return face ? face->text(QAccessible::Name) : QString();
}

// The cells of a table as a screen reader reads them, row by row, each
// row's cells joined by "|".
inline QStringList readTable(QWidget* view)
{
    if (!view)
        return {QStringLiteral("<no view>")};
    // Offscreen no screen reader listens, so a view does not tell the
    // accessibility layer that its model was reset, and the cells that layer
    // keeps go stale; a fresh interface reads what a listening one would.
    if (QAccessibleInterface* kept = QAccessible::queryAccessibleInterface(view))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(kept));
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(view);
    QAccessibleTableInterface* table = face ? face->tableInterface() : nullptr;
    if (!table)
        return {QStringLiteral("<no table>")};
    QStringList rows;
    for (int row = 0; row < table->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < table->columnCount(); ++column) {
            QAccessibleInterface* cell = table->cellAt(row, column);
            cells << (cell ? cell->text(QAccessible::Name) : QStringLiteral("<none>"));
        }
        rows << cells.join(u'|');
    }
    return rows;
}

// Sets an editable field's text as an assistive tool does.
inline void setTextAccessibly(QWidget* widget, const QString& text)
{
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    ASSERT_NE(face, nullptr);
    ASSERT_NE(face->editableTextInterface(), nullptr);
    face->setText(QAccessible::Value, text);
}

// Does a control's action (press, toggle) as an assistive tool does.
inline void doAccessibly(QWidget* widget, const QString& action)
{
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    ASSERT_NE(face, nullptr);
    ASSERT_NE(face->actionInterface(), nullptr);
    face->actionInterface()->doAction(action);
}

// Runs act on the modal window the code under test is about to open, as
// soon as it is up (polling from the event loop that exec() runs). Whether
// it ran is in the returned flag, so that a window that never opened fails
// the test instead of hanging it: after five seconds without one, the
// helper gives up.
inline std::shared_ptr<bool> whenModalOpens(std::function<void(QWidget*)> act)
{
    auto ran = std::make_shared<bool>(false);
    auto timer = new QTimer;
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act, ran, clock] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal->isVisible()) {
            timer->stop();
            timer->deleteLater();
            *ran = true;
            act(modal);
        } else if (clock->elapsed() > 5000) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start();
    return ran;
}

// Collects the toolkit's warnings while it lives.
class QtWarningCollector {
public:
    QtWarningCollector() : m_previous(qInstallMessageHandler(&QtWarningCollector::handle))
    {
        s_current = this;
    }
    ~QtWarningCollector()
    {
        qInstallMessageHandler(m_previous);
        s_current = nullptr;
    }
    QtWarningCollector(const QtWarningCollector&) = delete;
    QtWarningCollector& operator=(const QtWarningCollector&) = delete;

    const QStringList& warnings() const { return m_warnings; }

private:
    static void handle(QtMsgType type, const QMessageLogContext&, const QString& message)
    {
        if (s_current && type != QtDebugMsg && type != QtInfoMsg)
            s_current->m_warnings.append(message);
    }

    QtMessageHandler m_previous;
    QStringList m_warnings;
    static inline QtWarningCollector* s_current = nullptr;
};
