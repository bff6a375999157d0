#include "ReportsTestFixture.h"
#include "format/PrintFormat.h"
#include "reports/CheckListReport.h"

#include <string>

namespace {

// A generated scenario of many lengths and casts (some rows cleared, a
// character suppressed): the check lists made with several job counts must
// be what one job makes, down to the notices, also when cancelled.
class CheckListJobsTest : public ReportsTest {
protected:
    void SetUp() override
    {
        const std::vector<std::pair<std::string, int>> casts[4] = {
            {{"悠人", 4}, {"さくら", 3}}, {{"店主", 9}}, {}, {{"悠人", 1}, {"灯台守", 2}}};
        char name[32];
        for (int i = 0; i < 70; ++i) {
            std::snprintf(name, sizeof name, "s%03d.screenplay.txt", i);
            scene(name, "scene" + std::to_string(i), casts[i % 4], 5 + (i * 37) % 150);
        }
        load();
        for (int i = 0; i < catalogue().count(); i += 9)
            catalogue().setTicked(i, false);
        suppress({"灯台守"});
    }

    // Both lists with every script into a folder of their own, the files
    // and notices as one text.
    std::string listsWith(int jobs, bool csv, const std::string& cancelTitle, int steps)
    {
        m_app.printFormat().setJobs(jobs);
        const std::string out = m_folder.path() + "out" + std::to_string(++m_runs) + "/";
        std::filesystem::create_directory(out);
        for (int i = 0; i < catalogue().count(); ++i)
            record(i).setCachedPageCount(PrintFormat::ModePreset14, ScriptInfo::UnknownPages);
        TitledCancelView view(sj(cancelTitle), steps);
        UxProgressDialog progress(view);
        const size_t shown = m_dialogs.notices().size();
        const CheckListReport::Outcome outcome =
            CheckListReport::run(m_app, catalogue(), FCString(out),
                                 CheckListOptions::of(csv, true, true, true), progress, m_notices);
        std::string text = std::to_string(int(outcome.sceneList)) + ' ' +
                           std::to_string(int(outcome.characterList)) + '\n';
        for (const std::string& name : filesIn(out, "@sceneCheckList."))
            text += name + ":\n" + bytesOf(out + name);
        for (size_t n = shown; n < m_dialogs.notices().size(); ++n) {
            std::string notice = m_dialogs.notices()[n].text;
            for (size_t at; (at = notice.find(out)) != std::string::npos;)
                notice.replace(at, out.size(), "OUT/");
            text += "notice " + notice + '\n';
        }
        return text;
    }

    int m_runs = 0;
};

} // namespace

TEST_F(CheckListJobsTest, EveryJobCountWritesWhatOneJobWrites)
{
    const struct {
        bool csv;
        const char* cancelTitle;
        int steps;
        const char* outcome;
    } cases[] = {{true, "", 0, "1 1\n"},
                 {false, "", 0, "1 1\n"},
                 {false, "シーン別台本チェックリスト(TXT)の作成", 1, "2 1\n"},
                 {false, "シーン別台本チェックリスト(TXT)の作成", 33, "2 1\n"},
                 {false, "キャラ別台本チェックリスト(TXT)の作成", 2, "1 2\n"}};
    for (const auto& c : cases) {
        const std::string serial = listsWith(1, c.csv, c.cancelTitle, c.steps);
        ASSERT_EQ(serial.rfind(c.outcome, 0), 0u) << serial;
        EXPECT_NE(serial.find("s069"), std::string::npos) << serial;
        for (int jobs : {2, 3, 0})
            EXPECT_EQ(listsWith(jobs, c.csv, c.cancelTitle, c.steps), serial)
                << "jobs " << jobs << ", csv " << c.csv << ", " << c.cancelTitle;
    }
}
