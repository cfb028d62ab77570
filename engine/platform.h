// The engine's one seam to the operating system: files and their locks,
// message boxes, the program's folder, the string table, upper-casing, pauses
// and process exit.
//
// Only the platform_*.cpp files include OS headers. Code calls Platform::Get();
// tools and tests may install their own Platform (for instance to inject
// faults) with Platform::Set and restore the default with
// Platform::Set(nullptr). Such a replacement derives from PlatformWrapper and
// overrides only what it changes.
#ifndef VREL_ENGINE_PLATFORM_H_
#define VREL_ENGINE_PLATFORM_H_

#include <cstddef>
#include <cstdlib>
#include <memory>
#include <string>

// Message box types and answers, with the values of the Win32 constants.
enum : unsigned {
    kBoxOk = 0x00,
    kBoxYesNo = 0x04,
    kBoxIconQuestion = 0x20,
    kBoxIconExclamation = 0x30,
};
enum : int { kAnswerOk = 1, kAnswerYes = 6, kAnswerNo = 7 };

// Why a file operation failed.
enum class FileError {
    kNone,
    kNotFound,  // the file (or its folder) does not exist
    kBusy,      // another program holds it for now: trying again may succeed
    kFailed,    // any other reason
};

// Sets *error when the caller asked for the reason.
inline void ReportFileError(FileError* error, FileError reason) {
    if (error) *error = reason;
}

// A file opened for reading. Read returns the number of bytes read, 0 at the
// end of the file, or -1 when the read failed.
class InputFile {
  public:
    virtual ~InputFile() = default;
    virtual long Read(char* buffer, std::size_t size) = 0;
};

// A file opened for writing; bytes reach the file unchanged. Each call
// answers false when it failed. Sync pushes the data to the disk itself.
class OutputFile {
  public:
    virtual ~OutputFile() = default;
    virtual bool Write(const char* data, std::size_t size) = 0;
    virtual bool Sync() = 0;
    virtual bool Close() = 0;
};

// A lock taken with Platform::LockFile, held until it is destroyed. The system
// releases it when the process that holds it dies.
class FileLock {
  public:
    virtual ~FileLock() = default;
};

class Platform {
  public:
    virtual ~Platform() = default;

    // The platform in use: the one installed by Set, else the native one.
    static Platform& Get();
    // Installs a replacement (not owned); nullptr restores the native one.
    static void Set(Platform* platform);

    // Text of string table entry id; empty when there is none.
    virtual std::string LoadText(int id) = 0;
    // The same text in the encoding of paths and message boxes: UTF-8 on
    // Windows, where LoadText gives the ANSI code page.
    virtual std::string LoadMessageText(int id) { return LoadText(id); }
    // Folder of the running executable, ending in the path separator.
    virtual std::string ProgramDirectory() = 0;
    // Upper-cases 8-bit text in place by the system's code page.
    virtual void UpperCase(std::string& text) = 0;

    // Each file operation that can fail gives the reason in *error when error
    // is not null.
    //
    // Opens an existing file for reading without sharing; null on failure.
    virtual std::unique_ptr<InputFile> OpenForRead(const std::string& path,
                                                   FileError* error = nullptr) = 0;
    // Creates or empties a file for writing without sharing; null on failure.
    virtual std::unique_ptr<OutputFile> CreateForWrite(const std::string& path,
                                                       FileError* error = nullptr) = 0;
    // Atomically puts the file from in place of the file to, which may exist.
    virtual bool MoveOver(const std::string& from, const std::string& to,
                          FileError* error = nullptr) = 0;
    // Takes the lock that keeps two processes from saving the file at path at
    // once; null (kBusy) while another process holds it. Where the file
    // system has no locks, answers a lock that holds nothing.
    virtual std::unique_ptr<FileLock> LockFile(const std::string& path,
                                               FileError* error = nullptr) = 0;
    // Deletes a file; false when it could not.
    virtual bool RemoveFile(const std::string& path) = 0;

    // Shows a message box owned by the active window; returns the answer.
    virtual int ShowMessageBox(const std::string& text, const std::string& caption,
                               unsigned type) = 0;
    // Waits before a file operation is tried again.
    virtual void Pause(int milliseconds);
    // Ends the process at once with the exit code.
    [[noreturn]] virtual void ExitProcess(int code) = 0;
};

// The native platform of this build (Win32 or POSIX).
Platform& NativePlatform();

// A platform that forwards every call to another one, the native platform
// unless told otherwise. LoadMessageText is not forwarded: as in Platform, it
// is LoadText, so that a replacement's own string table reaches the message
// boxes too.
class PlatformWrapper : public Platform {
  public:
    explicit PlatformWrapper(Platform& target = NativePlatform()) : m_target(target) {}

    Platform& Target() const { return m_target; }

    std::string LoadText(int id) override { return m_target.LoadText(id); }
    std::string ProgramDirectory() override { return m_target.ProgramDirectory(); }
    void UpperCase(std::string& text) override { m_target.UpperCase(text); }
    std::unique_ptr<InputFile> OpenForRead(const std::string& path,
                                           FileError* error = nullptr) override {
        return m_target.OpenForRead(path, error);
    }
    std::unique_ptr<OutputFile> CreateForWrite(const std::string& path,
                                               FileError* error = nullptr) override {
        return m_target.CreateForWrite(path, error);
    }
    bool MoveOver(const std::string& from, const std::string& to,
                  FileError* error = nullptr) override {
        return m_target.MoveOver(from, to, error);
    }
    std::unique_ptr<FileLock> LockFile(const std::string& path,
                                       FileError* error = nullptr) override {
        return m_target.LockFile(path, error);
    }
    bool RemoveFile(const std::string& path) override { return m_target.RemoveFile(path); }
    int ShowMessageBox(const std::string& text, const std::string& caption,
                       unsigned type) override {
        return m_target.ShowMessageBox(text, caption, type);
    }
    void Pause(int milliseconds) override { m_target.Pause(milliseconds); }
    [[noreturn]] void ExitProcess(int code) override {
        m_target.ExitProcess(code);
        std::abort();  // a platform's ExitProcess does not return
    }

  private:
    Platform& m_target;
};

#endif  // VREL_ENGINE_PLATFORM_H_
