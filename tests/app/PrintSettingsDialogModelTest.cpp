#include "app/PrintSettingsDialogModel.h"

#include "TestText.h"
#include "format/RunSettings.h"
#include "ui/ScriptedDialogHost.h"
#include "ui/UxDialogs.h"
#include "ui/UxListViewControl.h"

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

FCString fc(const std::string& utf8)
{
    return FCString(sj(utf8));
}

std::string text(const FCString& value)
{
    return utf8(value.toStdString());
}

// The opening inputs of the dialog, each test changing what it is about.
class PrintSettingsDialogModelTest : public testing::Test {
protected:
    PrintSettingsDialogModelTest()
    {
        char pattern[] = "/tmp/quillon-printsettings-XXXXXX";
        if (!mkdtemp(pattern))
            throw std::runtime_error("mkdtemp failed");
        m_folder = pattern;
        m_scenario = FCString(m_folder + "/scenario/");
        m_run.logPath = FCString("/programs/quillon.log.txt");
        m_characters = {fc("晴香"), fc("ナレーション"), fc("先生"), fc("犬")};
        m_faces = {sj("@IPAMincho"), sj("@ＭＳ ゴシック"), sj("@ＭＳ 明朝"), sj("@IPAGothic")};
    }
    ~PrintSettingsDialogModelTest() override { std::filesystem::remove_all(m_folder); }

    PrintSettingsDialogModel
    open(PrintSettingsDialogModel::Purpose purpose = PrintSettingsDialogModel::Settings)
    {
        return open(m_notices, purpose);
    }
    // The same, its questions and notices going to notices.
    PrintSettingsDialogModel
    open(Notices& notices,
         PrintSettingsDialogModel::Purpose purpose = PrintSettingsDialogModel::Settings)
    {
        return {notices,      purpose,      m_format, m_run,      m_scenario,
                m_suppressed, m_characters, m_faces,  m_printedBy};
    }

    static int indexOf(const PrintSettingsDialogModel& model, const std::string& utf8Face)
    {
        const auto& faces = model.faces();
        const auto found = std::find(faces.begin(), faces.end(), sj(utf8Face));
        return found == faces.end() ? -1 : int(found - faces.begin());
    }

    std::string m_folder;
    FCString m_scenario;
    PrintFormat m_format;
    RunSettings m_run;
    std::vector<FCString> m_suppressed;
    std::vector<FCString> m_characters;
    std::vector<std::string> m_faces;
    ScriptedDialogHost m_dialogs;
    UxDialogs m_notices{m_dialogs};
    // What this test machine prints a face with that is not installed: the
    // alias "@旧ゴシック" stands for IPAGothic, nothing for anything else.
    FaceChoices::PrintedBy m_printedBy = [](std::string_view face) {
        return face == sj("@旧ゴシック") ? std::string("IPAGothic") : std::string();
    };
};

} // namespace

TEST_F(PrintSettingsDialogModelTest, TitleAndOkCaptionFollowThePurpose)
{
    const struct {
        PrintSettingsDialogModel::Purpose purpose;
        const char* title;
        const char* ok;
    } cases[] = {{PrintSettingsDialogModel::Settings, "印刷設定", "設定する"},
                 {PrintSettingsDialogModel::PrintStart, "印刷の実行", "印刷開始"}};
    for (const auto& c : cases) {
        PrintSettingsDialogModel model(m_notices, c.purpose, m_format, m_run, m_scenario,
                                       m_suppressed, m_characters, m_faces);
        EXPECT_EQ(utf8(model.title()), c.title);
        EXPECT_EQ(utf8(model.okCaption()), c.ok);
        EXPECT_EQ(text(model.message()),
                  "HTMLへの出力は、nolvikで直接行ってください\nOKを押すと印刷を開始します。");
        EXPECT_FALSE(model.messageIsHelp());
    }
}

TEST_F(PrintSettingsDialogModelTest, OpensWithTheRunSettingsRatherThanTheRecordsSwitches)
{
    m_run.device = OutputDevice::Printer;
    m_run.setGenericScript(true);
    m_run.setCommentEmphasis(false);
    m_format.setDevice(OutputDevice::Bmp);
    m_format.setFlags(PrintFormat::FlagCommentEmphasis);
    m_format.setDestFolder(FCString("/recorded/"));

    PrintSettingsDialogModel model = open();
    EXPECT_EQ(model.device(), OutputDevice::Printer);
    EXPECT_FALSE(model.destinationEnabled());
    EXPECT_EQ(model.destinationText().view(), m_scenario.view())
        << "no destination confirmed yet: the scenario folder";
    EXPECT_TRUE(model.generic());
    EXPECT_FALSE(model.emphasis());
    EXPECT_TRUE(model.logTicked());
    EXPECT_TRUE(model.logEnabled());
    EXPECT_EQ(model.logText().view(), "/programs/quillon.log.txt");

    m_run.destinationFolder = FCString("/confirmed/");
    m_run.setPrintLog(false);
    PrintSettingsDialogModel second = open();
    EXPECT_EQ(second.destinationText().view(), "/confirmed/");
    EXPECT_FALSE(second.logTicked());
    EXPECT_FALSE(second.logEnabled());
    EXPECT_TRUE(second.logText().isEmpty());
}

