#include "voices/VoiceSorter.h"

#include "VoiceTestScenario.h"
#include "platform/Clock.h"
#include "platform/FileFaults.h"
#include "platform/WinError.h"

#include <fstream>
#include <iterator>
#include <map>
#include <sys/stat.h>

namespace {

using Snapshot = std::map<std::string, std::string>; // relative path -> bytes

// Every file under a folder but the sorting log.
Snapshot snapshot(const std::string& root)
{
    Snapshot files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        const std::string relative = entry.path().string().substr(root.size() + 1);
        if (!entry.is_regular_file() || relative == VoiceSorter::LogFileName)
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        files[relative] = std::string(std::istreambuf_iterator<char>(in), {});
    }
    return files;
}

std::string bytesOf(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Noon of 15 June 2001 (UTC): in every time zone a June day.
class JuneClock : public Clock {
public:
    std::time_t now() const override { return 992606400; }
};

struct Where {
    const char* name;
    bool move;
    // The delivery on another file system than the destination.
    bool acrossFileSystems;
};

// 000001 さくら and 000003 さくら (s02), 000002 悠人. The destination already
// holds 悠人/000002.wav with the same bytes and さくら/000003.wav with other
// ones.
class SortCase {
public:
    explicit SortCase(const Where& where)
        : delivery(where.acrossFileSystems ? "/dev/shm" : "/tmp"), move(where.move)
    {
        SpeakerLines::readText(sj(".total\t0\n000001 さくら「a」\n000002 悠人「b」\n"), 0, lines);
        SpeakerLines::readText(sj(".total\t0\n000003 さくら「c」\n"), 1, lines);
        writeAudio(delivery / "000001.wav", 8000);
        writeAudio(delivery / "000002.wav", 4000);
        std::filesystem::create_directory(delivery / "day2");
        writeAudio(delivery / "day2/000003.wav", 2000);
        // Folder names on disk are UTF-8, as these literals are.
        std::filesystem::create_directories(destination / "悠人");
        std::filesystem::create_directories(destination / "さくら");
        std::filesystem::copy_file(delivery / "000002.wav", destination / "悠人/000002.wav");
        writeAudio(destination / "さくら/000003.wav", 100);
        original = snapshot(delivery.path());
    }

    // As the command does on every run: what the delivery holds now.
    void plan()
    {
        QuietProgress progress;
        bool cancelled = false;
        EXPECT_EQ(DeliveryScan::scan(delivery.path(), VoiceNumberPattern(), {}, progress, found,
                                     cancelled),
                  0);
        result = VoiceCheck::run(
            lines, found, {},
            [&](const DeliveredFile& file) {
                return AudioProbe::probe(delivery / file.path, false);
            },
            progress);
        items = VoiceSortPlan::make(
            {lines, sceneNames, found, result, delivery.path(), destination.path(), false});
    }

    VoiceSorter::Outcome sort(std::function<bool(VoiceSorter::Step)> interrupt = {})
    {
        plan();
        VoiceSorter sorter(destination.path(), move, clock);
        sorter.setInterruption(std::move(interrupt));
        QuietProgress progress;
        const VoiceSorter::Outcome outcome = sorter.run(items, progress);
        counts = sorter.counts();
        return outcome;
    }

    // Every delivered file is still in the delivery or in the destination.
    void expectNothingLost() const
    {
        const Snapshot left = snapshot(delivery.path());
        const Snapshot sorted = snapshot(destination.path());
        for (const auto& [path, bytes] : original) {
            bool found = left.count(path) != 0 && left.at(path) == bytes;
            for (const auto& [name, there] : sorted)
                found = found || there == bytes;
            EXPECT_TRUE(found) << path << " is lost";
        }
    }

    ScratchFolder delivery;
    ScratchFolder destination;
    bool move;
    std::vector<SpeakerLine> lines;
    std::vector<std::string> sceneNames{"s01", "s02"};
    Delivery found;
    VoiceCheck::Result result;
    std::vector<SortItem> items;
    Snapshot original;
    VoiceSorter::Counts counts;
    JuneClock clock;
};

class VoiceSorterTest : public testing::TestWithParam<Where> {
protected:
    void SetUp() override
    {
        struct stat shm, tmp;
        if (GetParam().acrossFileSystems && (::stat("/dev/shm", &shm) != 0 ||
                                             ::stat("/tmp", &tmp) != 0 || shm.st_dev == tmp.st_dev))
            GTEST_SKIP() << "/dev/shm is not a file system of its own here";
    }
};

const Where places[] = {
    {"Copy", false, false},
    {"Move", true, false},
    {"MoveAcrossFileSystems", true, true},
};

} // namespace

