#pragma once

#include "ReportsScenario.h"
#include "ScenarioTestFolder.h"
#include "TestText.h"
#include "document/ScriptCatalogue.h"
#include "document/ScriptInfo.h"
#include "platform/FileFaults.h"
#include "platform/ScriptedPrompt.h"
#include "platform/WinError.h"
#include "ui/ProgressView.h"
#include "ui/ScriptedDialogHost.h"
#include "ui/ScriptedProgressView.h"
#include "ui/UxDialogs.h"
#include "ui/UxProgressDialog.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

// A screenplay text (UTF-8) of one scene: the header declares the characters
// with their word counts; the body has `lines` one-line utterances, spoken in
// turn by the characters (or notes when there are none).
inline std::string screenplay(const std::string& scene,
                              const std::vector<std::pair<std::string, int>>& characters, int lines)
{
    std::string text = ".scene\t" + scene + "\n.start\t1\n.end\t" + std::to_string(lines) +
                       "\n.chara\t" + std::to_string(characters.size()) + "\n";
    int total = 0;
    for (const auto& [name, words] : characters) {
        text += "." + name + "\t" + std::to_string(words) + "\n";
        total += words;
    }
    text += ".total\t" + std::to_string(total) + "\n";
    for (int i = 0; i < lines; ++i) {
        char number[16];
        std::snprintf(number, sizeof number, "%06d ", i + 1);
        if (characters.empty())
            text += "            【 暗転 】\n";
        else
            text += number + characters[size_t(i) % characters.size()].first + "「はい」\n";
    }
    return text;
}

// Cancels only the progress dialogs of one title, after a number of steps.
class TitledCancelView : public ProgressView {
public:
    TitledCancelView(std::string title, int steps) : m_title(std::move(title)), m_steps(steps) {}
    void opened(UxProgressDialog& dialog) override
    {
        m_count = 0;
        m_titles.push_back(dialog.title());
    }
    void textChanged(UxProgressDialog&) override {}
    void positionChanged(UxProgressDialog& dialog) override
    {
        if (dialog.title() == m_title && ++m_count == m_steps)
            dialog.pressCancel();
    }
    void pump(UxProgressDialog&) override {}
    void closed(UxProgressDialog&) override {}
    const std::vector<std::string>& titles() const { return m_titles; }

private:
    std::string m_title;
    int m_steps;
    int m_count = 0;
    std::vector<std::string> m_titles;
};

// A scenario folder and the application, with scripted progress, dialogs
// and file-error boxes.
class ReportsTest : public testing::Test {
protected:
    ReportsTest() { UxProgressDialog::clearCancelRequest(); }
    ~ReportsTest() override { UxProgressDialog::clearCancelRequest(); }

    void scene(const std::string& fileName, const std::string& sceneName,
               const std::vector<std::pair<std::string, int>>& characters, int lines)
    {
        m_folder.write(fileName, screenplay(sceneName, characters, lines));
    }

    void load()
    {
        m_app.setScenarioFolder(m_folder.path());
        UxProgressDialog progress(m_progress);
        ASSERT_TRUE(m_app.loadScenarioFolder(progress, m_notices));
    }

    ScriptCatalogue& catalogue() { return m_app.catalogue(); }
    ScriptInfo& record(int index)
    {
        EXPECT_TRUE(catalogue().contains(index)) << "entry " << index;
        return catalogue().record(index);
    }
    int rowOf(const std::string& fileName)
    {
        for (int index = 0; index < catalogue().count(); ++index) {
            if (catalogue().fileName(index).toStdString() == fileName)
                return index;
        }
        ADD_FAILURE() << "no entry " << fileName;
        return -1;
    }
    void suppress(const std::vector<std::string>& namesUtf8)
    {
        std::vector<FCString> names;
        for (const std::string& name : namesUtf8)
            names.emplace_back(sj(name));
        m_app.printFormat().rebuildSuppressed(names);
        m_app.rebuildSuppressedCharacters();
    }

    // The names in a folder that begin with prefix.
    static std::vector<std::string> filesIn(const std::string& folder, const std::string& prefix)
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            std::string name = entry.path().filename().string();
            if (name.rfind(prefix, 0) == 0)
                names.push_back(name);
        }
        std::sort(names.begin(), names.end());
        return names;
    }
    static std::string bytesOf(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    ScenarioTestFolder m_folder;
    ScriptedProgressView m_progress;
    ScriptedDialogHost m_dialogs;
    UxDialogs m_notices{m_dialogs};
    ScriptedPrompt m_prompt;
    Prompt::Scope m_promptScope{m_prompt};
    ReportsScenario m_app;
};