TEST_F(PrintSettingsDialogModelTest, ModesAndBackgroundsOutsideTheirTablesShowAsDocumented)
{
    const struct {
        int mode;
        int shownMode;
        int background;
        int shownBackground;
    } cases[] = {{0, 0, 0, 0},  {1, 1, 4, 4},   {2, 2, 1, 1},
                 {3, 3, 5, -1}, {7, 1, -1, -1}, {-2, 1, 2, 2}};
    for (const auto& c : cases) {
        m_format.setMode(c.mode);
        m_format.setCustomModeEmphasis(c.background);
        PrintSettingsDialogModel model = open();
        EXPECT_EQ(model.mode(), c.shownMode) << c.mode;
        EXPECT_EQ(model.customEnabled(), c.shownMode == 0) << c.mode;
        EXPECT_EQ(model.background(), c.shownBackground) << c.background;
    }
}

TEST_F(PrintSettingsDialogModelTest, APresetModeLeavesTheCustomControlsEmptyAndReadOnly)
{
    m_format.setMode(PrintFormat::ModePreset16);
    m_format.setFlag(PrintFormat::FlagAutoCalc, true);
    PrintSettingsDialogModel model = open();
    for (int face = 0; face < PrintFormat::FaceCount; ++face) {
        EXPECT_EQ(model.faceIndex(face), -1);
        EXPECT_TRUE(model.weightText(face).isEmpty());
    }
    EXPECT_TRUE(model.fontSizeText().isEmpty());
    EXPECT_TRUE(model.charsPerLineText().isEmpty());
    EXPECT_FALSE(model.autoCalc());
    EXPECT_TRUE(model.sizesReadOnly());

    model.editFontHeight("22");
    model.selectFace(0, 1);
    model.setAutoCalc(true);
    EXPECT_TRUE(model.fontSizeText().isEmpty()) << "disabled controls take no input";
    EXPECT_EQ(model.faceIndex(0), -1);
    EXPECT_FALSE(model.autoCalc());
}

TEST_F(PrintSettingsDialogModelTest, ChoosingCustomTheFirstTimeProposesThePresetsValues)
{
    m_format.setMode(PrintFormat::ModePreset16);
    m_format.setCustomFont(0, fc("@IPAGothic"), 900);
    m_format.setCustomFontSize(30);
    PrintSettingsDialogModel model = open();
    model.chooseMode(PrintFormat::ModeCustom);

    EXPECT_TRUE(model.customEnabled());
    EXPECT_EQ(model.faceIndex(0), indexOf(model, "@ＭＳ ゴシック"));
    EXPECT_EQ(model.faceIndex(1), indexOf(model, "@ＭＳ 明朝"));
    EXPECT_EQ(model.faceIndex(2), indexOf(model, "@ＭＳ 明朝"));
    EXPECT_EQ(model.weightText(0).view(), "700");
    EXPECT_EQ(model.weightText(1).view(), "400");
    EXPECT_EQ(model.weightText(2).view(), "700");
    EXPECT_EQ(model.fontSizeText().view(), "16");
    EXPECT_EQ(model.lineWidthText().view(), "28");
    EXPECT_EQ(model.linesPerPageText().view(), "34");
    EXPECT_EQ(model.charsPerLineText().view(), "35");
    EXPECT_FALSE(model.autoCalc());
    EXPECT_TRUE(model.sizesReadOnly()) << "1031 and 1032 open read-only";

    // Back and forth: what the user typed stays.
    model.editFontHeight("20");
    model.chooseMode(PrintFormat::ModePreset14);
    EXPECT_FALSE(model.customEnabled());
    model.chooseMode(PrintFormat::ModeCustom);
    EXPECT_EQ(model.fontSizeText().view(), "20");
}

TEST_F(PrintSettingsDialogModelTest, TheProposalCalculatesWhenTheRecordAsksForIt)
{
    m_format.setMode(PrintFormat::ModePreset18);
    m_format.setFlag(PrintFormat::FlagAutoCalc, true);
    PrintSettingsDialogModel model = open();
    model.chooseMode(PrintFormat::ModeCustom);
    EXPECT_TRUE(model.autoCalc());
    EXPECT_EQ(model.linesPerPageText().view(), "30"); // 960 / 32
    EXPECT_EQ(model.charsPerLineText().view(), "30"); // 650 / 18 - 6
}

TEST_F(PrintSettingsDialogModelTest, CustomModeOpensWithTheCustomFieldsAndCalculates)
{
    m_format.setMode(PrintFormat::ModeCustom);
    m_format.setCustomFont(0, fc("@IPAGothic"), 600);
    m_format.setCustomFont(1, fc("@IPAMincho"), 300);
    m_format.setCustomFont(2, fc("@どこにもない書体"), 800);
    m_format.setFlag(PrintFormat::FlagAutoCalc, true);
    PrintSettingsDialogModel model = open();

    EXPECT_EQ(model.faceIndex(0), indexOf(model, "@IPAGothic"));
    EXPECT_EQ(model.faceIndex(1), indexOf(model, "@IPAMincho"));
    // A face this machine lacks is still the one shown, marked as such.
    ASSERT_GE(model.faceIndex(2), 0);
    EXPECT_EQ(model.faceIndex(2), indexOf(model, "@どこにもない書体"));
    EXPECT_EQ(utf8(model.faceLabels()[size_t(model.faceIndex(2))]),
              "@どこにもない書体（この環境では印刷できません）");
    EXPECT_EQ(model.weightText(2).view(), "800");
    EXPECT_TRUE(model.autoCalc());
    EXPECT_EQ(model.linesPerPageText().view(), "48") << "calculated, not the stored 43";
    EXPECT_EQ(model.charsPerLineText().view(), "40");
}

