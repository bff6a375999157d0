// Reads a screenplay file's bytes through the source the readers share, from
// memory and from a file, in pieces of several sizes: every reading gives the
// same CP932 text; a file read as Shift-JIS comes through unchanged; one read
// as UTF-8 replaces exactly the characters counted when it was opened.

#include "FuzzScratchFolder.h"
#include "FuzzScreenplayText.h"
#include "document/ScreenplayEncoding.h"
#include "document/ScreenplaySource.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes = fuzzBytes(data, size);

    ScreenplaySource source;
    source.openBytes(bytes);
    const bool asUtf8 = source.readAsUtf8();
    FUZZ_REQUIRE(asUtf8 == (ScreenplayEncoding::of(bytes) == ScreenplayEncoding::Kind::Utf8));
    FUZZ_REQUIRE(asUtf8 || source.substitutions() == 0);
    if (bytes.starts_with(ScreenplayEncoding::ByteOrderMark))
        FUZZ_REQUIRE(asUtf8);

    const std::string text = screenplayText(bytes, 1 << 16);
    FUZZ_REQUIRE(screenplayText(bytes, 1) == text);
    FUZZ_REQUIRE(screenplayText(bytes, 3) == text);
    if (!asUtf8)
        FUZZ_REQUIRE(text == bytes);

    // In pieces through the decoder, as a file larger than a piece is read.
    if (asUtf8) {
        for (std::size_t piece : {std::size_t(1), std::size_t(2), std::size_t(5)}) {
            ScreenplayUtf8Decoder decoder;
            std::string decoded;
            for (std::size_t at = 0; at < bytes.size(); at += piece)
                decoder.convert(bytes.substr(at, piece), decoded);
            decoder.finish(decoded);
            FUZZ_REQUIRE(decoded == text);
            FUZZ_REQUIRE(decoder.substitutions() == source.substitutions());
        }
    }

    // The file takes the same way, however it was decided.
    FuzzScratchFolder::write("source.screenplay.txt", bytes);
    ScreenplaySource file;
    FUZZ_REQUIRE(file.open((FuzzScratchFolder::path() + "source.screenplay.txt").c_str()));
    FUZZ_REQUIRE(file.readAsUtf8() == asUtf8);
    FUZZ_REQUIRE(file.substitutions() == source.substitutions());
    std::string fromFile;
    char buffer[1000];
    while (std::size_t got = file.read(buffer, sizeof buffer))
        fromFile.append(buffer, got);
    FUZZ_REQUIRE(fromFile == text);
    return 0;
}
