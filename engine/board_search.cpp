// The board search: every dictionary word that can be traced on the board.
#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <memory>
#include <vector>

#include "board.h"
#include "dictionary.h"

const NeighbourOffset NeighbourOffsets[8] = {
    {-1, 0}, {-1, 1}, {0, 1}, {1, 1}, {1, 0}, {1, -1}, {0, -1}, {-1, -1},
};

namespace {

bool OnBoard(int row, int column) {
    return row >= 0 && row < BOARD_SIZE && column >= 0 && column < BOARD_SIZE;
}

// A cell's neighbours on the board, in NeighbourOffsets order, then NO_CELL
// up to eight.
constexpr int NO_CELL = BOARD_CELLS;
struct Neighbours {
    int count = 0;
    std::array<int, 8> cells{};
};

const std::array<Neighbours, BOARD_CELLS> kNeighbours = [] {
    std::array<Neighbours, BOARD_CELLS> table{};
    for (int cell = 0; cell < BOARD_CELLS; ++cell) {
        table[cell].cells.fill(NO_CELL);
        const int row = cell / BOARD_SIZE;
        const int column = cell % BOARD_SIZE;
        for (const NeighbourOffset& step : NeighbourOffsets) {
            const int r = row + step.row;
            const int c = column + step.column;
            if (OnBoard(r, c)) table[cell].cells[table[cell].count++] = r * BOARD_SIZE + c;
        }
    }
    return table;
}();

}  // namespace

struct Board::SearchState {
    const WordIndex& index;
    WordList& found;
    ProgressSink& progress;
    // The words of found, for lookups in constant time.
    WordKeySet foundKeys;
    // Alphabet index of each cell's letter, -1 for a byte off the alphabet;
    // and its bit in a set of letters (bit index + 1), 0 for none and for
    // NO_CELL.
    std::array<int, BOARD_CELLS> letter{};
    std::array<std::uint32_t, BOARD_CELLS + 1> letterBit{};
    // Bucket of the path's first two letters, and the letters of the path.
    int bucket = 0;
    char prefix[MAX_WORD_LEN] = {};
};

void Board::FindAllWords(const CWordDictionary& dictionary, WordList& found,
                         ProgressSink& progress) const {
    found.clear();
    SearchState state{dictionary.Index(), found, progress, {}};
    for (int cell = 0; cell < BOARD_CELLS; ++cell) {
        state.letter[cell] = dictionary.LetterIndex(m_cells[cell]);
        state.letterBit[cell] = state.letter[cell] < 0 ? 0 : 2u << state.letter[cell];
    }
    // The first two letters choose the bucket; a path whose bucket is empty
    // spells no word and is not followed.
    for (int start = 0; start < BOARD_CELLS; ++start) {
        if (state.letter[start] < 0) continue;
        state.prefix[0] = m_cells[start];
        const Neighbours& next = kNeighbours[start];
        for (int k = 0; k < next.count; ++k) {
            const int cell = next.cells[k];
            if (state.letter[cell] < 0) continue;
            state.bucket = CWordDictionary::BucketNumber(state.letter[start], state.letter[cell]);
            const WordRange words = state.index.Words(state.bucket);
            if (words.Empty()) continue;
            state.prefix[1] = m_cells[cell];
            SearchFrom(cell, 2, words, static_cast<std::uint16_t>(CellBit(start) | CellBit(cell)), state);
        }
    }
}

// On entry the path of length cells ends at cell, every cell of it is marked
// in visited, its letters are state.prefix, and words holds the stored words
// that begin with them (at least one). A longer path is followed only while
// some stored word begins with its letters: no other path can spell a word.
void Board::SearchFrom(int cell, int length, WordRange words, std::uint16_t visited,
                       SearchState& state) const {
    if (length >= MIN_WORD_LEN && WordIndex::FirstIsPrefix(words, length - 2)) {
        const std::string_view word(state.prefix, static_cast<std::size_t>(length));
        if (!AlreadyFound(word, state)) {
            state.found.emplace_back(word);
            state.foundKeys.Insert(WordKey(word));
            state.progress.ReportCount(static_cast<int>(state.found.size()));
        }
    }
    if (length >= MAX_WORD_LEN) return;
    // Letters that may continue a stored word (bit 0 stands for words that
    // end here); a neighbour with any other letter, or whose longer prefix
    // begins no stored word, ends the path.
    const std::uint32_t letters = (length == 2 ? state.index.ThirdLetters(state.bucket)
                                               : WordIndex::LettersAt(words, length - 2)) &
                                  ~1u;
    // The free neighbours holding such letters, bit k for the k-th in order.
    const Neighbours& next = kNeighbours[cell];
    unsigned open = 0;
    for (int k = 0; k < 8; ++k) {
        const int neighbour = next.cells[k];
        const bool holds = (state.letterBit[neighbour] & letters) != 0;
        const bool free = ((visited >> neighbour) & 1) == 0;
        open |= static_cast<unsigned>(holds & free) << k;
    }
    for (; open; open &= open - 1) {
        const int neighbour = next.cells[std::countr_zero(open)];
        const int letter = state.letter[neighbour];
        const WordRange longer = length == 2 ? state.index.WithThird(state.bucket, letter)
                                             : WordIndex::Narrow(words, length - 2, letter);
        if (longer.Empty()) continue;
        state.prefix[length] = m_cells[neighbour];
        SearchFrom(neighbour, length + 1, longer,
                   static_cast<std::uint16_t>(visited | CellBit(neighbour)), state);
    }
}

// Whether the word is on the found list already. Words found are at most six
// bytes long, so their keys tell them apart.
bool Board::AlreadyFound(std::string_view word, const SearchState& state) {
    return state.foundKeys.Contains(WordKey(word));
}
