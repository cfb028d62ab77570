// The Win32 side of the seam: the real program and its Windows tools.
//
// Paths travel through the engine as UTF-8 and reach the system through the
// wide file functions, so that folders whose names lie outside the ANSI code
// page, and paths longer than MAX_PATH, work. Words and the string table stay
// 8-bit text in the ANSI code page.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cstdint>
#include <cwchar>

#include "buffered_file.h"
#include "platform.h"
#include "texts.h"

namespace {

std::wstring Widen(const std::string& text) {
    if (text.empty()) return std::wstring();
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), length);
    return wide;
}

std::string Narrow(const std::wstring& wide) {
    if (wide.empty()) return std::string();
    const int size = static_cast<int>(wide.size());
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, text.data(), length, nullptr, nullptr);
    return text;
}

// A path for the wide file functions: long absolute paths get the \\?\ prefix
// that lifts the MAX_PATH limit (it needs backslashes throughout).
std::wstring FilePath(const std::string& path) {
    std::wstring wide = Widen(path);
    if (wide.size() < MAX_PATH - 12 || wide.rfind(L"\\\\", 0) == 0) return wide;
    for (wchar_t& c : wide)
        if (c == L'/') c = L'\\';
    if (wide.size() > 2 && wide[1] == L':' && wide[2] == L'\\') return L"\\\\?\\" + wide;
    return wide;
}

FileError ErrorOf(DWORD code) {
    switch (code) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            return FileError::kNotFound;
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return FileError::kBusy;
        default:
            return FileError::kFailed;
    }
}

