#include "render/BmpWriter.h"

#include "fc/CannotOpenException.h"
#include "fc/CannotWriteException.h"
#include "fc/FCFile.h"
#include "fc/FCPathName.h"
#include "platform/FileStamp.h"
#include "platform/NativePath.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <string>
#include <sys/uio.h>
#include <unistd.h>

namespace {

constexpr uint32_t BmpFileHeaderSize = 14;
constexpr uint32_t BmpInfoHeaderSize = 40;
constexpr uint32_t BmpPaletteSize = 256 * 4;
constexpr uint32_t BmpPixelOffset = BmpFileHeaderSize + BmpInfoHeaderSize + BmpPaletteSize; // 1078

void put16(uint8_t* at, uint32_t value)
{
    at[0] = static_cast<uint8_t>(value);
    at[1] = static_cast<uint8_t>(value >> 8);
}

void put32(uint8_t* at, uint32_t value)
{
    put16(at, value & 0xFFFF);
    put16(at + 2, value >> 16);
}

std::array<uint8_t, BmpPixelOffset> bmpHead(int width, int height, std::size_t pixelBytes)
{
    std::array<uint8_t, BmpPixelOffset> head{};
    head[0] = 'B';
    head[1] = 'M';
    put32(&head[2], static_cast<uint32_t>(pixelBytes + BmpPixelOffset));
    put32(&head[10], BmpPixelOffset);
    uint8_t* info = &head[BmpFileHeaderSize];
    put32(info, BmpInfoHeaderSize);
    put32(info + 4, static_cast<uint32_t>(width));
    put32(info + 8, static_cast<uint32_t>(height)); // positive: rows bottom-up
    put16(info + 12, 1);                            // planes
    put16(info + 14, 8);                            // bits per pixel
    uint8_t* palette = info + BmpInfoHeaderSize;
    for (int i = 0; i < 256; ++i)
        palette[4 * i] = palette[4 * i + 1] = palette[4 * i + 2] = static_cast<uint8_t>(i);
    return head;
}

// An empty write through the file layer first lets it fail the write as it
// would fail any other; whatever the gathered write did not take goes
// through it too, so that a real failure is put to the user like every
// other.
bool writeFile(const char* path, const uint8_t* head, std::size_t headBytes, const uint8_t* rows,
               std::size_t rowBytes)
{
    try {
        FCFile file(path, FCFile::WriteDisposition, FCFile::WriteAccess, FCFile::Share,
                    FCFile::Attributes);
        if (!file.isOpen() || file.write(head, 0) != 0)
            return false;
        const std::size_t total = headBytes + rowBytes;
        std::size_t done = 0;
        iovec parts[2] = {{const_cast<uint8_t*>(head), headBytes},
                          {const_cast<uint8_t*>(rows), rowBytes}};
        ssize_t taken;
        do
            taken = ::writev(file.handle(), parts, 2);
        while (taken < 0 && errno == EINTR);
        if (taken > 0)
            done = static_cast<std::size_t>(taken);
        while (done < total) {
            const bool inHead = done < headBytes;
            const uint8_t* from = inHead ? head + done : rows + (done - headBytes);
            const std::size_t left = inHead ? headBytes - done : total - done;
            const uint32_t part = static_cast<uint32_t>(std::min<std::size_t>(left, 1u << 30));
            const uint32_t wrote = file.write(from, part);
            if (wrote != part)
                return false;
            done += wrote;
        }
        // The file is opened without truncation: cut what an older, longer
        // file left behind.
        file.setEndOfFile();
        return true;
    } catch (const CannotOpenException&) {
        return false;
    } catch (const CannotWriteException&) {
        return false;
    }
}

} // namespace

bool BmpWriter::writeGrey(const char* path, int width, int height, const uint8_t* rows,
                          std::size_t stride)
{
    FCPathName file(path ? path : "");
    file.replaceExtension(".bmp");
    std::string native;
    if (NativePath::fromCp932(file.string().view(), native) != 0)
        native.clear();
    // A link at the name is stamped itself: what a failed write touched
    // goes, a link that was there stays.
    const FileStamp before = FileStamp::of(native, FileStamp::Link::Itself);
    const std::size_t rowBytes = stride * static_cast<std::size_t>(height);
    const std::array<uint8_t, BmpPixelOffset> head = bmpHead(width, height, rowBytes);
    const bool written = writeFile(file.text(), head.data(), head.size(), rows, rowBytes);
    if (!written && !native.empty()) {
        const FileStamp after = FileStamp::of(native, FileStamp::Link::Itself);
        if (after.exists && !(after == before))
            ::unlink(native.c_str());
    }
    return written;
}

void BmpWriter::encodeGrey(int width, int height, const uint8_t* rows, std::size_t stride,
                           std::vector<uint8_t>& file)
{
    const std::size_t rowBytes = stride * static_cast<std::size_t>(height);
    const std::array<uint8_t, BmpPixelOffset> head = bmpHead(width, height, rowBytes);
    file.assign(head.begin(), head.end());
    file.insert(file.end(), rows, rows + rowBytes);
}
