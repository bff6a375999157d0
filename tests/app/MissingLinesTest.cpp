#include "app/MissingLines.h"

#include "ScenarioTestFolder.h"
#include "TestText.h"
#include "document/ScriptCatalogue.h"
#include "document/ScriptInfo.h"
#include "format/SuppressedCharacters.h"
#include "render/LineSelection.h"
#include "ui/UxDialogs.h"
#include "ui/UxProgressDialog.h"
#include "voices/VoiceNumberPattern.h"
#include "voices/VoiceTestScenario.h"
#include "ui/ScriptedProgressView.h"
#include "ui/ScriptedDialogHost.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <string>

namespace {

const std::string header = ".scene\ts\n.start\t1\n.end\t20\n.chara\t3\n.さくら\t3\n.悠人\t3\n"
                           ".モブ\t1\n.total\t7\n";

// a: recorded, missing, broken and unprinted lines; b: a line without a
// number and one of a suppressed character; c is cleared.
class MissingLinesTest : public testing::Test {
protected:
    void SetUp() override
    {
        UxProgressDialog::clearCancelRequest();
        m_scenario.write("a.screenplay.txt", header + "000001 さくら「一」\n"
                                                      "            【 暗転 】\n"
                                                      "000002 悠人「二」\n"
                                                      "\n"
                                                      "000003 さくら「三」\n"
                                                      "@000004 無視\n"
                                                      "000005 悠人「五」\n");
        m_scenario.write("b.screenplay.txt", header + "000011 さくら「十一」\n"
                                                      "ばんごう 悠人「なし」\n"
                                                      "000013 モブ「十三」\n");
        m_scenario.write("c.screenplay.txt", header + "000021 さくら「二十一」\n");
        ScriptInfo totals;
        UxProgressDialog progress(m_view);
        ASSERT_EQ(m_catalogue.loadFolder(FCString(m_scenario.path()), totals, false, progress,
                                         m_notices),
                  FolderLoad::Loaded);
        for (int i = 0; i < m_catalogue.count(); ++i)
            m_catalogue.setTicked(i, m_catalogue.fileName(i).toStdString() != "c.screenplay.txt");
        m_suppressed.rebuild(sj("モブ\n"));

        std::filesystem::create_directories(m_delivery.path() + "take2");
        writeAudio(m_delivery.path() + "000001.wav", 800);
        writeText(m_delivery.path() + "000003.wav", "not audio");
        writeFlac(m_delivery.path() + "take2/sakura_000005_t2.flac", 800);
    }

    MissingLines::Outcome build(Progress& progress, const std::string& delivery)
    {
        return MissingLines::build(m_catalogue, m_scenario.path(), m_suppressed, delivery,
                                   VoiceNumberPattern(), progress, m_selection);
    }

    // Every chosen line as scene, character (UTF-8) and body line.
    std::map<std::string, std::map<std::string, std::set<int>>> chosen() const
    {
        std::map<std::string, std::map<std::string, std::set<int>>> out;
        for (const auto& [scene, lines] : m_selection.scenes()) {
            for (const auto& [character, bodyLines] : lines.characters())
                out[scene][utf8(character)] = bodyLines;
        }
        return out;
    }

    ScriptedDialogHost m_host;
    UxDialogs m_notices{m_host};
    ScriptedProgressView m_view;
    ScenarioTestFolder m_scenario;
    ScenarioTestFolder m_delivery;
    ScriptCatalogue m_catalogue;
    SuppressedCharacters m_suppressed;
    LineSelection m_selection;
};

} // namespace

TEST_F(MissingLinesTest, ChoosesTheLinesWithoutAGoodFileByTheirBodyLine)
{
    QuietProgress progress;
    const MissingLines::Outcome outcome = build(progress, m_delivery.path());
    EXPECT_EQ(outcome.status, MissingLines::Status::Done);
    EXPECT_EQ(outcome.missing, 2);
    EXPECT_EQ(outcome.broken, 1);
    EXPECT_TRUE(outcome.unreadableScenes.empty());
    // The empty line of a is no body line; 000003 has a broken file only.
    using Chosen = std::map<std::string, std::map<std::string, std::set<int>>>;
    EXPECT_EQ(chosen(), (Chosen{{"a.screenplay.txt", {{"悠人", {2}}, {"さくら", {3}}}},
                                {"b.screenplay.txt", {{"さくら", {0}}}}}));
    EXPECT_EQ(utf8(m_selection.headerSuffix()), "未収録");
    EXPECT_EQ(m_selection.marker(), "");
}

TEST_F(MissingLinesTest, ACancelOrAnUnreadableDeliveryChoosesNothing)
{
    m_selection.select("x", "y", 1);
    QuietProgress cancelling(1);
    EXPECT_EQ(build(cancelling, m_delivery.path()).status, MissingLines::Status::Cancelled);
    EXPECT_TRUE(m_selection.isEmpty());

    QuietProgress progress;
    const MissingLines::Outcome outcome = build(progress, m_delivery.path() + "no-such-folder");
    EXPECT_EQ(outcome.status, MissingLines::Status::DeliveryUnreadable);
    EXPECT_NE(outcome.error, 0);
    EXPECT_TRUE(m_selection.isEmpty());
}
