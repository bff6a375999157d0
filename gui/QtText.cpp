#include "gui/QtText.h"

#include "platform/TextCodec.h"

#include <array>

namespace {

// Whether every byte of a text is an ASCII character the codec reads as
// itself: such a text is its own Latin-1 form, which needs no converter.
// Most file names and numbers in the program's lists are such texts.
bool isPlainAscii(std::string_view cp932)
{
    static const std::array<bool, 128> plain = [] {
        std::array<bool, 128> table{};
        for (int c = 0; c < 0x80; ++c) {
            const std::string one(1, static_cast<char>(c));
            table[std::size_t(c)] = TextCodec::toUtf8(one) == one;
        }
        return table;
    }();
    for (const char c : cp932) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80 || !plain[byte])
            return false;
    }
    return true;
}

} // namespace

QString fromCp932(std::string_view cp932)
{
    if (isPlainAscii(cp932))
        return QString::fromLatin1(cp932.data(), static_cast<qsizetype>(cp932.size()));
    const std::string utf8 = TextCodec::toUtf8(cp932);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string toCp932(const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    return TextCodec::fromUtf8(std::string_view(utf8.constData(), utf8.size()));
}
