#pragma once

#include "document/ScriptCatalogue.h"
#include "fc/FCString.h"
#include "ui/CatalogueListBinding.h"
#include "ui/UxListViewControl.h"

#include <cstdint>
#include <string_view>

// What the main window shows, without the window: the catalogue list
// (control 1000, with check boxes) as a view of the application's
// catalogue, the folder line at the top (1002) and the two numbers beside
// "総数" (1009) and "発言者なし" (1011). The GUI draws these; the tests read
// them.
class MainWindowModel {
public:
    // The list shows catalogue from now on; the catalogue must outlive the
    // model.
    explicit MainWindowModel(ScriptCatalogue& catalogue);
    virtual ~MainWindowModel();

    MainWindowModel(const MainWindowModel&) = delete;
    MainWindowModel& operator=(const MainWindowModel&) = delete;

    UxListViewControl& list() { return m_list; }
    const UxListViewControl& list() const { return m_list; }
    // The list's rows and the catalogue's entries.
    const CatalogueListBinding& rows() const { return m_rows; }

    const FCString& folderText() const { return m_folderText; }
    void setFolderText(std::string_view text) { m_folderText.create(256, text); }

    // The static texts hold the numbers in decimal; empty until the first
    // load.
    const FCString& totalText() const { return m_totalText; }
    const FCString& noSpeakerText() const { return m_noSpeakerText; }
    void setTotalCount(int32_t count);
    void setNoSpeakerCount(int32_t count);

    // What a folder load shows here: the folder line, the file names the
    // list is about to show (see UxListViewControl::foresee), then the
    // counts.
    ScriptCatalogue::Display loadDisplay();

private:
    UxListViewControl m_list;
    CatalogueListBinding m_rows;
    FCString m_folderText;
    FCString m_totalText;
    FCString m_noSpeakerText;
};
