#include "core/platform/input_file.h"

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <system_error>

#include "core/base/qor_error.h"
#include "core/platform/file_system.h"

#ifdef _WIN32
#include <windows.h>

#include <algorithm>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace qor::platform {
namespace {

namespace fs = std::filesystem;

std::string causeOf(int error) {
    return std::generic_category().message(error);
}

// What a file that is neither regular nor a folder is, for the message that refuses it.
std::string_view specialKind(fs::file_type type) {
    switch (type) {
        case fs::file_type::fifo:
            return "a pipe";
        case fs::file_type::character:
        case fs::file_type::block:
            return "a device";
        case fs::file_type::socket:
            return "a socket";
        default:
            return "not a regular file";
    }
}

std::string withArticle(std::string_view noun) {
    const bool vowel = !noun.empty() && std::string_view("aeiou").find(noun[0]) != noun.npos;
    return (vowel ? "an " : "a ") + std::string(noun);
}

[[noreturn]] void refuse(const std::string& path, std::string_view noun, fs::file_type type) {
    if (type == fs::file_type::directory) {
        throw QorError("'" + path + "' is a folder, not " + withArticle(noun));
    }
    throw QorError("'" + path + "' is " + std::string(specialKind(type)) +
                   ", so it cannot be read as " + withArticle(noun));
}

#ifndef _WIN32
fs::file_type typeOf(mode_t mode) {
    if (S_ISREG(mode)) {
        return fs::file_type::regular;
    }
    if (S_ISDIR(mode)) {
        return fs::file_type::directory;
    }
    if (S_ISFIFO(mode)) {
        return fs::file_type::fifo;
    }
    if (S_ISCHR(mode)) {
        return fs::file_type::character;
    }
    if (S_ISBLK(mode)) {
        return fs::file_type::block;
    }
    return S_ISSOCK(mode) ? fs::file_type::socket : fs::file_type::unknown;
}

FileIdentity identityFrom(const struct stat& status) {
#ifdef __APPLE__
    const struct timespec& modified = status.st_mtimespec;
#else
    const struct timespec& modified = status.st_mtim;
#endif
    return {static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino),
            static_cast<std::uint64_t>(status.st_size),
            static_cast<std::int64_t>(modified.tv_sec) * 1'000'000'000 + modified.tv_nsec};
}
#else
// The volume and file index tell files apart as device and inode do elsewhere.
std::optional<FileIdentity> identityOfHandle(HANDLE file) {
    BY_HANDLE_FILE_INFORMATION information{};
    if (!GetFileInformationByHandle(file, &information)) {
        return std::nullopt;
    }
    const auto wide = [](DWORD high, DWORD low) {
        return (static_cast<std::uint64_t>(high) << 32) | low;
    };
    const FILETIME& modified = information.ftLastWriteTime;
    return FileIdentity{
        information.dwVolumeSerialNumber,
        wide(information.nFileIndexHigh, information.nFileIndexLow),
        wide(information.nFileSizeHigh, information.nFileSizeLow),
        static_cast<std::int64_t>(wide(modified.dwHighDateTime, modified.dwLowDateTime) * 100)};
}
#endif

}  // namespace

std::optional<FileIdentity> identityOf(const std::string& path) {
#ifndef _WIN32
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) {
        return std::nullopt;
    }
    return identityFrom(status);
