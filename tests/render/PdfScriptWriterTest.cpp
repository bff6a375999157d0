#include "render/PdfScriptWriter.h"

#include "PageTestSupport.h"
#include "PdfReading.h"
#include "TestText.h"
#include "platform/FileFaults.h"
#include "platform/WinError.h"
#include "render/PdfDraftSink.h"
#include "render/RunContext.h"
#include "render/SceneRenderer.h"
#include "render/ScriptPrinter.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

using pagetest::RecordingSink;
using pagetest::ScratchFolder;

namespace {

// A scene (UTF-8 names) whose characters speak in turn, `lines` utterances.
std::string sceneText(const std::string& scene, const std::vector<std::string>& characters,
                      int lines)
{
    std::string text = ".scene\t" + scene + "\n.start\t1\n.end\t99\n.chara\t" +
                       std::to_string(characters.size()) + "\n";
    for (const std::string& name : characters)
        text += "." + name + "\t1\n";
    text += ".total\t" + std::to_string(characters.size()) + "\n";
    for (int i = 0; i < lines; ++i) {
        std::string number = std::to_string(i + 1);
        text += std::string(6 - number.size(), '0') + number + " " +
                characters[size_t(i) % characters.size()] + "「はい」\n";
    }
    return text;
}

// A printer of such a scene with five lines a page, with the director's
// copy.
std::unique_ptr<ScriptPrinter> printerOf(const std::string& scene,
                                         const std::vector<std::string>& characters, int lines)
{
    auto printer = std::make_unique<ScriptPrinter>();
    printer->setOptions(ScriptPrinter::OptionGenericScript);
    EXPECT_TRUE(printer->setLinesPerPage(5));
    printer->loadText(sj(sceneText(scene, characters, lines)));
    return printer;
}

// Every script of the printer's scene into the writer, as one scene.
void printInto(const ScriptPrinter& printer, PdfScriptWriter& writer)
{
    RunContext quiet;
    SceneRenderer renderer(printer, writer, quiet);
    writer.beginScene();
    EXPECT_TRUE(renderer.printAll());
    writer.endScene(true);
}

FCString destinationOf(const std::string& folder)
{
    return FCString(folder.c_str());
}

} // namespace

TEST(PdfScriptWriterTest, ScenePrintedAloneGivesOneFilePerScriptWithItsPages)
{
    ASSERT_TRUE(pdfread::pdfinfoInstalled()) << "poppler-utils is needed";
    ScratchFolder folder;
    auto printer = printerOf("浜辺", {"さくら", "悠人"}, 12);
    ASSERT_EQ(printer->pageCount(), 3);
    PdfScriptWriter writer(PdfScriptWriter::Grouping::PerScript,
                           destinationOf(folder.destination()));
    RecordingSink observer(&writer);
    pagetest::printScene(*printer, observer);

    EXPECT_EQ(folder.files(),
              (std::vector<std::string>{"浜辺/浜辺.さくら.pdf", "浜辺/浜辺.悠人.pdf",
                                        "浜辺/浜辺.監督用.pdf"}));
    for (const std::string& file : folder.files())
        EXPECT_EQ(pdfread::pageCount(folder / file), 3) << file;
    // Every page was drawn on a context and carries no image path.
    ASSERT_EQ(observer.pages().size(), 9u);
    for (const auto& page : observer.pages()) {
        EXPECT_TRUE(page.hadDevice);
        EXPECT_TRUE(page.path.empty());
    }
    EXPECT_EQ(writer.pages(), 9);
    EXPECT_EQ(writer.lostPages(), 0);
}

