// Small models for checking the board and the dictionary from outside: the
// stored words in file order, and every path of a board in search order.
#ifndef VREL_TESTS_ENGINE_TEST_WORDS_H_
#define VREL_TESTS_ENGINE_TEST_WORDS_H_

#include <functional>
#include <string>
#include <vector>

#include "board.h"
#include "dictionary.h"
#include "word_list.h"

namespace vrel_test {

// Every stored word, bucket by bucket in alphabet order.
inline WordList StoredWords(const CWordDictionary& dictionary) {
    WordList words;
    const int letters = static_cast<int>(dictionary.GetAlphabet().size());
    for (int i = 0; i < letters; ++i)
        for (int j = 0; j < letters; ++j)
            for (const std::string& word : dictionary.Bucket(i, j)) words.push_back(word);
    return words;
}

// Calls visit for every path of 1 to maxCells distinct touching cells, in the
// order a depth-first walk meets them: start cells row by row, neighbours
// clockwise from straight up, each path before its continuations.
inline void ForEachPath(const Board& board, int maxCells,
                        const std::function<void(const std::string&)>& visit) {
    static const int kSteps[8][2] = {{-1, 0}, {-1, 1}, {0, 1},  {1, 1},
                                     {1, 0},  {1, -1}, {0, -1}, {-1, -1}};
    std::function<void(int, int, unsigned, std::string&)> walk =
        [&](int row, int column, unsigned used, std::string& letters) {
            visit(letters);
            if (static_cast<int>(letters.size()) == maxCells) return;
            for (const auto& step : kSteps) {
                const int r = row + step[0];
                const int c = column + step[1];
                if (r < 0 || r > 3 || c < 0 || c > 3) continue;
                const unsigned bit = 1u << (r * 4 + c);
                if (used & bit) continue;
                letters.push_back(board.LetterAt(r, c));
                walk(r, c, used | bit, letters);
                letters.pop_back();
            }
        };
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            std::string letters(1, board.LetterAt(row, column));
            walk(row, column, 1u << (row * 4 + column), letters);
        }
    }
}

// The letters of the given cells, in order.
inline std::string LettersOf(const Board& board, const std::vector<int>& cells) {
    std::string letters;
    for (int cell : cells) letters += board.LetterAt(cell / 4, cell % 4);
    return letters;
}

}  // namespace vrel_test

#endif  // VREL_TESTS_ENGINE_TEST_WORDS_H_
