#pragma once

#include "fc/FCString.h"
#include "ui/UxListViewControl.h"

#include <cstdint>
#include <string_view>

// What the main window shows, without the window: the catalogue list
// (control 1000, with check boxes), the folder line at the top (1002) and
// the two numbers beside "総数" (1009) and "発言者なし" (1011). The GUI draws
// these; the batch tool and the tests read them.
class MainWindowModel {
public:
    MainWindowModel();
    virtual ~MainWindowModel();

    MainWindowModel(const MainWindowModel&) = delete;
    MainWindowModel& operator=(const MainWindowModel&) = delete;

    UxListViewControl& list() { return m_list; }
    const UxListViewControl& list() const { return m_list; }

    const FCString& folderText() const { return m_folderText; }
    void setFolderText(std::string_view text) { m_folderText.create(256, text); }

    // The static texts hold the numbers in decimal; empty until the first
    // load.
    const FCString& totalText() const { return m_totalText; }
    const FCString& noSpeakerText() const { return m_noSpeakerText; }
    void setTotalCount(int32_t count);
    void setNoSpeakerCount(int32_t count);

private:
    UxListViewControl m_list;
    FCString m_folderText;
    FCString m_totalText;
    FCString m_noSpeakerText;
};