TEST(PdfScriptWriterTest, BundlesGatherEachCharactersScenesWithAnOutlineEntryEach)
{
    ASSERT_TRUE(pdfread::pdfinfoInstalled()) << "poppler-utils is needed";
    ScratchFolder folder;
    PdfScriptWriter writer(PdfScriptWriter::Grouping::ByActor, destinationOf(folder.destination()));
    struct Scene {
        std::string name;
        std::vector<std::string> characters;
        int lines;
    };
    const Scene scenes[] = {
        {"一", {"さくら", "悠人"}, 12}, // 3 pages
        {"二", {"悠人"}, 4},            // 1 page
        {"三", {"さくら", "悠人"}, 7},  // 2 pages
    };
    for (const Scene& scene : scenes) {
        auto printer = printerOf(scene.name, scene.characters, scene.lines);
        printInto(*printer, writer);
    }
    // No bundle is under its name before the run closes them.
    for (const std::string& file : folder.files())
        EXPECT_NE(file.substr(file.size() - 4), ".pdf") << file;
    writer.finish();

    EXPECT_EQ(folder.files(), (std::vector<std::string>{"さくら.pdf", "悠人.pdf", "監督用.pdf"}));
    EXPECT_EQ(pdfread::pageCount(folder / "さくら.pdf"), 3 + 2);
    EXPECT_EQ(pdfread::pageCount(folder / "悠人.pdf"), 3 + 1 + 2);
    EXPECT_EQ(pdfread::pageCount(folder / "監督用.pdf"), 3 + 1 + 2);
    EXPECT_EQ(pdfread::outlineTitles(folder / "さくら.pdf"),
              (std::vector<std::string>{"一", "三"}));
    EXPECT_EQ(pdfread::outlineTitles(folder / "悠人.pdf"),
              (std::vector<std::string>{"一", "二", "三"}));
    EXPECT_EQ(pdfread::outlineTitles(folder / "監督用.pdf"),
              (std::vector<std::string>{"一", "二", "三"}));
    EXPECT_EQ(writer.lostPages(), 0);
    EXPECT_EQ(writer.writtenFiles().size(), 3u);
}

