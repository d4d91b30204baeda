#include "platform/durable_file.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <random>
#include <system_error>

namespace zentorix::platform {

namespace {

// Why a write failed; caught at the top and given back as text.
struct WriteFailure {
    std::string reason;
};

[[noreturn]] void ThrowWriteError(const std::filesystem::path&, std::string_view reason) {
    throw WriteFailure{std::string(reason)};
}

[[noreturn]] void ThrowWriteErrno(const std::filesystem::path& path, int error) {
    ThrowWriteError(path, std::generic_category().message(error));
}

// The file a save really replaces: a symbolic link stays a link and its target
// gets the new content, through any chain of links.
std::filesystem::path FollowLinks(std::filesystem::path path) {
    constexpr int kMaxLinks = 40;
    for (int hops = 0; hops < kMaxLinks; ++hops) {
        std::error_code ec;
        if (!std::filesystem::is_symlink(std::filesystem::symlink_status(path, ec)))
            return path;
        const std::filesystem::path target = std::filesystem::read_symlink(path, ec);
        if (ec)
            ThrowWriteError(path, ec.message());
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
    ThrowWriteErrno(path, ELOOP);
}

// The start of our temporaries' names for a file: hidden, the file's name (a
// long one shortened, since names hold at most 255 bytes) and a dot.
std::string TemporaryPrefix(const std::filesystem::path& target) {
    std::string name = target.filename().string();
    if (name.size() > 160) {
        std::size_t cut = 160;
        while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80)
            --cut;
        name.resize(cut);
    }
    return "." + name + ".";
}

// A name of our own beside the file, never one a user would pick: the prefix,
// the process, a counter and random bits; it is created exclusively.
std::filesystem::path TemporaryName(const std::filesystem::path& target) {
    static std::atomic<unsigned> counter{0};
    static const std::uint64_t seed = std::random_device{}();
    const auto tick =
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    const std::uint64_t mix = (seed ^ tick) * 0x9E3779B97F4A7C15u;
    char unique[64];
    std::snprintf(unique, sizeof unique, "%ld-%u-%08llx.tmp", static_cast<long>(::getpid()),
                  counter++, static_cast<unsigned long long>(mix >> 32));
    return target.parent_path() / (TemporaryPrefix(target) + unique);
}

// A save that was killed leaves its temporary behind; the next save of the file
// removes those whose process is gone.
void RemoveStaleTemporaries(const std::filesystem::path& target,
                            const std::filesystem::path& folder) {
    const std::string prefix = TemporaryPrefix(target);
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (!name.starts_with(prefix) || !name.ends_with(".tmp"))
            continue;
        long pid = 0;
        unsigned count = 0;
        unsigned long long random = 0;
        char tail[8] = {};
        if (std::sscanf(name.c_str() + prefix.size(), "%ld-%u-%8llx%7s", &pid, &count, &random,
                        tail) != 4 ||
            std::string_view(tail) != ".tmp" || pid <= 0)
            continue;
        if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH)
            ::unlink(it->path().c_str());
    }
}

// The temporary is removed on every way out but the successful rename.
class TemporaryFile {
  public:
    TemporaryFile() = default;
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
        if (fd_ >= 0)
            ::close(fd_);
        if (!path_.empty())
            ::unlink(path_.c_str());
    }
    // Creates a new file of the given permissions; false (errno set) when not.
    bool Create(const std::filesystem::path& path, mode_t mode) {
        fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd_ >= 0)
            path_ = path;
        return fd_ >= 0;
    }
    int Fd() const { return fd_; }
    const std::filesystem::path& Path() const { return path_; }
    // Closes the file: the error of the close, which may be the first report of
    // a full disk, or 0.
    int Close() {
        const int result = ::close(fd_);
        fd_ = -1;
        return result == 0 ? 0 : errno;
    }
    void Keep() { path_.clear(); }

  private:
    int fd_ = -1;
    std::filesystem::path path_;
};

int WriteAll(int fd, std::string_view content) {
    while (!content.empty()) {
        const std::size_t chunk = std::min<std::size_t>(content.size(), std::size_t{1} << 30);
        const ssize_t n = ::write(fd, content.data(), chunk);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        content.remove_prefix(static_cast<std::size_t>(n));
    }
    return 0;
}

// Makes the rename itself last: the folder's entry is flushed too. A file system
// that cannot flush a folder has nothing more to lose by it.
void SyncFolder(const std::filesystem::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

void ReplaceFile(const std::filesystem::path& path, std::string_view content) {
    const std::filesystem::path target = FollowLinks(path);
    std::filesystem::path folder = target.parent_path();
    if (folder.empty())
        folder = ".";

    mode_t mode = 0666;  // a new file: the user's umask decides
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (!exists && errno != ENOENT)
        ThrowWriteErrno(path, errno);
    if (exists) {
        if (!S_ISREG(old.st_mode))
            ThrowWriteError(path, "not a regular file");
        if (::access(target.c_str(), W_OK) != 0)
            ThrowWriteErrno(path, errno);
        // The administrator may write anything; a file its owner made read-only
        // is still not replaced behind the owner's back.
        if ((old.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
            ThrowWriteErrno(path, EACCES);
        mode = old.st_mode & 07777;
    }

    TemporaryFile temp;
    constexpr int kAttempts = 100;
    for (int attempt = 0; attempt < kAttempts && temp.Fd() < 0; ++attempt)
        if (!temp.Create(TemporaryName(target), mode) && errno != EEXIST)
            ThrowWriteErrno(path, errno);
    if (temp.Fd() < 0)
        ThrowWriteErrno(path, EEXIST);
    if (exists) {
        // Creation applied the umask: the new file takes the old one's mode and,
        // where we may, its owner.
        ::fchmod(temp.Fd(), mode);
        if (old.st_uid != ::geteuid() || old.st_gid != ::getegid())
            if (::fchown(temp.Fd(), old.st_uid, old.st_gid) != 0) {
                // Only the administrator may give a file away; others keep theirs.
            }
    }
    if (const int error = WriteAll(temp.Fd(), content))
        ThrowWriteErrno(path, error);
    if (::fsync(temp.Fd()) != 0)
        ThrowWriteErrno(path, errno);
    if (const int error = temp.Close())
        ThrowWriteErrno(path, error);
    if (::rename(temp.Path().c_str(), target.c_str()) != 0)
        ThrowWriteErrno(path, errno);
    temp.Keep();
    SyncFolder(folder);
    RemoveStaleTemporaries(target, folder);
}

}  // namespace

std::string ReplaceFileDurably(const std::filesystem::path& path, std::string_view content) {
    try {
        ReplaceFile(path, content);
        return {};
    } catch (const WriteFailure& failure) {
        return failure.reason;
    }
}

}  // namespace zentorix::platform
