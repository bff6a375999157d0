#include "app/AboutModel.h"

#include "app/LicenceTexts.h"
#include "app/QuillonVersion.h"
#include "platform/Sjis.h"

#include <string>

AboutModel::AboutModel()
    : m_title(Sjis::of("quillon について")), m_programName(ProgramName), m_siteAddress(SiteAddress),
      m_version(programVersion())
{
    // The program's own page; its copyright line is the version
    // information's, filled in when the page is shown.
    std::string own = "\n";
    own += m_programName.view();
    own += "%v%\n%c%\nURL: ";
    own += m_siteAddress.view();
    setPage(0, Sjis::of("本体"), own.c_str());
    setPage(1, "zlib");
    setPage(2, "libpng");
    setPage(3, "libjpeg");
}

AboutModel::~AboutModel() = default;

AboutModel::VersionInfo AboutModel::programVersion()
{
    VersionInfo version;
    version.numbers = parseFileVersion(quillonFileVersion);
    version.companyName = FCString(quillonCompanyName);
    version.legalCopyright = FCString(quillonLegalCopyright);
    version.internalName = FCString(quillonInternalName);
    return version;
}

std::array<int32_t, 4> AboutModel::parseFileVersion(std::string_view fileVersion)
{
    std::array<int32_t, 4> numbers{};
    // FileVersion is ASCII, so the comma is never the trail byte of a
    // double-byte character.
    std::string_view rest = fileVersion;
    for (size_t i = 0; i < numbers.size(); ++i) {
        size_t start = rest.find_first_not_of(" \t");
        rest.remove_prefix(start == std::string_view::npos ? rest.size() : start);
        numbers[i] = FCString::parseInteger(rest);
        size_t comma = rest.find(',');
        if (comma == std::string_view::npos)
            break;
        rest.remove_prefix(comma + 1);
    }
    return numbers;
}

FCString AboutModel::versionText(const std::array<int32_t, 4>& numbers)
{
    FCString text(" ver. ");
    text.appendNumber(numbers[0]);
    text.append(".");
    text.appendNumber(numbers[1]);
    text.append(".");
    text.appendNumber(numbers[2]);
    text.append("  rev. ");
    text.appendNumber(numbers[3]);
    return text;
}

FCString AboutModel::windowTitle() const
{
    if (!m_title.isEmpty())
        return m_title;
    FCString title(m_version.internalName);
    title.append(Sjis::of("について"));
    return title;
}

FCString AboutModel::versionText() const
{
    return versionText(m_version.numbers);
}

FCString AboutModel::versionLine() const
{
    if (!m_versionLineOverride.isEmpty())
        return m_versionLineOverride;
    FCString line(m_programName);
    line << versionText();
    return line;
}

bool AboutModel::setPage(int index, const char* name, const char* text)
{
    if (!isPage(index) || !name)
        return false;
    Page& page = m_pages[static_cast<size_t>(index)];
    page.name = FCString(name);
    page.text = text ? FCString(text) : LicenceTexts::lookup(name);
    return true;
}

const AboutModel::Page& AboutModel::page(int index) const
{
    static const Page none;
    return isPage(index) ? m_pages[static_cast<size_t>(index)] : none;
}

const std::array<int, AboutModel::PageCount>& AboutModel::pageRadioIds()
{
    static const std::array<int, PageCount> ids = {1014, 1015, 1013, 1033, 1034, 1035, 1036, 1028};
    return ids;
}

std::vector<int> AboutModel::offeredPages() const
{
    std::vector<int> offered;
    for (int index = 0; index < PageCount; ++index) {
        if (!m_pages[static_cast<size_t>(index)].name.isEmpty())
            offered.push_back(index);
    }
    return offered;
}

FCString AboutModel::pageText(int index) const
{
    if (!isPage(index))
        return FCString();
    // A copy, so that showing a page never changes the record.
    FCString text(m_pages[static_cast<size_t>(index)].text.view());
    if (index == 0) {
        text.replaceAll("%v%", versionText().text());
        text.replaceAll("%c%", m_version.legalCopyright.text());
    }
    return text;
}
