#pragma once

#include "gui/DialogBase.h"

#include <QString>
#include <functional>
#include <memory>

namespace Ui {
class VoiceCheckDialog;
}

class FileChoosers;
class VoiceCheckDialogModel;

// The dialog "納品音声の確認": the delivery folder (a combo box with the
// folders typed before, "参照..."), the file-name pattern with what an empty
// one means, "内容も確認する" and "確認"; the per-character table and the
// problem list as read-only lists; a read-only message area; the sorting's
// options with "振り分け..."; "CSVに保存...", "未収録の台本を印刷..." and
// "閉じる". A thin front over VoiceCheckDialogModel: the controls write
// their state into the model as it changes, the buttons run its operations
// and the window shows what they left. Esc closes it.
class VoiceCheckDialog : public DialogBase {
    Q_OBJECT

public:
    static constexpr int DeliveryId = 1001;
    static constexpr int BrowseId = 1002;
    static constexpr int PatternId = 1003;
    static constexpr int CheckContentId = 1004;
    static constexpr int CheckId = 1005;
    static constexpr int TableId = 1006;
    static constexpr int ProblemsId = 1007;
    static constexpr int MessageId = 1008;
    static constexpr int CopyId = 1009;
    static constexpr int MoveId = 1010;
    static constexpr int BySceneId = 1011;
    static constexpr int SortId = 1012;
    static constexpr int CsvId = 1013;
    static constexpr int PrintMissingId = 1014;
    static constexpr int PatternHintId = 1015;
    static constexpr int CloseId = 2;

    // "参照...", "振り分け..." and "CSVに保存..." ask choosers; they outlive
    // the dialog.
    VoiceCheckDialog(QWidget* parent, VoiceCheckDialogModel& model, const FileChoosers& choosers);
    ~VoiceCheckDialog() override;

    // Runs the dialog modally over parent until the user closes it.
    static void run(QWidget* parent, VoiceCheckDialogModel& model, const FileChoosers& choosers);

private:
    void connectControls();
    void browseDelivery();
    void check();
    void saveCsv();
    void sort();
    void fillHistory();
    // The message area and which buttons can be used, as the model has them.
    void showState();

    std::unique_ptr<Ui::VoiceCheckDialog> m_ui;
    VoiceCheckDialogModel& m_model;
    const FileChoosers& m_choosers;
};
