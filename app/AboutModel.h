#pragma once

#include "fc/FCString.h"

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

// The About box ("Quillonについて") without its window: the record the
// command fills (title, program name, site address, version line override,
// eight pages of name and text) and what the window shows of it once the
// program's version information is known. The window shows windowTitle(),
// versionLine(), a radio button per offered page (pageRadioIds()) with the
// page's name, pageText() of the chosen page (page 0 at first), and a site
// button enabled by siteButtonEnabled(). Texts are CP932.
class AboutModel {
public:
    static constexpr int PageCount = 8;
    static constexpr const char* ProgramName = "quillon";
    static constexpr const char* SiteAddress = "https://quillon.example.org/";

    struct Page {
        FCString name;
        FCString text;
    };

    // What a Windows build reads from its version resource: FileVersion's
    // four numbers (major, minor, build, revision), CompanyName,
    // LegalCopyright and InternalName. Without a resource all are 0 or empty.
    struct VersionInfo {
        std::array<int32_t, 4> numbers{};
        FCString companyName;
        FCString legalCopyright;
        FCString internalName;
    };

    // Filled as the About command fills it: title "quillon について",
    // program name "quillon", the site address, page 0 "本体" with the
    // program's own text, pages 1 to 3 "zlib", "libpng" and "libjpeg" with
    // their licences; the version information is the program's own.
    AboutModel();
    virtual ~AboutModel();

    // The program's own version information, from the project version.
    static VersionInfo programVersion();
    // "1, 2, 3, 4": each number is read as the program reads integers
    // (decimal, 0x hexadecimal, 0b binary) after its comma and the blanks
    // behind it. Missing numbers are 0.
    static std::array<int32_t, 4> parseFileVersion(std::string_view fileVersion);
    // " ver. 1.2.3  rev. 4" (two blanks before "rev.").
    static FCString versionText(const std::array<int32_t, 4>& numbers);

    const VersionInfo& versionInfo() const { return m_version; }
    void setVersionInfo(const VersionInfo& version) { m_version = version; }

    const FCString& title() const { return m_title; }
    void setTitle(std::string_view title) { m_title = FCString(title); }
    // The title, or InternalName + "について" when the title is empty.
    FCString windowTitle() const;

    const FCString& programName() const { return m_programName; }
    void setProgramName(std::string_view name) { m_programName = FCString(name); }

    const FCString& siteAddress() const { return m_siteAddress; }
    void setSiteAddress(std::string_view address) { m_siteAddress = FCString(address); }
    bool siteButtonEnabled() const { return !m_siteAddress.isEmpty(); }

    const FCString& versionLineOverride() const { return m_versionLineOverride; }
    void setVersionLineOverride(std::string_view line) { m_versionLineOverride = FCString(line); }
    // The version text of the version information.
    FCString versionText() const;
    // The override when set, otherwise program name + version text.
    FCString versionLine() const;

    // Page texts are plain text, never the rich-text writer's format.
    bool richText() const { return false; }

    // Sets page index (0 to 7) to name and text; a null text looks the
    // licence up by the name. A null name or an index outside 0 to 7 is
    // ignored (false).
    bool setPage(int index, const char* name, const char* text = nullptr);
    // An empty page for an index outside 0 to 7.
    const Page& page(int index) const;

    // The radio button of each page, page 0 first.
    static const std::array<int, PageCount>& pageRadioIds();
    // The indices of the pages with a name, in page order.
    std::vector<int> offeredPages() const;
    // The page's text as shown: in page 0 every "%v%" becomes the version
    // text and every "%c%" LegalCopyright. Empty outside 0 to 7.
    FCString pageText(int index) const;

private:
    static bool isPage(int index) { return index >= 0 && index < PageCount; }

    FCString m_title;
    FCString m_programName;
    FCString m_siteAddress;
    FCString m_versionLineOverride;
    std::array<Page, PageCount> m_pages;
    VersionInfo m_version;
};