#else
    // No access asked for: a file another program holds open exclusively still shows.
    const HANDLE file = CreateFileW(windowsPath(path).c_str(), 0,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    BY_HANDLE_FILE_INFORMATION information{};
    const bool regular = GetFileInformationByHandle(file, &information) &&
                         !(information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                         GetFileType(file) == FILE_TYPE_DISK;
    std::optional<FileIdentity> identity = regular ? identityOfHandle(file) : std::nullopt;
    CloseHandle(file);
    return identity;
#endif
}

void refuseSpecialFile(const std::string& path, std::string_view noun) {
    std::error_code ec;
    const fs::file_type type = fs::status(toFsPath(path), ec).type();
    if (!ec && type != fs::file_type::regular && type != fs::file_type::directory &&
        type != fs::file_type::not_found) {
        refuse(path, noun, type);
    }
}

void InputFile::fail(const std::string& what, int error) const {
    throw QorError(what + " the " + noun_ + " '" + path_ + "': " + causeOf(error));
}

#ifndef _WIN32

InputFile::InputFile(const std::string& path, std::string_view noun) : path_(path), noun_(noun) {
    // Without O_NONBLOCK, opening a pipe waits until something writes to it.
    fd_ = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd_ < 0) {
        const int error = errno;
        refuseSpecialFile(path, noun);  // a socket cannot be opened at all: say what it is
        fail("Cannot open", error);
    }
    struct stat status {};
    const int statResult = ::fstat(fd_, &status);
    const int error = errno;
    if (statResult != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd_);
        fd_ = -1;
        if (statResult != 0) {
            fail("Cannot open", error);
        }
        refuse(path, noun, typeOf(status.st_mode));
    }
    const int flags = ::fcntl(fd_, F_GETFL);
    if (flags >= 0) {
        ::fcntl(fd_, F_SETFL, flags & ~O_NONBLOCK);  // plain blocking reads from here on
    }
}

InputFile::~InputFile() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

std::size_t InputFile::read(char* data, std::size_t size) {
    for (;;) {
        const ssize_t got = ::read(fd_, data, size);
        if (got >= 0) {
            return static_cast<std::size_t>(got);
        }
        if (errno != EINTR) {
            fail("Cannot read", errno);
        }
    }
}

FileIdentity InputFile::identity() const {
    struct stat status {};
    if (::fstat(fd_, &status) != 0) {
        fail("Cannot look at", errno);
    }
    return identityFrom(status);
}

bool InputFile::stillAtPath() const {
    struct stat opened {};
    struct stat named {};
    return ::fstat(fd_, &opened) == 0 && ::stat(path_.c_str(), &named) == 0 &&
           opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

#else

// Reads are positioned (ReadFile with an offset): the file is shared with other readers and
// writers, and no file pointer is kept between calls.
InputFile::InputFile(const std::string& path, std::string_view noun) : path_(path), noun_(noun) {
    std::error_code ec;
    const fs::file_type type = fs::status(toFsPath(path), ec).type();
    if (!ec && type != fs::file_type::regular && type != fs::file_type::not_found) {
        refuse(path, noun, type);
    }
    const HANDLE file = CreateFileW(windowsPath(path).c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        failWindows("Cannot open", GetLastError());
    }
    if (GetFileType(file) != FILE_TYPE_DISK) {
        CloseHandle(file);
        refuse(path, noun, fs::file_type::character);  // a console, a pipe or a device
    }
    handle_ = file;
}

InputFile::~InputFile() {
    if (handle_ != nullptr) {
        CloseHandle(static_cast<HANDLE>(handle_));
    }
}

std::size_t InputFile::read(char* data, std::size_t size) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset_);
    at.OffsetHigh = static_cast<DWORD>(offset_ >> 32);
    DWORD got = 0;
    const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
    if (!ReadFile(static_cast<HANDLE>(handle_), data, wanted, &got, &at)) {
        if (GetLastError() == ERROR_HANDLE_EOF) {
            return 0;
        }
        failWindows("Cannot read", GetLastError());
    }
    offset_ += got;
    return got;
}

FileIdentity InputFile::identity() const {
    const std::optional<FileIdentity> identity = identityOfHandle(static_cast<HANDLE>(handle_));
    if (!identity) {
        failWindows("Cannot look at", GetLastError());
    }
    return *identity;
}

bool InputFile::stillAtPath() const {
    // A file removed while it is open stays under its name, pending deletion, until it closes.
    FILE_STANDARD_INFO standard{};
    if (GetFileInformationByHandleEx(static_cast<HANDLE>(handle_), FileStandardInfo, &standard,
                                     sizeof standard) &&
        standard.DeletePending) {
        return false;
    }
    const std::optional<FileIdentity> named = identityOf(path_);
    const std::optional<FileIdentity> opened = identityOfHandle(static_cast<HANDLE>(handle_));
    return named && opened && named->device == opened->device && named->inode == opened->inode;
}

void InputFile::failWindows(const std::string& what, unsigned long error) const {
    throw QorError(what + " the " + noun_ + " '" + path_ + "': " + windowsErrorText(error));
}

#endif

}  // namespace qor::platform
