#pragma once

#include "gui/DialogBase.h"

#include <memory>

namespace Ui {
class QuestionDialog;
}

// The question dialog (template 106): the question in the static text 1001,
// the buttons "はい" (6) and "いいえ" (7). It ends with the id of the button
// pressed, or 2 for Esc and the close box. The title is the one given,
// "quillon utility" when that is empty; it opens centred over its owner.
class QuestionDialog : public DialogBase {
    Q_OBJECT

public:
    static constexpr int TemplateNumber = 106;
    static constexpr int TextId = 1001;
    static constexpr int YesId = 6;
    static constexpr int NoId = 7;
    static constexpr int EscapeResult = 2;
    static constexpr const char* DefaultTitle = "quillon utility";

    QuestionDialog(QWidget* owner, const QString& text, const QString& title = QString());
    ~QuestionDialog() override;

    // Asks modally over owner; true only for "はい".
    static bool ask(QWidget* owner, const QString& text, const QString& title = QString());

public slots:
    void reject() override;

private:
    std::unique_ptr<Ui::QuestionDialog> m_ui;
};
