#pragma once

#include "document/ScreenplayEncoding.h"
#include "document/ScreenplayUtf8Decoder.h"
#include "fc/FCFile.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// A screenplay file as the readers take it: CP932 bytes, whatever the file
// was saved in. Opening decides the encoding (see ScreenplayEncoding); a
// UTF-8 file is converted as it is read, piece by piece, so a large scene is
// never held whole. Deciding takes a first pass over the file unless its
// first piece already shows it is no UTF-8; that pass also counts the
// characters Shift-JIS cannot hold, which the readers' callers name in a
// warning.
//
// Both screenplay readers (the catalogue's header reading and the layout
// engine) read through this class, so they always agree on a file.
class ScreenplaySource {
public:
    static constexpr std::size_t PieceSize = std::size_t(64) << 10;

    ScreenplaySource();
    virtual ~ScreenplaySource();

    ScreenplaySource(const ScreenplaySource&) = delete;
    ScreenplaySource& operator=(const ScreenplaySource&) = delete;

    // Opens the file for reading and decides its encoding. The file layer
    // puts failures to the user; Cancel raises CannotOpenException or
    // CannotReadException. True when the file is open.
    bool open(const char* path);
    // The same over bytes in memory, which must outlive the source.
    void openBytes(std::string_view bytes);

    ScreenplayEncoding::Kind encoding() const { return m_kind; }
    bool readAsUtf8() const { return m_kind == ScreenplayEncoding::Kind::Utf8; }
    // The characters of a UTF-8 file that became "〓", over the whole file.
    std::size_t substitutions() const { return m_substitutions; }
    // The file's size as stored, in bytes; -1 when it cannot be told. The
    // CP932 text is about as long or shorter.
    int64_t storedSize() const { return m_size; }

    // The next CP932 bytes of the text, up to capacity; 0 at the end.
    std::size_t read(char* buffer, std::size_t capacity);

private:
    void decide();
    // The stored bytes: what deciding kept, then the file (or memory).
    std::size_t readStored(char* buffer, std::size_t capacity);
    // Fills the buffer unless the end comes first.
    std::size_t readUnderlying(char* buffer, std::size_t capacity);
    void rewind();

    FCFile m_file;
    std::string m_path;
    bool m_inMemory = false;
    std::string_view m_bytes;
    std::size_t m_bytesPosition = 0;
    int64_t m_size = -1;

    ScreenplayEncoding::Kind m_kind = ScreenplayEncoding::Kind::ShiftJis;
    std::size_t m_substitutions = 0;

    // The first piece, when deciding needed no more of the file.
    std::string m_head;
    std::size_t m_headPosition = 0;

    // UTF-8 reading: the converted text not yet handed out.
    ScreenplayUtf8Decoder m_decoder;
    std::string m_piece;
    std::string m_pending;
    std::size_t m_pendingPosition = 0;
    bool m_ended = false;
};