// Whether another handle holds the file without letting it be deleted, as a
// program that opened it without sharing does.
bool HeldOpen(const std::wstring& path) {
    const HANDLE probe =
        CreateFileW(path.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (probe == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_SHARING_VIOLATION;
    CloseHandle(probe);
    return false;
}

// The name of the save lock of a file: the same for every spelling of its path
// (relative, short 8.3 names, any case), short enough for an object name.
std::wstring LockName(const std::string& path) {
    std::wstring full = FilePath(path);
    const DWORD size = GetFullPathNameW(full.c_str(), 0, nullptr, nullptr);
    if (size > 0) {
        std::wstring buffer(size, L'\0');
        const DWORD length = GetFullPathNameW(full.c_str(), size, buffer.data(), nullptr);
        if (length > 0 && length < size) full.assign(buffer.data(), length);
    }
    const std::size_t slash = full.find_last_of(L"\\/");
    if (slash != std::wstring::npos) {
        const std::wstring folder = full.substr(0, slash + 1);
        const DWORD longSize = GetLongPathNameW(folder.c_str(), nullptr, 0);
        if (longSize > 0) {
            std::wstring buffer(longSize, L'\0');
            const DWORD length = GetLongPathNameW(folder.c_str(), buffer.data(), longSize);
            if (length > 0 && length < longSize)
                full = std::wstring(buffer.data(), length) + full.substr(slash + 1);
        }
    }
    if (!full.empty()) CharUpperBuffW(full.data(), static_cast<DWORD>(full.size()));
    std::uint64_t hash = 14695981039346656037ull;  // 64-bit FNV-1a
    for (wchar_t c : full) {
        hash ^= static_cast<std::uint64_t>(c);
        hash *= 1099511628211ull;
    }
    wchar_t name[64];
    swprintf(name, 64, L"Vrel-save-%016llx", static_cast<unsigned long long>(hash));
    return name;
}

// The save lock: a named mutex, owned by the thread that took it. The system
// hands an abandoned one to the next taker when its owner dies.
class Win32FileLock : public FileLock {
  public:
    explicit Win32FileLock(HANDLE mutex) : m_hMutex(mutex) {}
    ~Win32FileLock() override {
        if (!m_hMutex) return;
        ReleaseMutex(m_hMutex);
        CloseHandle(m_hMutex);
    }

  private:
    HANDLE m_hMutex;
};

class Win32InputFile : public InputFile {
  public:
    explicit Win32InputFile(HANDLE handle) : m_hFile(handle) {}
    ~Win32InputFile() override { CloseHandle(m_hFile); }
    long Read(char* buffer, std::size_t size) override {
        const DWORD chunk = static_cast<DWORD>(size > (1u << 30) ? (1u << 30) : size);
        DWORD count = 0;
        if (!ReadFile(m_hFile, buffer, chunk, &count, nullptr)) return -1;
        return static_cast<long>(count);
    }

  private:
    HANDLE m_hFile;
};

class Win32OutputFile : public BufferedOutputFile {
  public:
    explicit Win32OutputFile(HANDLE handle) : m_hFile(handle) {}
    ~Win32OutputFile() override {
        if (m_hFile != INVALID_HANDLE_VALUE) CloseHandle(m_hFile);
    }

  protected:
    bool WriteRaw(const char* data, std::size_t size) override {
        while (size > 0) {
            const DWORD chunk = static_cast<DWORD>(size > (1u << 30) ? (1u << 30) : size);
            DWORD count = 0;
            if (!WriteFile(m_hFile, data, chunk, &count, nullptr) || count == 0) return false;
            data += count;
            size -= count;
        }
        return true;
    }
    bool SyncRaw() override { return FlushFileBuffers(m_hFile) != 0; }
    bool CloseRaw() override {
        const HANDLE handle = m_hFile;
        m_hFile = INVALID_HANDLE_VALUE;
        return CloseHandle(handle) != 0;
    }

  private:
    HANDLE m_hFile;
};

class Win32Platform : public Platform {
  public:
    std::string LoadText(int id) override {
        char buffer[1024];
        const int length = LoadStringA(GetModuleHandleA(nullptr), static_cast<UINT>(id), buffer,
                                       static_cast<int>(sizeof buffer));
        if (length > 0) return std::string(buffer, static_cast<std::size_t>(length));
        // A module built without the string table still has the same texts.
        const char* text = BuiltInText(id);
        return text ? text : "";
    }

    std::string LoadMessageText(int id) override {
        // The table holds UTF-16; a pointer to it needs no buffer.
        const wchar_t* text = nullptr;
        const int length = LoadStringW(GetModuleHandleW(nullptr), static_cast<UINT>(id),
                                       reinterpret_cast<wchar_t*>(&text), 0);
        if (length > 0 && text) return Narrow(std::wstring(text, static_cast<std::size_t>(length)));
        const char* builtIn = BuiltInText(id);
        return builtIn ? builtIn : "";
    }

    std::string ProgramDirectory() override {
        std::wstring path(1024, L'\0');
        for (;;) {
            const DWORD length =
                GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
            if (length == 0) return ".\\";
            if (length < path.size()) {
                path.resize(length);
                break;
            }
            path.resize(path.size() * 2);  // the path was cut short
        }
        if (path.rfind(L"\\\\?\\", 0) == 0 && path.size() > 6 && path[5] == L':')
            path.erase(0, 4);  // shown in messages; FilePath adds the prefix back
        const std::size_t slash = path.find_last_of(L"\\/");
        return slash == std::wstring::npos ? std::string(".\\") : Narrow(path.substr(0, slash + 1));
    }

    void UpperCase(std::string& text) override {
        if (!text.empty()) CharUpperBuffA(text.data(), static_cast<DWORD>(text.size()));
    }

    std::unique_ptr<InputFile> OpenForRead(const std::string& path, FileError* error) override {
        const HANDLE handle = CreateFileW(FilePath(path).c_str(), GENERIC_READ, 0, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            ReportFileError(error, ErrorOf(GetLastError()));
            return nullptr;
        }
        return std::make_unique<Win32InputFile>(handle);
    }

    std::unique_ptr<OutputFile> CreateForWrite(const std::string& path, FileError* error) override {
        const HANDLE handle = CreateFileW(FilePath(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                          CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            ReportFileError(error, ErrorOf(GetLastError()));
            return nullptr;
        }
        return std::make_unique<Win32OutputFile>(handle);
    }

    bool MoveOver(const std::string& from, const std::string& to, FileError* error) override {
        const std::wstring target = FilePath(to);
        // A read-only file is not replaced (Windows refuses; Wine would not).
        const DWORD attributes = GetFileAttributesW(target.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
            ReportFileError(error, FileError::kFailed);
            SetLastError(ERROR_ACCESS_DENIED);
            return false;
        }
        if (MoveFileExW(FilePath(from).c_str(), target.c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        const DWORD code = GetLastError();
        // A file that another program holds open cannot be replaced, and the
        // system says so as "access denied": tell that apart by asking.
        const bool held = code == ERROR_ACCESS_DENIED && HeldOpen(target);
        ReportFileError(error, held ? FileError::kBusy : ErrorOf(code));
        SetLastError(code);
        return false;
    }

    std::unique_ptr<FileLock> LockFile(const std::string& path, FileError* error) override {
        const HANDLE mutex = CreateMutexW(nullptr, FALSE, LockName(path).c_str());
        // Without a mutex the save goes on unguarded rather than not at all.
        if (!mutex) return std::make_unique<Win32FileLock>(nullptr);
        const DWORD taken = WaitForSingleObject(mutex, 0);
        if (taken == WAIT_OBJECT_0 || taken == WAIT_ABANDONED)
            return std::make_unique<Win32FileLock>(mutex);
        CloseHandle(mutex);
        ReportFileError(error, FileError::kBusy);
        return nullptr;
    }

    bool RemoveFile(const std::string& path) override {
        return DeleteFileW(FilePath(path).c_str()) != 0;
    }

    int ShowMessageBox(const std::string& text, const std::string& caption,
                       unsigned type) override {
        // The texts may hold a path, which is UTF-8 here.
        return MessageBoxW(GetActiveWindow(), Widen(text).c_str(), Widen(caption).c_str(), type);
    }

    void ExitProcess(int code) override { ::ExitProcess(static_cast<UINT>(code)); }
};

}  // namespace

Platform& NativePlatform() {
    static Win32Platform platform;
    return platform;
}
