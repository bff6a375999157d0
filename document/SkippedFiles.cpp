#include "document/SkippedFiles.h"

#include "fc/FileErrorText.h"
#include "platform/Sjis.h"
#include "platform/TextCodec.h"

void SkippedFiles::add(const std::string& name, Reason reason, uint32_t error)
{
    m_entries.push_back({name, TextCodec::toUtf8(name), reason, error});
}

void SkippedFiles::addUnnamed(const std::string& nativeName)
{
    m_entries.push_back({TextCodec::fromUtf8(nativeName), nativeName, Reason::NameNotShiftJis, 0});
}

namespace {

std::string reasonText(const SkippedFiles::Entry& entry)
{
    switch (entry.reason) {
    case SkippedFiles::Reason::NameNotShiftJis:
        return Sjis::of("ファイル名をShift-JISで表せません");
    case SkippedFiles::Reason::NotARegularFile:
        return Sjis::of("通常のファイルではありません");
    case SkippedFiles::Reason::BrokenLink: {
        std::string text(Sjis::of("リンク先を開けません"));
        // The reason texts begin with a line break, meant to follow a path.
        if (const char* why = FileErrorText::reason(entry.error))
            text += Sjis::of("（") + std::string(why + 1) + Sjis::of("）");
        return text;
    }
    case SkippedFiles::Reason::SettingsNotAFile:
        return Sjis::of("通常のファイルではないため、印刷設定を読み書きできません");
    case SkippedFiles::Reason::CharactersReplaced:
        break; // Told apart from the files left out.
    }
    return {};
}

} // namespace

std::string SkippedFiles::noticeText() const
{
    std::string skipped, replaced;
    for (const Entry& entry : m_entries) {
        if (entry.reason == Reason::CharactersReplaced)
            replaced += entry.name + "\n";
        else
            skipped += entry.name + Sjis::of("：") + reasonText(entry) + "\n";
    }
    std::string text;
    if (!skipped.empty())
        text = Sjis::of("次のファイルは読み込まれませんでした。\n") + skipped;
    if (!replaced.empty()) {
        if (!text.empty())
            text += "\n";
        text += Sjis::of("次のファイルはUTF-8として読み込みました。"
                         "Shift-JISで表せない文字は「〓」に置き換えています。\n");
        text += replaced;
    }
    return text;
}