TEST_F(PrintSettingsDialogModelTest, AFaceThisMachineLacksIsShownKeptAndStoredAsNamed)
{
    // Made on Windows: faces named as Windows names them, one of which an
    // alias prints here, one nothing does.
    m_faces = {sj("@IPAGothic"), sj("@IPAMincho")};
    m_format.setMode(PrintFormat::ModeCustom);
    m_format.setCustomFont(0, fc("@旧ゴシック"), 700);
    m_format.setCustomFont(1, fc("@IPAMincho"), 400);
    m_format.setCustomFont(2, fc("@消えた書体"), 700);
    m_run.device = OutputDevice::Printer;
    PrintSettingsDialogModel model = open();

    std::vector<std::string> labels;
    for (const std::string& label : model.faceLabels())
        labels.push_back(utf8(label));
    EXPECT_EQ(labels, (std::vector<std::string>{"@旧ゴシック（IPAGothic で印刷）",
                                                "@消えた書体（この環境では印刷できません）",
                                                "@IPAGothic", "@IPAMincho"}));
    EXPECT_EQ(model.faceIndex(0), indexOf(model, "@旧ゴシック"));
    EXPECT_EQ(model.faceIndex(1), indexOf(model, "@IPAMincho"));
    EXPECT_EQ(model.faceIndex(2), indexOf(model, "@消えた書体"));

    // Kept as they are, the names go back byte for byte; another pick is
    // taken as picked.
    model.selectFace(2, indexOf(model, "@IPAGothic"));
    ASSERT_TRUE(model.accept()) << text(model.message());
    PrintFormat format;
    ASSERT_TRUE(model.apply(format, m_run));
    EXPECT_EQ(format.customFontName(0).view(), sj("@旧ゴシック"));
    EXPECT_EQ(format.customFontName(1).view(), sj("@IPAMincho"));
    EXPECT_EQ(format.customFontName(2).view(), sj("@IPAGothic"));
}

TEST_F(PrintSettingsDialogModelTest, AutomaticCalculationFollowsTheTypedNumbers)
{
    const struct {
        const char* fontSize;
        const char* lineWidth;
        const char* lines; // expected
        const char* chars;
    } cases[] = {
        {"14", "20", "48", "40"},    {"16", "28", "34", "34"}, {"18", "32", "30", "30"},
        {"18", "20", "48", "30"},    {"200", "20", "48", "1"}, {"0x10", "0x1c", "34", "34"},
        {"18pt", " 32", "30", "30"}, {"0", "20", "43", "40"},  {"14", "0", "43", "40"},
        {"abc", "20", "43", "40"},   {"", "20", "43", "40"},   {"-5", "20", "43", "40"},
    };
    for (const auto& c : cases) {
        m_format.setMode(PrintFormat::ModeCustom);
        // From a known state: the stored 43 and 40 with the box cleared.
        PrintSettingsDialogModel fresh = open();
        fresh.setAutoCalc(false);
        fresh.editFontHeight(c.fontSize);
        fresh.editLineWidth(c.lineWidth);
        EXPECT_EQ(fresh.linesPerPageText().view(), "43") << "no calculation while cleared";
        fresh.setAutoCalc(true);
        EXPECT_EQ(fresh.linesPerPageText().view(), c.lines) << c.fontSize << "/" << c.lineWidth;
        EXPECT_EQ(fresh.charsPerLineText().view(), c.chars) << c.fontSize << "/" << c.lineWidth;
    }
}

TEST_F(PrintSettingsDialogModelTest, LinesAndCharactersAreEditableOnlyAfterTheBoxIsCleared)
{
    m_format.setMode(PrintFormat::ModeCustom);
    PrintSettingsDialogModel model = open();
    EXPECT_FALSE(model.autoCalc());
    EXPECT_TRUE(model.sizesReadOnly());
    model.editLinesPerPage("12");
    EXPECT_EQ(model.linesPerPageText().view(), "43");

    model.setAutoCalc(true);
    model.editFontHeight("18");
    EXPECT_EQ(model.charsPerLineText().view(), "30");
    model.editCharsPerLine("99");
    EXPECT_EQ(model.charsPerLineText().view(), "30");

    model.setAutoCalc(false);
    EXPECT_FALSE(model.sizesReadOnly());
    model.editCharsPerLine("99");
    model.editFontHeight("14");
    EXPECT_EQ(model.charsPerLineText().view(), "99") << "no calculation while cleared";
}

