#include "platform/AudioProbe.h"

#include "platform/Sjis.h"

#include <cerrno>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <sndfile.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

uint32_t little32(const unsigned char* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

uint64_t little64(const unsigned char* p)
{
    return uint64_t(little32(p)) | uint64_t(little32(p + 4)) << 32;
}

bool readAt(int fd, int64_t offset, unsigned char* buffer, std::size_t size)
{
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::pread(fd, buffer + done, size - done, off_t(offset) + off_t(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += std::size_t(n);
    }
    return true;
}

std::string openFailure(const char* why)
{
    return std::string(Sjis::of("開けません（")) + why + Sjis::of("）");
}

std::string systemReason(int error)
{
    if (error == EACCES || error == EPERM)
        return Sjis::of("許可がありません");
    return std::strerror(error);
}

// Full scale for the sample format: libsndfile scales integer samples by
// 2^(bits-1), so the largest positive one reads a little below 1.0.
double fullScaleOf(int format)
{
    int bits = 0;
    switch (format & SF_FORMAT_SUBMASK) {
    case SF_FORMAT_PCM_S8:
    case SF_FORMAT_PCM_U8:
        bits = 8;
        break;
    case SF_FORMAT_PCM_16:
        bits = 16;
        break;
    case SF_FORMAT_PCM_24:
        bits = 24;
        break;
    case SF_FORMAT_PCM_32:
        bits = 32;
        break;
    default:
        return 1.0;
    }
    const double half = std::ldexp(1.0, bits - 1);
    return (half - 1.0) / half;
}

bool isWav(int format)
{
    const int major = format & SF_FORMAT_TYPEMASK;
    return major == SF_FORMAT_WAV || major == SF_FORMAT_WAVEX || major == SF_FORMAT_RF64;
}

class SoundFile {
public:
    SoundFile(int fd, SF_INFO& info) : m_file(sf_open_fd(fd, SFM_READ, &info, SF_FALSE)) {}
    ~SoundFile()
    {
        if (m_file)
            sf_close(m_file);
    }
    SoundFile(const SoundFile&) = delete;
    SoundFile& operator=(const SoundFile&) = delete;
    SNDFILE* get() const { return m_file; }

private:
    SNDFILE* m_file;
};

// Reads every frame; the frames read, or -1 on a read error.
int64_t readContent(SNDFILE* file, int channels, double& peak)
{
    constexpr sf_count_t BlockFrames = 4096;
    std::vector<float> block(std::size_t(BlockFrames) * std::size_t(channels));
    int64_t total = 0;
    float largest = 0;
    for (;;) {
        const sf_count_t got = sf_readf_float(file, block.data(), BlockFrames);
        if (got <= 0)
            break;
        const std::size_t samples = std::size_t(got) * std::size_t(channels);
        for (std::size_t i = 0; i < samples; ++i)
            largest = std::max(largest, std::fabs(block[i]));
        total += got;
    }
    peak = largest;
    return sf_error(file) == SF_ERR_NO_ERROR ? total : -1;
}

} // namespace

double AudioProbe::Result::peakDecibels() const
{
    if (peak <= 0)
        return -std::numeric_limits<double>::infinity();
    return 20.0 * std::log10(peak);
}

AudioProbe::Result AudioProbe::probe(const std::string& nativePath, bool checkContent)
{
    Result result;
    // O_NONBLOCK: should the file have become a FIFO since it was listed,
    // the open must not wait for a writer.
    const int fd = ::open(nativePath.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        result.brokenReason = openFailure(systemReason(errno).c_str());
        return result;
    }
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat info;
    if (::fstat(fd, &info) != 0) {
        result.brokenReason = openFailure(systemReason(errno).c_str());
        return result;
    }
    if (!S_ISREG(info.st_mode)) {
        result.brokenReason = Sjis::of("通常のファイルではありません");
        return result;
    }
    if (info.st_size == 0) {
        result.brokenReason = Sjis::of("長さ0");
        return result;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);

    SF_INFO format{};
    SoundFile file(fd, format);
    if (!file.get()) {
        result.brokenReason = openFailure(sf_strerror(nullptr));
        return result;
    }
    result.frames = format.frames;
    result.sampleRate = format.samplerate;
    result.fullScale = fullScaleOf(format.format);
    if (format.frames <= 0 || format.samplerate <= 0 || format.channels <= 0) {
        result.brokenReason = Sjis::of("長さ0");
        return result;
    }
    if (!checkContent)
        return result;

    result.contentChecked = true;
    const int64_t read = readContent(file.get(), format.channels, result.peak);
    if (read < 0) {
        result.brokenReason =
            std::string(Sjis::of("読み取りエラー（")) + sf_strerror(file.get()) + Sjis::of("）");
        return result;
    }
    int64_t declared = format.frames;
    if (isWav(format.format))
        declared = std::max(declared, declaredWavFrames(fd));
    if (read < declared) {
        result.brokenReason = Sjis::of("途中で切れています");
        return result;
    }
    return result;
}

int64_t AudioProbe::declaredWavFrames(int fd)
{
    unsigned char head[12];
    if (!readAt(fd, 0, head, sizeof head) || std::memcmp(head + 8, "WAVE", 4) != 0)
        return -1;
    const bool rf64 = std::memcmp(head, "RF64", 4) == 0;
    if (!rf64 && std::memcmp(head, "RIFF", 4) != 0)
        return -1;
    int64_t offset = 12;
    uint64_t dataSize64 = 0;
    unsigned blockAlign = 0;
    // Writers put LIST, fact, bext and others before the data; a bound on
    // the chunks looked at keeps a hostile header from keeping us here.
    for (int chunk = 0; chunk < 256; ++chunk) {
        unsigned char header[8];
        if (!readAt(fd, offset, header, sizeof header))
            return -1;
        const uint32_t size = little32(header + 4);
        if (std::memcmp(header, "ds64", 4) == 0 && size >= 16) {
            unsigned char body[16];
            if (!readAt(fd, offset + 8, body, sizeof body))
                return -1;
            dataSize64 = little64(body + 8);
        } else if (std::memcmp(header, "fmt ", 4) == 0 && size >= 16) {
            unsigned char body[16];
            if (!readAt(fd, offset + 8, body, sizeof body))
                return -1;
            blockAlign = unsigned(body[12]) | unsigned(body[13]) << 8;
        } else if (std::memcmp(header, "data", 4) == 0) {
            if (blockAlign == 0)
                return -1;
            uint64_t bytes = size;
            if (rf64 && size == 0xFFFFFFFFu)
                bytes = dataSize64;
            // 0 and 0xFFFFFFFF are what streaming writers leave when they
            // never come back to fill the size in.
            if (bytes == 0 || (!rf64 && size == 0xFFFFFFFFu))
                return -1;
            return int64_t(bytes / blockAlign);
        }
        offset += 8 + int64_t(size) + (size & 1);
    }
    return -1;
}
