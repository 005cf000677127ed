#include "system_error.h"

#include <cerrno>
#include <utility>

#ifdef _WIN32
#include "windows_api.h"
#endif

namespace velkaro {
namespace {

[[nodiscard]] FailureReason reasonOfErrno(int code) noexcept {
    switch (code) {
    case EACCES:
    case EPERM:
        return FailureReason::AccessDenied;
    case EROFS:
        return FailureReason::ReadOnlyFileSystem;
    case ENOSPC:
    case EFBIG:
        return FailureReason::DiskFull;
#ifdef EDQUOT
    case EDQUOT:
        return FailureReason::QuotaExceeded;
#endif
    case ENAMETOOLONG:
        return FailureReason::NameTooLong;
    case EBUSY:
#ifdef ETXTBSY
    case ETXTBSY:
#endif
        return FailureReason::FileInUse;
    case EIO:
    case ENXIO:
    case ENODEV:
        return FailureReason::DeviceFailed;
    case ENOENT:
    case ENOTDIR:
        return FailureReason::NotFound;
    case EISDIR:
        return FailureReason::IsFolder;
    case ELOOP:
        return FailureReason::LinkLoop;
    default:
        return FailureReason::Unknown;
    }
}

// The values of winerror.h, so that the table reads the same on every platform that builds it.
[[nodiscard]] FailureReason reasonOfWindowsError(int code) noexcept {
    switch (code) {
    case 5: // ERROR_ACCESS_DENIED
        return FailureReason::AccessDenied;
    case 32:   // ERROR_SHARING_VIOLATION
    case 33:   // ERROR_LOCK_VIOLATION
    case 1224: // ERROR_USER_MAPPED_FILE
        return FailureReason::FileInUse;
    case 19: // ERROR_WRITE_PROTECT
        return FailureReason::ReadOnlyFileSystem;
    case 39:  // ERROR_HANDLE_DISK_FULL
    case 112: // ERROR_DISK_FULL
        return FailureReason::DiskFull;
    case 1295: // ERROR_DISK_QUOTA_EXCEEDED
        return FailureReason::QuotaExceeded;
    case 111: // ERROR_BUFFER_OVERFLOW
    case 206: // ERROR_FILENAME_EXCED_RANGE
        return FailureReason::NameTooLong;
    case 2:  // ERROR_FILE_NOT_FOUND
    case 3:  // ERROR_PATH_NOT_FOUND
    case 15: // ERROR_INVALID_DRIVE
    case 21: // ERROR_NOT_READY
        return FailureReason::NotFound;
    case 23:   // ERROR_CRC
    case 29:   // ERROR_WRITE_FAULT
    case 30:   // ERROR_READ_FAULT
    case 31:   // ERROR_GEN_FAILURE
    case 1117: // ERROR_IO_DEVICE
    case 1167: // ERROR_DEVICE_NOT_CONNECTED
        return FailureReason::DeviceFailed;
    case 1921: // ERROR_CANT_RESOLVE_FILENAME
        return FailureReason::LinkLoop;
    default:
        return FailureReason::Unknown;
    }
}

} // namespace

SystemError SystemError::fromErrno() noexcept {
    const int code = errno;
    return code == 0 ? SystemError{} : SystemError{Domain::Posix, code};
}

SystemError SystemError::fromLastError() noexcept {
#ifdef _WIN32
    const DWORD code = GetLastError();
    return code == 0 ? SystemError{} : SystemError{Domain::Windows, static_cast<int>(code)};
#else
    return fromErrno();
#endif
}

FailureReason reasonOf(SystemError error) noexcept {
    switch (error.domain) {
    case SystemError::Domain::Posix:
        return reasonOfErrno(error.code);
    case SystemError::Domain::Windows:
        return reasonOfWindowsError(error.code);
    case SystemError::Domain::None:
        break;
    }
    return FailureReason::Unknown;
}

FileFailure failureOf(std::string path, SystemError error) {
    return FileFailure{std::move(path), reasonOf(error), error};
}

} // namespace velkaro