TEST_F(PrintSettingsDialogModelTest, RefusedOkShowsTheFirstProblemAndKeepsEveryInput)
{
    const char* noFolder = "出力先フォルダを指定してください";
    const char* noLog =
        "印刷ログファイルを選択してください。\n通常は、カレントフォルダの quillon.log.txtです。";
    // The specified message, and a second line naming the first empty field.
    const std::string incomplete = "フォーマット設定が不完全です。すべての項目を入力して下さい。\n";
    const std::string noFace = incomplete + "「解説等用フォント名」が空です。";
    const std::string noWeight =
        incomplete + "「通常台詞用フォント名」の「太さ(0-1000)」が空です。";
    const std::string noPitch = incomplete + "「改行幅」が空です。";
    const std::string noChars = incomplete + "「文字/行」が空です。";
    const std::string noFirstWeight =
        incomplete + "「対象キャラ台詞用フォント名」の「太さ(0-1000)」が空です。";
    const struct {
        const char* name;
        void (*change)(PrintSettingsDialogModel&);
        std::string message;
    } cases[] = {
        {"no folder", [](PrintSettingsDialogModel& m) { m.setDestinationText(""); }, noFolder},
        {"no folder before no log",
         [](PrintSettingsDialogModel& m) {
             m.setDestinationText("");
             m.setLogText("");
         },
         noFolder},
        {"no log", [](PrintSettingsDialogModel& m) { m.setLogText(""); }, noLog},
        {"no face chosen", [](PrintSettingsDialogModel& m) { m.selectFace(2, -1); }, noFace},
        {"empty weight", [](PrintSettingsDialogModel& m) { m.setWeightText(1, ""); }, noWeight},
        {"empty line pitch", [](PrintSettingsDialogModel& m) { m.editLineWidth(""); }, noPitch},
        {"empty characters per line",
         [](PrintSettingsDialogModel& m) {
             m.setAutoCalc(false);
             m.editCharsPerLine("");
         },
         noChars},
        {"the first of two in the form's order",
         [](PrintSettingsDialogModel& m) {
             m.editFontHeight("");
             m.setWeightText(0, "");
         },
         noFirstWeight},
    };
    for (const auto& c : cases) {
        m_format.setMode(PrintFormat::ModeCustom);
        m_format.setCustomFont(0, fc("@IPAGothic"), 700);
        m_format.setCustomFont(1, fc("@IPAMincho"), 400);
        m_format.setCustomFont(2, fc("@消えた書体"), 700);
        PrintSettingsDialogModel model = open();
        ASSERT_GE(model.faceIndex(2), 0) << "a face this machine lacks is kept, not emptied";
        c.change(model);
        model.setGreyText("77");
        const FCString fontSize = model.fontSizeText();
        const int face0 = model.faceIndex(0);

        EXPECT_FALSE(model.accept()) << c.name;
        EXPECT_FALSE(model.accepted());
        EXPECT_EQ(text(model.message()), c.message) << c.name;
        EXPECT_EQ(model.greyText().view(), "77");
        EXPECT_EQ(model.fontSizeText().view(), fontSize.view());
        EXPECT_EQ(model.faceIndex(0), face0);
        PrintFormat untouched = m_format;
        EXPECT_FALSE(model.apply(untouched, m_run));
        EXPECT_EQ(untouched.customColEmphasis(), 128);
    }
    EXPECT_TRUE(std::filesystem::is_empty(m_folder)) << "no folder made after a refusal";
}

TEST_F(PrintSettingsDialogModelTest, TheGreyKeepsItsLowEightBits)
{
    const struct {
        const char* typed;
        int stored;
    } cases[] = {{"0", 0},      {"255", 255}, {"256", 0},   {"300", 44}, {"-1", 255},
                 {"0x80", 128}, {"abc", 0},   {"12ab", 12}, {"", 0}};
    for (const auto& c : cases) {
        m_run.device = OutputDevice::Printer;
        PrintSettingsDialogModel model = open();
        model.setGreyText(c.typed);
        ASSERT_TRUE(model.accept()) << c.typed;
        PrintFormat format;
        ASSERT_TRUE(model.apply(format, m_run));
        EXPECT_EQ(format.customColEmphasis(), c.stored) << c.typed;
    }
}

TEST_F(PrintSettingsDialogModelTest, ThePrinterLeavesTheDestinationFolderUntouched)
{
    m_run.destinationFolder = FCString("/earlier/pages/");
    m_format.setDestFolder(FCString("/earlier/pages/"));
    ScriptedDialogHost host;
    UxDialogs notices(host);
    PrintSettingsDialogModel model = open(notices);
    model.setDestinationText("/somewhere/else");
    model.chooseDevice(OutputDevice::Printer);
    model.setDestinationText("/ignored/while/disabled");
    EXPECT_EQ(model.destinationText().view(), "/somewhere/else");

    ASSERT_TRUE(model.accept());
    EXPECT_TRUE(host.questions().empty());
    PrintFormat format;
    ASSERT_TRUE(model.apply(format, m_run));
    EXPECT_EQ(format.device(), OutputDevice::Printer);
    EXPECT_EQ(m_run.device, OutputDevice::Printer);
    EXPECT_EQ(m_run.destinationFolder.view(), "/earlier/pages/");
    EXPECT_EQ(format.destFolder().view(), "/earlier/pages/");
}

