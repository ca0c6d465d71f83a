#include "core/files/file_bytes.h"

#include "core/util/win32_text.h"

#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <atomic>
#include <string>

namespace korvane::files {

namespace {

// Closes a handle on every path out of a function.
class FileHandle {
public:
    explicit FileHandle(HANDLE h)
        : m_handle(h)
    {
    }
    ~FileHandle()
    {
        if (valid()) ::CloseHandle(m_handle);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    HANDLE get() const { return m_handle; }
    bool valid() const { return m_handle != INVALID_HANDLE_VALUE; }
    // Closing can report a late write error, so a writer checks it.
    bool close()
    {
        const HANDLE h = m_handle;
        m_handle = INVALID_HANDLE_VALUE;
        return ::CloseHandle(h) != 0;
    }

private:
    HANDLE m_handle;
};

bool writeAll(HANDLE h, std::span<const std::uint8_t> bytes)
{
    while (!bytes.empty()) {
        DWORD written = 0;
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 20));
        if (!::WriteFile(h, bytes.data(), want, &written, nullptr) || written == 0) return false;
        bytes = bytes.subspan(written);
    }
    return true;
}

// The temporary file sits beside the target so that the final move stays within one volume.
std::wstring temporaryName(const std::wstring& folder, const std::wstring& base)
{
    static std::atomic<unsigned> counter { 0 };
    return folder + L"\\." + base.substr(0, 64) + L"." + std::to_wstring(::GetCurrentProcessId()) + L"."
        + std::to_wstring(counter.fetch_add(1)) + L".tmp";
}

// The errno value closest to a Win32 error, so that both platforms word failures alike.
int errnoOf(DWORD error)
{
    switch (error) {
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return EEXIST;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
        return EACCES;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    default:
        return EIO;
    }
}

} // namespace

std::optional<std::vector<std::uint8_t>> readFileBytes(const std::string& path)
{
    const std::wstring wide = util::wideFromUtf8(path);
    FileHandle file(::CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid() || ::GetFileType(file.get()) != FILE_TYPE_DISK) return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info {};
    if (!::GetFileInformationByHandle(file.get(), &info) || (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return std::nullopt;
    std::vector<std::uint8_t> bytes;
    std::uint8_t chunk[4096];
    while (bytes.size() < kMaxReadSize) {
        const DWORD want = static_cast<DWORD>(std::min(sizeof chunk, kMaxReadSize - bytes.size()));
        DWORD got = 0;
        if (!::ReadFile(file.get(), chunk, want, &got, nullptr)) return std::nullopt;
        if (got == 0) break;
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    return bytes;
}

bool writeFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes)
{
    if (path.empty()) return false;
    std::wstring target = util::wideFromUtf8(path);
    std::replace(target.begin(), target.end(), L'/', L'\\');
    const auto slash = target.rfind(L'\\');
    const std::wstring folder = slash == std::wstring::npos ? L"." : target.substr(0, slash);
    const std::wstring base = slash == std::wstring::npos ? target : target.substr(slash + 1);
    if (base.empty()) return false;

    // A file the user made read-only stays protected, as it would be if written in place.
    const DWORD attributes = ::GetFileAttributesW(target.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists && (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) != 0) return false;

    std::wstring temporary;
    HANDLE raw = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 100 && raw == INVALID_HANDLE_VALUE; ++attempt) {
        temporary = temporaryName(folder, base);
        raw = ::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (raw == INVALID_HANDLE_VALUE && ::GetLastError() != ERROR_FILE_EXISTS) return false;
    }
    FileHandle file(raw);
    if (!file.valid()) return false;

    const bool complete = writeAll(file.get(), bytes) && ::FlushFileBuffers(file.get()) && file.close()
        && ::MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!complete) {
        const int error = errnoOf(::GetLastError());
        ::DeleteFileW(temporary.c_str());
        errno = error;
        return false;
    }
    return true;
}

int createNewFile(const std::string& path)
{
    const std::wstring wide = util::wideFromUtf8(path);
    FileHandle file(::CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.valid() ? 0 : errnoOf(::GetLastError());
}

int appendToFile(const std::string& path, const std::function<std::string(bool empty)>& text)
{
    const std::wstring wide = util::wideFromUtf8(path);
    // FILE_APPEND_DATA alone: every write lands at the end, as O_APPEND does.
    FileHandle file(::CreateFileW(wide.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
        OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return errnoOf(::GetLastError());
    LARGE_INTEGER size {};
    const std::string bytes = text(::GetFileSizeEx(file.get(), &size) && size.QuadPart == 0);
    const auto* first = reinterpret_cast<const std::uint8_t*>(bytes.data());
    if (!writeAll(file.get(), std::span(first, bytes.size()))) return errnoOf(::GetLastError());
    return file.close() ? 0 : errnoOf(::GetLastError());
}

} // namespace korvane::files
