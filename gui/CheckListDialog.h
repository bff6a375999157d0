#pragma once

#include "gui/DialogBase.h"

#include <memory>

namespace Ui {
class CheckListDialog;
}

class CheckListDialogModel;
class FileChoosers;

// The dialog "台本チェックリストの出力": the output folder with its "参照..."
// button, the format radios, the two list boxes, the list-unprinted option
// and a read-only message field. The window only shows the model's fields
// and hands OK to CheckListDialogModel::accept(); it closes with OK when the
// model agrees and otherwise shows the model's message.
class CheckListDialog : public DialogBase {
    Q_OBJECT

public:
    static constexpr int FolderId = 1001;
    static constexpr int BrowseId = 1002;
    static constexpr int CsvId = 1003;
    static constexpr int TextId = 1004;
    static constexpr int SceneListId = 1005;
    static constexpr int CharacterListId = 1006;
    static constexpr int ListUnprintedId = 1007;
    static constexpr int MessageId = 1008;
    static constexpr int OkId = 1;
    static constexpr int CancelId = 2;

    // The browse button asks choosers; they outlive the dialog.
    CheckListDialog(QWidget* parent, CheckListDialogModel& model, const FileChoosers& choosers);
    ~CheckListDialog() override;

    // Runs the dialog modally over parent; true when it closed with OK, the
    // model then holding the folder and the options.
    static bool run(QWidget* parent, CheckListDialogModel& model, const FileChoosers& choosers);

public slots:
    void accept() override;

private:
    void browse();
    // Copies the controls into the model; false (with the message shown)
    // when the folder box holds a name the program cannot keep.
    bool takeControls();
    void showMessage(const QString& text);

    std::unique_ptr<Ui::CheckListDialog> m_ui;
    CheckListDialogModel& m_model;
    const FileChoosers& m_choosers;
};
