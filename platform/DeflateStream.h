#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

// Compresses bytes fed in pieces into one standard zlib stream (a two-byte
// header, deflate data, the adler32 of the input), as a PNG file's image data
// holds it. ISA-L does the work: its level 1 is several times faster than
// zlib's fastest level on page images, and with a small block size (its
// Huffman codes are made afresh for every block of about 8000 matches) the
// pages come out smaller on average than libpng's defaults make them. The
// adler32 is ISA-L's too.
//
// One stream object is reused page after page; it is not shared between
// threads.
class DeflateStream {
public:
    DeflateStream();
    ~DeflateStream();
    DeflateStream(const DeflateStream&) = delete;
    DeflateStream& operator=(const DeflateStream&) = delete;

    // Begins a stream whose bytes are appended to out (which grows as needed).
    void start(std::vector<uint8_t>& out);
    // Compresses size more bytes; last ends the stream with them. False when
    // the compressor refused (the stream is then unusable until start).
    [[nodiscard]] bool add(const uint8_t* data, std::size_t size, bool last);

    // The CRC-32 that PNG chunks carry (the one of zlib and gzip), continued
    // from crc (0 to begin).
    static uint32_t crc32(uint32_t crc, const uint8_t* data, std::size_t size);

private:
    struct State;
    std::unique_ptr<State> m_state;
};
