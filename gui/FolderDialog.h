#pragma once

#include "gui/DialogBase.h"

#include <memory>

namespace Ui {
class FolderDialog;
}

class FileChoosers;
class FolderSelectionModel;

// The folder window of the folder command (template 222): the prompt in the
// read-only text box 1001, the folders chosen before in the editable combo
// box 1020 with the current folder as its edit text, "参照" (1018) for the
// folder browser, the check box 1011 that keeps the word totals over the
// next load, OK (1) and "中止" (2). OK hands the combo box's text and the
// check box to the model and ends the dialog only when the model takes
// them; otherwise the prompt area shows the model's message.
class FolderDialog : public DialogBase {
    Q_OBJECT

public:
    static constexpr int TemplateNumber = 222;
    static constexpr int PromptId = 1001;
    static constexpr int InputId = 1020;
    static constexpr int BrowseId = 1018;
    static constexpr int KeepWordTotalsId = 1011;
    static constexpr int OkId = 1;
    static constexpr int CancelId = 2;

    // "参照" asks choosers for the folder; they outlive the dialog.
    FolderDialog(QWidget* parent, FolderSelectionModel& model, const FileChoosers& choosers);
    ~FolderDialog() override;

    // Runs the dialog modally; true when it ended with an accepted OK. The
    // caller then calls the model's resolve.
    static bool run(QWidget* parent, FolderSelectionModel& model, const FileChoosers& choosers);

public slots:
    // Esc and closing the window end the dialog as "中止" does.
    void reject() override;

private:
    void ok();
    void browse();
    void showPromptArea();

    std::unique_ptr<Ui::FolderDialog> m_ui;
    FolderSelectionModel& m_model;
    const FileChoosers& m_choosers;
};
