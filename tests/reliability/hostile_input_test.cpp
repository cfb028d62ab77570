// Big and hostile dictionary files: none crashes, hangs or loads a word that
// is not in it; the largest dictionaries still load and search quickly.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "board.h"
#include "dictionary.h"
#include "generated_words.h"

namespace fs = std::filesystem;

namespace {

class HostileInput : public ::testing::Test {
  protected:
    void SetUp() override {
        m_folder =
            fs::temp_directory_path() / ("vrel-hostile-" + std::to_string(std::random_device{}()));
        fs::create_directories(m_folder);
    }
    void TearDown() override { fs::remove_all(m_folder); }

    std::ofstream Create() {
        return std::ofstream(m_folder / "VREL.DAT", std::ios::binary | std::ios::trunc);
    }
    // Loads VREL.DAT and answers the seconds taken.
    double Load(CWordDictionary& dictionary) {
        const auto start = std::chrono::steady_clock::now();
        dictionary.LoadFromFile(m_folder.string() + "/");
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }

    fs::path m_folder;
};

struct NoProgress : ProgressSink {
    void ReportCount(int) override {}
};

// Bounds that only a hang or a quadratic blow-up can pass; the benchmarks
// hold the real figures.
constexpr double kSecondsBound = 30.0;

TEST_F(HostileInput, MillionLineFileLoadsEveryWord) {
    {
        std::ofstream out = Create();
        ForEachGeneratedWord(1000000, [&](const std::string& word) { out << word << "\r\n"; });
    }
    CWordDictionary dictionary;
    const double seconds = Load(dictionary);
    EXPECT_EQ(dictionary.WordCount(), 1000000u);
    EXPECT_TRUE(dictionary.Contains("ZZZZ"));
    EXPECT_FALSE(dictionary.IsModified());
    EXPECT_LT(seconds, kSecondsBound);
}

TEST_F(HostileInput, HundredMegabyteLineIsSkippedWhole) {
    {
        std::ofstream out = Create();
        out << "CAT\n";
        const std::string chunk(1 << 20, 'Q');
        out << "DOG";  // a word at the start of the long line must not survive
        for (int i = 0; i < 100; ++i) out << chunk;
        out << "\nEEL\n";
    }
    CWordDictionary dictionary;
    EXPECT_LT(Load(dictionary), kSecondsBound);
    EXPECT_EQ(dictionary.WordCount(), 2u);
    EXPECT_TRUE(dictionary.Contains("CAT"));
    EXPECT_TRUE(dictionary.Contains("EEL"));
    EXPECT_FALSE(dictionary.Contains("DOG"));
}

TEST_F(HostileInput, NulBytesNeverEndOrJoinWords) {
    {
        std::ofstream out = Create();
        const char bytes[] = "CAT\0DOG\nEEL\0\n\0\0\0\nOWL\n\0ANT\nBEE";
        out.write(bytes, sizeof bytes - 1);
    }
    CWordDictionary dictionary;
    Load(dictionary);
    EXPECT_EQ(dictionary.WordCount(), 2u);
    EXPECT_TRUE(dictionary.Contains("OWL"));
    EXPECT_TRUE(dictionary.Contains("BEE"));
    EXPECT_FALSE(dictionary.Contains("CAT"));
    EXPECT_FALSE(dictionary.Contains("EEL"));
}

TEST_F(HostileInput, BinaryNoiseLoadsOnlyValidWords) {
    std::mt19937 random(4711);
    {
        std::ofstream out = Create();
        std::string bytes(8 << 20, '\0');
        for (char& c : bytes) c = static_cast<char>(random() & 0xFF);
        out << bytes;
    }
    CWordDictionary dictionary;
    EXPECT_LT(Load(dictionary), kSecondsBound);
    for (int i = 0; i < MAX_LETTERS; ++i)
        for (int j = 0; j < MAX_LETTERS; ++j)
            for (const std::string& word : dictionary.Bucket(i, j))
                EXPECT_TRUE(dictionary.IsValidWord(word)) << word;
}

// The all-same-letter board is the search's worst case: every one of the
// 31,656 paths passes the two-letter prune when the dictionary is full of
// words starting with that letter twice.
TEST_F(HostileInput, SameLetterBoardWithHugeBucketIsSearchedQuickly) {
    {
        std::ofstream out = Create();
        for (int i = 0; i < 3000; ++i) out << "AAAA\n";  // thousands of same-letter lines
        ForEachWordStartingWith("AA", [&](const std::string& word) { out << word << "\n"; });
    }
    CWordDictionary dictionary;
    EXPECT_LT(Load(dictionary), kSecondsBound);
    EXPECT_EQ(dictionary.BucketSize('A', 'A'), 26 + 26 * 26 + 26 * 26 * 26 + 26 * 26 * 26 * 26);

    Board board;
    board.SetLetters("AAAAAAAAAAAAAAAA");
    WordList found;
    NoProgress progress;
    const auto start = std::chrono::steady_clock::now();
    board.FindAllWords(dictionary, found, progress);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(found, (WordList{"AAA", "AAAA", "AAAAA", "AAAAAA"}));
    EXPECT_LT(seconds, 2.0);
}

}  // namespace
