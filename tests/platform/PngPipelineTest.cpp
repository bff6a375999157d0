#include "TempFolder.h"
#include "platform/PngWriter.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <memory>
#include <string>
#include <sys/inotify.h>
#include <unistd.h>
#include <vector>

namespace {

std::string bytesOf(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A grey test page, rows top to bottom; seed makes pages differ.
std::vector<uint8_t> greyPage(int width, int height, int seed)
{
    std::vector<uint8_t> pixels(std::size_t(width) * std::size_t(height), 255);
    for (int y = 0; y < height; ++y)
        for (int x = (y * 7 + seed) % 13; x < width; x += 13)
            pixels[std::size_t(y) * std::size_t(width) + std::size_t(x)] =
                uint8_t((x + y + seed) % 256);
    return pixels;
}

// The same page as the BGRX pixels the true-colour path writes.
std::vector<uint8_t> bgrxOf(const std::vector<uint8_t>& grey)
{
    std::vector<uint8_t> out;
    out.reserve(grey.size() * 4);
    for (uint8_t g : grey) {
        out.push_back(g);
        out.push_back(g);
        out.push_back(g);
        out.push_back(0);
    }
    return out;
}

// The names that arrived in a folder, in the order they took them.
class Arrivals {
public:
    explicit Arrivals(const std::string& folder)
    {
        m_fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        if (m_fd >= 0)
            inotify_add_watch(m_fd, folder.c_str(), IN_MOVED_TO | IN_CREATE);
    }
    ~Arrivals()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    bool watching() const { return m_fd >= 0; }
    std::vector<std::string> names(const std::string& suffix)
    {
        std::vector<std::string> out;
        alignas(inotify_event) char buffer[65536];
        for (;;) {
            const ssize_t got = ::read(m_fd, buffer, sizeof buffer);
            if (got <= 0)
                break;
            for (ssize_t at = 0; at < got;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                const std::string name = event->len ? event->name : "";
                if (name.size() >= suffix.size() &&
                    name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
                    out.push_back(name);
                at += ssize_t(sizeof(inotify_event) + event->len);
            }
        }
        return out;
    }

private:
    int m_fd = -1;
};

constexpr int Width = 301;
constexpr int Height = 97;

} // namespace

TEST(PngPipelineTest, AGreyPageMakesTheSameFileAsItsTrueColourCopy)
{
    TempFolder folder;
    const std::vector<uint8_t> grey = greyPage(Width, Height, 3);
    const std::vector<uint8_t> bgrx = bgrxOf(grey);
    ASSERT_EQ(PngWriter::writeGrey(folder / "grey.png", Width, Height, grey.data(), Width, true),
              PngWriter::Written);
    ASSERT_EQ(
        PngWriter::writeBgrx(folder / "bgrx.png", Width, Height, bgrx.data(), 4 * Width, true),
        PngWriter::Written);
    EXPECT_EQ(bytesOf(folder / "grey.png"), bytesOf(folder / "bgrx.png"));

    // Bottom-up storage, read with a negative step, gives the same file.
    std::vector<uint8_t> flipped(grey.size());
    for (int y = 0; y < Height; ++y)
        std::copy_n(grey.begin() + std::ptrdiff_t(y) * Width, Width,
                    flipped.begin() + std::ptrdiff_t(Height - 1 - y) * Width);
    ASSERT_EQ(PngWriter::writeGrey(folder / "up.png", Width, Height,
                                   flipped.data() + std::ptrdiff_t(Height - 1) * Width, -Width,
                                   true),
              PngWriter::Written);
    EXPECT_EQ(bytesOf(folder / "up.png"), bytesOf(folder / "bgrx.png"));
}

TEST(PngPipelineTest, QueuedPagesTakeTheirNamesInQueueOrderWithTheSameBytes)
{
    TempFolder folder;
    Arrivals arrivals(folder.path());
    ASSERT_TRUE(arrivals.watching());
    constexpr int Pages = 24;
    std::vector<std::string> expected;
    {
        PngWriter::Pipeline pipeline;
        for (int i = 0; i < Pages; ++i) {
            auto pixels = std::make_shared<std::vector<uint8_t>>(greyPage(Width, Height, i));
            const std::string name = "p" + std::to_string(100 + i) + ".png";
            expected.push_back(name);
            pipeline.queueGrey(folder / name, Width, Height, pixels->data(), Width, true, pixels);
        }
        pipeline.finish();
        EXPECT_EQ(pipeline.failures(), 0);
        // Every file is there once finish returns.
        for (const std::string& name : expected)
            EXPECT_TRUE(std::filesystem::exists(folder / name)) << name;
    }
    EXPECT_EQ(arrivals.names(".png"), expected);
    for (int i = 0; i < Pages; ++i) {
        const std::vector<uint8_t> grey = greyPage(Width, Height, i);
        ASSERT_EQ(PngWriter::writeGrey(folder / "one.png", Width, Height, grey.data(), Width, true),
                  PngWriter::Written);
        EXPECT_EQ(bytesOf(folder / expected[std::size_t(i)]), bytesOf(folder / "one.png")) << i;
    }
    // No temporary is left behind.
    int entries = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
        entries += entry.path().filename().string()[0] == '.';
    EXPECT_EQ(entries, 0);
}

TEST(PngPipelineTest, APageThatCannotBeWrittenIsCountedAndTheOthersStillArrive)
{
    TempFolder folder;
    std::filesystem::create_directories(folder / "taken.png");
    PngWriter::Pipeline pipeline;
    auto pixels = std::make_shared<std::vector<uint8_t>>(greyPage(Width, Height, 1));
    pipeline.queueGrey(folder / "a.png", Width, Height, pixels->data(), Width, true, pixels);
    pipeline.queueGrey(folder / "taken.png", Width, Height, pixels->data(), Width, true, pixels);
    pipeline.queueGrey(folder / "missing/b.png", Width, Height, pixels->data(), Width, true,
                       pixels);
    pipeline.queueGrey(folder / "c.png", Width, Height, pixels->data(), Width, true, pixels);
    pipeline.finish();
    EXPECT_EQ(pipeline.failures(), 2);
    EXPECT_TRUE(std::filesystem::is_regular_file(folder / "a.png"));
    EXPECT_TRUE(std::filesystem::is_regular_file(folder / "c.png"));
    EXPECT_TRUE(std::filesystem::is_directory(folder / "taken.png"));
}

TEST(PngPipelineTest, EveryFileHasTheSameBytesWhateverTheWorkersAndTheirPastWork)
{
    // The same pages written by one worker, then by three workers that first
    // encode other pages and are fed one page at a time (so that another
    // worker takes each page): every file must come out byte for byte the
    // same, whichever worker encoded it and whatever it encoded before.
    TempFolder folder;
    const int pageCount = 12;
    std::vector<std::vector<uint8_t>> pages;
    for (int seed = 0; seed < pageCount; ++seed)
        pages.push_back(greyPage(Width * 3, Height * 4, seed));
    auto run = [&](const std::string& name, unsigned workers, bool starved) {
        const std::vector<uint8_t> other = greyPage(Width, Height, 99); // outlives the pipeline
        PngWriter::Pipeline pipeline(workers);
        if (starved) {
            for (unsigned i = 0; i < 2 * workers; ++i)
                pipeline.queueGrey(folder / ("warm" + std::to_string(i) + ".png"), Width, Height,
                                   other.data(), Width, true, nullptr);
        }
        for (int i = 0; i < pageCount; ++i) {
            pipeline.queueGrey(folder / (name + std::to_string(i) + ".png"), Width * 3, Height * 4,
                               pages[std::size_t(i)].data(), Width * 3, true, nullptr);
            if (starved)
                pipeline.finish();
        }
        pipeline.finish();
        EXPECT_EQ(pipeline.failures(), 0);
    };
    run("one", 1, false);
    run("three", 3, true);
    for (int i = 0; i < pageCount; ++i) {
        const std::string one = bytesOf(folder / ("one" + std::to_string(i) + ".png"));
        ASSERT_FALSE(one.empty()) << i;
        EXPECT_TRUE(one == bytesOf(folder / ("three" + std::to_string(i) + ".png"))) << i;
    }
}
