#pragma once

#include <cstdint>

// The Windows error numbers the program's messages switch on, and the mapping
// from errno to them. Every errno a file, folder or link call can raise has a
// counterpart, so that each failure is put to the user in words. Any other
// errno keeps its own number, unless that number would read as one of the
// codes below; then the application bit (0x20000000) is set on it so that it
// still lands in the "unknown error" texts with its errno visible.
namespace WinError {

inline constexpr uint32_t Success = 0;
inline constexpr uint32_t FileNotFound = 2;
inline constexpr uint32_t PathNotFound = 3;
inline constexpr uint32_t AccessDenied = 5;
inline constexpr uint32_t TooManyOpenFiles = 4;
inline constexpr uint32_t InvalidHandle = 6;
inline constexpr uint32_t NotEnoughMemory = 8;
inline constexpr uint32_t NotSameDevice = 17;
inline constexpr uint32_t NotReady = 21;
inline constexpr uint32_t GeneralFailure = 31;
inline constexpr uint32_t SharingViolation = 32;
inline constexpr uint32_t LockViolation = 33;
inline constexpr uint32_t HandleEof = 38;
inline constexpr uint32_t NotSupported = 50;
inline constexpr uint32_t BadNetworkPath = 53;
inline constexpr uint32_t DeviceNotExist = 55;
inline constexpr uint32_t UnexpectedNetworkError = 59;
inline constexpr uint32_t BadNetworkName = 67;
inline constexpr uint32_t FileExists = 80;
inline constexpr uint32_t InvalidParameter = 87;
inline constexpr uint32_t BrokenPipe = 109;
inline constexpr uint32_t DiskFull = 112;
inline constexpr uint32_t InvalidName = 123;
inline constexpr uint32_t NegativeSeek = 131;
inline constexpr uint32_t SeekOnDevice = 132;
inline constexpr uint32_t DirectoryNotEmpty = 145;
inline constexpr uint32_t AlreadyExists = 183;
inline constexpr uint32_t FilenameTooLong = 206;
inline constexpr uint32_t FileTooLarge = 223;
inline constexpr uint32_t DirectoryInvalid = 267;
inline constexpr uint32_t OperationAborted = 995;
inline constexpr uint32_t TooManyLinks = 1142;
inline constexpr uint32_t DiskQuotaExceeded = 1295;
inline constexpr uint32_t FileCorrupt = 1392;
inline constexpr uint32_t CantResolveFilename = 1921;
inline constexpr uint32_t NoNetworkAccess = 2118;
inline constexpr uint32_t ApplicationBit = 0x20000000;

// The mapping that needs no context. ENOENT gives FileNotFound and EEXIST
// AlreadyExists; the file layer turns them into PathNotFound or FileExists
// where it knows better.
uint32_t fromErrno(int error);

// True for the numbers declared above, which an unmapped errno must not
// be mistaken for.
bool isKnown(uint32_t code);

} // namespace WinError
