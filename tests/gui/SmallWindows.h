#pragma once

#include "AppTestFolder.h"
#include "TestText.h"
#include "app/AboutModel.h"
#include "app/ChangeCheckDialogModel.h"
#include "app/CharacterSelectionModel.h"
#include "app/FindFileModel.h"
#include "app/FolderSelectionModel.h"
#include "app/InputHistory.h"
#include "app/Quillon.h"
#include "document/ScriptInfo.h"
#include "gui/AboutDialog.h"
#include "gui/ChangeCheckDialog.h"
#include "gui/CharacterSelectionDialog.h"
#include "gui/FileChoosers.h"
#include "gui/FindDialog.h"
#include "gui/FolderDialog.h"
#include "gui/NoticeDialog.h"
#include "gui/PagePreviewDialog.h"
#include "gui/ProgressDialog.h"
#include "gui/QuestionDialog.h"
#include "gui/WordCountDialog.h"
#include "ui/CatalogueListBinding.h"
#include "ui/ScriptedDialogHost.h"
#include "ui/ScriptedProgressView.h"
#include "ui/UxDialogs.h"
#include "ui/UxListViewControl.h"

#include <memory>

enum class Window {
    CharacterSelection,
    WordCounts,
    About,
    Find,
    Folder,
    Notice,
    Question,
    Progress,
    PagePreview,
    ChangeCheck
};

// A fixture for the tests that go over all of the program's small windows:
// it makes each over the models it needs, as the program opens it.
class SmallWindows : public AppTestFolder {
protected:
    SmallWindows()
    {
        m_scene.setSceneName("scene01");
        m_scene.appendCharacter(sj("春香"), 12);
        m_scene.appendCharacter(sj("千早"), 7);
        m_selection.load(m_scene);
        m_history.add(1, FCString(sj("/scenario/第一部/")));
    }

    std::unique_ptr<DialogBase> make(Window window)
    {
        switch (window) {
        case Window::CharacterSelection:
            return std::make_unique<CharacterSelectionDialog>(nullptr, m_selection);
        case Window::WordCounts:
            return std::make_unique<WordCountDialog>(nullptr, m_scene, m_notices);
        case Window::About:
            return std::make_unique<AboutDialog>(nullptr, m_about);
        case Window::Find:
            return std::make_unique<FindDialog>(nullptr, m_find);
        case Window::Folder:
            return std::make_unique<FolderDialog>(nullptr, m_folder, m_choosers);
        case Window::Notice:
            return std::make_unique<NoticeDialog>(nullptr, QString::fromUtf8("本文"));
        case Window::Question:
            return std::make_unique<QuestionDialog>(nullptr, QString::fromUtf8("よろしいですか？"));
        case Window::Progress:
            return std::make_unique<ProgressDialog>(nullptr);
        case Window::PagePreview: {
            auto preview = std::make_unique<PagePreviewDialog>(m_app, m_rows, nullptr);
            // Owned here: closing it must not delete it as well.
            preview->setAttribute(Qt::WA_DeleteOnClose, false);
            return preview;
        }
        case Window::ChangeCheck:
            return std::make_unique<ChangeCheckDialog>(nullptr, m_changes, m_choosers);
        }
        return nullptr;
    }

    ScriptInfo m_scene;
    CharacterSelectionModel m_selection;
    AboutModel m_about;
    InputHistory m_history;
    ScriptedDialogHost m_dialogs;
    UxDialogs m_notices{m_dialogs};
    FileChoosers m_choosers;
    FindFileModel m_find{m_history};
    FolderSelectionModel m_folder{m_history, FCString(sj("/scenario/今の台本/")), m_notices};
    Quillon m_app;
    UxListViewControl m_list;
    CatalogueListBinding m_rows{m_app.catalogue(), m_list};
    ScriptedProgressView m_progress;
    ChangeCheckDialogModel m_changes{m_app, m_progress};
};
