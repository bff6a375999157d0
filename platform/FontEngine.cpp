#include "platform/FontEngine.h"

#include "platform/FaceLibrary.h"
#include "platform/FontHandle.h"
#include "platform/QuillonFontAliases.h"
#include "platform/TextCodec.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cassert>
#include <cstring>
#include <map>
#include <mutex>
#include <set>
#include <string_view>
#include <tuple>

namespace {

constexpr int ShiftJisCharset = 128;
// Handles kept after their last user let go, for the next page to find.
constexpr std::size_t KeptFonts = 32;

// The first family of a pattern (fonts list their English name first).
std::string familyOf(FcPattern* pattern)
{
    FcChar8* family = nullptr;
    if (FcPatternGetString(pattern, FC_FAMILY, 0, &family) != FcResultMatch || !family)
        return {};
    return reinterpret_cast<const char*>(family);
}

// The fonts of one thread: its FreeType library, made on its first font,
// and the handles it asked for, by description.
struct ThreadFonts {
    using Key = std::tuple<std::string, int, int, int>;
    std::shared_ptr<FaceLibrary> library;
    std::map<Key, std::shared_ptr<FontHandle>> fonts;

    // Lets go of the handles nobody holds any more.
    void dropUnused()
    {
        for (auto it = fonts.begin(); it != fonts.end();) {
            if (it->second.use_count() == 1)
                it = fonts.erase(it);
            else
                ++it;
        }
    }
};

ThreadFonts& threadFonts()
{
    thread_local ThreadFonts fonts;
    return fonts;
}

bool isBoldFace(FT_Face face)
{
    if (auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
        os2 && os2->version != 0xFFFF && os2->usWeightClass > 0)
        return os2->usWeightClass >= 600;
    return (face->style_flags & FT_STYLE_FLAG_BOLD) != 0;
}

// Family names compare as fontconfig compares them: ASCII case and blanks
// do not count ("IPA Gothic" names "IPAGothic").
bool sameFamilyName(std::string_view a, std::string_view b)
{
    auto next = [](std::string_view text, std::size_t& at) -> int {
        while (at < text.size() && text[at] == ' ')
            ++at;
        if (at == text.size())
            return -1;
        const unsigned char c = static_cast<unsigned char>(text[at++]);
        return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c;
    };
    std::size_t i = 0;
    std::size_t j = 0;
    for (;;) {
        const int x = next(a, i);
        const int y = next(b, j);
        if (x != y)
            return false;
        if (x < 0)
            return true;
    }
}

struct PatternDeleter {
    void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
using PatternPtr = std::unique_ptr<FcPattern, PatternDeleter>;

PatternPtr matchPattern(FcConfig* config, FcPattern* request)
{
    FcConfigSubstitute(config, request, FcMatchPattern);
    FcDefaultSubstitute(request);
    FcResult result = FcResultNoMatch;
    return PatternPtr(FcFontMatch(config, request, &result));
}

} // namespace

#if defined(__SANITIZE_ADDRESS__)
// fontconfig (2.13, 2.14) loses a few small blocks while it parses
// configuration files, once per parse. They are not ours to free, so the leak
// checker of sanitised builds is told to let blocks allocated inside
// fontconfig through. (Its stacks end inside the library, which is built
// without frame pointers, so nothing narrower can be matched.) Our own
// fontconfig objects are held by owners that destroy them.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}
#endif

FontEngine& FontEngine::instance()
{
    static FontEngine* engine = new FontEngine;
    return *engine;
}

FontEngine::FontEngine()
{
    m_config = FcConfigCreate();
    assert(m_config && "fontconfig cannot make a configuration");
    // The system's configuration first (fonts.conf with everything it
    // includes), read into our own configuration object rather than made
    // current, then the program's aliases on top.
    if (!FcConfigParseAndLoad(m_config, nullptr, FcTrue)) {
        // No system configuration: at least the usual font folder.
        FcConfigAppFontAddDir(m_config, reinterpret_cast<const FcChar8*>("/usr/share/fonts"));
    }
    FcBool aliases = FcConfigParseAndLoadFromMemory(
        m_config, reinterpret_cast<const FcChar8*>(quillonFontAliases), FcTrue);
    assert(aliases && "the shipped font aliases do not parse");
    (void)aliases;
    FcConfigBuildFonts(m_config);
}

std::shared_ptr<FontHandle> FontEngine::open(const std::string& face, int height, int weight,
                                             int charset)
{
    ThreadFonts& own = threadFonts();
    ThreadFonts::Key key{face, height, weight, charset};
    auto found = own.fonts.find(key);
    if (found != own.fonts.end())
        return found->second;
    std::shared_ptr<FontHandle> font = load(face, height, weight, charset);
    if (!font)
        return nullptr;
    if (own.fonts.size() >= KeptFonts)
        own.dropUnused();
    own.fonts.emplace(std::move(key), font);
    return font;
}

std::shared_ptr<FontHandle> FontEngine::load(const std::string& face, int height, int weight,
                                             int charset)
{
    // "@" is a single byte in CP932 and never a trail byte at the start.
    const bool vertical = !face.empty() && face[0] == '@';
    const std::string family = TextCodec::toUtf8(vertical ? face.substr(1) : face);
    const int logWeight = weight <= 0 ? 400 : std::min(weight, 1000);
    std::shared_ptr<FaceLibrary>& library = threadFonts().library;
    if (!library)
        library = FaceLibrary::create();
    if (!library)
        return nullptr;

    std::unique_lock<std::mutex> lock(m_mutex);
    PatternPtr request(FcPatternCreate());
    if (!family.empty())
        FcPatternAddString(request.get(), FC_FAMILY,
                           reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddDouble(request.get(), FC_WEIGHT, FcWeightFromOpenTypeDouble(logWeight));
    FcPatternAddInteger(request.get(), FC_SLANT, FC_SLANT_ROMAN);
    if (charset == ShiftJisCharset)
        FcPatternAddString(request.get(), FC_LANG, reinterpret_cast<const FcChar8*>("ja"));
    if (height < 0)
        FcPatternAddDouble(request.get(), FC_PIXEL_SIZE, -static_cast<double>(height));
    PatternPtr match = matchPattern(m_config, request.get());
    if (!match)
        return nullptr;

    FcChar8* file = nullptr;
    if (FcPatternGetString(match.get(), FC_FILE, 0, &file) != FcResultMatch || !file)
        return nullptr;
    int index = 0;
    FcPatternGetInteger(match.get(), FC_INDEX, 0, &index);
    const std::string path(reinterpret_cast<const char*>(file));
    const std::string matched = familyOf(match.get());
    match.reset();
    lock.unlock();
    FT_Face ftFace = library->openFace(path.c_str(), index);
    if (!ftFace)
        return nullptr;
    // GDI thickens a face that has no bold style when 600 or more is asked.
    // The face itself tells: the weight fontconfig reports may already be
    // the asked one, since the system's configuration marks such matches for
    // emboldening.
    const bool syntheticBold = logWeight >= 600 && !isBoldFace(ftFace);

    long long em = DefaultEm;
    if (height < 0)
        em = -static_cast<long long>(height);
    else if (height > 0)
        em = FontHandle::emForCellHeight(ftFace, height);
    em = std::clamp<long long>(em, 1, MaxEm);
    return std::make_shared<FontHandle>(ftFace, static_cast<int>(em), vertical, syntheticBold,
                                        matched, library);
}

std::string FontEngine::matchFamily(const std::string& family) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return matchFamily(m_config, family);
}

std::string FontEngine::matchFamily(FcConfig* config, const std::string& family)
{
    PatternPtr request(FcPatternCreate());
    FcPatternAddString(request.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    PatternPtr match = matchPattern(config, request.get());
    return match ? familyOf(match.get()) : std::string();
}

std::string FontEngine::printingFamily(const std::string& face) const
{
    const bool vertical = !face.empty() && face[0] == '@';
    const std::string family = TextCodec::toUtf8(vertical ? face.substr(1) : face);
    if (family.empty())
        return {};

    std::lock_guard<std::mutex> lock(m_mutex);
    PatternPtr request(FcPatternCreate());
    FcPatternAddString(request.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcConfigSubstitute(m_config, request.get(), FcMatchPattern);
    // The families that stand for the name: the name itself and what
    // aliases bound as strongly as it (binding "same" or "strong") add. The
    // generic and language fallbacks come in weak and decide nothing here.
    std::vector<std::string> standIns;
    FcValue value;
    FcValueBinding binding;
    for (int i = 0;
         FcPatternGetWithBinding(request.get(), FC_FAMILY, i, &value, &binding) == FcResultMatch;
         ++i) {
        if (value.type == FcTypeString && binding != FcValueBindingWeak)
            standIns.emplace_back(reinterpret_cast<const char*>(value.u.s));
    }
    FcDefaultSubstitute(request.get());
    FcResult result = FcResultNoMatch;
    PatternPtr match(FcFontMatch(m_config, request.get(), &result));
    if (!match)
        return {};
    // A font lists its family under several names (English and Japanese);
    // fontconfig compares them ignoring case and blanks.
    FcChar8* name = nullptr;
    for (int i = 0; FcPatternGetString(match.get(), FC_FAMILY, i, &name) == FcResultMatch; ++i) {
        for (const std::string& standIn : standIns) {
            if (sameFamilyName(reinterpret_cast<const char*>(name), standIn))
                return familyOf(match.get());
        }
    }
    return {};
}

std::vector<std::string> FontEngine::verticalFaces() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    PatternPtr request(FcPatternCreate());
    FcPatternAddString(request.get(), FC_LANG, reinterpret_cast<const FcChar8*>("ja"));
    FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, FC_SPACING, nullptr);
    FcFontSet* fonts = FcFontList(m_config, request.get(), objects);
    FcObjectSetDestroy(objects);

    std::set<std::string> faces;
    for (int i = 0; fonts && i < fonts->nfont; ++i) {
        int spacing = FC_PROPORTIONAL;
        if (FcPatternGetInteger(fonts->fonts[i], FC_SPACING, 0, &spacing) != FcResultMatch)
            continue;
        if (spacing != FC_MONO && spacing != FC_DUAL)
            continue;
        std::string family;
        if (!TextCodec::fromUtf8Exact(familyOf(fonts->fonts[i]), family) || family.empty())
            continue;
        std::string face = "@" + family;
        if (face.size() < 32)
            faces.insert(std::move(face));
    }
    if (fonts)
        FcFontSetDestroy(fonts);
    return {faces.begin(), faces.end()};
}