TEST(PdfScriptWriterTest, UnsafeNamesStayInsideTheDestination)
{
    struct Case {
        PdfScriptWriter::Grouping grouping;
        std::string scene;
        std::string character;
        std::vector<std::string> files;
    };
    const Case cases[] = {
        {PdfScriptWriter::Grouping::PerScript, "../x", "a/b", {"dest/.._x/.._x.a_b.pdf"}},
        {PdfScriptWriter::Grouping::PerScript, "..", "c", {"dest/_/_.c.pdf"}},
        {PdfScriptWriter::Grouping::ByActor, "a/b", "x/../../y", {"dest/x_.._.._y.pdf"}},
        {PdfScriptWriter::Grouping::ByActor, "s", "/", {"dest/_.pdf"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.scene + " " + c.character);
        ScratchFolder outer;
        const std::string destination = outer.path() + "/dest/";
        std::filesystem::create_directory(destination);
        PdfScriptWriter writer(c.grouping, destinationOf(destination));
        auto printer = printerOf(c.scene, {c.character}, 2);
        printer->setOptions(0);
        printInto(*printer, writer);
        writer.finish();
        EXPECT_EQ(outer.files(), c.files);
    }
}

TEST(PdfScriptWriterTest, NamesThatBecomeOneFileNameGetFilesOfTheirOwn)
{
    for (const auto grouping :
         {PdfScriptWriter::Grouping::PerScript, PdfScriptWriter::Grouping::ByActor}) {
        ScratchFolder outer;
        const std::string destination = outer.path() + "/";
        PdfScriptWriter writer(grouping, destinationOf(destination));
        // Two scenes, so that a bundle name stays the character's across
        // the run.
        for (const char* scene : {"s", "t"}) {
            auto printer = printerOf(scene, {"a/b", "a_b"}, 2);
            printer->setOptions(0);
            printInto(*printer, writer);
        }
        writer.finish();
        const std::vector<std::string> expected =
            grouping == PdfScriptWriter::Grouping::PerScript
                ? std::vector<std::string>{"s/s.a_b(2).pdf", "s/s.a_b.pdf", "t/t.a_b(2).pdf",
                                           "t/t.a_b.pdf"}
                : std::vector<std::string>{"a_b(2).pdf", "a_b.pdf"};
        EXPECT_EQ(outer.files(), expected);
        for (const std::string& file : expected)
            EXPECT_EQ(pdfread::pageCount(outer.path() + "/" + file),
                      grouping == PdfScriptWriter::Grouping::PerScript ? 1 : 2)
                << file;
    }
}

TEST(PdfScriptWriterTest, AFileThatCannotBeWrittenLosesItsPagesForItsScenes)
{
    for (const auto grouping :
         {PdfScriptWriter::Grouping::PerScript, PdfScriptWriter::Grouping::ByActor}) {
        const bool bundles = grouping == PdfScriptWriter::Grouping::ByActor;
        SCOPED_TRACE(bundles ? "bundles" : "per script");
        ScratchFolder folder;
        PdfScriptWriter writer(grouping, destinationOf(folder.destination()));
        RunContext quiet;
        int first = 0;
        int second = 0;
        {
            // Every write fails from the start: no file can be completed.
            FileFaults::Scope faults;
            FileFaults::fail(FileFaults::Kind::Write, WinError::DiskFull, 0, -1);
            auto one = printerOf("一", {"さくら"}, 7); // 2 pages x 2
            first = writer.beginScene();
            SceneRenderer(*one, writer, quiet).printAll();
            writer.endScene(true);
            auto two = printerOf("二", {"さくら"}, 3); // 1 page x 2
            second = writer.beginScene();
            SceneRenderer(*two, writer, quiet).printAll();
            writer.endScene(true);
            // Per script the loss is known as each scene ends.
            EXPECT_EQ(writer.lostPages(first), bundles ? 0 : 4);
            EXPECT_EQ(writer.lostPages(second), bundles ? 0 : 2);
            writer.finish();
        }
        EXPECT_EQ(writer.lostPages(first), 4);
        EXPECT_EQ(writer.lostPages(second), 2);
        EXPECT_EQ(writer.lostPages(), 6);
        EXPECT_TRUE(writer.writtenFiles().empty());
        // No cut file under any name, and no temporary one.
        for (const std::string& file : folder.files())
            ADD_FAILURE() << "left behind: " << file;
    }
}

TEST(PdfScriptWriterTest, AScriptStoppedWithinLeavesNoFileWhileBundlesKeepTheirPages)
{
    ASSERT_TRUE(pdfread::pdfinfoInstalled()) << "poppler-utils is needed";
    for (const auto grouping :
         {PdfScriptWriter::Grouping::PerScript, PdfScriptWriter::Grouping::ByActor}) {
        const bool bundles = grouping == PdfScriptWriter::Grouping::ByActor;
        SCOPED_TRACE(bundles ? "bundles" : "per script");
        ScratchFolder folder;
        PdfScriptWriter writer(grouping, destinationOf(folder.destination()));
        auto printer = printerOf("浜辺", {"さくら", "悠人"}, 12); // 3 pages
        const int scene = writer.beginScene();
        // Stopped after the second page of the second script.
        int pages = 0;
        RunContext stopping(nullptr, [&](const PageSink::Page&, const PageSink&) {
            if (++pages == 5)
                stopping.requestStop();
        });
        SceneRenderer renderer(*printer, writer, stopping);
        EXPECT_FALSE(renderer.printAll());
        EXPECT_EQ(pages, 5);
        writer.endScene(false);
        writer.finish();
        EXPECT_EQ(writer.lostPages(scene), 0);
        if (bundles) {
            EXPECT_EQ(folder.files(), (std::vector<std::string>{"さくら.pdf", "悠人.pdf"}));
            EXPECT_EQ(pdfread::pageCount(folder / "悠人.pdf"), 2);
        } else {
            EXPECT_EQ(folder.files(), std::vector<std::string>{"浜辺/浜辺.さくら.pdf"});
        }
        EXPECT_EQ(pdfread::pageCount(folder / (bundles ? "さくら.pdf" : "浜辺/浜辺.さくら.pdf")),
                  3);
    }
}

namespace {

// Every file below a folder with its bytes, creation dates left out.
std::map<std::string, std::string> filesOf(const ScratchFolder& folder)
{
    std::map<std::string, std::string> files;
    for (const std::string& name : folder.files()) {
        std::ifstream in(folder / name, std::ios::binary);
        files[name] =
            pdfread::withoutCreationDate(std::string(std::istreambuf_iterator<char>(in), {}));
    }
    return files;
}

} // namespace

// Pages drawn on another thread (whole script files, or recorded pages for
// bundles) and handed on give the writer's files byte for byte, shading
// pattern, comment block and director's copy included; what is not handed
// on leaves nothing behind.
TEST(PdfScriptWriterTest, PagesDrawnElsewhereAndHandedOnGiveTheSameFiles)
{
    struct Case {
        PdfScriptWriter::Grouping grouping;
        PdfDraftSink::Form form;
    };
    for (const Case& c : {Case{PdfScriptWriter::Grouping::PerScript, PdfDraftSink::Form::Files},
                          Case{PdfScriptWriter::Grouping::ByActor, PdfDraftSink::Form::Pages}}) {
        SCOPED_TRACE(c.form == PdfDraftSink::Form::Files ? "files" : "pages");
        ScriptPrinter printer;
        printer.setOptions(ScriptPrinter::OptionGenericScript |
                           ScriptPrinter::OptionNotesInCommentFont);
        ASSERT_TRUE(printer.setLinesPerPage(5));
        printer.setBackground(4, 0);
        printer.buildBackgroundPattern();
        printer.loadText(
            sj(sceneText("浜辺", {"さくら", "悠人"}, 9) + "*ＳＥ：波の音\n*ここで間をとる\n"));

        ScratchFolder here;
        PdfScriptWriter direct(c.grouping, destinationOf(here.destination()));
        printInto(printer, direct);
        direct.finish();

        ScratchFolder elsewhere;
        PdfScriptWriter writer(c.grouping, destinationOf(elsewhere.destination()));
        {
            PdfDraftSink drafts(c.form, destinationOf(elsewhere.destination()));
            RunContext quiet;
            SceneRenderer renderer(printer, drafts, quiet);
            drafts.beginScene();
            EXPECT_TRUE(renderer.printAll());
            drafts.endScene(true);
            EXPECT_FALSE(drafts.failed());
            // Not handed on: removed with the sink.
            PdfDraftSink dropped(c.form, destinationOf(elsewhere.destination()));
            (void)SceneRenderer(printer, dropped, quiet).printAll();

            writer.beginScene();
            for (PdfDraftSink::Drafted& page : drafts.drafted()) {
                if (page.script)
                    writer.putComplete(std::move(page.script));
                if (page.recorded)
                    writer.putRecorded(std::move(page.recorded));
                EXPECT_EQ(writer.beginPage(page.page), nullptr);
                writer.endPage();
            }
            writer.endScene(true);
        }
        writer.finish();
        EXPECT_EQ(writer.lostPages(), 0);
        const auto expected = filesOf(here);
        ASSERT_GE(expected.size(), 3u);
        EXPECT_TRUE(filesOf(elsewhere) == expected);
        EXPECT_EQ(elsewhere.files(), here.files());
    }
}

namespace {

struct Bundled {
    std::map<std::string, std::string> files;
    std::vector<int> lost; // per scene
};

// Four scenes of up to five characters into bundles, each bundle fed by
// several scenes: the first, second and fourth recorded elsewhere and handed
// on, the third drawn by the writer itself; with threads > 1 the bundles are
// painted on threads of their own.
Bundled bundleScenes(int threads, std::size_t queued)
{
    struct Scene {
        std::string name;
        std::vector<std::string> characters;
        int lines;
        bool recorded;
    };
    const Scene scenes[] = {
        {"一", {"さくら", "悠人", "店主", "海斗", "美月"}, 23, true},
        {"二", {"悠人", "海斗"}, 9, true},
        {"三", {"美月", "さくら", "店主", "悠人"}, 13, false},
        {"四", {"美月"}, 11, true},
    };
    ScratchFolder folder;
    PdfScriptWriter writer(PdfScriptWriter::Grouping::ByActor, destinationOf(folder.destination()));
    writer.writeBundlesOn(threads, queued);
    std::vector<int> numbers;
    for (const Scene& scene : scenes) {
        auto printer = printerOf(scene.name, scene.characters, scene.lines);
        if (!scene.recorded) {
            numbers.push_back(writer.beginScene());
            RunContext quiet;
            EXPECT_TRUE(SceneRenderer(*printer, writer, quiet).printAll());
            writer.endScene(true);
            continue;
        }
        PdfDraftSink drafts(PdfDraftSink::Form::Pages, destinationOf(folder.destination()));
        RunContext quiet;
        drafts.beginScene();
        EXPECT_TRUE(SceneRenderer(*printer, drafts, quiet).printAll());
        drafts.endScene(true);
        numbers.push_back(writer.beginScene());
        for (PdfDraftSink::Drafted& page : drafts.drafted()) {
            writer.putRecorded(std::move(page.recorded));
            EXPECT_EQ(writer.beginPage(page.page), nullptr);
            writer.endPage();
        }
        writer.endScene(true);
    }
    writer.finish();
    Bundled bundled;
    bundled.files = filesOf(folder);
    for (int number : numbers)
        bundled.lost.push_back(writer.lostPages(number));
    return bundled;
}

} // namespace

// Bundles painted on threads of their own, more bundles than threads, with
// pages drawn by the writer itself among the recorded ones, are the bundles
// painted on the writer's thread, byte for byte; with the disk full they
// lose the same pages for the same scenes, and leave nothing behind.
TEST(PdfScriptWriterTest, BundlesPaintedOnThreadsOfTheirOwnAreTheSameFiles)
{
    struct Case {
        int threads;
        std::size_t queued;
        bool diskFull;
    };
    const Bundled serial = bundleScenes(1, 1);
    ASSERT_EQ(serial.files.size(), 6u);
    EXPECT_EQ(serial.lost, std::vector<int>(4, 0));
    Bundled serialFull;
    {
        FileFaults::Scope faults;
        FileFaults::fail(FileFaults::Kind::Write, WinError::DiskFull, 0, -1);
        serialFull = bundleScenes(1, 1);
    }
    EXPECT_TRUE(serialFull.files.empty());
    EXPECT_GT(serialFull.lost[0], 0);
    for (const Case& c :
         {Case{2, 1, false}, Case{3, 4, false}, Case{8, 64, false}, Case{2, 3, true}}) {
        SCOPED_TRACE(std::to_string(c.threads) + " threads, " + std::to_string(c.queued) +
                     " queued" + (c.diskFull ? ", disk full" : ""));
        Bundled threaded;
        {
            FileFaults::Scope faults;
            if (c.diskFull)
                FileFaults::fail(FileFaults::Kind::Write, WinError::DiskFull, 0, -1);
            threaded = bundleScenes(c.threads, c.queued);
        }
        const Bundled& expected = c.diskFull ? serialFull : serial;
        EXPECT_EQ(threaded.lost, expected.lost);
        ASSERT_EQ(threaded.files.size(), expected.files.size());
        for (const auto& [name, bytes] : expected.files)
            EXPECT_TRUE(threaded.files.count(name) && threaded.files.at(name) == bytes) << name;
    }
}

TEST(PdfScriptWriterTest, DraftsAreWrittenInTheNearestFolderThatExists)
{
    ScratchFolder folder;
    std::filesystem::create_directories(folder / "a/b");
    std::ofstream(folder / "file") << "x";
    const struct {
        const char* destination;
        std::string expected;
    } cases[] = {
        {"a/b/", folder / "a/b/"}, {"a/b/c/d/", folder / "a/b/"},
        {"a", folder / "a/"},      {"new/", folder.destination()},
        {"file/sub/", ""}, // a file is in the way: nowhere
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.destination);
        EXPECT_EQ(PdfDraftSink::existingFolder(FCString((folder / c.destination).c_str())),
                  c.expected);
    }
}