TEST_F(PrintSettingsDialogModelTest, AnExistingFolderIsTakenWithASeparatorAndNoQuestion)
{
    std::filesystem::create_directories(m_folder + "/pages");
    ScriptedDialogHost host;
    UxDialogs notices(host);
    PrintSettingsDialogModel model = open(notices);
    model.chooseDevice(OutputDevice::Bmp);
    model.setDestinationText(m_folder + "/pages");

    ASSERT_TRUE(model.accept());
    EXPECT_TRUE(host.questions().empty());
    EXPECT_EQ(m_run.destinationFolder.toStdString(), m_folder + "/pages/");
    PrintFormat format;
    ASSERT_TRUE(model.apply(format, m_run));
    EXPECT_EQ(format.destFolder().toStdString(), m_folder + "/pages/");
    EXPECT_EQ(format.device(), OutputDevice::Bmp);
    EXPECT_EQ(m_run.device, OutputDevice::Bmp);
}

TEST_F(PrintSettingsDialogModelTest, AMissingFolderIsCreatedOnlyWhenTheUserAgrees)
{
    for (bool yes : {false, true}) {
        const std::string target = m_folder + (yes ? "/yes/deep/pages" : "/no/pages");
        m_run.destinationFolder = FCString("/before/");
        ScriptedDialogHost host({yes});
        UxDialogs notices(host);
        PrintSettingsDialogModel model = open(notices);
        model.setDestinationText(target);

        EXPECT_EQ(model.accept(), yes);
        ASSERT_EQ(host.questions().size(), 1u);
        EXPECT_EQ(utf8(host.questions()[0].title), "出力先フォルダの新規作成");
        EXPECT_EQ(utf8(host.questions()[0].text),
                  target + "/\nを新規に作成します。よろしいですか？");
        EXPECT_EQ(std::filesystem::is_directory(target), yes);
        EXPECT_EQ(m_run.destinationFolder.toStdString(), target + "/")
            << "the destination changes even when the folder is not made";
        EXPECT_EQ(model.accepted(), yes);
        PrintFormat format;
        format.setDestFolder(FCString("/kept/"));
        EXPECT_EQ(model.apply(format, m_run), yes);
        EXPECT_EQ(format.destFolder().toStdString(), yes ? target + "/" : "/kept/");
    }
}

TEST_F(PrintSettingsDialogModelTest, AFolderThatCannotBeMadeIsToldAndTheDialogStays)
{
    const std::string file = m_folder + "/a-file";
    std::FILE* handle = std::fopen(file.c_str(), "w");
    ASSERT_NE(handle, nullptr);
    std::fclose(handle);
    ScriptedDialogHost host({true});
    UxDialogs notices(host);
    PrintSettingsDialogModel model = open(notices);
    model.setDestinationText(file + "/pages");

    EXPECT_FALSE(model.accept());
    ASSERT_EQ(host.notices().size(), 1u);
    EXPECT_EQ(utf8(host.notices()[0].title), "フォルダが作成できません");
    EXPECT_FALSE(model.accepted());
}

TEST_F(PrintSettingsDialogModelTest, OkWritesTheInputBackAndApplySetsTheRunSettings)
{
    m_format.setMode(PrintFormat::ModePreset14);
    m_format.setFlags(PrintFormat::FlagLog | (1u << 9));
    m_suppressed = {fc("先生"), fc("いない人")};
    m_run.device = OutputDevice::Printer;
    PrintSettingsDialogModel model = open(PrintSettingsDialogModel::PrintStart);
    ASSERT_EQ(model.rowCount(), 4);
    EXPECT_EQ(model.suppressedCount(), 1);
    EXPECT_TRUE(model.rows()[2].ticked);

    model.chooseMode(PrintFormat::ModeCustom);
    model.selectFace(0, indexOf(model, "@IPAGothic"));
    model.selectFace(1, indexOf(model, "@IPAMincho"));
    model.selectFace(2, indexOf(model, "@IPAMincho"));
    model.setWeightText(1, "350");
    model.setAutoCalc(true);
    model.editFontHeight("18");
    model.setGeneric(true);
    model.setEmphasis(false);
    model.setLog(false);
    model.chooseBackground(3);
    model.toggle(3);
    model.toggle(0);
    ASSERT_TRUE(model.accept());

    PrintFormat format;
    RunSettings run;
    ASSERT_TRUE(model.apply(format, run));
    EXPECT_EQ(format.mode(), PrintFormat::ModeCustom);
    EXPECT_EQ(text(format.targetFace()), "@IPAGothic");
    EXPECT_EQ(format.generalWeight(), 350);
    EXPECT_EQ(format.fontSize(), 18);
    EXPECT_EQ(format.lineWidth(), 20);
    EXPECT_EQ(format.linesPerPage(), 48);
    EXPECT_EQ(format.charsPerLine(), 30);
    EXPECT_TRUE(format.hasFlag(PrintFormat::FlagAutoCalc));
    EXPECT_TRUE(format.hasFlag(1u << 9)) << "bits without meaning keep their value";
    EXPECT_TRUE(format.hasFlag(PrintFormat::FlagGeneric));
    EXPECT_FALSE(format.hasFlag(PrintFormat::FlagCommentEmphasis));
    EXPECT_FALSE(format.hasFlag(PrintFormat::FlagLog));
    EXPECT_EQ(format.customModeEmphasis(), 3);
    EXPECT_EQ(text(format.suppressedText()), "晴香\n先生\n犬\n") << "ticked rows in list order";

    EXPECT_TRUE(run.genericScript());
    EXPECT_FALSE(run.commentEmphasis());
    EXPECT_FALSE(run.printLog()) << "the next run writes no log";
    EXPECT_EQ(run.device, OutputDevice::Printer);
    EXPECT_EQ(run.logPath.view(), "/programs/quillon.log.txt")
        << "the file stays for when the log is ticked again";
}

