#include "platform/PngWriter.h"

#include "platform/NativePath.h"

#include <atomic>
#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <fcntl.h>
#include <png.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

[[noreturn]] void failEncoding(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}

void ignoreWarning(png_structp, png_const_charp) {}

// Everything libpng touches sits in this function, with no object that needs
// destroying between the setjmp and the calls that may jump back to it.
int encode(std::FILE* file, int width, int height, const uint8_t* top, std::ptrdiff_t rowStep)
{
    png_structp png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, failEncoding, ignoreWarning);
    if (!png)
        return PngWriter::EncoderFailed;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return PngWriter::EncoderFailed;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return PngWriter::EncoderFailed;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_color_8 significant{};
    significant.red = 8;
    significant.green = 8;
    significant.blue = 8;
    png_set_sBIT(png, info, &significant);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_compression_level(png, 1);
    png_write_info(png, info);
    // The pixels are B, G, R, X: swap to RGB and drop the fourth byte.
    png_set_bgr(png);
    png_set_filler(png, 0, PNG_FILLER_AFTER);
    for (int y = 0; y < height; ++y)
        png_write_row(png, top + rowStep * y);
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return PngWriter::Written;
}

// A fresh, hidden name in the folder of the target, opened exclusively.
int openTemporary(const std::string& folder, std::string& name)
{
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = folder + (folder.empty() || folder.back() != '/' ? "/" : "") + ".quillon-png-" +
               std::to_string(::getpid()) + "-" + std::to_string(counter++) + ".part";
        int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

bool exists(const std::string& native)
{
    struct stat status {};
    return ::lstat(native.c_str(), &status) == 0;
}

// Puts the finished file under its name; without overwrite an existing file
// (even one that appeared meanwhile) is left alone.
int place(const std::string& temporary, const std::string& native, bool overwrite)
{
    if (!overwrite) {
        if (::link(temporary.c_str(), native.c_str()) == 0) {
            ::unlink(temporary.c_str());
            return PngWriter::Written;
        }
        if (errno == EEXIST) {
            ::unlink(temporary.c_str());
            return PngWriter::Exists;
        }
        // File systems without hard links: check, then rename.
        if (exists(native)) {
            ::unlink(temporary.c_str());
            return PngWriter::Exists;
        }
    }
    if (::rename(temporary.c_str(), native.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return PngWriter::CannotPlace;
    }
    return PngWriter::Written;
}

} // namespace

int PngWriter::writeBgrx(const std::string& path, int width, int height, const uint8_t* top,
                         std::ptrdiff_t rowStep, bool overwrite)
{
    if (width <= 0 || height <= 0 || !top)
        return EncoderFailed;
    std::string native;
    if (NativePath::fromCp932(path, native) != 0)
        return CannotOpen;
    if (!overwrite && exists(native))
        return Exists;

    std::string temporary;
    int fd = openTemporary(NativePath::parentOf(native), temporary);
    if (fd < 0)
        return CannotOpen;
    std::FILE* file = ::fdopen(fd, "wb");
    if (!file) {
        ::close(fd);
        ::unlink(temporary.c_str());
        return CannotOpen;
    }
    int result = encode(file, width, height, top, rowStep);
    if (std::fclose(file) != 0 && result == Written)
        result = EncoderFailed;
    if (result != Written) {
        ::unlink(temporary.c_str());
        return result;
    }
    return place(temporary, native, overwrite);
}
