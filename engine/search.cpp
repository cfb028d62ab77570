// The two searches of the board: every dictionary word on it, and whether one
// letter sequence can be traced.
#include <algorithm>
#include <array>
#include <cstdint>

#include "board.h"
#include "dictionary.h"

const NeighbourOffset NeighbourOffsets[8] = {
    {-1, 0}, {-1, 1}, {0, 1}, {1, 1}, {1, 0}, {1, -1}, {0, -1}, {-1, -1},
};

namespace {

bool OnBoard(int row, int column) {
    return row >= 0 && row < BOARD_SIZE && column >= 0 && column < BOARD_SIZE;
}

// A cell's neighbours on the board, in NeighbourOffsets order.
struct Neighbours {
    int count = 0;
    std::array<int, 8> cells{};
};

const std::array<Neighbours, BOARD_CELLS> kNeighbours = [] {
    std::array<Neighbours, BOARD_CELLS> table{};
    for (int cell = 0; cell < BOARD_CELLS; ++cell) {
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

std::uint16_t Bit(int cell) { return static_cast<std::uint16_t>(1u << cell); }

}  // namespace

struct Board::SearchState {
    const WordIndex& index;
    WordList& found;
    ProgressSink& progress;
    // The words of found, for lookups in constant time.
    WordKeySet foundKeys;
    // Alphabet index of each cell's letter, -1 for a byte off the alphabet.
    std::array<int, BOARD_CELLS> letter{};
    // Bucket of the path's first two letters, and the letters of the path.
    int bucket = 0;
    char prefix[MAX_WORD_LEN] = {};
};

void Board::FindAllWords(const CWordDictionary& dictionary, WordList& found,
                         ProgressSink& progress) const {
    found.clear();
    SearchState state{dictionary.Index(), found, progress, {}};
    for (int cell = 0; cell < BOARD_CELLS; ++cell)
        state.letter[cell] = dictionary.LetterIndex(m_cells[cell]);
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
            SearchFrom(cell, 2, words, static_cast<std::uint16_t>(Bit(start) | Bit(cell)), state);
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
    // Letters that may continue a stored word; a neighbour with any other
    // letter, or whose longer prefix begins no stored word, ends the path.
    const std::uint32_t letters = length == 2 ? state.index.ThirdLetters(state.bucket)
                                              : WordIndex::LettersAt(words, length - 2);
    const Neighbours& next = kNeighbours[cell];
    for (int k = 0; k < next.count; ++k) {
        const int neighbour = next.cells[k];
        const int letter = state.letter[neighbour];
        if ((visited & Bit(neighbour)) || letter < 0 || !(letters & (2u << letter))) continue;
        const WordRange longer = length == 2 ? state.index.WithThird(state.bucket, letter)
                                             : WordIndex::Narrow(words, length - 2, letter);
        if (longer.Empty()) continue;
        state.prefix[length] = m_cells[neighbour];
        SearchFrom(neighbour, length + 1, longer,
                   static_cast<std::uint16_t>(visited | Bit(neighbour)), state);
    }
}

// Whether the word is on the found list already. Words found are at most six
// bytes long, so their keys tell them apart.
bool Board::AlreadyFound(std::string_view word, const SearchState& state) {
    return state.foundKeys.Contains(WordKey(word));
}

bool Board::CanTrace(std::string_view word) const {
    // A path uses each cell once, so it holds no letter more often than the
    // board does; checking that first keeps hopeless long words cheap.
    if (word.empty() || word.size() > static_cast<std::size_t>(BOARD_CELLS)) return false;
    for (char letter : word) {
        if (std::count(word.begin(), word.end(), letter) >
            std::count(m_cells.begin(), m_cells.end(), letter))
            return false;
    }
    Marks visited{};
    bool found = false;
    const std::string_view rest = word.substr(1);
    for (int row = 0; row < BOARD_SIZE && !found; ++row) {
        for (int column = 0; column < BOARD_SIZE && !found; ++column) {
            if (LetterAt(row, column) != word[0]) continue;
            visited[row][column] = true;
            TraceFrom(rest, row, column, visited, found);
            visited[row][column] = false;
        }
    }
    return found;
}

void Board::TraceFrom(std::string_view rest, int row, int column, Marks& visited,
                      bool& found) const {
    if (rest.empty()) {
        found = true;
        return;
    }
    const std::string_view tail = rest.substr(1);
    for (const NeighbourOffset& step : NeighbourOffsets) {
        if (found) return;  // one path is enough
        const int r = row + step.row;
        const int c = column + step.column;
        if (!OnBoard(r, c) || LetterAt(r, c) != rest[0] || visited[r][c]) continue;
        visited[r][c] = true;
        TraceFrom(tail, r, c, visited, found);
        visited[r][c] = false;
    }
}