TEST_F(PrintSettingsDialogModelTest, APresetOkLeavesTheCustomFieldsAsTheyWere)
{
    m_format.setMode(PrintFormat::ModeCustom);
    m_format.setCustomFont(0, fc("@IPAGothic"), 650);
    m_format.setCustomFontSize(21);
    m_format.setFlag(PrintFormat::FlagAutoCalc, true);
    m_run.device = OutputDevice::Printer;
    PrintSettingsDialogModel model = open();
    model.editFontHeight("30");
    model.setAutoCalc(false);
    model.chooseMode(PrintFormat::ModePreset18);
    ASSERT_TRUE(model.accept());
    PrintFormat format;
    ASSERT_TRUE(model.apply(format, m_run));
    EXPECT_EQ(format.mode(), PrintFormat::ModePreset18);
    EXPECT_EQ(format.customFontSize(), 21);
    EXPECT_EQ(format.customWeight(0), 650);
    EXPECT_TRUE(format.hasFlag(PrintFormat::FlagAutoCalc));
}

TEST_F(PrintSettingsDialogModelTest, RowsAreTickedToggledAndCounted)
{
    m_suppressed = {fc("犬")};
    PrintSettingsDialogModel model = open();
    EXPECT_EQ(model.countText().view(), "1");
    EXPECT_TRUE(model.toggle(1));
    EXPECT_EQ(model.suppressedCount(), 2);
    EXPECT_TRUE(model.toggle(1));
    EXPECT_EQ(model.suppressedCount(), 1);
    EXPECT_FALSE(model.toggle(4));
    EXPECT_FALSE(model.setTicked(-1, true));
    model.selectAll();
    EXPECT_EQ(model.countText().view(), "4");
    model.clearAll();
    EXPECT_EQ(model.suppressedCount(), 0);
}

TEST_F(PrintSettingsDialogModelTest, HelpTextsFollowTheControl)
{
    const struct {
        int id;
        const char* text;
    } cases[] = {
        {1011,
         "キャラ強調のない全台本を出力します。他のキャラ用の印刷を同時に行うことは出来ません。"},
        {1018, "ファイルを出力するフォルダを指定します。標準では台本フォルダと同じです。"},
        {1020, "出力ログの記録ファイルを指定します。印刷終了後出力ログは自動的にテキストエディタで"
               "開かれます。"},
        {1028, "対象キャラ台詞用フォントと太さ（標準=400, 強調=700）を指定します。"},
        {1024, "一般キャラ台詞用フォントと太さ（標準=400, 強調=700）を指定します。"},
        {1033, "14P: fontSize:14, width:20, 行数:47, "
               "文字数:40\n旧バージョンの標準で、紙を節約するバージョンです。"},
        {1040, "ユーザが明示的に記述したコメントの背景を指定します。なしは従来の動作になります。背"
               "景色は０が黒255が白になります。"},
        {1043, "ユーザが明示的に記述したコメントの背景を指定します。なしは従来の動作になります。背"
               "景色は０が黒255が白になります。"},
        {1000, "特に解説はありません。"},
        {1017, "特に解説はありません。"},
        {1, "特に解説はありません。"},
    };
    PrintSettingsDialogModel model = open();
    for (const auto& c : cases) {
        EXPECT_EQ(utf8(PrintSettingsDialogModel::helpText(c.id)), c.text) << c.id;
        model.showHelp(c.id);
        EXPECT_EQ(text(model.message()), c.text) << c.id;
        EXPECT_TRUE(model.messageIsHelp());
    }
}

TEST_F(PrintSettingsDialogModelTest, TheFacesAreOfferedSortedWithoutRepeats)
{
    m_faces.push_back(sj("@IPAGothic"));
    PrintSettingsDialogModel model = open();
    ASSERT_EQ(model.faces().size(), 4u);
    EXPECT_TRUE(std::is_sorted(model.faces().begin(), model.faces().end()));
    EXPECT_EQ(PrintSettingsDialogModel::logBrowserStart("/var/log/x.txt"), "/var/log/x.txt");
    const std::string start = PrintSettingsDialogModel::logBrowserStart("");
    ASSERT_FALSE(start.empty());
    EXPECT_EQ(start.back(), '/');
}

