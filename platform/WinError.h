#pragma once

#include <cstdint>

// The Windows error numbers the program's messages switch on, and the mapping
// from errno to them. Every errno a file, folder or link call can raise has a
// counterpart, so that each failure is put to the user in words. Any other
// errno keeps its own number, unless that number would read as one of the
// codes below; then the application bit (0x20000000) is set on it so that it
// still lands in the "unknown error" texts with its errno visible.
class WinError {
public:
    static constexpr uint32_t Success = 0;
    static constexpr uint32_t FileNotFound = 2;
    static constexpr uint32_t PathNotFound = 3;
    static constexpr uint32_t AccessDenied = 5;
    static constexpr uint32_t TooManyOpenFiles = 4;
    static constexpr uint32_t InvalidHandle = 6;
    static constexpr uint32_t NotEnoughMemory = 8;
    static constexpr uint32_t NotSameDevice = 17;
    static constexpr uint32_t NotReady = 21;
    static constexpr uint32_t GeneralFailure = 31;
    static constexpr uint32_t SharingViolation = 32;
    static constexpr uint32_t LockViolation = 33;
    static constexpr uint32_t HandleEof = 38;
    static constexpr uint32_t NotSupported = 50;
    static constexpr uint32_t BadNetworkPath = 53;
    static constexpr uint32_t DeviceNotExist = 55;
    static constexpr uint32_t UnexpectedNetworkError = 59;
    static constexpr uint32_t BadNetworkName = 67;
    static constexpr uint32_t FileExists = 80;
    static constexpr uint32_t InvalidParameter = 87;
    static constexpr uint32_t BrokenPipe = 109;
    static constexpr uint32_t DiskFull = 112;
    static constexpr uint32_t InvalidName = 123;
    static constexpr uint32_t NegativeSeek = 131;
    static constexpr uint32_t SeekOnDevice = 132;
    static constexpr uint32_t DirectoryNotEmpty = 145;
    static constexpr uint32_t AlreadyExists = 183;
    static constexpr uint32_t FilenameTooLong = 206;
    static constexpr uint32_t FileTooLarge = 223;
    static constexpr uint32_t DirectoryInvalid = 267;
    static constexpr uint32_t OperationAborted = 995;
    static constexpr uint32_t TooManyLinks = 1142;
    static constexpr uint32_t DiskQuotaExceeded = 1295;
    static constexpr uint32_t FileCorrupt = 1392;
    static constexpr uint32_t CantResolveFilename = 1921;
    static constexpr uint32_t NoNetworkAccess = 2118;
    static constexpr uint32_t ApplicationBit = 0x20000000;

    // The mapping that needs no context. ENOENT gives FileNotFound and EEXIST
    // AlreadyExists; the file layer turns them into PathNotFound or FileExists
    // where it knows better.
    static uint32_t fromErrno(int error);

    // True for the numbers declared above, which an unmapped errno must not
    // be mistaken for.
    static bool isKnown(uint32_t code);
};
