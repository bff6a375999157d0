#pragma once

#include "app/CharacterSelectionModel.h"
#include "gui/DialogBase.h"
#include "ui/UxListViewControl.h"

#include <memory>

namespace Ui {
class CharacterSelectionDialog;
}

// The dialog "印刷するキャラの選択" (template 104): one row per character
// with a check box, its name and word count; "全て選択", "全て解除", a double
// click that toggles the row, OK and "中止". The window works on a copy of
// the model's ticks, so that "中止" leaves the model as it was; OK reads the
// list's ticks back into the model. The list follows the window's size.
// Return presses OK and Esc "中止", from the list too; Return on a focused
// button presses that button.
class CharacterSelectionDialog : public DialogBase {
    Q_OBJECT

public:
    static constexpr int TemplateNumber = CharacterSelectionModel::DialogTemplate;
    static constexpr int ListId = 1000;
    static constexpr int SelectAllId = 1001;
    static constexpr int ClearAllId = 1002;
    static constexpr int OkId = 1;
    static constexpr int CancelId = 2;

    CharacterSelectionDialog(QWidget* parent, CharacterSelectionModel& model);
    ~CharacterSelectionDialog() override;

    // Runs the dialog modally over parent; true for OK (the model then holds
    // the ticks), false for "中止" or closing the window (the model is
    // unchanged).
    static bool run(QWidget* parent, CharacterSelectionModel& model);

    const UxListViewControl& list() const { return m_list; }

public slots:
    void accept() override;

private:
    // Runs one of the working copy's operations on the ticks as the list
    // shows them now, then shows the result.
    template <class Operation> void changeTicks(Operation operation);
    void showTicks();

    std::unique_ptr<Ui::CharacterSelectionDialog> m_ui;
    CharacterSelectionModel& m_model;
    CharacterSelectionModel m_working;
    UxListViewControl m_list{true};
};
