#pragma once

#include "fc/FCString.h"
#include "ui/TextRequest.h"

#include <string_view>
#include <vector>

class InputHistory;
class UxListViewControl;

// The find command of the main window ("ファイル名の検索"), without the
// window: the text-input dialog asks for a scene name, and the list's first
// row whose file name is that name + ".screenplay.txt" (ASCII case ignored)
// is selected. The window shows the request's title and the prompt area,
// offers the history entries in its combo box, calls accept on OK and
// closes when it answers true, then calls run. Texts are CP932.
class FindFileModel {
public:
    static constexpr int HistorySlot = 0;
    static constexpr const char* Suffix = ".screenplay.txt";

    explicit FindFileModel(InputHistory& history);
    virtual ~FindFileModel();

    FindFileModel(const FindFileModel&) = delete;
    FindFileModel& operator=(const FindFileModel&) = delete;

    const TextRequest& request() const { return m_request; }
    // The combo box's list: the search texts used before, oldest first.
    const std::vector<FCString>& historyEntries() const;
    // The combo box's edit text when the dialog opens: always empty.
    FCString initialText() const { return FCString(); }

    // Why OK was refused; empty until then and after an accepted OK.
    const FCString& message() const { return m_message; }
    // What the prompt area shows: the message after a refused OK, otherwise
    // the prompt.
    const FCString& promptAreaText() const;

    // OK with the combo box's text. An empty text is refused with the
    // message and the dialog stays open (false); otherwise the text becomes
    // the value and the newest search text of the history, and the dialog
    // closes (true).
    [[nodiscard]] bool accept(std::string_view text);
    const FCString& value() const { return m_request.value(); }

    // The first row whose column 2 (the file name) equals value +
    // ".screenplay.txt" with the ASCII letters of both in lower case, or -1.
    static int findRow(const UxListViewControl& list, const FCString& value);
    // Selects and focuses that row (other selected rows stay selected) and
    // returns it; -1 and nothing changes when there is none.
    static int run(UxListViewControl& list, const FCString& value);

private:
    InputHistory& m_history;
    TextRequest m_request;
    FCString m_message;
};
