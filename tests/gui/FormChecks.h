#pragma once

#include "LayoutChecks.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPalette>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextDocument>
#include <QTextEdit>
#include <QWidget>
#include <gtest/gtest.h>

// Checks shared by the tests of the larger forms: that a form fits a small
// laptop screen and stays whole when it is made small or its text large,
// which controls a keyboard user can reach, and that it keeps to the
// palette it is given.

namespace formchecks {

// A 1366 x 768 screen with a 48-pixel panel leaves 720 pixels, and the
// window manager's title bar takes about 30 to 40 of them.
constexpr int ScreenWidth = 1366;
constexpr int ClientHeightRoom = 768 - 48 - 40;

// How dark or light a colour looks (0 black to 255 white), by the weights
// of the sRGB luma.
inline int lightness(const QColor& colour)
{
    return (colour.red() * 299 + colour.green() * 587 + colour.blue() * 114) / 1000;
}

} // namespace formchecks

// The form as it first opens (before the window manager has a say) and at
// its minimum size fits the screen, and at both sizes nothing overlaps or is
// cut; nor at the minimum size once its text is half as large again, as
// scaling the desktop makes it.
inline void expectFitsASmallScreen(QWidget* form)
{
    using namespace formchecks;
    ASSERT_NE(form->layout(), nullptr) << "a form placed by hand does not adapt";
    form->layout()->activate();
    EXPECT_LE(form->width(), ScreenWidth);
    EXPECT_LE(form->height(), ClientHeightRoom);
    const QSize minimum = form->minimumSize();
    EXPECT_FALSE(minimum.isEmpty()) << "the layout gives the window its minimum size";
    EXPECT_LE(minimum.width(), ScreenWidth);
    EXPECT_LE(minimum.height(), ClientHeightRoom);

    form->show();
    EXPECT_EQ(layoutProblems(form), QStringList()) << "as it opens";
    EXPECT_EQ(layoutProblemsAtMinimumSize(form), QStringList()) << "at its minimum size";

    QFont larger = form->font();
    larger.setPointSizeF(larger.pointSizeF() * 1.5);
    form->setFont(larger);
    form->layout()->activate();
    EXPECT_EQ(layoutProblemsAtMinimumSize(form), QStringList()) << "with larger text";
}

// The controls under form that Tab reaches: visible, enabled, taking focus
// by Tab, and a control rather than a part of one.
inline QList<QWidget*> keyboardControls(QWidget* form)
{
    QList<QWidget*> controls;
    for (QWidget* widget : form->findChildren<QWidget*>()) {
        const bool control = qobject_cast<QAbstractButton*>(widget) ||
                             qobject_cast<QLineEdit*>(widget) || qobject_cast<QComboBox*>(widget) ||
                             qobject_cast<QTextEdit*>(widget) ||
                             qobject_cast<QAbstractItemView*>(widget);
        if (control && widget->isVisibleTo(form) && widget->isEnabled() &&
            (widget->focusPolicy() & Qt::TabFocus) && !qobject_cast<QComboBox*>(widget->parent()))
            controls.append(widget);
    }
    return controls;
}

// Applies a dark palette to the whole application while it lives.
class DarkPaletteScope {
public:
    DarkPaletteScope() : m_previous(QApplication::palette())
    {
        QPalette dark;
        const QColor window(0x2b, 0x2b, 0x2b), base(0x1e, 0x1e, 0x1e), text(0xee, 0xee, 0xee);
        for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
            dark.setColor(group, QPalette::Window, window);
            dark.setColor(group, QPalette::WindowText, text);
            dark.setColor(group, QPalette::Base, base);
            dark.setColor(group, QPalette::AlternateBase, window);
            dark.setColor(group, QPalette::Text, text);
            dark.setColor(group, QPalette::Button, window);
            dark.setColor(group, QPalette::ButtonText, text);
        }
        dark.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x90, 0x90, 0x90));
        dark.setColor(QPalette::Disabled, QPalette::Text, QColor(0x90, 0x90, 0x90));
        dark.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x90, 0x90, 0x90));
        QApplication::setPalette(dark);
    }
    ~DarkPaletteScope() { QApplication::setPalette(m_previous); }
    DarkPaletteScope(const DarkPaletteScope&) = delete;
    DarkPaletteScope& operator=(const DarkPaletteScope&) = delete;

private:
    QPalette m_previous;
};

// Nothing under form brings colours of its own (a style sheet, a palette
// set on a widget, a colour in a text box's content), so that under the dark
// palette every text is light on dark: labels and buttons on the window,
// fields on their base.
inline void expectReadableInTheApplicationsPalette(QWidget* form)
{
    using formchecks::lightness;
    EXPECT_TRUE(form->styleSheet().isEmpty());
    int texts = 0;
    for (QWidget* widget : form->findChildren<QWidget*>()) {
        const std::string name = widget->objectName().toStdString();
        EXPECT_TRUE(widget->styleSheet().isEmpty()) << name;
        EXPECT_FALSE(widget->testAttribute(Qt::WA_SetPalette)) << name;
        const QPalette& palette = widget->palette();
        const auto group = widget->isEnabled() ? QPalette::Active : QPalette::Disabled;
        QPalette::ColorRole fore = QPalette::NoRole, back = QPalette::NoRole;
        if (qobject_cast<QLabel*>(widget) || qobject_cast<QAbstractButton*>(widget)) {
            fore = qobject_cast<QLabel*>(widget) ? QPalette::WindowText : QPalette::ButtonText;
            back = QPalette::Window;
        } else if (qobject_cast<QLineEdit*>(widget) || qobject_cast<QTextEdit*>(widget)) {
            fore = QPalette::Text;
            back = QPalette::Base;
        }
        if (fore == QPalette::NoRole)
            continue;
        ++texts;
        EXPECT_GE(lightness(palette.color(group, fore)) - lightness(palette.color(group, back)), 80)
            << name;
        // A text box's content may carry colours of its own.
        if (auto* box = qobject_cast<QTextEdit*>(widget)) {
            for (QTextBlock block = box->document()->begin(); block.isValid();
                 block = block.next()) {
                for (auto piece = block.begin(); !piece.atEnd(); ++piece) {
                    const QTextCharFormat format = piece.fragment().charFormat();
                    if (format.hasProperty(QTextFormat::ForegroundBrush)) {
                        EXPECT_GE(lightness(format.foreground().color()), 128) << name;
                    }
                }
            }
        }
    }
    EXPECT_GT(texts, 0);
}
