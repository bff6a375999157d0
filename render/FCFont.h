#pragma once

#include <cstdint>
#include <memory>
#include <string>

class FontHandle; // the rasterising face behind a created font (platform side)

// A font description in the manner of a LOGFONT, and the font created from
// it. The face name is CP932; a name beginning with "@" asks for the
// vertical-writing variant of the face named after the "@".
class FCFont {
public:
    static constexpr int ShiftJisCharset = 128;
    static constexpr int ProofQuality = 2;
    static constexpr int FixedPitch = 1;
    static constexpr std::size_t FaceNameSize = 32; // bytes, NUL included

    FCFont() = default;
    virtual ~FCFont();
    FCFont(const FCFont&) = delete;
    FCFont& operator=(const FCFont&) = delete;

    // All numeric fields and the face to 0 / empty; releases the font.
    void reset();
    // Stores -|h|: h is the character height without internal leading.
    void setHeight(int h);
    // Takes the face when it is shorter than 32 bytes; otherwise the face
    // stays empty and the system's default face is used.
    void setFace(const std::string& cp932);

    // Creates the font from the description (releasing an earlier one).
    // False when no face could be found at all; the font is then unusable
    // and selecting it has no effect.
    bool create();
    void release();
    bool isCreated() const { return m_handle != nullptr; }
    const std::shared_ptr<FontHandle>& handle() const { return m_handle; }

    // The description (LOGFONT fields the program sets).
    int height = 0;
    int width = 0;
    int escapement = 0;
    int orientation = 0;
    int weight = 0;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    int charset = 0;
    int outPrecision = 0;
    int clipPrecision = 0;
    int quality = 0;
    int pitchAndFamily = 0;
    std::string face; // CP932, at most 31 bytes

private:
    std::shared_ptr<FontHandle> m_handle;
};
