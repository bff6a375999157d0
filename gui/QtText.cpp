#include "gui/QtText.h"

#include "platform/TextCodec.h"

QString fromCp932(std::string_view cp932)
{
    const std::string utf8 = TextCodec::toUtf8(cp932);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string toCp932(const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    return TextCodec::fromUtf8(std::string_view(utf8.constData(), utf8.size()));
}
