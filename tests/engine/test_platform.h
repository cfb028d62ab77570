// Test doubles for the platform seam, a scratch folder per test and byte-level
// file helpers.
//
//   TestPlatform platform;          // installed until it goes out of scope
//   platform.failWriteAt = 2;       // the second Write of a save fails
//   platform.openHeldMs = 300;      // opens find the file held for 300 ms
//   ScratchFolder folder;           // empty folder, removed afterwards
//   WriteBytes(folder.File("VREL.DAT"), "CAT\r\n");
//   dict.SaveToFile(folder.Path());
//   EXPECT_EQ(platform.boxes.size(), 1u);
//
// Message boxes are recorded and never shown, so tests that reach an error box
// do not block on a real window; pauses are counted and not waited; ExitProcess
// still ends the process for real.
#ifndef VREL_TESTS_ENGINE_TEST_PLATFORM_H_
#define VREL_TESTS_ENGINE_TEST_PLATFORM_H_

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "platform.h"
#include "string_ids.h"

namespace vrel_test {

struct RecordedBox {
    std::string text;
    std::string caption;
    unsigned type = 0;
};

inline bool operator==(const RecordedBox& a, const RecordedBox& b) {
    return a.text == b.text && a.caption == b.caption && a.type == b.type;
}
inline void PrintTo(const RecordedBox& box, std::ostream* out) {
    *out << "{\"" << box.caption << "\", \"" << box.text << "\", type " << box.type << "}";
}

// Forwards everything to the native platform except message boxes, which are
// recorded, and file operations, which fail on request.
class TestPlatform : public PlatformWrapper {
  public:
    TestPlatform() { Platform::Set(this); }
    ~TestPlatform() override { Platform::Set(nullptr); }
    TestPlatform(const TestPlatform&) = delete;
    TestPlatform& operator=(const TestPlatform&) = delete;

    // Faults. failWriteAt counts Write calls from 1 over the platform's life;
    // 0 means no write fails.
    bool failCreate = false;
    int failWriteAt = 0;
    bool failSync = false;
    bool failClose = false;
    bool failReplace = false;
    // Reads hand out at most readChunk bytes each (0: as asked); once
    // failReadAfter bytes have been read (if >= 0), the next read fails.
    std::size_t readChunk = 0;
    long failReadAfter = -1;
    // Another program holds the files (another process the lock) until the
    // pauses add up to this many milliseconds: until then each such call
    // fails as busy.
    int openHeldMs = 0;
    int createHeldMs = 0;
    int moveHeldMs = 0;
    int lockHeldMs = 0;
    // Death tests: also print each box as "caption: text" to stderr.
    bool echoBoxes = false;
    // When not empty, the alphabet (string 120) in place of the native one.
    std::string alphabet;

    std::vector<RecordedBox> boxes;
    int writes = 0;
    int pausedMs = 0;

    std::string LoadText(int id) override {
        if (id == IDS_ALPHABET && !alphabet.empty()) return alphabet;
        return NativePlatform().LoadText(id);
    }

    std::unique_ptr<InputFile> OpenForRead(const std::string& path, FileError* error) override {
        if (Held(openHeldMs, error)) return nullptr;
        std::unique_ptr<InputFile> file = NativePlatform().OpenForRead(path, error);
        if (!file) return nullptr;
        return std::make_unique<Input>(std::move(file), *this);
    }

    std::unique_ptr<OutputFile> CreateForWrite(const std::string& path, FileError* error) override {
        if (failCreate || Held(createHeldMs, error)) return nullptr;
        std::unique_ptr<OutputFile> file = NativePlatform().CreateForWrite(path, error);
        if (!file) return nullptr;
        return std::make_unique<Output>(std::move(file), *this);
    }

    bool MoveOver(const std::string& from, const std::string& to, FileError* error) override {
        if (Held(moveHeldMs, error)) return false;
        return !failReplace && NativePlatform().MoveOver(from, to, error);
    }
    std::unique_ptr<FileLock> LockFile(const std::string& path, FileError* error) override {
        if (Held(lockHeldMs, error)) return nullptr;
        return NativePlatform().LockFile(path, error);
    }
    void Pause(int milliseconds) override { pausedMs += milliseconds; }

