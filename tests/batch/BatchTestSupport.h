#pragma once

#include "ScenarioTestFolder.h"
#include "TestText.h"
#include "app/ProgramEnvironment.h"
#include "platform/HeadlessPrompt.h"
#include "platform/SystemClock.h"
#include "ui/HeadlessProgressView.h"
#include "ui/ScriptedDialogHost.h"
#include "ui/UxProgressDialog.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

// A screenplay text (UTF-8): the characters with their word counts and
// `lines` one-line utterances spoken in turn.
inline std::string batchScene(const std::string& scene,
                              const std::vector<std::pair<std::string, int>>& characters, int lines)
{
    std::string text = ".scene\t" + scene + "\n.chara\t" + std::to_string(characters.size()) + "\n";
    for (const auto& [name, words] : characters)
        text += "." + name + "\t" + std::to_string(words) + "\n";
    text += ".total\t0\n";
    for (int i = 0; i < lines; ++i) {
        char number[16];
        std::snprintf(number, sizeof number, "%06d ", i + 1);
        text += characters.empty()
                    ? std::string("            【 暗転 】")
                    : number + characters[size_t(i) % characters.size()].first + "「はい」";
        text += "\n";
    }
    return text;
}

struct CommandRun {
    int status;
    std::string out, err;
};

using BatchCommand = int (*)(ProgramEnvironment&, const std::vector<std::string>&, std::ostream&,
                             std::ostream&);

// The tool's environment as a test gives it: progress shown in view (a
// silent terminal line unless given), the foundation's boxes answered by
// prompt (the headless one unless given), notices recorded.
class BatchTestEnvironment {
public:
    BatchTestEnvironment() : BatchTestEnvironment(silentView()) {}
    explicit BatchTestEnvironment(ProgressView& view) : BatchTestEnvironment(view, headless()) {}
    BatchTestEnvironment(ProgressView& view, Prompt& prompt)
        : m_environment(
              {.dialogs = m_dialogs, .progress = view, .prompt = prompt, .clock = m_clock})
    {
    }

    ProgramEnvironment& environment() { return m_environment; }

private:
    static ProgressView& silentView()
    {
        static HeadlessProgressView silent(stderr, false);
        return silent;
    }
    static Prompt& headless()
    {
        static HeadlessPrompt prompt;
        return prompt;
    }

    ScriptedDialogHost m_dialogs;
    const SystemClock m_clock;
    ProgramEnvironment m_environment;
};

// Runs a command in this process with a silent progress view.
inline CommandRun runCommand(BatchCommand command, const std::vector<std::string>& words)
{
    BatchTestEnvironment test;
    std::ostringstream out, err;
    const int status = command(test.environment(), words, out, err);
    return {status, out.str(), err.str()};
}

inline std::string fileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The scenario most tests use: a.screenplay.txt with 悠人 (2) and さくら (1)
// in 31 lines; b.screenplay.txt with 悠人 (5) and 店主 (3) in 61 lines;
// c.screenplay.txt without any speaking character.
class BatchFolderTest : public testing::Test {
protected:
    BatchFolderTest()
    {
        UxProgressDialog::clearCancelRequest();
        m_folder.write("a.screenplay.txt", batchScene("a", {{"悠人", 2}, {"さくら", 1}}, 31));
        m_folder.write("b.screenplay.txt", batchScene("b", {{"悠人", 5}, {"店主", 3}}, 61));
        m_folder.write("c.screenplay.txt", batchScene("c", {}, 1));
    }
    ~BatchFolderTest() override { UxProgressDialog::clearCancelRequest(); }

    std::string folder() const { return m_folder.path(); }
    std::vector<std::string> lists(const std::string& in) const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(in)) {
            const std::string name = entry.path().filename().string();
            if (name.rfind("@sceneCheckList.", 0) == 0)
                names.push_back(name);
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    ScenarioTestFolder m_folder;
};
