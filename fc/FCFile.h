#pragma once

#include "fc/FCString.h"
#include "platform/FileSystem.h"

#include <cstdint>

// A file whose failures are first put to the user in Retry/Cancel boxes;
// only Cancel turns them into CannotOpenException, CannotReadException or
// CannotWriteException. The handle is open to callers that position the file
// themselves (seek).
class FCFile {
public:
    // The program's two ways of opening a file.
    static constexpr uint32_t ReadDisposition = FileSystem::OpenExisting;
    static constexpr uint32_t ReadAccess = FileSystem::GenericRead;
    static constexpr uint32_t WriteDisposition = FileSystem::OpenAlways;
    static constexpr uint32_t WriteAccess = FileSystem::GenericRead | FileSystem::GenericWrite;
    static constexpr uint32_t Share = FileSystem::ShareRead;
    static constexpr uint32_t Attributes = FileSystem::AttributeNormal;

    FCFile();
    // Opens at once; see open. Whether it worked shows in isOpen.
    FCFile(const char* path, uint32_t creationDisposition, uint32_t desiredAccess,
           uint32_t shareMode, uint32_t flagsAndAttributes, bool quiet = false);
    virtual ~FCFile();

    FCFile(const FCFile&) = delete;
    FCFile& operator=(const FCFile&) = delete;

    // The numbers are CreateFileA's. The path is resolved like an FCPathName
    // (relative names against the current directory). Returns 0 when open,
    // otherwise the Windows error number; that is only possible when quiet,
    // as without quiet a failure is asked about until it succeeds or the
    // user cancels (CannotOpenException with the full path).
    uint32_t open(const char* path, uint32_t creationDisposition, uint32_t desiredAccess,
                  uint32_t shareMode, uint32_t flagsAndAttributes, bool quiet = false);
    uint32_t openForReading(const char* path, bool quiet = false);
    uint32_t openForWriting(const char* path, bool quiet = false);
    void close();

    // The number of bytes read; fewer than asked at the end of the file.
    uint32_t read(void* buffer, uint32_t byteCount);
    // The number of bytes written.
    uint32_t write(const void* buffer, uint32_t byteCount);
    // Cuts the file at the current position. Failures are asked about like
    // those of write, since a file left longer than its text is a bad write.
    void setEndOfFile();

    // Positioning for callers; origin is FileSystem::SeekBegin, SeekCurrent
    // or SeekEnd. Returns the Windows error number (0 on success) and stores
    // the new position when asked.
    [[nodiscard]] uint32_t seek(int64_t offset, int origin, int64_t* position = nullptr);
    // The current position, or -1 when it cannot be told.
    int64_t position();
    // The size in bytes, or -1 when it cannot be told.
    int64_t size() const;

    int handle() const { return m_handle; }
    // The name as given to open; empty while closed.
    const FCString& name() const { return m_name; }
    bool isOpen() const { return m_handle != FileSystem::InvalidHandle; }

private:
    // Put a failed read or write to the user: they return when the user
    // chose Retry; Cancel raises the matching exception.
    void askAfterReadError(uint32_t error) const;
    void askAfterWriteError(uint32_t error) const;

    int m_handle = FileSystem::InvalidHandle;
    FCString m_name;
};