    int ShowMessageBox(const std::string& text, const std::string& caption,
                       unsigned type) override {
        boxes.push_back({text, caption, type});
        if (echoBoxes) {
            std::fprintf(stderr, "%s: %s\n(type %u)\n", caption.c_str(), text.c_str(), type);
            std::fflush(stderr);
        }
        return kAnswerOk;
    }

  private:
    bool Held(int untilMs, FileError* error) const {
        if (pausedMs >= untilMs) return false;
        ReportFileError(error, FileError::kBusy);
        return true;
    }

    class Input : public InputFile {
      public:
        Input(std::unique_ptr<InputFile> file, TestPlatform& owner)
            : m_file(std::move(file)), m_owner(owner) {}
        long Read(char* buffer, std::size_t size) override {
            if (m_owner.failReadAfter >= 0 && m_nRead >= m_owner.failReadAfter) return -1;
            if (m_owner.readChunk > 0) size = std::min(size, m_owner.readChunk);
            if (m_owner.failReadAfter >= 0)
                size = std::min(size, static_cast<std::size_t>(m_owner.failReadAfter - m_nRead));
            const long count = m_file->Read(buffer, size);
            if (count > 0) m_nRead += count;
            return count;
        }

      private:
        std::unique_ptr<InputFile> m_file;
        TestPlatform& m_owner;
        long m_nRead = 0;
    };

    class Output : public OutputFile {
      public:
        Output(std::unique_ptr<OutputFile> file, TestPlatform& owner)
            : m_file(std::move(file)), m_owner(owner) {}
        bool Write(const char* data, std::size_t size) override {
            if (++m_owner.writes == m_owner.failWriteAt) return false;
            return m_file->Write(data, size);
        }
        bool Sync() override { return !m_owner.failSync && m_file->Sync(); }
        // The real file is always closed, so that it can be deleted afterwards.
        bool Close() override { return m_file->Close() && !m_owner.failClose; }

      private:
        std::unique_ptr<OutputFile> m_file;
        TestPlatform& m_owner;
    };
};

// An empty folder under the system's temporary folder, removed on
// destruction. Its name follows from the test and the test program's folder,
// so a death test's child process (which may run the test anew) finds the
// same folder.
class ScratchFolder {
  public:
    ScratchFolder() {
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name =
            "vrel-" + std::to_string(std::hash<std::string>{}(NativePlatform().ProgramDirectory()) %
                                     1000000007u);
        if (test) name += std::string("-") + test->test_suite_name() + "-" + test->name();
        std::replace(name.begin(), name.end(), '/', '_');
        m_path = std::filesystem::temp_directory_path() / name;
        std::error_code error;
        std::filesystem::remove_all(m_path, error);
        std::filesystem::create_directories(m_path);
    }
    ~ScratchFolder() {
        std::error_code error;
        std::filesystem::remove_all(m_path, error);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // The folder as the engine takes it: ending in the path separator.
    std::string Path() const {
        return m_path.string() + static_cast<char>(std::filesystem::path::preferred_separator);
    }
    std::string File(const std::string& name) const { return Path() + name; }

  private:
    std::filesystem::path m_path;
};

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(std::filesystem::path(path), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << "cannot write " << path;
}

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline bool FileExists(const std::string& path) {
    std::error_code error;
    return std::filesystem::exists(std::filesystem::path(path), error);
}

// The text as a death-test pattern that matches it literally.
inline std::string Literal(const std::string& text) {
    std::string pattern;
    for (char c : text) {
        if (std::string_view("\\^$.|?*+()[]{}").find(c) != std::string_view::npos) pattern += '\\';
        pattern += c;
    }
    return pattern;
}

}  // namespace vrel_test

#endif  // VREL_TESTS_ENGINE_TEST_PLATFORM_H_