TEST_P(VoiceSorterTest, SortsEachRecordedFileIntoItsCharactersFolder)
{
    SortCase sort(GetParam());
    const std::string sakura = "さくら", yuto = "悠人";
    ASSERT_EQ(sort.sort(), VoiceSorter::Outcome::Done);
    const Snapshot sorted = snapshot(sort.destination.path());
    EXPECT_EQ(sorted.size(), 4u);
    EXPECT_EQ(sorted.at(sakura + "/000001.wav"), sort.original.at("000001.wav"));
    EXPECT_EQ(sorted.at(yuto + "/000002.wav"), sort.original.at("000002.wav"));
    EXPECT_EQ(sorted.at(sakura + "/000003(2).wav"), sort.original.at("day2/000003.wav"));
    EXPECT_EQ(sort.counts.alreadyThere, 1);
    EXPECT_EQ(sort.counts.keptBeside, 1);
    EXPECT_EQ(sort.counts.copied + sort.counts.moved, 2);
    // A move leaves nothing behind; a copy leaves the delivery as it was.
    EXPECT_EQ(snapshot(sort.delivery.path()), sort.move ? Snapshot() : sort.original);
    const std::string log = utf8(bytesOf(sort.destination / VoiceSorter::LogFileName));
    EXPECT_NE(log.find("既にあります\t" + sort.delivery / "000002.wav"), std::string::npos) << log;
    EXPECT_NE(log.find("振り分け終了\t済 2\t既存 1\t失敗 0\n"), std::string::npos) << log;
    // The opening line is stamped with the sorter's clock.
    EXPECT_EQ(log.rfind("振り分け開始\t2001-06-", 0), 0u) << log;

    // Once more: everything is in place already.
    ASSERT_EQ(sort.sort(), VoiceSorter::Outcome::Done);
    EXPECT_EQ(snapshot(sort.destination.path()), sorted);
    EXPECT_EQ(sort.counts.copied + sort.counts.moved, 0);
}

TEST_P(VoiceSorterTest, ARerunAfterAnInterruptionAtAnyStepCompletesTheSort)
{
    SortCase whole(GetParam());
    ASSERT_EQ(whole.sort(), VoiceSorter::Outcome::Done);
    const Snapshot sorted = snapshot(whole.destination.path());
    const Snapshot left = snapshot(whole.delivery.path());

    for (int stopAt = 0;; ++stopAt) {
        SortCase sort(GetParam());
        int step = 0;
        const VoiceSorter::Outcome first =
            sort.sort([&](VoiceSorter::Step) { return step++ == stopAt; });
        if (first == VoiceSorter::Outcome::Done)
            break; // Past the last step: nothing was interrupted.
        ASSERT_EQ(first, VoiceSorter::Outcome::Interrupted);
        sort.expectNothingLost();
        ASSERT_EQ(sort.sort(), VoiceSorter::Outcome::Done) << "after step " << stopAt;
        EXPECT_EQ(snapshot(sort.destination.path()), sorted) << "after step " << stopAt;
        EXPECT_EQ(snapshot(sort.delivery.path()), left) << "after step " << stopAt;
        ASSERT_LT(stopAt, 100) << "the sort never ends";
    }
}

TEST_P(VoiceSorterTest, AFullDiskStopsTheSortAndARerunCompletesIt)
{
    SortCase whole(GetParam());
    ASSERT_EQ(whole.sort(), VoiceSorter::Outcome::Done);

    SortCase sort(GetParam());
    {
        FileFaults::Scope faults;
        // The log's first line goes through; every write after it fails. A
        // move within one file system writes nothing but the log.
        FileFaults::fail(FileFaults::Kind::Write, WinError::DiskFull, 1, -1);
        EXPECT_EQ(sort.sort(), VoiceSorter::Outcome::Failed);
        EXPECT_GE(sort.counts.failed, 1);
    }
    sort.expectNothingLost();
    for (const auto& [path, bytes] : snapshot(sort.destination.path()))
        EXPECT_EQ(path.find(VoiceSorter::TemporaryPrefix), std::string::npos) << path;
    ASSERT_EQ(sort.sort(), VoiceSorter::Outcome::Done);
    EXPECT_EQ(snapshot(sort.destination.path()), snapshot(whole.destination.path()));
    EXPECT_EQ(snapshot(sort.delivery.path()), snapshot(whole.delivery.path()));
}

INSTANTIATE_TEST_SUITE_P(Places, VoiceSorterTest, testing::ValuesIn(places),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(VoiceSorterNameTest, KeepsANewFileBesideAnotherOfItsName)
{
    EXPECT_EQ(VoiceSorter::variant("000001.wav", 1), "000001.wav");
    EXPECT_EQ(VoiceSorter::variant("000001.wav", 2), "000001(2).wav");
    EXPECT_EQ(VoiceSorter::variant("a.b.flac", 3), "a.b(3).flac");
    EXPECT_EQ(VoiceSorter::variant("noext", 2), "noext(2)");
}
