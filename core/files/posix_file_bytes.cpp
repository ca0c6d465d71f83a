#include "core/files/file_bytes.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace korvane::files {

namespace {

// Closes a descriptor on every path out of a function.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd)
        : m_fd(fd)
    {
    }
    ~FileDescriptor()
    {
        if (m_fd >= 0) ::close(m_fd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }
    // Closing can report a late write error, so a writer checks it.
    bool close()
    {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

private:
    int m_fd;
};

bool writeAll(int fd, std::span<const std::uint8_t> bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes = bytes.subspan(static_cast<std::size_t>(written));
    }
    return true;
}

// A symbolic link is saved through: the file it names is replaced, the link stays.
std::string resolveTarget(const std::string& path)
{
    struct stat info { };
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (resolved == nullptr) return path;
    std::string target(resolved);
    std::free(resolved);
    return target;
}

// The temporary file sits beside the target so that the final rename stays within one file
// system; a short prefix of the name keeps it recognisable without exceeding name limits.
std::string temporaryName(const std::string& folder, const std::string& base)
{
    static std::atomic<unsigned> counter { 0 };
    return folder + "/." + base.substr(0, 64) + "." + std::to_string(::getpid()) + "."
        + std::to_string(counter.fetch_add(1)) + ".tmp";
}

void syncFolder(const std::string& folder)
{
    // Makes the rename itself durable; a file system that cannot sync folders still saved.
    FileDescriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.valid()) ::fsync(fd.get());
}

} // namespace

std::optional<std::vector<std::uint8_t>> readFileBytes(const std::string& path)
{
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.valid()) return std::nullopt;
    struct stat info { };
    if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
    std::vector<std::uint8_t> bytes;
    bytes.reserve(std::min<std::size_t>(static_cast<std::size_t>(info.st_size), kMaxReadSize));
    std::uint8_t chunk[4096];
    while (bytes.size() < kMaxReadSize) {
        const std::size_t want = std::min(sizeof chunk, kMaxReadSize - bytes.size());
        const ssize_t got = ::read(fd.get(), chunk, want);
        if (got < 0) {
            if (errno == EINTR) continue;
            return std::nullopt;
        }
        if (got == 0) break;
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    return bytes;
}

bool writeFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes)
{
    if (path.empty()) return false;
    const std::string target = resolveTarget(path);
    const auto slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : target.substr(0, slash);
    const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
    if (base.empty()) return false;

    // A file the user made read-only stays protected, as it would be if written in place.
    struct stat existing { };
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    if (exists && (!S_ISREG(existing.st_mode) || ::access(target.c_str(), W_OK) != 0)) return false;

    std::string temporary;
    int rawFd = -1;
    for (int attempt = 0; attempt < 100 && rawFd < 0; ++attempt) {
        temporary = temporaryName(folder, base);
        rawFd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (rawFd < 0 && errno != EEXIST) return false;
    }
    FileDescriptor fd(rawFd);
    if (!fd.valid()) return false;
    if (exists) ::fchmod(fd.get(), existing.st_mode & 07777);

    const bool complete = writeAll(fd.get(), bytes) && ::fsync(fd.get()) == 0 && fd.close()
        && ::rename(temporary.c_str(), target.c_str()) == 0;
    if (!complete) {
        ::unlink(temporary.c_str());
        return false;
    }
    syncFolder(folder);
    return true;
}

int createNewFile(const std::string& path)
{
    FileDescriptor fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    return fd.valid() ? 0 : errno;
}

int appendToFile(const std::string& path, const std::function<std::string(bool empty)>& text)
{
    FileDescriptor fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666));
    if (!fd.valid()) return errno;
    struct stat info { };
    const std::string bytes = text(::fstat(fd.get(), &info) == 0 && info.st_size == 0);
    const auto* first = reinterpret_cast<const std::uint8_t*>(bytes.data());
    if (!writeAll(fd.get(), std::span(first, bytes.size()))) return errno != 0 ? errno : EIO;
    return fd.close() ? 0 : errno;
}

} // namespace korvane::files
