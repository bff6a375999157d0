#pragma once

#include "fc/FCString.h"

// An absolute path kept as CP932 text with "/" as separator. Directory paths
// that this class builds always end with "/". All scans go character by
// character, so the trail byte of a double-byte character is never taken for
// a separator or a dot.
//
// Resolution of a text (set):
//   absent         the current directory
//   "%:rest"       the mount point of the first optical disc + rest; without
//                  a disc the text is kept as it is (unresolved)
//   "/..."         absolute, kept as it is
//   "~", "~/rest"  the home folder + rest
//   anything else  the current directory + text
// When the current directory cannot be read, the user is told and the path
// stays empty.
class FCPathName {
public:
    // The program's own special-folder codes (besides the shell's).
    static constexpr int ProgramFile = 30583;
    static constexpr int ProgramFolder = 30584;
    static constexpr int WindowsFolder = 30586;
    static constexpr int SystemFolder = 30587;

    // The current directory.
    FCPathName();
    explicit FCPathName(int specialFolder);
    explicit FCPathName(const char* text);
    explicit FCPathName(const FCString& text);
    FCPathName(const FCPathName& other) = default;
    FCPathName& operator=(const FCPathName& other) = default;
    virtual ~FCPathName();

    // The current directory followed by the other path's text.
    virtual void setRelative(const FCPathName& other);
    virtual void set(const FCString& text);
    virtual void set(const char* text);
    // An unknown code, or a shell folder that does not exist here, leaves the
    // path empty.
    virtual void setSpecialFolder(int code, bool withSeparator);
    virtual void setSpecialFolder(int code);
    virtual void setCurrentDirectory();

    // Same as setRelative for a plain text.
    void setRelative(const char* text);

    const char* text() const { return m_path.text(); }
    const FCString& string() const { return m_path; }
    int32_t length() const { return m_path.length(); }
    bool isEmpty() const { return m_path.isEmpty(); }
    bool isAbsolute() const { return !isEmpty() && m_path.text()[0] == '/'; }

    // True when the last character is not "/". An empty path has no last
    // character and counts as ending with one, so that addSeparator never
    // turns an empty (failed) path into the root folder.
    bool endsWithoutSeparator() const;
    void addSeparator();
    // extension with its dot (".configuration"). Cuts the file name's
    // extension, if any, and appends the given one; a folder path is left
    // alone.
    void replaceExtension(const char* extension);
    // extension without its dot ("lnk"), compared without regard to ASCII
    // case.
    bool hasExtension(const char* extension) const;
    // out becomes the text up to the last "/" (with it when withSeparator);
    // out is untouched when there is no "/".
    void directoryPart(FCString& out, bool withSeparator = true) const;
    // The text behind the last "/" (the whole text when there is none).
    FCString fileNamePart() const;

private:
    void assign(std::string_view text);
    // Byte position of the last "/" found character-wise, or -1.
    int32_t lastSeparator() const;

    FCString m_path;
};
