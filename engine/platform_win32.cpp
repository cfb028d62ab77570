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

    std::unique_ptr<InputFile> OpenForRead(const std::string& path) override {
        const HANDLE handle = CreateFileW(FilePath(path).c_str(), GENERIC_READ, 0, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE) return nullptr;
        return std::make_unique<Win32InputFile>(handle);
    }

    std::unique_ptr<OutputFile> CreateForWrite(const std::string& path) override {
        const HANDLE handle = CreateFileW(FilePath(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                          CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE) return nullptr;
        return std::make_unique<Win32OutputFile>(handle);
    }

    bool MoveOver(const std::string& from, const std::string& to) override {
        // A read-only file is not replaced (Windows refuses; Wine would not).
        const DWORD attributes = GetFileAttributesW(FilePath(to).c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
            SetLastError(ERROR_ACCESS_DENIED);
            return false;
        }
        return MoveFileExW(FilePath(from).c_str(), FilePath(to).c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
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
