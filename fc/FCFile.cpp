#include "fc/FCFile.h"

#include "fc/CannotOpenException.h"
#include "fc/CannotReadException.h"
#include "fc/CannotWriteException.h"
#include "fc/FCPathName.h"
#include "fc/FileErrorText.h"
#include "platform/Prompt.h"
#include "platform/Sjis.h"
#include "platform/WinError.h"

#include <string>

namespace {

std::string decimal(uint32_t value)
{
    return std::to_string(value);
}

std::string openErrorText(uint32_t error)
{
    switch (error) {
    case WinError::FileNotFound:
        return Sjis::of("が\n見付かりません");
    case WinError::PathNotFound:
        return Sjis::of("で\n指定されたパスが見付かりません");
    case WinError::AccessDenied:
        return Sjis::of("\nアクセスが拒否されました");
    case WinError::NotReady:
        return Sjis::of("\nドライブの準備ができていません");
    case WinError::GeneralFailure:
        return Sjis::of("\nメディアはフォーマットされていないか、準備ができていません");
    case WinError::SharingViolation:
        return Sjis::of("は\n他のアプリケーションによって開かれています");
    case WinError::BadNetworkPath:
    case WinError::BadNetworkName:
        return Sjis::of("ネットワークドライブにアクセスできません");
    case WinError::NoNetworkAccess:
        return Sjis::of("\nネットワークドライブにアクセス権がありません");
    default:
        if (const char* reason = FileErrorText::reason(error))
            return reason;
        return Sjis::of("\n未知のエラーです code:") + decimal(error);
    }
}

// The texts that read and write share; null for the codes where they differ.
const char* readWriteErrorText(uint32_t error)
{
    switch (error) {
    case WinError::NotReady:
        return Sjis::of("\nドライブの準備ができていません");
    case WinError::GeneralFailure:
        return Sjis::of("\nメディアはフォーマットされていないか、準備ができていません");
    case WinError::SharingViolation:
        return Sjis::of("は\n他のアプリケーションから利用されています");
    case WinError::LockViolation:
        return Sjis::of("は\n他のプロセスがファイルをロックしています");
    default:
        return nullptr;
    }
}

// The number alone does not tell the user what went wrong (a full disk, a
// lost network drive): the reason follows it when there is one.
void appendReason(std::string& text, uint32_t error)
{
    if (const char* reason = FileErrorText::reason(error))
        text += reason;
}

bool askRetry(const char* title, const std::string& text)
{
    return Prompt::current().ask(title, text, Prompt::Buttons::RetryCancel) ==
           Prompt::Answer::Retry;
}

} // namespace

FCFile::FCFile() = default;

FCFile::FCFile(const char* path, uint32_t creationDisposition, uint32_t desiredAccess,
               uint32_t shareMode, uint32_t flagsAndAttributes, bool quiet)
{
    open(path, creationDisposition, desiredAccess, shareMode, flagsAndAttributes, quiet);
}

FCFile::~FCFile()
{
    close();
}

uint32_t FCFile::open(const char* path, uint32_t creationDisposition, uint32_t desiredAccess,
                      uint32_t shareMode, uint32_t flagsAndAttributes, bool quiet)
{
    close();
    // Shortcut files have no counterpart here (symbolic links are followed by
    // the system), so the given path is always the one opened and named.
    FCPathName fullPath(path ? path : "");
    for (;;) {
        int handle = FileSystem::InvalidHandle;
        uint32_t error = FileSystem::open(fullPath.string().view(), creationDisposition,
                                          desiredAccess, shareMode, flagsAndAttributes, handle);
        if (error == WinError::Success) {
            m_handle = handle;
            m_name.create(256, path ? path : "");
            return WinError::Success;
        }
        if (quiet)
            return error;
        std::string text = fullPath.string().toStdString() + openErrorText(error);
        if (!askRetry("FCFile - open", text))
            throw CannotOpenException(fullPath.text());
    }
}

uint32_t FCFile::openForReading(const char* path, bool quiet)
{
    return open(path, ReadDisposition, ReadAccess, Share, Attributes, quiet);
}

uint32_t FCFile::openForWriting(const char* path, bool quiet)
{
    return open(path, WriteDisposition, WriteAccess, Share, Attributes, quiet);
}

void FCFile::close()
{
    if (!isOpen())
        return;
    FileSystem::close(m_handle);
    m_handle = FileSystem::InvalidHandle;
    m_name.clear();
}

uint32_t FCFile::read(void* buffer, uint32_t byteCount)
{
    for (;;) {
        uint32_t done = 0;
        uint32_t error = FileSystem::read(m_handle, buffer, byteCount, done);
        // Reaching the end is a short count, never a failure.
        if (error == WinError::Success || error == WinError::HandleEof)
            return done;
        askAfterReadError(error);
    }
}

uint32_t FCFile::write(const void* buffer, uint32_t byteCount)
{
    for (;;) {
        uint32_t done = 0;
        uint32_t error = FileSystem::write(m_handle, buffer, byteCount, done);
        if (error == WinError::Success)
            return done;
        askAfterWriteError(error);
    }
}

void FCFile::setEndOfFile()
{
    for (;;) {
        uint32_t error = FileSystem::setEndOfFile(m_handle);
        if (error == WinError::Success)
            return;
        askAfterWriteError(error);
    }
}

uint32_t FCFile::seek(int64_t offset, int origin, int64_t* position)
{
    int64_t reached = 0;
    uint32_t error = FileSystem::seek(m_handle, offset, origin, reached);
    if (error == WinError::Success && position)
        *position = reached;
    return error;
}

int64_t FCFile::position()
{
    int64_t reached = 0;
    if (seek(0, FileSystem::SeekCurrent, &reached) != WinError::Success)
        return -1;
    return reached;
}

int64_t FCFile::size() const
{
    int64_t bytes = 0;
    if (FileSystem::size(m_handle, bytes) != WinError::Success)
        return -1;
    return bytes;
}

void FCFile::askAfterReadError(uint32_t error) const
{
    std::string text = m_name.toStdString();
    if (error == WinError::AccessDenied) {
        text += Sjis::of("への\nアクセスは拒否されました。");
    } else if (const char* common = readWriteErrorText(error)) {
        text += common;
    } else {
        text += Sjis::of("読み込みできません\nError code : ");
        text += decimal(error);
        text += "\nFile handle : ";
        text += decimal(static_cast<uint32_t>(m_handle));
        appendReason(text, error);
    }
    if (!askRetry("FCFile - read", text))
        throw CannotReadException(m_name.text());
}

void FCFile::askAfterWriteError(uint32_t error) const
{
    std::string text = m_name.toStdString();
    if (error == WinError::AccessDenied) {
        text += Sjis::of("は\n読み込み専用で開かれています");
    } else if (const char* common = readWriteErrorText(error)) {
        text += common;
    } else {
        text += Sjis::of("書き込みできません\nError code : ");
        text += decimal(error);
        appendReason(text, error);
    }
    if (!askRetry("FCFile - write", text))
        throw CannotWriteException(m_name.text());
}