TEST_F(PrintSettingsDialogModelTest, TheListShowsOneTickedRowPerSuppressedCharacter)
{
    m_suppressed = {fc("ナレーション"), fc("犬")};
    PrintSettingsDialogModel model = open();
    UxListViewControl list;
    PrintSettingsDialogModel::defineColumns(list);
    model.fillList(list);
    ASSERT_EQ(list.columnCount(), 2);
    EXPECT_EQ(list.column(0).width, 24);
    EXPECT_EQ(utf8(list.column(1).title), "キャラ名");
    EXPECT_EQ(list.column(1).width, 300);
    ASSERT_EQ(list.rowCount(), 4);
    FCString name;
    ASSERT_TRUE(list.textOfCell(name, 3, 1));
    EXPECT_EQ(text(name), "犬");
    const int expected[] = {UxListViewControl::StateCleared, UxListViewControl::StateTicked,
                            UxListViewControl::StateCleared, UxListViewControl::StateTicked};
    for (int row = 0; row < 4; ++row)
        EXPECT_EQ(list.stateImage(row), expected[row]) << row;

    model.selectAll();
    model.toggle(1);
    model.showTicks(list);
    EXPECT_EQ(list.stateImage(0), UxListViewControl::StateTicked);
    EXPECT_EQ(list.stateImage(1), UxListViewControl::StateCleared);
}

TEST_F(PrintSettingsDialogModelTest, BundlingIsOfferedOnlyForPdf)
{
    m_run.device = OutputDevice::Png;
    m_run.bundleByActor = true;
    PrintSettingsDialogModel model = open();
    // It opens with the run settings' choice, like the device.
    EXPECT_TRUE(model.bundleByActor());
    EXPECT_FALSE(model.bundleEnabled());
    model.setBundleByActor(false);
    EXPECT_TRUE(model.bundleByActor()) << "a disabled box keeps its tick";

    model.chooseDevice(OutputDevice::Pdf);
    EXPECT_TRUE(model.bundleEnabled());
    EXPECT_TRUE(model.destinationEnabled());
    model.setBundleByActor(false);
    EXPECT_FALSE(model.bundleByActor());
    for (OutputDevice device : {OutputDevice::Printer, OutputDevice::Bmp, OutputDevice::Png}) {
        model.chooseDevice(device);
        EXPECT_FALSE(model.bundleEnabled());
    }
}

TEST_F(PrintSettingsDialogModelTest, PdfNeedsADestinationFolderAsImagesDo)
{
    PrintSettingsDialogModel model = open();
    model.chooseDevice(OutputDevice::Pdf);
    model.setDestinationText("");
    EXPECT_FALSE(model.accept());
    EXPECT_EQ(text(model.message()), "出力先フォルダを指定してください");
}

TEST_F(PrintSettingsDialogModelTest, PdfOkStoresTheDeviceAndTheBundling)
{
    std::filesystem::create_directories(m_folder + "/pdf");
    m_run.bundleByActor = false;
    ScriptedDialogHost host;
    UxDialogs notices(host);
    PrintSettingsDialogModel model = open(notices, PrintSettingsDialogModel::PrintStart);
    model.chooseDevice(OutputDevice::Pdf);
    model.setBundleByActor(true);
    model.setDestinationText(m_folder + "/pdf");

    ASSERT_TRUE(model.accept());
    EXPECT_EQ(m_run.destinationFolder.toStdString(), m_folder + "/pdf/");
    EXPECT_EQ(model.working().device(), OutputDevice::Pdf);
    EXPECT_TRUE(model.working().bundleByActor());
    PrintFormat format;
    ASSERT_TRUE(model.apply(format, m_run));
    EXPECT_EQ(format.device(), OutputDevice::Pdf);
    EXPECT_TRUE(format.bundleByActor());
    EXPECT_EQ(format.destFolder().toStdString(), m_folder + "/pdf/");
    EXPECT_EQ(m_run.device, OutputDevice::Pdf);
    EXPECT_TRUE(m_run.bundleByActor);
}

TEST_F(PrintSettingsDialogModelTest, CancelLeavesTheBundlingAsItWas)
{
    m_run.bundleByActor = false;
    PrintSettingsDialogModel model = open();
    model.chooseDevice(OutputDevice::Pdf);
    model.setBundleByActor(true);
    PrintFormat format;
    EXPECT_FALSE(model.apply(format, m_run));
    EXPECT_FALSE(m_run.bundleByActor);
    EXPECT_FALSE(format.bundleByActor());
}

TEST_F(PrintSettingsDialogModelTest, PdfControlsHaveHelpOfTheirOwn)
{
    const std::string none = "特に解説はありません。";
    const std::string pdf =
        utf8(PrintSettingsDialogModel::helpText(PrintSettingsDialogModel::PdfId));
    const std::string bundle =
        utf8(PrintSettingsDialogModel::helpText(PrintSettingsDialogModel::BundleByActorId));
    EXPECT_NE(pdf, none);
    EXPECT_NE(bundle, none);
    EXPECT_NE(pdf, bundle);
    EXPECT_NE(pdf.find("PDF"), std::string::npos);
    EXPECT_NE(bundle.find("キャラ"), std::string::npos);
    // The ids after the dialog's last control keep the general text.
    EXPECT_EQ(utf8(PrintSettingsDialogModel::helpText(1054)), none);
}

