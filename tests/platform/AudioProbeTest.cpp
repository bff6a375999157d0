#include "platform/AudioProbe.h"

#include "AudioTestFiles.h"
#include "TempFolder.h"
#include "TestText.h"

#include <cmath>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct ProbeCase {
    const char* name;
    void (*make)(const std::string& path);
    bool checkContent;
    const char* brokenReason; // UTF-8; "" for a good file
    bool silent;
    bool clipped;
};

const ProbeCase probeCases[] = {
    {"GoodWav", [](const std::string& p) { writeAudio(p, 8000); }, false, "", false, false},
    {"GoodFlac", [](const std::string& p) { writeFlac(p, 8000); }, true, "", false, false},
    {"ZeroBytes", [](const std::string& p) { writeText(p, ""); }, false, "長さ0", false, false},
    {"NoFrames", [](const std::string& p) { writeAudio(p, 0); }, false, "長さ0", false, false},
    {"NotAudio", [](const std::string& p) { writeText(p, "000123 is not a recording\n"); }, false,
     "開けません（Format not recognised.）", false, false},
    // libsndfile clamps a cut WAV to the data present: only its header's
    // length tells, so the header alone does not see it.
    {"CutWavByItsHeader", [](const std::string& p) { writeCutWav(p, 8000); }, false, "", false,
     false},
    {"CutWavByItsContent", [](const std::string& p) { writeCutWav(p, 8000); }, true,
     "途中で切れています", false, false},
    {"Silent", [](const std::string& p) { writeAudio(p, 8000, 0.0005); }, true, "", true, false},
    {"JustAboveSilence", [](const std::string& p) { writeAudio(p, 8000, 0.002); }, true, "", false,
     false},
    {"ClippedWav", [](const std::string& p) { writeAudio(p, 8000, 1.0); }, true, "", false, true},
    {"ClippedFlac", [](const std::string& p) { writeFlac(p, 8000, 1.0); }, true, "", false, true},
};

class AudioProbeTest : public testing::TestWithParam<ProbeCase> {};

} // namespace

TEST_P(AudioProbeTest, TellsWhatTheFileHolds)
{
    const ProbeCase& c = GetParam();
    TempFolder folder;
    const std::string path = folder / "000001.wav";
    c.make(path);
    const AudioProbe::Result result = AudioProbe::probe(path, c.checkContent);
    EXPECT_EQ(utf8(result.brokenReason), c.brokenReason);
    EXPECT_EQ(result.silent(), c.silent) << result.peak;
    EXPECT_EQ(result.clipped(), c.clipped) << result.peak;
    if (!result.broken()) {
        EXPECT_DOUBLE_EQ(result.seconds(), c.name == std::string("CutWavByItsHeader") ? 0.5 : 1.0);
    }
}

INSTANTIATE_TEST_SUITE_P(Files, AudioProbeTest, testing::ValuesIn(probeCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(AudioProbeFileTest, NeverOpensAFifo)
{
    TempFolder folder;
    const std::string path = folder / "000001.wav";
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    // Nobody writes to the FIFO: an open that waited would hang here.
    EXPECT_EQ(utf8(AudioProbe::probe(path, true).brokenReason), "通常のファイルではありません");
}

TEST(AudioProbeFileTest, TellsAMissingFile)
{
    EXPECT_EQ(utf8(AudioProbe::probe("/nonexistent/000001.wav", false).brokenReason),
              "開けません（No such file or directory）");
}

TEST(AudioProbeFileTest, ReadsTheLengthARiffHeaderDeclares)
{
    TempFolder folder;
    const std::string path = folder / "cut.wav";
    writeCutWav(path, 8000);
    const int fd = ::open(path.c_str(), O_RDONLY);
    EXPECT_EQ(AudioProbe::declaredWavFrames(fd), 8000);
    ::close(fd);
    writeFlac(path, 10);
    const int flac = ::open(path.c_str(), O_RDONLY);
    EXPECT_EQ(AudioProbe::declaredWavFrames(flac), -1);
    ::close(flac);
}
