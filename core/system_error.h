#pragma once

#include <cstdint>
#include <string>

namespace velkaro {

// The system's own error value for a failed file operation, kept as it came: errno for the C
// library and POSIX calls, GetLastError() for calls of the Windows API. A refusal that the core
// makes by itself (a read-only bit, a folder at the output's name) has no value.
struct SystemError {
    enum class Domain : std::uint8_t { None, Posix, Windows };
    Domain domain = Domain::None;
    int code = 0;

    // errno as it stands now; Domain::None when it is 0.
    [[nodiscard]] static SystemError fromErrno() noexcept;
    // On Windows GetLastError() as it stands now; elsewhere fromErrno().
    [[nodiscard]] static SystemError fromLastError() noexcept;

    [[nodiscard]] explicit operator bool() const { return domain != Domain::None; }
    friend bool operator==(const SystemError &, const SystemError &) = default;
};

// Why a file could not be read or written, in the terms a user can act on.
enum class FailureReason : std::uint8_t {
    Unknown,            // see the system's error, if there is one
    AccessDenied,       // no permission for the file or its folder
    ReadOnlyFile,       // the file is marked read-only
    ReadOnlyFileSystem, // the disk, card or share is mounted or switched read-only
    DiskFull,
    QuotaExceeded,
    NameTooLong,
    FileInUse,      // another program holds the file open (Windows sharing violation)
    DeviceFailed,   // the medium failed (EIO): a bad sector, a stick pulled out
    NotFound,       // the file or one of its folders does not exist (any more)
    IsFolder,       // a folder has the file's name
    NotRegularFile, // a device, pipe or socket has the file's name
    LinkLoop,       // symbolic links at the name lead round in a circle
    UntrustedLink,  // a link in a shared sticky folder that belongs to another user
};

// The reason that error stands for; Unknown for errors no reason covers.
[[nodiscard]] FailureReason reasonOf(SystemError error) noexcept;

// A file operation that failed: which file, why, and the system's error where it gave one.
struct FileFailure {
    std::string path; // the file as the user named it, with its folder
    FailureReason reason = FailureReason::Unknown;
    SystemError error;
    friend bool operator==(const FileFailure &, const FileFailure &) = default;
};

// A failure whose reason comes from the system's error.
[[nodiscard]] FileFailure failureOf(std::string path, SystemError error);

} // namespace velkaro
