// The two searches of the board: every dictionary word on it, and whether one
// letter sequence can be traced.
#include <algorithm>
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
}  // namespace

struct Board::SearchState {
    const CWordDictionary& dictionary;
    WordList& found;
    ProgressSink& progress;
    // The words of found, for lookups in constant time.
    WordKeySet foundKeys;
};

void Board::FindAllWords(const CWordDictionary& dictionary, WordList& found,
                         ProgressSink& progress) const {
    Marks visited{};
    found.clear();
    SearchState state{dictionary, found, progress, {}};
    std::string prefix;
    prefix.reserve(MAX_WORD_LEN);
    for (int row = 0; row < BOARD_SIZE; ++row) {
        for (int column = 0; column < BOARD_SIZE; ++column) {
            visited[row][column] = true;
            prefix.assign(1, LetterAt(row, column));
            SearchFrom(row, column, prefix, visited, state);
            visited[row][column] = false;
        }
    }
}

// On entry prefix ends with the letter of (row, column) and its whole path is
// marked. The prefix is extended in place and restored before returning.
void Board::SearchFrom(int row, int column, std::string& prefix, Marks& visited,
                       SearchState& state) const {
    if (prefix.size() >= 2 && state.dictionary.BucketSize(prefix[0], prefix[1]) < 1) return;
    if (prefix.size() >= static_cast<std::size_t>(MIN_WORD_LEN) &&
        state.dictionary.Contains(prefix) && !AlreadyFound(prefix, state)) {
        state.found.push_back(prefix);
        state.foundKeys.Insert(WordKey(prefix));
        state.progress.ReportCount(static_cast<int>(state.found.size()));
    }
    if (prefix.size() >= static_cast<std::size_t>(MAX_WORD_LEN)) return;
    for (const NeighbourOffset& step : NeighbourOffsets) {
        const int r = row + step.row;
        const int c = column + step.column;
        if (!OnBoard(r, c) || visited[r][c]) continue;
        visited[r][c] = true;
        prefix.push_back(LetterAt(r, c));
        SearchFrom(r, c, prefix, visited, state);
        prefix.pop_back();
        visited[r][c] = false;
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
