#pragma once

#include "fc/FCString.h"
#include "reports/CheckListOptions.h"

class Notices;

// The dialog "台本チェックリストの出力" without its window: the output folder
// box, the format radio, the two list boxes and the list-unprinted option,
// and what OK does with them. The GUI shows and edits these fields and
// closes the window when accept() answers true.
class CheckListDialogModel {
public:
    static const char* title();

    // notices asks whether a missing folder may be made.
    CheckListDialogModel(const FCString& folder, CheckListOptions options, Notices& notices);
    virtual ~CheckListDialogModel();

    // The controls.
    FCString folderText;
    bool csv = true;
    bool sceneList = true;
    bool characterList = false;
    bool listUnprinted = false;

    // OK: false while the dialog has to stay open, with the reason in
    // message() when the folder box is empty; a folder that does not exist
    // is created only when the user agrees twice (otherwise the dialog
    // stays open without a message). True: folder() and options() hold the
    // result.
    bool accept();

    // The message field (CP932); empty unless accept() put a text there.
    const FCString& message() const { return m_message; }
    // Absolute, ending with a separator.
    const FCString& folder() const { return m_folder; }
    CheckListOptions options() const;

private:
    Notices* m_notices;
    FCString m_message;
    FCString m_folder;
};
