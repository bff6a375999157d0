// Cuts a text into tokens, fields and lines and reads numbers from it. The
// first byte picks the delimiters, the rest is the text. Every loop must end
// within as many steps as the text has bytes, nothing cut out may be longer
// than the text, and a number written in any of the three forms must read
// back as itself.

#include "FuzzScratchFolder.h"
#include "fc/FCString.h"

#include <array>
#include <cstring>

namespace {

constexpr std::array<const char*, 4> delimiterSets = {" \t", ",", "\t;=", "\r\n"};

void tokens(const FCString& source, const char* delimiters)
{
    FCString text = source;
    text.rewind();
    const int32_t length = text.length();
    int32_t cut = 0;
    FCString token;
    for (int32_t step = 0;; ++step) {
        FUZZ_REQUIRE(step <= length + 1);
        if (text.nextToken(token, delimiters) == FCString::none)
            break;
        cut += token.length();
        FUZZ_REQUIRE(cut <= length);
        // A token never starts with a delimiter: those are what it is cut at.
        if (token.length() > 0)
            FUZZ_REQUIRE(std::strchr(delimiters, token.text()[0]) == nullptr ||
                         token.text()[0] == 0);
    }
}

void fields(const FCString& source, const char* delimiters, bool keepEmpty)
{
    FCString text = source;
    text.rewind();
    const int32_t length = text.length();
    int32_t cut = 0;
    FCString field;
    for (int32_t step = 0;; ++step) {
        FUZZ_REQUIRE(step <= length + 1);
        if (text.nextField(field, delimiters, keepEmpty) == 0)
            break;
        cut += field.length();
        FUZZ_REQUIRE(cut <= length);
    }

    std::array<FCString, 8> parts;
    text.rewind();
    const int found = text.split(parts.data(), 8, delimiters, true, keepEmpty);
    FUZZ_REQUIRE(found >= 0 && found <= 8);
}

void lines(const FCString& source, bool trim)
{
    FCString text = source;
    text.rewind();
    const int32_t length = text.length();
    int32_t cut = 0;
    FCString line;
    for (int32_t step = 0; text.readLine(line, trim, trim); ++step) {
        FUZZ_REQUIRE(step <= length);
        cut += line.length();
        FUZZ_REQUIRE(cut <= length);
    }
}

void numbers(std::string_view text)
{
    FCString parsed(text);
    const int32_t value = parsed.toInteger();
    FUZZ_REQUIRE(value == FCString::parseInteger(text));

    FCString decimal;
    decimal.setNumber(value);
    FUZZ_REQUIRE(decimal.toInteger() == value);
    FCString hexadecimal("0x");
    hexadecimal.appendUnsigned(static_cast<uint32_t>(value), 16);
    FUZZ_REQUIRE(hexadecimal.toInteger() == value);
    FCString binary("0b");
    binary.appendUnsigned(static_cast<uint32_t>(value), 2);
    FUZZ_REQUIRE(binary.toInteger() == value);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const char* delimiters = delimiterSets[data[0] % delimiterSets.size()];
    const std::string_view bytes = fuzzBytes(data + 1, size - 1);
    const FCString text(bytes);
    tokens(text, delimiters);
    fields(text, delimiters, false);
    fields(text, delimiters, true);
    lines(text, data[0] & 0x80);
    numbers(bytes);
    return 0;
}
