#include "board.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "dictionary.h"
#include "random.h"

namespace {

std::vector<int> Draws(std::uint32_t seed, int count) {
    SeedRandom(seed);
    std::vector<int> values;
    for (int i = 0; i < count; ++i) values.push_back(NextRandom());
    return values;
}

std::string Rows(const Board& board) {
    std::string rows;
    for (int row = 0; row < BOARD_SIZE; ++row) {
        if (row > 0) rows += ' ';
        for (int column = 0; column < BOARD_SIZE; ++column) rows += board.LetterAt(row, column);
    }
    return rows;
}

TEST(Random, KnownSequences) {
    EXPECT_EQ(Draws(1, 6), (std::vector<int>{41, 18467, 6334, 26500, 19169, 15724}));
    EXPECT_EQ(Draws(0, 6), (std::vector<int>{38, 7719, 21238, 2437, 8855, 11797}));
}

TEST(Random, StaysInRangeAndReseedRepeats) {
    const std::vector<int> first = Draws(0xFFFFFFFFu, 1000);
    for (int value : first) ASSERT_TRUE(value >= 0 && value <= 32767) << value;
    EXPECT_EQ(Draws(0xFFFFFFFFu, 1000), first);
}

TEST(Deal, FreshBoardIsEmpty) {
    Board board;
    for (int row = 0; row < BOARD_SIZE; ++row)
        for (int column = 0; column < BOARD_SIZE; ++column)
            EXPECT_EQ(board.LetterAt(row, column), '\0') << row << "," << column;
}

TEST(Deal, SeededDealWithoutWords) {
    CWordDictionary dict;
    Board board;
    SeedRandom(1);
    board.DealBoard(dict);
    EXPECT_EQ(Rows(board), "MSQA EGOQ KAAI ACVI");
}

// c = a * b mod (sum + 1) picks the first letter whose running weight total
// reaches c; checked against that rule for many draws and two sets of weights.
TEST(Deal, DrawLetterFollowsRunningTotals) {
    CWordDictionary uniform;
    CWordDictionary weighted;
    for (const char* word : {"ABBA", "ZZZ", "MUM", "CAT", "AAA"}) weighted.AddWord(word);
    const std::string alphabet = uniform.GetAlphabet();
    std::map<char, int> seen;
    for (const CWordDictionary* dict : {&uniform, &weighted}) {
        int sum = 0;
        for (char letter : alphabet) sum += dict->LetterWeight(letter);
        for (std::uint32_t seed = 0; seed < 3000; ++seed) {
            const std::vector<int> ab = Draws(seed, 2);
            const int c = static_cast<int>(static_cast<long long>(ab[0]) * ab[1] % (sum + 1));
            char expected = alphabet.back();
            int total = 0;
            for (char letter : alphabet) {
                total += dict->LetterWeight(letter);
                if (total >= c) {
                    expected = letter;
                    break;
                }
            }
            SeedRandom(seed);
            Board board;
            ASSERT_EQ(board.DrawLetter(*dict), expected) << "seed " << seed << ", c " << c;
            // Exactly two values were taken.
            const int next = NextRandom();
            ASSERT_EQ(next, Draws(seed, 3)[2]) << "seed " << seed;
            if (dict == &uniform) ++seen[expected];
        }
    }
    // With uniform weights every letter can be drawn.
    EXPECT_EQ(seen.size(), alphabet.size());
}

// A running total equal to c chooses that letter, not the next one.
TEST(Deal, TieChoosesTheLetterReached) {
    CWordDictionary dict;  // every weight 1, sum 26
    bool tiedAtA = false;
    bool tiedAtB = false;
    for (std::uint32_t seed = 0; seed < 5000 && !(tiedAtA && tiedAtB); ++seed) {
        const std::vector<int> ab = Draws(seed, 2);
        const int c = static_cast<int>(static_cast<long long>(ab[0]) * ab[1] % 27);
        if (c != 1 && c != 2) continue;
        SeedRandom(seed);
        Board board;
        EXPECT_EQ(board.DrawLetter(dict), c == 1 ? 'A' : 'B') << "seed " << seed;
        (c == 1 ? tiedAtA : tiedAtB) = true;
    }
    EXPECT_TRUE(tiedAtA && tiedAtB);
}

TEST(Deal, SameStateSameBoardAndDealsFollowOn) {
    CWordDictionary dict;
    for (const char* word : {"QUIZ", "JAZZ", "FOX"}) dict.AddWord(word);
    Board first;
    Board second;
    SeedRandom(777);
    first.DealBoard(dict);
    second.DealBoard(dict);

    Board again;
    SeedRandom(777);
    again.DealBoard(dict);
    EXPECT_EQ(Rows(again), Rows(first));

    // The second deal starts 32 draws after the seed.
    SeedRandom(777);
    for (int i = 0; i < 32; ++i) NextRandom();
    again.DealBoard(dict);
    EXPECT_EQ(Rows(again), Rows(second));
    EXPECT_NE(Rows(first), Rows(second));
}

TEST(Deal, EveryCellHoldsAnAlphabetLetter) {
    CWordDictionary dict;
    dict.AddWord("ZZZZZZ");
    const std::string alphabet = dict.GetAlphabet();
    Board board;
    SeedRandom(42);
    for (int deal = 0; deal < 200; ++deal) {
        board.DealBoard(dict);
        for (int row = 0; row < BOARD_SIZE; ++row)
            for (int column = 0; column < BOARD_SIZE; ++column)
                ASSERT_NE(alphabet.find(board.LetterAt(row, column)), std::string::npos)
                    << "deal " << deal << ": " << Rows(board);
    }
}

TEST(Deal, CellsCountRowByRowFromTheTopLeft) {
    CWordDictionary dict;
    Board board;
    SeedRandom(1);
    board.DealBoard(dict);
    const std::string letters = "MSQAEGOQKAAIACVI";
    for (int i = 0; i < BOARD_CELLS; ++i) {
        EXPECT_EQ(board.Cell(i), letters[i]) << "cell " << i;
        EXPECT_EQ(board.LetterAt(i / BOARD_SIZE, i % BOARD_SIZE), letters[i]) << "cell " << i;
    }
}

}  // namespace
