// A folder load with its headers read on worker threads: every job count
// gives the entries, totals, progress, notices and questions of one job.

#include "ScenarioTestFolder.h"
#include "TestText.h"
#include "document/ScriptCatalogue.h"
#include "document/ScriptInfo.h"
#include "fc/FCXListIterator.h"
#include "platform/FileFaults.h"
#include "platform/ScriptedPrompt.h"
#include "platform/WinError.h"
#include "ui/ScriptedDialogHost.h"
#include "ui/ScriptedProgressView.h"
#include "ui/UxDialogs.h"
#include "ui/UxProgressDialog.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>

namespace {

std::string entriesOf(const FCXList<FCIdString>& list)
{
    std::string text;
    FCXListIterator<FCIdString> walk(list);
    while (const FCIdString* entry = walk.next())
        text += entry->toStdString() + '=' + std::to_string(entry->id()) + ' ';
    return text;
}

class ScriptCatalogueJobsTest : public testing::Test {
protected:
    void SetUp() override
    {
        const char* casts[] = {".悠人\t4\n.さくら\t3\n", ".店主\t9\n", "", ".悠人\t1\n.悠人\t5\n"};
        char name[32];
        for (int i = 0; i < 90; ++i) {
            std::snprintf(name, sizeof name, "s%03d.screenplay.txt", i);
            std::string text = ".scene\t場面" + std::to_string(i) + "\n" + casts[i % 4];
            // Some without their end, some with a header longer than the
            // first piece a header is read in, some with a body.
            if (i % 7 != 3)
                text += ".total\t0\n";
            if (i % 29 == 5)
                text = std::string(70000, ';') + "\n" + text;
            if (i % 5 == 0)
                text += "悠人\t「はい」\n";
            m_folder.write(name, text);
        }
        // A UTF-8 file with a character Shift-JIS cannot hold, an empty
        // file, a folder and a FIFO that only look like scenes.
        m_folder.writeBytes("u000.screenplay.txt", ".scene\t\xF0\x9F\x98\x80\n.A\t1\n.total\t0\n");
        m_folder.writeBytes("e000.screenplay.txt", "");
        std::filesystem::create_directory(m_folder.path() + "d000.screenplay.txt");
        ASSERT_EQ(mkfifo((m_folder.path() + "f000.screenplay.txt").c_str(), 0600), 0);
    }

    // Everything a load leaves behind, as one text.
    std::string loadWith(int jobs, int cancelAfter = 0)
    {
        UxProgressDialog::clearCancelRequest();
        ScriptedProgressView view;
        view.cancelAfterSteps(cancelAfter);
        ScriptedDialogHost dialogs;
        UxDialogs notices(dialogs);
        ScriptInfo totals;
        const size_t asked = m_prompt.questions().size();
        m_catalogue.setLoadJobs(jobs);
        UxProgressDialog progress(view);
        const FolderLoad result =
            m_catalogue.loadFolder(FCString(m_folder.path()), totals, false, progress, notices);
        std::string out = "result " + std::to_string(int(result)) + "\n";
        for (int i = 0; i < m_catalogue.count(); ++i) {
            // The names the load kept for a view are the record's.
            EXPECT_EQ(m_catalogue.characterNames(i).view(),
                      m_catalogue.record(i).characterNames().view())
                << m_catalogue.fileName(i).view();
            out += m_catalogue.fileName(i).toStdString() + ' ' +
                   m_catalogue.record(i).sceneName().toStdString() + ' ' +
                   entriesOf(m_catalogue.record(i).characters()) + '[' +
                   m_catalogue.characterNames(i).toStdString() + ']' +
                   (m_catalogue.isTicked(i) ? "x\n" : "\n");
        }
        out += "totals " + totals.sceneName().toStdString() + ' ' + entriesOf(totals.characters());
        for (const SkippedFiles::Entry& entry : m_catalogue.skippedFiles().entries())
            out += "\nskipped " + entry.name + ' ' + std::to_string(int(entry.reason));
        for (const std::string& text : view.texts())
            out += "\nprogress " + text;
        out += "\nsteps " + std::to_string(view.steps()) + ' ' + std::to_string(view.closes());
        for (const ScriptedDialogHost::Shown& shown : dialogs.notices())
            out += "\nnotice " + shown.title + ": " + shown.text;
        for (size_t q = asked; q < m_prompt.questions().size(); ++q)
            out += "\nasked: " + m_prompt.questions()[q].text;
        return out;
    }

    ScenarioTestFolder m_folder;
    ScriptCatalogue m_catalogue;
    ScriptedPrompt m_prompt;
    Prompt::Scope m_promptScope{m_prompt};
};

} // namespace

TEST_F(ScriptCatalogueJobsTest, EveryJobCountGivesWhatOneJobGives)
{
    // Steps before the cancel (0: none) and how the load ends.
    for (const auto& [steps, result] :
         {std::pair{0, "result 0\n"}, {1, "result 2\n"}, {17, "result 2\n"}, {60, "result 2\n"}}) {
        const std::string serial = loadWith(1, steps);
        ASSERT_EQ(serial.rfind(result, 0), 0u) << serial;
        for (int jobs : {2, 3, 8, 0})
            EXPECT_EQ(loadWith(jobs, steps), serial) << "jobs " << jobs << ", steps " << steps;
        if (steps == 0) {
            EXPECT_NE(serial.find("skipped u000.screenplay.txt"), std::string::npos) << serial;
            EXPECT_NE(serial.find("s089.screenplay.txt"), std::string::npos) << serial;
        }
    }
}

TEST_F(ScriptCatalogueJobsTest, AFileNoneCanReadIsAskedAboutOnTheLoadingThreadAsWithOneJob)
{
    using Answer = Prompt::Answer;
    // The answers to the file layer's box, one question each.
    for (const std::vector<Answer>& answers :
         {std::vector<Answer>{Answer::Cancel}, {Answer::Retry, Answer::Retry, Answer::Cancel}}) {
        std::string serial;
        for (int jobs : {1, 2, 4}) {
            for (Answer answer : answers)
                m_prompt.push(answer);
            const size_t before = m_prompt.questions().size();
            FileFaults::Scope faults;
            FileFaults::fail(FileFaults::Kind::Open, WinError::AccessDenied, 0, -1);
            const std::string out = loadWith(jobs);
            EXPECT_EQ(m_prompt.questions().size() - before, answers.size()) << "jobs " << jobs;
            EXPECT_EQ(out.rfind("result 3\n", 0), 0u) << out;
            if (jobs == 1)
                serial = out;
            EXPECT_EQ(out, serial) << "jobs " << jobs;
        }
    }
}

TEST_F(ScriptCatalogueJobsTest, AFaultOnlyAWorkerMetIsReadAgainWithoutAQuestion)
{
    const std::string clean = loadWith(1);
    FileFaults::Scope faults;
    // The first open of a load is always a worker's: the loading thread
    // opens a file only to read it again.
    FileFaults::fail(FileFaults::Kind::Open, WinError::SharingViolation, 0, 1);
    EXPECT_EQ(loadWith(2), clean);
}
