#pragma once

#include "gui/DialogBase.h"

#include <memory>

namespace Ui {
class FindDialog;
}

class FindFileModel;

// The text-input window of the find command (template 107): the prompt in
// the read-only text box 1001, the search texts used before in the editable
// combo box 1020 (its edit text empty), OK (1) and "中止" (2). OK hands the
// combo box's text to the model and ends the dialog only when the model
// takes it; otherwise the prompt area shows the model's message.
class FindDialog : public DialogBase {
    Q_OBJECT

public:
    static constexpr int TemplateNumber = 107;
    static constexpr int PromptId = 1001;
    static constexpr int InputId = 1020;
    static constexpr int OkId = 1;
    static constexpr int CancelId = 2;

    FindDialog(QWidget* parent, FindFileModel& model);
    ~FindDialog() override;

    // Runs the dialog modally; true when it ended with an accepted OK (the
    // model then holds the value and the history has the text).
    static bool run(QWidget* parent, FindFileModel& model);

public slots:
    // Esc and closing the window end the dialog as "中止" does.
    void reject() override;

private:
    void ok();
    void showPromptArea();

    std::unique_ptr<Ui::FindDialog> m_ui;
    FindFileModel& m_model;
};
