#pragma once

#include "gui/DialogBase.h"

#include <memory>

namespace Ui {
class ChangeCheckDialog;
}

class ChangeCheckDialogModel;
class FileChoosers;

// The dialog "変更点の確認": the older version ("前回の印刷から", or
// "比較する台本フォルダ" with the folders typed before and "参照") and
// "比較"; a character filter ("すべて" and the characters with changes) with
// the number of changes shown; the changes as a read-only table (種類, 番号,
// シーン, キャラクター, 変更前, 変更後); a read-only message area;
// "リテイク台本を印刷..." and "閉じる". A thin front over
// ChangeCheckDialogModel: the controls write their state into the model as
// it changes, the buttons run its operations and the window shows what
// they left. Enter compares, Esc closes.
class ChangeCheckDialog : public DialogBase {
    Q_OBJECT

public:
    static constexpr int SincePrintId = 1001;
    static constexpr int FolderRadioId = 1002;
    static constexpr int FolderId = 1003;
    static constexpr int BrowseId = 1004;
    static constexpr int CompareId = 1005;
    static constexpr int FilterId = 1006;
    static constexpr int CountId = 1007;
    static constexpr int TableId = 1008;
    static constexpr int MessageId = 1009;
    static constexpr int PrintId = 1010;
    static constexpr int CloseId = 2;

    // "参照" asks choosers; they outlive the dialog.
    ChangeCheckDialog(QWidget* parent, ChangeCheckDialogModel& model, const FileChoosers& choosers);
    ~ChangeCheckDialog() override;

    // Runs the dialog modally over parent until the user closes it.
    static void run(QWidget* parent, ChangeCheckDialogModel& model, const FileChoosers& choosers);

private:
    void connectControls();
    void browseFolder();
    void compare();
    void fillHistory();
    void fillFilter();
    // The source's controls, the count, the message and which buttons can
    // be used, as the model has them.
    void showState();

    std::unique_ptr<Ui::ChangeCheckDialog> m_ui;
    ChangeCheckDialogModel& m_model;
    const FileChoosers& m_choosers;
    // Set while the window fills the filter, which is no choice of the user.
    bool m_filling = false;
};
