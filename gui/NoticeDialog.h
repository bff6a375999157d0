#pragma once

#include "gui/DialogBase.h"

#include <memory>

namespace Ui {
class NoticeDialog;
}

// The notice dialog (template 103): a message in the read-only text box
// 1001 and the OK button 1; OK, Return or Esc end it, wherever the focus
// is. The title is the one given, "quillon utility" when that is empty.
//
// It opens as large as its text needs, within the screen's available area:
// no smaller than the form, wider for long lines up to the screen's width,
// taller for many lines up to the screen's height, with scroll bars beyond
// that. Paths wrap after a "/" (see NoticeTextEdit). The user can resize
// it, and select and copy the text; it opens centred over its owner.
class NoticeDialog : public DialogBase {
    Q_OBJECT

public:
    static constexpr int TemplateNumber = 103;
    static constexpr int TextId = 1001;
    static constexpr int OkId = 1;
    static constexpr const char* DefaultTitle = "quillon utility";

    NoticeDialog(QWidget* owner, const QString& text, const QString& title = QString());
    ~NoticeDialog() override;

    // Shows the notice modally over owner and returns when it is closed.
    static void showNotice(QWidget* owner, const QString& text, const QString& title = QString());

    // The message as given (the box shows it with break marks in paths).
    QString text() const;

private:
    // Sizes the window to the text within the screen (see above).
    void fitToText();

    std::unique_ptr<Ui::NoticeDialog> m_ui;
};
