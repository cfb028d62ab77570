#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "board.h"
#include "dictionary.h"
#include "test_words.h"

namespace {

using vrel_test::ForEachPath;

struct RecordingProgress : ProgressSink {
    std::vector<int> counts;
    void ReportCount(int count) override { counts.push_back(count); }
};

std::vector<int> OneTo(int n) {
    std::vector<int> values;
    for (int i = 1; i <= n; ++i) values.push_back(i);
    return values;
}

Board MakeBoard(const char* letters) {
    Board board;
    board.SetLetters(letters);
    return board;
}

class WorkedExample : public ::testing::Test {
  protected:
    WorkedExample() : board(MakeBoard("CATSODERGNILUMPY")) {
        for (const char* word : {"ACT", "ATE", "CAT", "CATS", "COAT", "DATE", "DOG", "EAT", "GOD",
                                 "LIP", "RED", "ROD", "SEA", "SET", "TEA", "TIDE", "TOAD"})
            dict.AddWord(word);
    }
    CWordDictionary dict;
    Board board;
};

TEST_F(WorkedExample, FindsWordsInDiscoveryOrder) {
    WordList found;
    RecordingProgress progress;
    board.FindAllWords(dict, found, progress);
    EXPECT_EQ(found, (WordList{"CAT", "CATS", "COAT", "ATE", "TEA", "SET", "SEA", "DATE", "DOG",
                               "EAT", "RED", "GOD", "LIP"}));
    EXPECT_EQ(progress.counts, OneTo(13));
}

TEST_F(WorkedExample, RunTwiceGivesTheSameListAndDropsOldContents) {
    WordList found{"OLD", "STUFF"};
    RecordingProgress progress;
    board.FindAllWords(dict, found, progress);
    const WordList first = found;
    board.FindAllWords(dict, found, progress);
    EXPECT_EQ(found, first);
    EXPECT_EQ(first.front(), "CAT");
    EXPECT_EQ(first.size(), 13u);
}

TEST_F(WorkedExample, CanTrace) {
    for (const char* word :
         {"TAC", "CATSE", "SEAT", "E", "CAT", "DATE", "LIP", "CA", "YPMUGOCATSREDNIL"})
        EXPECT_TRUE(board.CanTrace(word)) << word;
    for (const char* word : {"TEAT", "DOGS", "ACT", "TIDE", "TOAD", "", "cat", "c", "Q", "CC"})
        EXPECT_FALSE(board.CanTrace(word)) << word;
}

TEST(Search, SameLetterBoardListsEachWordOnceShortestFirst) {
    CWordDictionary dict;
    for (const char* word : {"EEEEEE", "EEE", "EEEEE", "EEEE", "EEEEEEE", "EE"}) dict.AddWord(word);
    const Board board = MakeBoard("EEEEEEEEEEEEEEEE");
    WordList found;
    RecordingProgress progress;
    board.FindAllWords(dict, found, progress);
    EXPECT_EQ(found, (WordList{"EEE", "EEEE", "EEEEE", "EEEEEE"}));
    EXPECT_EQ(progress.counts, OneTo(4));
}

// The centre A touches every B, yet no path may return to it.
TEST(Search, NoCellIsUsedTwice) {
    CWordDictionary dict;
    for (const char* word : {"ABA", "BAB", "BABA", "BBB"}) dict.AddWord(word);
    const Board board = MakeBoard("BBBBBABBBBBBBBBB");
    WordList found;
    RecordingProgress progress;
    board.FindAllWords(dict, found, progress);
    EXPECT_EQ(found, (WordList{"BBB", "BAB"}));
    EXPECT_FALSE(board.CanTrace("ABA"));
    EXPECT_FALSE(board.CanTrace("BABA"));
    EXPECT_TRUE(board.CanTrace("BAB"));
    EXPECT_FALSE(board.CanTrace("AA"));
}

TEST(Search, EmptyDictionaryFindsNothing) {
    CWordDictionary dict;
    const Board board = MakeBoard("CATSODERGNILUMPY");
    WordList found{"LEFTOVER"};
    RecordingProgress progress;
    board.FindAllWords(dict, found, progress);
    EXPECT_TRUE(found.empty());
    EXPECT_TRUE(progress.counts.empty());
}

// Sequences of any length along touching cells are traceable; one letter
// needs only to be on the board.
TEST(CanTrace, LengthsBeyondWords) {
    const Board board = MakeBoard("ABCDEFGHIJKLMNOP");
    const std::string snake = "ABCDHGFEIJKLPONM";  // every cell, row by row back and forth
    for (std::size_t length = 1; length <= snake.size(); ++length) {
        EXPECT_TRUE(board.CanTrace(snake.substr(0, length))) << length;
        EXPECT_TRUE(board.CanTrace(snake.substr(snake.size() - length))) << length;
    }
    EXPECT_FALSE(board.CanTrace(snake + "A"));  // seventeen letters
    EXPECT_TRUE(board.CanTrace("AF"));          // diagonal
    EXPECT_TRUE(board.CanTrace("PKFA"));        // the long diagonal back
    EXPECT_FALSE(board.CanTrace("AC"));         // two columns apart
    EXPECT_FALSE(board.CanTrace("DE"));         // no wrap between rows
    EXPECT_FALSE(board.CanTrace("ABA"));
    EXPECT_FALSE(board.CanTrace("abc"));
    EXPECT_FALSE(board.CanTrace(""));
    EXPECT_FALSE(board.CanTrace("Z"));
}

// Random boards over few letters (many repeats) against a plain walk over
// every path of three to six cells in search order.
TEST(Search, MatchesBruteForceOnRandomBoards) {
    std::mt19937 random(20240601);
    const std::string letters = "AEST";
    auto pick = [&](const std::string& from) {
        return from[std::uniform_int_distribution<std::size_t>(0, from.size() - 1)(random)];
    };
    for (int round = 0; round < 8; ++round) {
        std::string cells;
        for (int i = 0; i < 16; ++i) cells += pick(letters);
        const Board board = MakeBoard(cells.c_str());

        CWordDictionary dict;
        std::set<std::string> words;
        auto add = [&](const std::string& word) {
            if (dict.AddWord(word)) words.insert(word);
        };
        for (int i = 0; i < 150; ++i) {
            std::string word;
            const int length = std::uniform_int_distribution<int>(3, 6)(random);
            for (int k = 0; k < length; ++k) word += pick(letters + "R");
            add(word);
        }
        std::vector<std::string> paths;
        ForEachPath(board, 6, [&](const std::string& path) { paths.push_back(path); });
        for (int i = 0; i < 60; ++i) {
            const std::string& path =
                paths[std::uniform_int_distribution<std::size_t>(0, paths.size() - 1)(random)];
            if (path.size() >= 3) add(path);
        }

        WordList expected;
        for (const std::string& path : paths) {
            if (path.size() >= 3 && words.count(path) &&
                std::find(expected.begin(), expected.end(), path) == expected.end())
                expected.push_back(path);
        }
        WordList found;
        RecordingProgress progress;
        board.FindAllWords(dict, found, progress);
        ASSERT_EQ(found, expected) << "board " << cells;
        EXPECT_EQ(progress.counts, OneTo(static_cast<int>(expected.size())));
        for (const std::string& word : found) EXPECT_TRUE(board.CanTrace(word)) << word;
    }
}

// Dictionaries large enough for long runs of words sharing a prefix, grown
// between searches as a game grows them: each search must list exactly what a
// plain walk over every path finds.
TEST(Search, MatchesBruteForceAsTheDictionaryGrows) {
    std::mt19937 random(4711);
    const std::string letters = "AEST";
    auto pick = [&]() {
        return letters[std::uniform_int_distribution<std::size_t>(0, letters.size() - 1)(random)];
    };
    std::string cells;
    for (int i = 0; i < 16; ++i) cells += pick();
    const Board board = MakeBoard(cells.c_str());
    std::vector<std::string> paths;
    ForEachPath(board, 6, [&](const std::string& path) { paths.push_back(path); });

    CWordDictionary dict;
    std::set<std::string> words;
    for (int round = 0; round < 4; ++round) {
        for (int i = 0; i < 700; ++i) {
            std::string word;
            const int length = std::uniform_int_distribution<int>(3, 6)(random);
            for (int k = 0; k < length; ++k) word += pick();
            if (dict.AddWord(word)) words.insert(word);
        }
        WordList expected;
        std::set<std::string> listed;
        for (const std::string& path : paths)
            if (words.count(path) && listed.insert(path).second) expected.push_back(path);
        WordList found;
        RecordingProgress progress;
        board.FindAllWords(dict, found, progress);
        ASSERT_EQ(found, expected) << "board " << cells << ", round " << round;
        EXPECT_EQ(progress.counts, OneTo(static_cast<int>(expected.size())));
    }
    EXPECT_GT(dict.BucketSize('A', 'E'), 64);
}

// Whether the cells are distinct, each touches the one before, and they
// spell the word.
bool IsPathOf(const Board& board, const std::vector<int>& cells, const std::string& word) {
    std::set<int> seen;
    for (std::size_t k = 0; k < cells.size(); ++k) {
        if (cells[k] < 0 || cells[k] >= BOARD_CELLS || !seen.insert(cells[k]).second) return false;
        if (k > 0 && (std::abs(cells[k] / 4 - cells[k - 1] / 4) > 1 ||
                      std::abs(cells[k] % 4 - cells[k - 1] % 4) > 1))
            return false;
    }
    return vrel_test::LettersOf(board, cells) == word;
}

// TracePath answers as CanTrace does, with a path that spells the word,
// also when the search traces it from its end.
TEST(CanTrace, MatchesBruteForceOnRandomBoards) {
    std::mt19937 random(77);
    const std::string letters = "NOTE";
    auto pick = [&]() {
        return letters[std::uniform_int_distribution<std::size_t>(0, letters.size() - 1)(random)];
    };
    for (int round = 0; round < 3; ++round) {
        std::string cells;
        for (int i = 0; i < 16; ++i) cells += pick();
        const Board board = MakeBoard(cells.c_str());
        std::set<std::string> traceable;
        ForEachPath(board, 7, [&](const std::string& path) { traceable.insert(path); });
        for (int i = 0; i < 3000; ++i) {
            std::string sequence;
            const int length = std::uniform_int_distribution<int>(1, 7)(random);
            for (int k = 0; k < length; ++k) sequence += pick();
            const bool expected = traceable.count(sequence) == 1;
            ASSERT_EQ(board.CanTrace(sequence), expected) << sequence << " on " << cells;
            const std::vector<int> path = board.TracePath(sequence);
            ASSERT_TRUE(expected ? IsPathOf(board, path, sequence) : path.empty())
                << sequence << " on " << cells;
        }
    }
}

// The plainest search: every path from every start, one letter at a time.
bool TraceModel(const std::string& cells, const std::string& word, std::size_t matched, int cell,
                unsigned used) {
    if (matched == word.size()) return true;
    for (int next = 0; next < 16; ++next) {
        const int rows = next / 4 - cell / 4, columns = next % 4 - cell % 4;
        if ((used >> next & 1) || rows < -1 || rows > 1 || columns < -1 || columns > 1 ||
            cells[next] != word[matched])
            continue;
        if (TraceModel(cells, word, matched + 1, next, used | 1u << next)) return true;
    }
    return false;
}

bool TraceModel(const std::string& cells, const std::string& word) {
    for (int start = 0; start < 16; ++start)
        if (!word.empty() && cells[start] == word[0] && TraceModel(cells, word, 1, start, 1u << start))
            return true;
    return false;
}

// The hardest kind of board: one letter nearly everywhere, so that long words
// of it have countless partial paths, and a few other letters that decide
// whether any of them completes.
TEST(CanTrace, MatchesBruteForceOnBoardsOfOneLetterWithAFewOthers) {
    std::vector<std::pair<std::string, std::string>> cases = {
        {"AAABAAAAAAAABAAA", "AAAAAAAAAAAAABAB"}, {"AAAAAAAAAAAAAABC", "AAAAAAAAAAACAABA"},
        {"AAAAAAAABAAACCAA", "CAAAAAAAAAAAABAC"}, {"BAABAAACAAAAAAAA", "ACAABAAAAAAAAAAB"},
        {"AAAAAAAAAABBABAA", "BAAAAAAAAAAAABAB"}, {"BBAAAAAAAAAABAAA", "BAAAAAAAAAAABABA"},
    };
    std::mt19937 random(99);
    auto below = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    while (cases.size() < 1500) {
        std::string cells(16, 'A');
        for (int others = below(4); others > 0; --others) cells[below(16)] = "BCD"[below(3)];
        // The word's letters are some of the board's, then shuffled.
        std::string letters = cells;
        std::shuffle(letters.begin(), letters.end(), random);
        std::string word = letters.substr(0, 7 + below(10));
        std::shuffle(word.begin(), word.end(), random);
        cases.emplace_back(cells, word);
    }
    for (const auto& [cells, word] : cases)
        ASSERT_EQ(MakeBoard(cells.c_str()).CanTrace(word), TraceModel(cells, word))
            << word << " on " << cells;
}

}  // namespace
