#include "ReportsTestFixture.h"
#include "format/PrintFormat.h"
#include "reports/PageCountEstimate.h"

#include <string>

namespace {

// A generated scenario of many lengths and casts, estimated with several job
// counts: each must give what one job gives, down to the questions asked.
class PageCountEstimateJobsTest : public ReportsTest {
protected:
    void SetUp() override
    {
        const std::vector<std::pair<std::string, int>> casts[3] = {
            {{"悠人", 4}, {"さくら", 3}}, {{"店主", 9}}, {{"悠人", 1}, {"灯台守", 2}}};
        char name[32];
        for (int i = 0; i < 60; ++i) {
            std::snprintf(name, sizeof name, "s%03d.screenplay.txt", i);
            scene(name, "scene" + std::to_string(i), casts[i % 3], 5 + (i * 37) % 200);
        }
        load();
    }

    // Everything an estimate leaves behind, as one text.
    std::string estimateWith(int jobs, int mode, int cancelAfter = 0)
    {
        UxProgressDialog::clearCancelRequest();
        m_progress.cancelAfterSteps(cancelAfter);
        m_app.printFormat().setJobs(jobs);
        m_app.printFormat().setMode(mode);
        const int slot = PageCountEstimate::cacheMode(mode);
        for (int i = 0; i < catalogue().count(); ++i)
            record(i).setCachedPageCount(slot, ScriptInfo::UnknownPages);
        const size_t asked = m_prompt.questions().size();
        PageCountEstimate estimate(m_app);
        estimate.setCountDirectorsCopies(true);
        UxProgressDialog progress(m_progress);
        const int64_t total = estimate.run(catalogue(), true, progress);
        std::string out = std::to_string(total) + " laid out " +
                          std::to_string(estimate.layouts()) + " unreadable " +
                          std::to_string(estimate.unreadable()) + "\n";
        for (const PageCountEstimate::Scene& scene : estimate.scenes())
            out += scene.fileName.toStdString() + ' ' + std::to_string(scene.pages()) + '\n';
        for (int i = 0; i < catalogue().count(); ++i)
            out += std::to_string(record(i).cachedPageCount(slot)) + ' ';
        for (size_t q = asked; q < m_prompt.questions().size(); ++q)
            out += "\nasked: " + m_prompt.questions()[q].text;
        return out;
    }
};

} // namespace

TEST_F(PageCountEstimateJobsTest, EveryJobCountGivesWhatOneJobGives)
{
    for (int mode :
         {PrintFormat::ModePreset14, PrintFormat::ModePreset18, PrintFormat::ModeCustom}) {
        const std::string serial = estimateWith(1, mode);
        EXPECT_NE(serial.find("laid out 60 unreadable 0"), std::string::npos) << serial;
        for (int jobs : {2, 3, 8, 0})
            EXPECT_EQ(estimateWith(jobs, mode), serial) << "mode " << mode << ", jobs " << jobs;
    }
}

TEST_F(PageCountEstimateJobsTest, ACancelStopsWhereOneJobStops)
{
    for (int steps : {1, 7, 30}) {
        const std::string serial = estimateWith(1, PrintFormat::ModePreset14, steps);
        EXPECT_EQ(serial.rfind("-1 laid out " + std::to_string(steps) + " ", 0), 0u) << serial;
        for (int jobs : {2, 4})
            EXPECT_EQ(estimateWith(jobs, PrintFormat::ModePreset14, steps), serial) << jobs;
    }
}

TEST_F(PageCountEstimateJobsTest, UnreadableScenesAreToldOnceEachInListOrder)
{
    m_folder.remove("s011.screenplay.txt");
    m_folder.remove("s042.screenplay.txt");
    const std::string serial = estimateWith(1, PrintFormat::ModePreset16);
    const size_t first = serial.find("asked: "), second = serial.find("asked: ", first + 1);
    ASSERT_NE(second, std::string::npos) << serial;
    EXPECT_NE(serial.find("s011", first), std::string::npos);
    EXPECT_LT(serial.find("s011", first), second);
    EXPECT_NE(serial.find("s042", second), std::string::npos);
    for (int jobs : {2, 5})
        EXPECT_EQ(estimateWith(jobs, PrintFormat::ModePreset16), serial) << jobs;
}
