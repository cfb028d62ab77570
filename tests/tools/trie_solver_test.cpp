// The benchmarks' prefix-tree solver must list what FindAllWords lists, in the
// same order, or its timings compare nothing.
#include "trie_solver.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "board.h"
#include "dictionary.h"
#include "random.h"

namespace {

struct NullProgress : ProgressSink {
    void ReportCount(int) override {}
};

void ExpectSameWords(const CWordDictionary& dictionary, int boards) {
    TrieSolver solver(dictionary);
    Board board;
    WordList expected, actual;
    NullProgress progress;
    std::size_t words = 0;
    for (int seed = 0; seed < boards; ++seed) {
        SeedRandom(static_cast<std::uint32_t>(seed));
        board.DealBoard(dictionary);
        board.FindAllWords(dictionary, expected, progress);
        solver.Solve(board, actual);
        ASSERT_EQ(actual, expected) << "board of seed " << seed;
        words += expected.size();
    }
    EXPECT_GT(words, static_cast<std::size_t>(boards)) << "the boards should hold words";
}

TEST(TrieSolver, MatchesTheEngineOnTheShippedDictionary) {
    CWordDictionary dictionary;
    dictionary.LoadFromFile(std::string(VREL_DATA_DIR) + "/en/");
    ExpectSameWords(dictionary, 100);
}

// Few letters: boards full of repeats, where many paths spell the same word and
// the order of first discovery matters most.
TEST(TrieSolver, MatchesTheEngineOnBoardsOfRepeatedLetters) {
    CWordDictionary dictionary;
    SeedRandom(7);
    const std::string letters = "AEST";
    for (int n = 0; n < 400; ++n) {
        std::string word(static_cast<std::size_t>(3 + NextRandom() % 4), ' ');
        for (char& c : word) c = letters[static_cast<std::size_t>(NextRandom() % 4)];
        dictionary.AddWord(word);
    }
    ExpectSameWords(dictionary, 100);
}

TEST(TrieSolver, WorkedExample) {
    CWordDictionary dictionary;
    for (const char* w : {"ACT", "ATE", "CAT", "CATS", "COAT", "DATE", "DOG", "EAT", "GOD", "LIP",
                          "RED", "ROD", "SEA", "SET", "TEA", "TIDE", "TOAD"})
        dictionary.AddWord(w);
    Board board;
    board.SetLetters("CATSODERGNILUMPY");
    WordList found = {"stale"};
    TrieSolver(dictionary).Solve(board, found);
    EXPECT_EQ(found, (WordList{"CAT", "CATS", "COAT", "ATE", "TEA", "SET", "SEA", "DATE", "DOG",
                               "EAT", "RED", "GOD", "LIP"}));
}

}  // namespace
