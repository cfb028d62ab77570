// The Win32 side of the seam: the real program and its Windows tools.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include "buffered_file.h"
#include "platform.h"
#include "texts.h"

namespace {

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

    std::string ProgramDirectory() override {
        std::string path(1024, '\0');
        for (;;) {
            const DWORD length =
                GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
            if (length == 0) return ".\\";
            if (length < path.size()) {
                path.resize(length);
                break;
            }
            path.resize(path.size() * 2);  // the path was cut short
        }
        const std::size_t slash = path.find_last_of("\\/");
        return slash == std::string::npos ? std::string(".\\") : path.substr(0, slash + 1);
    }

    void UpperCase(std::string& text) override {
        if (!text.empty()) CharUpperBuffA(text.data(), static_cast<DWORD>(text.size()));
    }

    std::unique_ptr<InputFile> OpenForRead(const std::string& path) override {
        const HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                          FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE) return nullptr;
        return std::make_unique<Win32InputFile>(handle);
    }

    std::unique_ptr<OutputFile> CreateForWrite(const std::string& path) override {
        const HANDLE handle = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                          FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE) return nullptr;
        return std::make_unique<Win32OutputFile>(handle);
    }

    bool ReplaceFile(const std::string& from, const std::string& to) override {
        return MoveFileExA(from.c_str(), to.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    }

    bool RemoveFile(const std::string& path) override { return DeleteFileA(path.c_str()) != 0; }

    int ShowMessageBox(const std::string& text, const std::string& caption,
                       unsigned type) override {
        return MessageBoxA(GetActiveWindow(), text.c_str(), caption.c_str(), type);
    }

    void ExitProcess(int code) override { ::ExitProcess(static_cast<UINT>(code)); }
};

}  // namespace

Platform& NativePlatform() {
    static Win32Platform platform;
    return platform;
}
