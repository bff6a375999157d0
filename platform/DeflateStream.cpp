#include "platform/DeflateStream.h"

#include <algorithm>
#include <isa-l/crc.h>
#include <isa-l/igzip_lib.h>
#include <limits>

namespace {

// The compressor's working memory at level 1: its hash table plus room for
// 8K matches per block. Smaller blocks follow the page (white margins, rows
// of text) more closely; this size made the smallest files on printed pages
// at no cost in speed.
constexpr std::size_t LevelBufferSize = ISAL_DEF_LVL1_REQ + ISAL_DEF_LVL1_TOKEN_SIZE * 8 * IGZIP_K;

// Room added to the output whenever the compressor fills it; a page image
// compresses to about this much.
constexpr std::size_t OutputStep = 1u << 17;

// The compressor counts in 32 bits; larger pieces go in parts.
constexpr std::size_t LargestPiece = std::size_t(1) << 30;

} // namespace

struct DeflateStream::State {
    isal_zstream stream{};
    std::vector<uint8_t> levelBuffer = std::vector<uint8_t>(LevelBufferSize);
    std::vector<uint8_t>* out = nullptr;
    std::size_t written = 0; // bytes of out that hold the stream or came before it
    bool broken = false;

    // Hands the compressor the free end of out, making some when none is left.
    void giveRoom()
    {
        if (out->size() - written < OutputStep / 4)
            out->resize(written + OutputStep);
        stream.next_out = out->data() + written;
        stream.avail_out = static_cast<uint32_t>(
            std::min<std::size_t>(out->size() - written, std::numeric_limits<uint32_t>::max()));
    }
};

DeflateStream::DeflateStream() : m_state(std::make_unique<State>()) {}

DeflateStream::~DeflateStream() = default;

void DeflateStream::start(std::vector<uint8_t>& out)
{
    State& s = *m_state;
    isal_deflate_init(&s.stream);
    s.stream.level = 1;
    s.stream.level_buf = s.levelBuffer.data();
    s.stream.level_buf_size = static_cast<uint32_t>(s.levelBuffer.size());
    s.stream.gzip_flag = IGZIP_ZLIB;
    s.stream.flush = NO_FLUSH;
    s.out = &out;
    s.written = out.size();
    s.broken = false;
}

bool DeflateStream::add(const uint8_t* data, std::size_t size, bool last)
{
    State& s = *m_state;
    if (!s.out || s.broken)
        return false;
    do {
        const std::size_t piece = std::min(size, LargestPiece);
        s.stream.next_in = const_cast<uint8_t*>(data);
        s.stream.avail_in = static_cast<uint32_t>(piece);
        s.stream.end_of_stream = last && piece == size ? 1 : 0;
        data += piece;
        size -= piece;
        // The compressor stops when it runs out of output room; it goes on
        // until it has taken the piece and, at the end, written the trailer.
        for (;;) {
            s.giveRoom();
            const uint32_t room = s.stream.avail_out;
            if (isal_deflate(&s.stream) != COMP_OK) {
                s.broken = true;
                s.out->resize(s.written);
                return false;
            }
            s.written += room - s.stream.avail_out;
            const bool taken = s.stream.avail_in == 0;
            const bool ended =
                !s.stream.end_of_stream || s.stream.internal_state.state == ZSTATE_END;
            if (taken && ended && s.stream.avail_out > 0)
                break;
        }
    } while (size > 0);
    if (last) {
        s.out->resize(s.written);
        s.out = nullptr;
    }
    return true;
}

uint32_t DeflateStream::crc32(uint32_t crc, const uint8_t* data, std::size_t size)
{
    return crc32_gzip_refl(crc, data, size);
}
