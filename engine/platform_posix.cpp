// The POSIX side of the seam: native builds for development and tests.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "buffered_file.h"
#include "platform.h"
#include "texts.h"

namespace {

class PosixInputFile : public InputFile {
  public:
    explicit PosixInputFile(int fd) : m_fd(fd) {}
    ~PosixInputFile() override { ::close(m_fd); }
    long Read(char* buffer, std::size_t size) override {
        for (;;) {
            const ssize_t count = ::read(m_fd, buffer, size);
            if (count >= 0) return static_cast<long>(count);
            if (errno != EINTR) return -1;
        }
    }

  private:
    int m_fd;
};

class PosixOutputFile : public BufferedOutputFile {
  public:
    explicit PosixOutputFile(int fd) : m_fd(fd) {}
    ~PosixOutputFile() override {
        if (m_fd >= 0) ::close(m_fd);
    }

  protected:
    bool WriteRaw(const char* data, std::size_t size) override {
        while (size > 0) {
            const ssize_t count = ::write(m_fd, data, size);
            if (count < 0 && errno == EINTR) continue;
            if (count <= 0) return false;
            data += count;
            size -= static_cast<std::size_t>(count);
        }
        return true;
    }
    bool SyncRaw() override { return ::fsync(m_fd) == 0; }
    bool CloseRaw() override {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

  private:
    int m_fd;
};

// An flock on a folder; fd -1 holds nothing.
class PosixFileLock : public FileLock {
  public:
    explicit PosixFileLock(int fd) : m_fd(fd) {}
    ~PosixFileLock() override {
        if (m_fd >= 0) ::close(m_fd);  // releases the lock
    }

  private:
    int m_fd;
};

// POSIX has no sharing modes: only a missing file is told apart.
FileError ErrorOf(int code) { return code == ENOENT ? FileError::kNotFound : FileError::kFailed; }

// Upper case of a byte in the Windows-1252 code page, as the Win32 side gets it
// from the system.
char UpperCase1252(char c) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (u >= 'a' && u <= 'z') return static_cast<char>(u - 0x20);
    if (u >= 0xE0 && u <= 0xFE && u != 0xF7) return static_cast<char>(u - 0x20);
    switch (u) {
        case 0x9A:
            return static_cast<char>(0x8A);  // s caron
        case 0x9C:
            return static_cast<char>(0x8C);  // oe
        case 0x9E:
            return static_cast<char>(0x8E);  // z caron
        case 0xFF:
            return static_cast<char>(0x9F);  // y diaeresis
        default:
            return c;
    }
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}

class PosixPlatform : public Platform {
  public:
    std::string LoadText(int id) override {
        const char* text = BuiltInText(id);
        return text ? text : "";
    }

    std::string ProgramDirectory() override {
        std::string path(4096, '\0');
        for (;;) {
            const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size());
            if (length < 0) return "./";
            if (static_cast<std::size_t>(length) < path.size()) {
                path.resize(static_cast<std::size_t>(length));
                return FolderOf(path);
            }
            path.resize(path.size() * 2);
        }
    }

    void UpperCase(std::string& text) override {
        for (char& c : text) c = UpperCase1252(c);
    }

    std::unique_ptr<InputFile> OpenForRead(const std::string& path, FileError* error) override {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            ReportFileError(error, ErrorOf(errno));
            return nullptr;
        }
        return std::make_unique<PosixInputFile>(fd);
    }

    std::unique_ptr<OutputFile> CreateForWrite(const std::string& path, FileError* error) override {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd < 0) {
            ReportFileError(error, ErrorOf(errno));
            return nullptr;
        }
        return std::make_unique<PosixOutputFile>(fd);
    }

    bool MoveOver(const std::string& from, const std::string& to, FileError* error) override {
        // A read-only file is not replaced, as on Windows.
        struct stat status;
        if (::stat(to.c_str(), &status) == 0 && (status.st_mode & S_IWUSR) == 0) {
            errno = EACCES;
            ReportFileError(error, FileError::kFailed);
            return false;
        }
        if (::rename(from.c_str(), to.c_str()) != 0) {
            ReportFileError(error, ErrorOf(errno));
            return false;
        }
        // Make the new directory entry itself durable.
        const int dir = ::open(FolderOf(to).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dir >= 0) {
            ::fsync(dir);
            ::close(dir);
        }
        return true;
    }

    // The lock is an flock on the file's folder, which stays put while the
    // files in it are created, renamed and removed.
    std::unique_ptr<FileLock> LockFile(const std::string& path, FileError* error) override {
        const int fd = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        // A folder that cannot be opened cannot be locked: the save goes on
        // unguarded, and fails on its own where the folder is missing.
        if (fd < 0) return std::make_unique<PosixFileLock>(-1);
        int result;
        do {
            result = ::flock(fd, LOCK_EX | LOCK_NB);
        } while (result != 0 && errno == EINTR);
        if (result == 0) return std::make_unique<PosixFileLock>(fd);
        const bool busy = errno == EWOULDBLOCK;
        ::close(fd);
        if (!busy) return std::make_unique<PosixFileLock>(-1);  // no locks on this file system
        ReportFileError(error, FileError::kBusy);
        return nullptr;
    }

    bool RemoveFile(const std::string& path) override { return ::unlink(path.c_str()) == 0; }

    int ShowMessageBox(const std::string& text, const std::string& caption,
                       unsigned type) override {
        std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
        // Without a person to ask, a question is answered with the safe No.
        return (type & 0x0F) == kBoxYesNo ? kAnswerNo : kAnswerOk;
    }

    void ExitProcess(int code) override {
        std::fflush(nullptr);
        ::_exit(code);
    }
};

}  // namespace

Platform& NativePlatform() {
    static PosixPlatform platform;
    return platform;
}
