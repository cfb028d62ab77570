// Kills a process in the middle of saving a large dictionary, many times at
// varied moments, and checks each time that VREL.DAT holds either the complete
// old dictionary or the complete new one; and that the lock of a killed save
// holds up no later one.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "dictionary.h"
#include "platform.h"

namespace fs = std::filesystem;

namespace {

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// All words of `length` letters from `letters`, one per line, in the game's format.
std::string Words(const std::string& letters, int length) {
    std::string text;
    std::string word(length, letters[0]);
    std::vector<std::size_t> digits(length, 0);
    for (;;) {
        for (int i = 0; i < length; ++i) word[i] = letters[digits[i]];
        text += word + "\r\n";
        int i = length - 1;
        while (i >= 0 && ++digits[i] == letters.size()) digits[i--] = 0;
        if (i < 0) return text;
    }
}

class CrashSafety : public ::testing::Test {
  protected:
    void SetUp() override {
        m_folder = fs::temp_directory_path() / ("vrel-crash-" + std::to_string(::getpid()));
        fs::remove_all(m_folder);
        fs::create_directories(m_folder / "new");
        // The old file: 50,625 words; the new dictionary: 130,321 words (about 1 MB).
        m_old = Words("ABCDEFGHIJKLMNO", 4);
        m_new = Words("ABCDEFGHIJKLMNOPQRS", 4);
        WriteBytes(m_folder / "new" / "VREL.DAT", m_new);
    }
    void TearDown() override { fs::remove_all(m_folder); }

    std::string Dictionary() const { return (m_folder / "VREL.DAT").string(); }
    std::string Temporary() const { return (m_folder / "VREL.XXX").string(); }

    // Forks a child that loads the new dictionary, says so on a pipe, then
    // saves it over VREL.DAT. Kills it `delay` after that signal (never, when
    // delay is negative). Answers whether the child was killed before it ended;
    // saveTime receives the time from the signal to the child's end.
    bool SaveAndKill(std::chrono::microseconds delay,
                     std::chrono::microseconds* saveTime = nullptr) {
        int ready[2];
        EXPECT_EQ(::pipe(ready), 0);
        const pid_t child = ::fork();
        if (child == 0) {
            ::close(ready[0]);
            CWordDictionary dictionary;
            dictionary.LoadFromFile((m_folder / "new").string() + "/");
            if (::write(ready[1], "r", 1) != 1) ::_exit(3);
            ::_exit(dictionary.SaveAs(Dictionary(), Temporary()) ? 0 : 2);
        }
        ::close(ready[1]);
        char signal = 0;
        EXPECT_EQ(::read(ready[0], &signal, 1), 1);
        ::close(ready[0]);
        const auto start = std::chrono::steady_clock::now();
        if (delay.count() >= 0) {
            std::this_thread::sleep_for(delay);
            ::kill(child, SIGKILL);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        if (saveTime)
            *saveTime = std::chrono::duration_cast<std::chrono::microseconds>(
                std::chrono::steady_clock::now() - start);
        if (WIFEXITED(status)) {
            EXPECT_EQ(WEXITSTATUS(status), 0);
        }
        return WIFSIGNALED(status);
    }

    fs::path m_folder;
    std::string m_old;
    std::string m_new;
};

TEST_F(CrashSafety, KilledSaveLeavesOldOrNewDictionaryWhole) {
    // Time whole saves to spread the kills over one; the fastest of three, so
    // that a slow first run (a cold cache) does not push the kills past the end.
    std::chrono::microseconds saveTime = std::chrono::microseconds::max();
    for (int run = 0; run < 3; ++run) {
        WriteBytes(Dictionary(), m_old);
        std::chrono::microseconds time{};
        SaveAndKill(std::chrono::microseconds(-1), &time);
        ASSERT_EQ(ReadBytes(Dictionary()), m_new) << "an uninterrupted save writes the new file";
        saveTime = std::min(saveTime, time);
    }

    std::mt19937 random(20261209);
    std::uniform_int_distribution<long> moment(0, saveTime.count() * 5 / 4);
    int killed = 0, keptOld = 0, gotNew = 0;
    for (int run = 0; run < 40; ++run) {
        WriteBytes(Dictionary(), m_old);
        fs::remove(Temporary());
        killed += SaveAndKill(std::chrono::microseconds(moment(random)));
        const std::string bytes = ReadBytes(Dictionary());
        if (bytes == m_old)
            ++keptOld;
        else if (bytes == m_new)
            ++gotNew;
        else
            FAIL() << "run " << run << ": VREL.DAT holds " << bytes.size()
                   << " bytes, neither the old (" << m_old.size() << ") nor the new ("
                   << m_new.size() << ") dictionary";
    }
    EXPECT_GT(killed, 0) << "no kill landed before the save ended (save took " << saveTime.count()
                         << " us)";
    std::printf("save %lld us; 40 runs: %d killed, %d kept the old file, %d had the new one\n",
                static_cast<long long>(saveTime.count()), killed, keptOld, gotNew);
}

TEST_F(CrashSafety, LockOfAKilledSaveHoldsUpNoLaterSave) {
    WriteBytes(Dictionary(), m_old);
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        // A save under way: the lock taken, VREL.XXX begun.
        ::close(ready[0]);
        std::unique_ptr<FileLock> lock = NativePlatform().LockFile(Dictionary());
        std::unique_ptr<OutputFile> file = NativePlatform().CreateForWrite(Temporary());
        if (!lock || !file || !file->Write("ABCD\r\n", 6) || !file->Sync()) ::_exit(3);
        if (::write(ready[1], "r", 1) != 1) ::_exit(4);
        for (;;) ::pause();
    }
    ::close(ready[1]);
    char signal = 0;
    const bool started = ::read(ready[0], &signal, 1) == 1;
    ::close(ready[0]);
    FileError error = FileError::kNone;
    const bool free = started && NativePlatform().LockFile(Dictionary(), &error) != nullptr;
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    ASSERT_TRUE(started) << "the save to be killed did not start";
    ASSERT_FALSE(free) << "the save under way did not hold the lock";
    EXPECT_EQ(error, FileError::kBusy);
    ASSERT_EQ(ReadBytes(Temporary()), "ABCD\r\n") << "no VREL.XXX left behind";

    CWordDictionary dictionary;
    dictionary.LoadFromFile((m_folder / "new").string() + "/");
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(dictionary.SaveAs(Dictionary(), Temporary()));
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - start);
    // A lock still held would have kept the save waiting two seconds.
    EXPECT_LT(took.count(), 1000) << "the save waited";
    EXPECT_EQ(ReadBytes(Dictionary()), m_new);
    EXPECT_FALSE(fs::exists(Temporary()));
    std::printf("save after a killed one: %lld ms\n", static_cast<long long>(took.count()));
}

}  // namespace
