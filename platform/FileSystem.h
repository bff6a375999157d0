#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The file calls of the program over POSIX. Paths are CP932 text with "/" as
// separator; they are converted to UTF-8 here. Every call returns a Windows
// error number (WinError), 0 on success, and records it as the calling
// thread's last error.
namespace FileSystem {

// CreateFileA's numbers.
inline constexpr uint32_t GenericRead = 0x80000000u;
inline constexpr uint32_t GenericWrite = 0x40000000u;
inline constexpr uint32_t ShareRead = 1;
inline constexpr uint32_t ShareWrite = 2;
inline constexpr uint32_t ShareDelete = 4;
inline constexpr uint32_t CreateNew = 1;
inline constexpr uint32_t CreateAlways = 2;
inline constexpr uint32_t OpenExisting = 3;
inline constexpr uint32_t OpenAlways = 4;
inline constexpr uint32_t TruncateExisting = 5;

inline constexpr uint32_t AttributeReadOnly = 0x1;
inline constexpr uint32_t AttributeHidden = 0x2;
inline constexpr uint32_t AttributeDirectory = 0x10;
inline constexpr uint32_t AttributeArchive = 0x20;
inline constexpr uint32_t AttributeNormal = 0x80;

inline constexpr int InvalidHandle = -1;

inline constexpr int SeekBegin = 0;
inline constexpr int SeekCurrent = 1;
inline constexpr int SeekEnd = 2;

// Opening a folder fails with AccessDenied, as on Windows; so does opening
// a read-only file for writing or truncation. An unknown disposition, or
// TruncateExisting without GenericWrite, is InvalidParameter. A file
// created with AttributeReadOnly is read-only for later opens only.
uint32_t open(std::string_view path, uint32_t disposition, uint32_t access, uint32_t share,
              uint32_t attributes, int& handle);
void close(int handle);
// A short count at the end of the file is no error. Reading a handle
// opened for writing only (or the reverse) is AccessDenied.
uint32_t read(int handle, void* buffer, uint32_t count, uint32_t& done);
uint32_t write(int handle, const void* buffer, uint32_t count, uint32_t& done);
uint32_t seek(int handle, int64_t offset, int origin, int64_t& position);
uint32_t setEndOfFile(int handle);
uint32_t size(int handle, int64_t& bytes);

// Read-only is the absence of the owner's write permission. Names that
// begin with "." are hidden.
uint32_t attributes(std::string_view path, uint32_t& attributes);
// Only AttributeReadOnly is honoured.
uint32_t setAttributes(std::string_view path, uint32_t attributes);
// The attributes of an entry with the given st_mode and (CP932) name, as
// attributes() reports them; the directory lister uses it for the entries
// it has already looked at. Never 0.
uint32_t attributesOf(uint32_t mode, std::string_view name);
// What a path names once links are followed. Only a regular file can
// be read as a text: a FIFO would hang a read, a device never end.
enum class EntryKind {
    File,
    Folder,
    // A FIFO, socket or device.
    Special,
};
EntryKind entryKindOf(uint32_t mode);
// The kind of what path names; an error number (FileNotFound,
// CantResolveFilename for a link loop, ...) when it cannot be told.
uint32_t entryKind(std::string_view path, EntryKind& kind);

uint32_t createDirectory(std::string_view path);
// A read-only file or folder is refused with AccessDenied, as on Windows,
// until its read-only attribute is cleared. deleteFile on a folder is
// AccessDenied, removeDirectory on a file DirectoryInvalid, on a folder
// with entries DirectoryNotEmpty. A symbolic link is deleted, never its
// target.
uint32_t deleteFile(std::string_view path);
uint32_t removeDirectory(std::string_view path);

// The process's current directory (CP932, without a trailing "/" unless
// it is the root "/"); false when it cannot be read or has no CP932 form,
// with the reason as the last error.
[[nodiscard]] bool currentDirectory(std::string& path);

uint32_t lastError();
void setLastError(uint32_t error);

} // namespace FileSystem
