#include "platform/DeflateStream.h"

#include "platform/Trace.h"

#include <algorithm>
#include <cstdint>
#include <isa-l/crc.h>
#include <isa-l/igzip_lib.h>
#include <limits>
#include <new>
#include <sys/mman.h>

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

// ISA-L's level 1 (its SSE, AVX and AVX2 variants alike) begins a stream by
// hashing the four bytes at its third input byte not from the input but
// from bits 16 to 47 of the address of the isal_zstream it is given, and
// puts the byte's position in that slot of its match table. The slot keeps
// it until some later input hashes there; that lookup then tries a match
// two bytes away from the one an untouched slot would give, so now and then
// a page comes out with another (equally valid) match distance depending on
// where the compressor's state lies, which differs from worker to worker
// and from run to run. Every stream object is therefore placed at an
// address whose bits 16 to 47 hash to one fixed slot: the compressed bytes
// then depend on the input alone. The slot below is one that leaves the
// files printed before as they were.
constexpr uint32_t PlacedSlot = 0x1C7;
constexpr uint32_t LargestHashMask = 0x1FFF; // of the level 1 table

// The CRC-32C of v from 0, as the processor's crc32 instruction computes it
// (ISA-L's level 1 hash), bit by bit.
uint32_t crc32c(uint32_t v)
{
    uint32_t crc = 0;
    for (int i = 0; i < 32; ++i) {
        const uint32_t bit = (crc ^ v) & 1u;
        crc = (crc >> 1) ^ (bit ? 0x82F63B78u : 0u);
        v >>= 1;
    }
    return crc;
}

// The mapping that holds one stream object, at the start of a 64 KiB block
// whose number hashes to PlacedSlot. Null when no such block could be
// mapped (the stream then lives on the heap, working as before).
isal_zstream* mapPlacedStream()
{
    constexpr std::uintptr_t Block = std::uintptr_t(1) << 16;
    // Ask the system where mappings go, then look from there for blocks of
    // the right kind (one in 8192) that are free.
    void* probe = ::mmap(nullptr, Block, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (probe == MAP_FAILED)
        return nullptr;
    ::munmap(probe, Block);
    std::uintptr_t block = reinterpret_cast<std::uintptr_t>(probe) >> 16;
    int tries = 0;
    for (std::uintptr_t n = 0; n < (std::uintptr_t(1) << 24) && tries < 64; ++n) {
        const std::uintptr_t candidate = block - n;
        if (candidate == 0)
            break;
        if ((crc32c(static_cast<uint32_t>(candidate)) & LargestHashMask) != PlacedSlot)
            continue;
        ++tries;
        void* want = reinterpret_cast<void*>(candidate << 16);
        void* got = ::mmap(want, sizeof(isal_zstream), PROT_READ | PROT_WRITE,
                           MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED_NOREPLACE, -1, 0);
        if (got == MAP_FAILED)
            continue;
        if (got != want) { // a kernel that took the address as a hint only
            ::munmap(got, sizeof(isal_zstream));
            continue;
        }
        return new (got) isal_zstream{};
    }
    return nullptr;
}

// The compressor's state, placed as above when it can be.
class PlacedStream {
public:
    PlacedStream() : m_mapped(mapPlacedStream())
    {
        if (!m_mapped)
            Trace::write("deflate: no address found for the compressor state; page bytes may "
                         "vary between runs\n");
    }
    ~PlacedStream()
    {
        if (m_mapped)
            ::munmap(m_mapped, sizeof(isal_zstream));
    }
    PlacedStream(const PlacedStream&) = delete;
    PlacedStream& operator=(const PlacedStream&) = delete;

    isal_zstream& get() { return m_mapped ? *m_mapped : *m_fallback; }

private:
    isal_zstream* m_mapped;
    std::unique_ptr<isal_zstream> m_fallback =
        m_mapped ? nullptr : std::make_unique<isal_zstream>();
};

} // namespace

struct DeflateStream::State {
    PlacedStream placed;
    isal_zstream& stream = placed.get();
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
