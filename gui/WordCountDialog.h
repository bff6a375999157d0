#pragma once

#include "gui/DialogBase.h"
#include "ui/UxListViewControl.h"

#include <memory>
#include <optional>

namespace Ui {
class WordCountDialog;
}

class Notices;
class ScriptInfo;

// The dialog "ワード数一覧" (template 223): the record's scene name at the
// top, one row per character with its word count, the grand total beside
// "総数", beside "収録数" the recorded lines a check of the delivered voices
// found (the field stays as the form leaves it before any check),
// "->clipboard" and OK.
// Both numbers are read-only fields, so that a screen reader reads each
// as its caption and its value. The window can be resized: the list
// stretches with it, the fields and buttons below it keep their distance
// to the bottom edge. Return presses OK and Esc closes, from the list too.
class WordCountDialog : public DialogBase {
    Q_OBJECT

public:
    static constexpr int TemplateNumber = 223;
    static constexpr int ListId = 1000;
    static constexpr int SceneId = 1001;
    static constexpr int TotalId = 1002;
    static constexpr int RecordedId = 1003;
    static constexpr int ClipboardId = 1004;
    static constexpr int TotalLabelId = 1005;
    static constexpr int RecordedLabelId = 1006;
    static constexpr int OkId = 1;

    // The record must outlive the dialog; the clipboard's notice goes to
    // notices.
    WordCountDialog(QWidget* parent, const ScriptInfo& totals, Notices& notices,
                    std::optional<int> recordedLines = std::nullopt);
    ~WordCountDialog() override;

    // Shows the word counts of the scenario totals modally over parent.
    static void show(QWidget* parent, const ScriptInfo& totals, Notices& notices,
                     std::optional<int> recordedLines = std::nullopt);
    // The static above hides QWidget::show(); callers that open the window
    // without waiting for it still reach it.
    using QWidget::show;

    const UxListViewControl& list() const { return m_list; }

private:
    // A line edit's frame and inner margins, both sides together.
    static constexpr int FieldPadding = 16;

    // Puts the list on the clipboard as plain text and says so.
    void copyToClipboard();

    std::unique_ptr<Ui::WordCountDialog> m_ui;
    const ScriptInfo& m_totals;
    Notices& m_notices;
    UxListViewControl m_list{false};
};
