#pragma once

#include "fc/FCString.h"
#include "ui/TextRequest.h"

#include <string_view>
#include <vector>

class InputHistory;
class Notices;

// The folder command of the main window ("台本フォルダを指定する"), without
// the window: the folder dialog asks for the scenario folder, offering the
// folders chosen before and a folder browser, and a check box that keeps the
// word totals over the next load. The window shows the request's title, the
// prompt area, the history entries and the initial text in its combo box,
// calls accept on OK and closes when it answers true; then the caller calls
// resolve and, when it answers true, loads the folder. Texts are CP932.
class FolderSelectionModel {
public:
    static constexpr int HistorySlot = 1;
    // The title of the notice that reports a folder which is not there.
    static constexpr const char* NotFoundTitle = "Quillon Utility";

    // currentFolder is the scenario folder loaded now (empty when none);
    // notices tells of a folder that is not there.
    FolderSelectionModel(InputHistory& history, const FCString& currentFolder, Notices& notices);
    virtual ~FolderSelectionModel();

    FolderSelectionModel(const FolderSelectionModel&) = delete;
    FolderSelectionModel& operator=(const FolderSelectionModel&) = delete;

    const TextRequest& request() const { return m_request; }
    // The combo box's list: the folders chosen before, oldest first.
    const std::vector<FCString>& historyEntries() const;
    // The combo box's edit text when the dialog opens: the current folder.
    const FCString& initialText() const { return m_initialText; }
    // The check box's label, "ワード数データベースをを初期化しない".
    static const char* keepWordTotalsLabel();
    // The instruction above the folder browser's tree, "フォルダの選択".
    static const char* browserInstruction();

    const FCString& message() const { return m_message; }
    // The message after a refused OK, otherwise the prompt.
    const FCString& promptAreaText() const;

    // OK with the combo box's text and the check box's state. An empty text
    // is refused with the message and the dialog stays open (false).
    // Otherwise the text becomes the value and the newest folder of the
    // history, a ticked box is remembered, and the dialog closes (true).
    [[nodiscard]] bool accept(std::string_view text, bool keepTicked);
    const FCString& value() const { return m_request.value(); }

    // Whether an accepted OK had the box ticked. The caller then sets the
    // application's keep-word-totals flag, whatever resolve answers: the
    // request holds for the next load. An unticked box never clears a flag
    // set before.
    bool keepWordTotalsRequested() const { return m_keepWordTotals; }

    // After OK: the value as an absolute folder path ending with "/". True
    // when a folder is there; folderOut then holds the path. Otherwise the
    // notice titled "Quillon Utility" names the path and the answer is
    // false (folderOut untouched); a file's path counts as not found.
    [[nodiscard]] bool resolve(FCString& folderOut) const;

    // Where the folder browser opens: text made absolute against the
    // current directory, or the program's folder when text is empty.
    static FCString browserStartFolder(std::string_view text);

private:
    InputHistory& m_history;
    Notices& m_notices;
    TextRequest m_request;
    FCString m_initialText;
    FCString m_message;
    bool m_keepWordTotals = false;
};