TEST_F(PrintSettingsDialogModelTest, TypesettingOpensAsTheFormatHasItAndOkStoresIt)
{
    using LineBreaking = TypesettingOptions::LineBreaking;
    m_format.setTypesetting({LineBreaking::Loose, true, false});
    m_run.device = OutputDevice::Printer;
    PrintSettingsDialogModel model = open();
    EXPECT_EQ(model.lineBreaking(), 2);
    EXPECT_TRUE(model.uprightDigits());
    EXPECT_FALSE(model.ruby());

    // The combo's indices, and one it does not have.
    const struct {
        int index;
        int shown;
    } cases[] = {{0, 0}, {1, 1}, {2, 2}, {3, 2}, {-1, 2}};
    for (const auto& c : cases) {
        model.chooseLineBreaking(c.index);
        EXPECT_EQ(model.lineBreaking(), c.shown) << c.index;
    }
    model.chooseLineBreaking(1);
    model.setUprightDigits(false);
    model.setRuby(true);
    EXPECT_TRUE(model.working().typesetting() == m_format.typesetting()) << "not before OK";

    ASSERT_TRUE(model.accept());
    PrintFormat format;
    ASSERT_TRUE(model.apply(format, m_run));
    EXPECT_TRUE(format.typesetting() == (TypesettingOptions{LineBreaking::Strict, false, true}));
}

TEST_F(PrintSettingsDialogModelTest, TypesettingControlsHaveHelpOfTheirOwn)
{
    const std::string none = "特に解説はありません。";
    for (const int id :
         {PrintSettingsDialogModel::LineBreakingId, PrintSettingsDialogModel::UprightDigitsId,
          PrintSettingsDialogModel::RubyId})
        EXPECT_NE(utf8(PrintSettingsDialogModel::helpText(id)), none) << id;
}

TEST_F(PrintSettingsDialogModelTest, ChangedLinesAreOfferedForAPrintAndTheirControlsFollowTheTick)
{
    PrintSettingsDialogModel settings = open(PrintSettingsDialogModel::Settings);
    settings.offerChanges({fc("/old/")});
    settings.setChangesOnly(true);
    EXPECT_FALSE(settings.changesOffered()) << "the settings form prints nothing";
    EXPECT_FALSE(settings.changesOnly());

    m_run.device = OutputDevice::Printer;
    PrintSettingsDialogModel model = open(PrintSettingsDialogModel::PrintStart);
    EXPECT_FALSE(model.changesOffered()) << "only when the caller offers it";
    model.offerChanges({fc("/older/"), fc("/old/")});
    ASSERT_TRUE(model.changesOffered());
    EXPECT_EQ(model.compareFolderHistory().size(), 2u);
    EXPECT_EQ(text(model.compareFolderText()), "/old/") << "the newest folder typed";

    // Each step, then the state of the choice: ticked, since the last
    // print, the sources enabled, the folder enabled, the folder's text.
    const struct {
        const char* step;
        std::function<void(PrintSettingsDialogModel&)> act;
        bool on, sincePrint, sourcesEnabled, folderEnabled;
        const char* folder;
    } steps[] = {
        {"opened", [](auto&) {}, false, true, false, false, "/old/"},
        {"a source while unticked", [](auto& m) { m.chooseSincePrint(false); }, false, true, false,
         false, "/old/"},
        {"a folder while unticked", [](auto& m) { m.setCompareFolderText(sj("/x/")); }, false, true,
         false, false, "/old/"},
        {"ticked", [](auto& m) { m.setChangesOnly(true); }, true, true, true, false, "/old/"},
        {"a folder while the record is the source",
         [](auto& m) { m.setCompareFolderText(sj("/x/")); }, true, true, true, false, "/old/"},
        {"the folder chosen", [](auto& m) { m.chooseSincePrint(false); }, true, false, true, true,
         "/old/"},
        {"a folder typed", [](auto& m) { m.setCompareFolderText(sj("/新しい/")); }, true, false,
         true, true, "/新しい/"},
        {"unticked again", [](auto& m) { m.setChangesOnly(false); }, false, false, false, false,
         "/新しい/"},
    };
    for (const auto& s : steps) {
        s.act(model);
        EXPECT_EQ(model.changesOnly(), s.on) << s.step;
        EXPECT_EQ(model.sincePrint(), s.sincePrint) << s.step;
        EXPECT_EQ(model.changesSourceEnabled(), s.sourcesEnabled) << s.step;
        EXPECT_EQ(model.compareFolderEnabled(), s.folderEnabled) << s.step;
        EXPECT_EQ(text(model.compareFolderText()), s.folder) << s.step;
    }

    // An empty folder is refused while it is the source, and only then.
    model.setChangesOnly(true);
    model.setCompareFolderText("");
    EXPECT_FALSE(model.accept());
    EXPECT_EQ(text(model.message()), "比較する台本フォルダを指定してください。");
    model.chooseSincePrint(true);
    ASSERT_TRUE(model.accept()) << text(model.message());
    EXPECT_TRUE(model.changesSource().sincePrint);
}
