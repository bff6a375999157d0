#include "VoiceTestScenario.h"

#include <sys/stat.h>
#include <unistd.h>

namespace {

std::vector<std::string> pathsOf(const Delivery& delivery)
{
    std::vector<std::string> paths;
    for (const DeliveredFile& file : delivery.audio)
        paths.push_back(file.path + (file.number ? "=" + std::to_string(*file.number) : ""));
    return paths;
}

std::vector<std::string> skippedOf(const Delivery& delivery)
{
    std::vector<std::string> skipped;
    for (const DeliverySkip& skip : delivery.skipped)
        skipped.push_back(skip.path + ": " + DeliveryScan::reasonText(skip));
    return skipped;
}

} // namespace

TEST(DeliveryScanTest, FindsAudioByExtensionInEveryCase)
{
    for (const char* name : {"a.wav", "a.WAV", "a.Flac", "a.ogg", "a.OPUS", "a.mp3"})
        EXPECT_TRUE(DeliveryScan::isAudioName(name)) << name;
    for (const char* name : {"a.wav.txt", "wav", ".wav", "a.aiff", "a.wa"})
        EXPECT_FALSE(DeliveryScan::isAudioName(name)) << name;
}

TEST(DeliveryScanTest, ReportsWhatItCannotUseAndNeverLoops)
{
    ScratchFolder delivery;
    const std::string root = delivery.path();
    std::filesystem::create_directories(root + "/b/inner");
    writeText(root + "/b/000002.wav", "");
    writeText(root + "/b/inner/000003.WAV", "");
    writeText(root + "/000001.wav", "");
    writeText(root + "/notes.txt", "");
    writeText(root + "/._000001.wav", "");
    std::filesystem::create_directory(root + "/.hidden");
    writeText(root + "/.hidden/000009.wav", "");
    // "🎤" has no Shift-JIS form.
    writeText(root + "/\xF0\x9F\x8E\xA4" "000004.wav", "");
    ASSERT_EQ(::mkfifo((root + "/000005.wav").c_str(), 0600), 0);
    std::filesystem::create_symlink("000001.wav", root + "/000006.wav");
    std::filesystem::create_symlink("nothing.wav", root + "/000007.wav");
    std::filesystem::create_symlink("loop2.wav", root + "/loop1.wav");
    std::filesystem::create_symlink("loop1.wav", root + "/loop2.wav");
    std::filesystem::create_directory_symlink("..", root + "/b/up");
    std::filesystem::create_directory(root + "/sorted");
    writeText(root + "/sorted/000001.wav", "");

    QuietProgress progress;
    Delivery found;
    bool cancelled = false;
    ASSERT_EQ(DeliveryScan::scan(root, VoiceNumberPattern(), root + "/sorted", progress, found,
                                 cancelled),
              0);
    EXPECT_FALSE(cancelled);
    EXPECT_EQ(pathsOf(found), (std::vector<std::string>{"000001.wav=1", "000006.wav=6",
                                                        "b/000002.wav=2", "b/inner/000003.WAV=3"}));
    EXPECT_TRUE(found.audio[1].viaLink);
    EXPECT_EQ(found.otherFiles, 3); // notes.txt, ._000001.wav, .hidden
    EXPECT_EQ(skippedOf(found),
              (std::vector<std::string>{
                  "000005.wav: not a regular file (a FIFO, socket or device)",
                  "000007.wav: the link leads to nothing",
                  "loop1.wav: the links lead round in a loop",
                  "loop2.wav: the links lead round in a loop",
                  "\xF0\x9F\x8E\xA4" "000004.wav: the name cannot be written in Shift-JIS",
                  "b/up: a link to a folder already looked through",
              }));
}

TEST(DeliveryScanTest, TellsAFolderItCannotRead)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not stop the root user";
    ScratchFolder delivery;
    std::filesystem::create_directory(delivery / "locked");
    ASSERT_EQ(::chmod((delivery / "locked").c_str(), 0), 0);
    QuietProgress progress;
    Delivery found;
    bool cancelled = false;
    EXPECT_EQ(
        DeliveryScan::scan(delivery.path(), VoiceNumberPattern(), {}, progress, found, cancelled),
        0);
    ::chmod((delivery / "locked").c_str(), 0700);
    ASSERT_EQ(found.skipped.size(), 1u);
    EXPECT_EQ(found.skipped[0].why, DeliverySkip::Why::UnreadableFolder);
}

TEST(DeliveryScanTest, AMissingDeliveryIsAnError)
{
    QuietProgress progress;
    Delivery found;
    bool cancelled = false;
    EXPECT_EQ(DeliveryScan::scan("/nonexistent/delivery", VoiceNumberPattern(), {}, progress, found,
                                 cancelled),
              ENOENT);
}
