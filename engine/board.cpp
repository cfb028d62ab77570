#include "board.h"

#include <cstdint>

#include "dictionary.h"
#include "random.h"

char Board::DrawLetter(const CWordDictionary& dictionary) const {
    const std::string alphabet = dictionary.GetAlphabet();
    std::int64_t sum = 0;
    for (char letter : alphabet) sum += dictionary.LetterWeight(letter);
    const std::int64_t a = NextRandom();
    const std::int64_t b = NextRandom();
    const std::int64_t c = (a * b) % (sum + 1);
    std::int64_t total = 0;
    for (char letter : alphabet) {
        total += dictionary.LetterWeight(letter);
        if (total >= c) return letter;
    }
    return alphabet.empty() ? '\0' : alphabet.back();
}

void Board::DealBoard(const CWordDictionary& dictionary) {
    for (char& cell : m_cells) cell = DrawLetter(dictionary);
}

void Board::SetLetters(std::string_view letters) {
    for (int i = 0; i < BOARD_CELLS; ++i)
        m_cells[i] = i < static_cast<int>(letters.size()) ? letters[i] : '\0';
}
