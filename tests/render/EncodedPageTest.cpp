#include "render/EncodedPage.h"

#include "SurfaceTestFolder.h"
#include "platform/PngWriter.h"
#include "render/FCVSurface.h"
#include "render/PageDevice.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>

namespace {

// How a page is encoded and what stands at its name when it is filed.
struct FilingCase {
    const char* name;
    bool png;
    bool staged;        // a staging folder was there for the temporary
    const char* before; // "": nothing; else the text of a file there
    bool linked;        // the file there is a second name of another file
    bool folder = true; // the page's folder is there
};

void writeText(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

// The page's file as a page drawn on the run's thread writes it.
std::vector<uint8_t> writtenAsUsual(const FCVSurface& page, bool png, const std::string& path)
{
    EXPECT_TRUE(png ? PngWriter::writeGrey(path, page.width(), page.height(), page.pixel(0, 0),
                                           -std::ptrdiff_t(page.stride()), true) == 0
                    : page.saveBmp(path.c_str()));
    return SurfaceTestFolder::read(path);
}

class EncodedPageTest : public testing::TestWithParam<FilingCase> {};

} // namespace

// A page encoded on another thread lands under its name with the bytes the
// usual path writes, whether its temporary takes the name or its bytes are
// written the usual way (no staging, a BMP file there, a link there); a
// page whose folder is missing is not written. No temporary stays behind.
TEST_P(EncodedPageTest, FilesTheBytesTheUsualPathWritesAndLeavesNoTemporary)
{
    const FilingCase c = GetParam();
    SurfaceTestFolder folder;
    ASSERT_TRUE(folder.isValid());
    const std::string staging = folder / "staging";
    std::filesystem::create_directories(staging);
    if (c.folder)
        std::filesystem::create_directories(folder / "pages");
    FCVSurface page(PageDevice::ImageHeight, PageDevice::ImageWidth, 255);
    page.fill(0, FCRect{40, 30, 200, 90});
    page.fill(128, FCRect{300, 500, 310, 900});
    const std::string extension = c.png ? ".png" : ".bmp";
    const std::vector<uint8_t> usual = writtenAsUsual(page, c.png, folder / ("usual" + extension));

    const std::string path = folder / ("pages/page" + extension);
    const std::string other = folder / "other";
    if (*c.before) {
        writeText(c.linked ? other : path, c.before);
        if (c.linked)
            std::filesystem::create_hard_link(other, path);
    }
    EncodedPage encoded = EncodedPage::encode(page, c.png, c.staged ? staging : "");
    EXPECT_TRUE(encoded.encoded());
    EXPECT_EQ(encoded.staged(), c.staged);
    EncodedPage moved = std::move(encoded);
    EXPECT_EQ(moved.save(path.c_str()), c.folder);
    EXPECT_TRUE(c.folder ? SurfaceTestFolder::read(path) == usual : !std::filesystem::exists(path));
    // A BMP file there is written in place, so its other names see the page.
    if (c.linked) {
        EXPECT_EQ(SurfaceTestFolder::read(other) == usual, !c.png);
    }
    EXPECT_TRUE(std::filesystem::is_empty(staging));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EncodedPageTest,
    testing::Values(FilingCase{"PngStaged", true, true, "", false},
                    FilingCase{"PngInMemory", true, false, "", false},
                    FilingCase{"PngOverAFile", true, true, "an older page", false},
                    FilingCase{"BmpStaged", false, true, "", false},
                    FilingCase{"BmpInMemory", false, false, "", false},
                    FilingCase{"BmpOverALinkedFile", false, true, "an older page", true},
                    FilingCase{"PngWithoutItsFolder", true, true, "", false, false}),
    [](const auto& info) { return std::string(info.param.name); });
