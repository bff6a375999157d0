#include "TempFolder.h"
#include "platform/DeflateStream.h"
#include "platform/PngWriter.h"
#include "platform/RowExpansion.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <vector>
#include <zlib.h>

namespace {

std::vector<uint8_t> bytesOf(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

uint32_t bigEndian(const uint8_t* at)
{
    return uint32_t(at[0]) << 24 | uint32_t(at[1]) << 16 | uint32_t(at[2]) << 8 | at[3];
}

struct Chunk {
    std::string type;
    std::vector<uint8_t> data;
    bool crcHolds = false;
};

// The chunks of a PNG file after its signature; an empty list when the
// signature is wrong or a chunk runs past the end.
std::vector<Chunk> chunksOf(const std::vector<uint8_t>& file)
{
    static const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<Chunk> out;
    if (file.size() < 8 || !std::equal(signature, signature + 8, file.begin()))
        return out;
    for (std::size_t at = 8; at < file.size();) {
        if (file.size() - at < 12)
            return {};
        const uint32_t length = bigEndian(&file[at]);
        if (file.size() - at - 12 < length)
            return {};
        Chunk chunk;
        chunk.type.assign(file.begin() + std::ptrdiff_t(at + 4),
                          file.begin() + std::ptrdiff_t(at + 8));
        chunk.data.assign(file.begin() + std::ptrdiff_t(at + 8),
                          file.begin() + std::ptrdiff_t(at + 8 + length));
        // Checked with zlib's CRC, not the writer's own.
        const uLong crc = ::crc32(0, &file[at + 4], uInt(length + 4));
        chunk.crcHolds = crc == bigEndian(&file[at + 8 + length]);
        out.push_back(std::move(chunk));
        at += 12 + length;
    }
    return out;
}

// Inflates a zlib stream with zlib; false when zlib finds it broken (its
// adler32 included) or it does not end where the data does.
bool inflateAll(const std::vector<uint8_t>& stream, std::vector<uint8_t>& out)
{
    z_stream z{};
    if (inflateInit(&z) != Z_OK)
        return false;
    z.next_in = const_cast<Bytef*>(stream.data());
    z.avail_in = uInt(stream.size());
    uint8_t buffer[65536];
    int status = Z_OK;
    while (status == Z_OK) {
        z.next_out = buffer;
        z.avail_out = sizeof buffer;
        status = inflate(&z, Z_NO_FLUSH);
        out.insert(out.end(), buffer, buffer + (sizeof buffer - z.avail_out));
        if (status == Z_BUF_ERROR && z.avail_in == 0)
            break;
    }
    const bool ended = status == Z_STREAM_END && z.avail_in == 0;
    inflateEnd(&z);
    return ended;
}

// What the image data must inflate to: every row a filter byte 0 and its
// grey bytes as RGB triples.
std::vector<uint8_t> unfilteredRows(const std::vector<uint8_t>& grey, int width, int height)
{
    std::vector<uint8_t> out;
    for (int y = 0; y < height; ++y) {
        out.push_back(0);
        for (int x = 0; x < width; ++x)
            out.insert(out.end(), 3, grey[std::size_t(y) * std::size_t(width) + std::size_t(x)]);
    }
    return out;
}

// A page of text-like marks on white, or (noise) random grey throughout.
std::vector<uint8_t> testPage(int width, int height, unsigned seed, bool noise)
{
    std::mt19937 random(seed);
    std::vector<uint8_t> pixels(std::size_t(width) * std::size_t(height), 255);
    for (std::size_t i = 0; i < pixels.size(); ++i)
        if (noise || random() % 9 == 0)
            pixels[i] = uint8_t(random());
    return pixels;
}

struct PageCase {
    const char* name;
    int width;
    int height;
    bool noise;
};

class PngFileTest : public testing::TestWithParam<PageCase> {};

} // namespace

TEST_P(PngFileTest, ChunksCarryTheirCrcAndTheImageDataInflatesToTheRows)
{
    const PageCase& page = GetParam();
    TempFolder folder;
    const std::vector<uint8_t> grey = testPage(page.width, page.height, 7, page.noise);
    ASSERT_EQ(PngWriter::writeGrey(folder / "page.png", page.width, page.height, grey.data(),
                                   page.width, true),
              PngWriter::Written);

    const std::vector<Chunk> chunks = chunksOf(bytesOf(folder / "page.png"));
    ASSERT_GE(chunks.size(), 4u);
    EXPECT_EQ(chunks.front().type, "IHDR");
    EXPECT_EQ(chunks[1].type, "sBIT");
    EXPECT_EQ(chunks.back().type, "IEND");
    std::vector<uint8_t> stream;
    for (const Chunk& chunk : chunks) {
        EXPECT_TRUE(chunk.crcHolds) << chunk.type;
        if (chunk.type == "IDAT")
            stream.insert(stream.end(), chunk.data.begin(), chunk.data.end());
    }
    ASSERT_EQ(chunks.front().data.size(), 13u);
    EXPECT_EQ(bigEndian(&chunks.front().data[0]), uint32_t(page.width));
    EXPECT_EQ(bigEndian(&chunks.front().data[4]), uint32_t(page.height));
    // Depth 8, RGB, deflate, adaptive filtering, not interlaced.
    EXPECT_EQ(std::vector<uint8_t>(chunks.front().data.begin() + 8, chunks.front().data.end()),
              (std::vector<uint8_t>{8, 2, 0, 0, 0}));

    std::vector<uint8_t> rows;
    ASSERT_TRUE(inflateAll(stream, rows)) << "zlib rejects the image data";
    const std::vector<uint8_t> expected = unfilteredRows(grey, page.width, page.height);
    EXPECT_TRUE(rows == expected);
    // The stream's own adler32 is the one of the rows.
    ASSERT_GE(stream.size(), 6u);
    EXPECT_EQ(bigEndian(&stream[stream.size() - 4]),
              ::adler32(1, expected.data(), uInt(expected.size())));
}

INSTANTIATE_TEST_SUITE_P(Pages, PngFileTest,
                         testing::Values(PageCase{"OnePixel", 1, 1, false},
                                         PageCase{"OddWidth", 301, 97, false},
                                         PageCase{"PortraitPageOfMarks", 864, 1152, false},
                                         PageCase{"LandscapeOfNoise", 640, 480, true}),
                         [](const testing::TestParamInfo<PageCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(PngFileCheckTest, PngcheckAcceptsAWrittenPage)
{
    if (std::system("command -v pngcheck >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "pngcheck is not installed (Debian: pngcheck)";
    TempFolder folder;
    const std::vector<uint8_t> grey = testPage(1152, 864, 3, false);
    ASSERT_EQ(PngWriter::writeGrey(folder / "page.png", 1152, 864, grey.data(), 1152, true),
              PngWriter::Written);
    const std::string command = "pngcheck -q '" + (folder / "page.png") + "' >/dev/null 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0);
    // The check can fail: a cut file does not pass.
    std::vector<uint8_t> cut = bytesOf(folder / "page.png");
    cut.resize(cut.size() / 2);
    std::ofstream(folder / "cut.png", std::ios::binary)
        .write(reinterpret_cast<const char*>(cut.data()), std::streamsize(cut.size()));
    const std::string cutCommand = "pngcheck -q '" + (folder / "cut.png") + "' >/dev/null 2>&1";
    EXPECT_NE(std::system(cutCommand.c_str()), 0);
}

TEST(DeflateStreamTest, PiecesOfAnySizeMakeOneStreamThatZlibInflates)
{
    // Random bytes do not compress, so the output grows past its first
    // allocation; a run of one byte compresses to almost nothing.
    std::mt19937 random(11);
    std::vector<uint8_t> input(700000);
    for (std::size_t i = 0; i < input.size(); ++i)
        input[i] = i < 400000 ? uint8_t(random()) : uint8_t(0xFF);
    const std::size_t pieceSizes[] = {1, 49, 4096, 65537, input.size()};
    DeflateStream deflate;
    for (std::size_t pieceSize : pieceSizes) {
        std::vector<uint8_t> out = {0xAB, 0xCD}; // bytes before the stream stay
        deflate.start(out);
        for (std::size_t at = 0; at < input.size(); at += pieceSize) {
            const std::size_t size = std::min(pieceSize, input.size() - at);
            ASSERT_TRUE(deflate.add(input.data() + at, size, at + size == input.size()));
        }
        ASSERT_GE(out.size(), 2u);
        EXPECT_EQ(out[0], 0xAB);
        EXPECT_EQ(out[1], 0xCD);
        std::vector<uint8_t> inflated;
        EXPECT_TRUE(inflateAll(std::vector<uint8_t>(out.begin() + 2, out.end()), inflated))
            << pieceSize;
        EXPECT_TRUE(inflated == input) << pieceSize;
    }
}

TEST(DeflateStreamTest, TheSameInputMakesTheSameBytesWhateverCameBefore)
{
    // Page files must not depend on which pages an encoder worker happened
    // to compress before: a reprint gives byte-identical files.
    std::mt19937 random(3);
    auto page = [&](uint8_t ink) {
        std::vector<uint8_t> bytes(300000, 0xFF);
        for (std::size_t i = 0; i < bytes.size(); i += 1 + random() % 97)
            bytes[i] = ink;
        return bytes;
    };
    const std::vector<uint8_t> first = page(0), other = page(0x40);
    auto compress = [](DeflateStream& deflate, const std::vector<uint8_t>& input) {
        std::vector<uint8_t> out;
        deflate.start(out);
        EXPECT_TRUE(deflate.add(input.data(), input.size(), true));
        return out;
    };
    DeflateStream fresh;
    const std::vector<uint8_t> alone = compress(fresh, first);
    DeflateStream used;
    compress(used, other);
    EXPECT_TRUE(compress(used, first) == alone);
}

// The CRC-32C of v, the compressor's hash of four input bytes.
uint32_t crc32cOf(uint32_t v)
{
    uint32_t crc = 0;
    for (int i = 0; i < 32; ++i) {
        const uint32_t low = (crc ^ v) & 1u;
        crc = (crc >> 1) ^ (low ? 0x82F63B78u : 0u);
        v >>= 1;
    }
    return crc;
}

TEST(DeflateStreamTest, TheBytesDoNotDependOnWhereTheStreamObjectLies)
{
    // The compressor fills one slot of its match table from the address of
    // its state as it begins a stream. For each of the table's 8192 slots,
    // an input whose third byte begins four bytes hashing to that slot,
    // repeated further on: with the state at an address of that slot the
    // repeat becomes a match, elsewhere literals. Stream objects at other
    // addresses must still give the same bytes for every input.
    constexpr uint32_t Slots = 0x2000;
    std::vector<uint32_t> wordOfSlot(Slots, 0);
    std::vector<bool> found(Slots, false);
    uint32_t missing = Slots;
    for (uint32_t i = 0; missing > 0 && i < (1u << 24); ++i) {
        uint32_t word = 0x40404040u;
        for (int b = 0; b < 4; ++b)
            word += ((i >> (6 * b)) & 0x3Fu) << (8 * b);
        const uint32_t slot = crc32cOf(word) & (Slots - 1);
        if (!found[slot]) {
            found[slot] = true;
            wordOfSlot[slot] = word;
            --missing;
        }
    }
    ASSERT_EQ(missing, 0u);
    std::vector<std::unique_ptr<DeflateStream>> streams;
    for (int i = 0; i < 2; ++i)
        streams.push_back(std::make_unique<DeflateStream>());
    int differing = 0;
    for (uint32_t slot = 0; slot < Slots; ++slot) {
        const uint8_t filler = (crc32cOf(0x2A2A2A2Au) & (Slots - 1)) == slot ? 0x2B : 0x2A;
        std::vector<uint8_t> input = {0x00, 0x01};
        for (int repeat = 0; repeat < 2; ++repeat) {
            for (int b = 0; b < 4; ++b)
                input.push_back(uint8_t(wordOfSlot[slot] >> (8 * b)));
            input.insert(input.end(), 600, filler);
        }
        std::vector<uint8_t> first;
        for (std::size_t i = 0; i < streams.size(); ++i) {
            std::vector<uint8_t> out;
            streams[i]->start(out);
            ASSERT_TRUE(streams[i]->add(input.data(), input.size(), true));
            if (i == 0)
                first = out;
            else if (out != first)
                ++differing;
        }
    }
    EXPECT_EQ(differing, 0);
}

TEST(DeflateStreamTest, AnEmptyInputIsAValidEmptyStream)
{
    DeflateStream deflate;
    std::vector<uint8_t> out;
    deflate.start(out);
    ASSERT_TRUE(deflate.add(nullptr, 0, true));
    std::vector<uint8_t> inflated = {1};
    inflated.clear();
    EXPECT_TRUE(inflateAll(out, inflated));
    EXPECT_TRUE(inflated.empty());
    // Adding after the end, before a new start, is refused.
    EXPECT_FALSE(deflate.add(out.data(), 1, true));
}

TEST(DeflateStreamTest, TheCrcIsZlibsCrc32)
{
    std::mt19937 random(5);
    std::vector<uint8_t> data(100003);
    for (uint8_t& byte : data)
        byte = uint8_t(random());
    for (std::size_t size :
         {std::size_t(0), std::size_t(1), std::size_t(4), std::size_t(63), data.size()}) {
        EXPECT_EQ(DeflateStream::crc32(0, data.data(), size), ::crc32(0, data.data(), uInt(size)))
            << size;
    }
    // Continued in two parts, the same.
    const uint32_t first = DeflateStream::crc32(0, data.data(), 1000);
    EXPECT_EQ(DeflateStream::crc32(first, data.data() + 1000, data.size() - 1000),
              ::crc32(0, data.data(), uInt(data.size())));
}

TEST(RowExpansionTest, GreyBecomesEqualTriplesAtEveryLengthAndAlignment)
{
    std::vector<uint8_t> grey(100);
    for (std::size_t i = 0; i < grey.size(); ++i)
        grey[i] = uint8_t(i * 37 + 1);
    for (std::size_t offset = 0; offset < 3; ++offset) {
        for (std::size_t count = 0; count + offset <= grey.size(); ++count) {
            std::vector<uint8_t> fast(count * 3 + 4, 0x5A);
            RowExpansion::greyToRgb(grey.data() + offset, count, fast.data() + 1);
            std::vector<uint8_t> expected(count * 3 + 4, 0x5A);
            for (std::size_t x = 0; x < count; ++x)
                for (int c = 0; c < 3; ++c)
                    expected[1 + 3 * x + std::size_t(c)] = grey[offset + x];
            ASSERT_EQ(fast, expected) << "offset " << offset << " count " << count;
            std::vector<uint8_t> plain(count * 3 + 4, 0x5A);
            RowExpansion::greyToRgbPlain(grey.data() + offset, count, plain.data() + 1);
            ASSERT_EQ(plain, expected) << "offset " << offset << " count " << count;
        }
    }
}

TEST(RowExpansionTest, BgrxBecomesRgbWithoutTheFourthByte)
{
    const uint8_t bgrx[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    uint8_t rgb[10];
    std::fill(std::begin(rgb), std::end(rgb), 0xEE);
    RowExpansion::bgrxToRgb(bgrx, 3, rgb);
    EXPECT_EQ(std::vector<uint8_t>(rgb, rgb + 10),
              (std::vector<uint8_t>{3, 2, 1, 7, 6, 5, 11, 10, 9, 0xEE}));
}
