// CanTrace and TracePath: whether some path of distinct touching cells spells
// a word, and one such path.
#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <memory>
#include <vector>

#include "board.h"
#include "dictionary.h"

// CanTrace works on sets of cells, one bit per cell. For each position of the
// word it first keeps the cells that some walk spelling the whole word could
// pass there (a walk may use a cell twice, so this only rules cells out), then
// tries paths. Most words are settled within a few thousand steps; when a word
// is not, the search starts again with three aids that bound it: a tighter
// bound on the cells of each position, a check that the cells still free can
// hold the rest of the word, and a memory of the states that led nowhere.
namespace {

using CellSet = std::uint16_t;
static_assert(BOARD_SIZE == 4, "cell sets shift rows of four bits");

// The cells that touch any of the cells.
CellSet Touching(CellSet cells) {
    const unsigned sideways = ((cells & 0x7777u) << 1) | ((cells & 0xEEEEu) >> 1);
    const unsigned row = cells | sideways;
    return static_cast<CellSet>(sideways | (row << BOARD_SIZE) | (row >> BOARD_SIZE));
}
// The cells and every cell that touches one of them.
CellSet Widen(CellSet cells) { return static_cast<CellSet>(cells | Touching(cells)); }

// The number of cells in the set, and the lowest cell of a set not empty.
int Count(CellSet cells) { return std::popcount(static_cast<unsigned>(cells)); }
int First(CellSet cells) { return std::countr_zero(static_cast<unsigned>(cells)); }

const std::array<CellSet, BOARD_CELLS> kTouching = [] {
    std::array<CellSet, BOARD_CELLS> table{};
    for (int cell = 0; cell < BOARD_CELLS; ++cell) table[cell] = Touching(CellBit(cell));
    return table;
}();

// Paths tried before the careful search takes over.
constexpr long kPlainSteps = 2000;

}  // namespace

struct Board::TraceState {
    int length = 0;
    // The path tried, by position, and whether the word is traced reversed.
    std::array<std::int8_t, BOARD_CELLS> path{};
    bool reversed = false;
    // For each position: the board cells holding its letter, and the cells
    // that the path may still use there.
    std::array<CellSet, BOARD_CELLS> letterCells{};
    std::array<CellSet, BOARD_CELLS> cells{};
    long stepsLeft = kPlainSteps;

    // Tables of the careful search.
    struct Careful {
        // For each letter of the word and each position k: the number of
        // positions after k holding it and the cells they may use; and the
        // cells any position after k may use.
        int letters = 0;
        std::array<std::array<std::uint8_t, BOARD_CELLS + 1>, BOARD_CELLS> laterCount{};
        std::array<std::array<CellSet, BOARD_CELLS + 1>, BOARD_CELLS> laterCells{};
        std::array<CellSet, BOARD_CELLS + 1> laterAny{};
        // States (cell, visited cells) from which the rest cannot be traced;
        // the position follows from the number of visited cells.
        std::vector<std::uint64_t> failed =
            std::vector<std::uint64_t>((BOARD_CELLS << BOARD_CELLS) / 64, 0);
    };
    std::unique_ptr<Careful> careful;

    // Keeps at each position only the cells that some walk spelling the word
    // can pass there; false when a position is left without any.
    bool KeepWalkCells() {
        for (int k = 1; k < length; ++k)
            if (!(cells[k] &= Touching(cells[k - 1]))) return false;
        for (int k = length - 2; k >= 0; --k)
            if (!(cells[k] &= Touching(cells[k + 1]))) return false;
        return true;
    }

    // Reverses the word: a path read backwards spells it reversed.
    void Reverse() {
        reversed = !reversed;
        std::reverse(cells.begin(), cells.begin() + length);
        std::reverse(letterCells.begin(), letterCells.begin() + length);
    }

    // Traces the word backwards when its end is pinned down sooner than its
    // start.
    void StartFromTheNarrowerEnd() {
        auto firstNarrow = [this](bool fromEnd) {
            for (int i = 0; i < length; ++i)
                if (Count(cells[fromEnd ? length - 1 - i : i]) <= 3) return i;
            return length;
        };
        if (firstNarrow(true) < firstNarrow(false)) Reverse();
    }

    // Keeps only cells of walks that never step straight back to the cell
    // they came from, as no path does; false when a position is left without
    // any. Done forwards, then backwards over the reversed word.
    bool KeepTurningWalkCells() {
        const bool kept = KeepTurningForwards() && (Reverse(), KeepTurningForwards());
        Reverse();
        return kept;
    }
    bool KeepTurningForwards() {
        // from[c]: the cells from which the walk can have reached c.
        std::array<CellSet, BOARD_CELLS> from{};
        for (CellSet c = cells[1]; c; c &= c - 1) from[First(c)] = kTouching[First(c)] & cells[0];
        for (int k = 1; k + 1 < length; ++k) {
            std::array<CellSet, BOARD_CELLS> next{};
            CellSet reached = 0;
            for (CellSet d = cells[k + 1]; d; d &= d - 1) {
                const int to = First(d);
                for (CellSet c = kTouching[to] & cells[k]; c; c &= c - 1)
                    if (from[First(c)] & ~CellBit(to)) next[to] |= CellBit(First(c));
                if (next[to]) reached |= CellBit(to);
            }
            if (!(cells[k + 1] &= reached)) return false;
            from = next;
        }
        return true;
    }

    void PrepareCarefulSearch() {
        careful = std::make_unique<Careful>();
        Careful& t = *careful;
        std::array<CellSet, BOARD_CELLS> letterOf{};  // the letters, by their cells
        std::array<int, BOARD_CELLS> letter{};
        for (int k = 0; k < length; ++k) {
            int d = 0;
            while (d < t.letters && letterOf[d] != letterCells[k]) ++d;
            if (d == t.letters) letterOf[t.letters++] = letterCells[k];
            letter[k] = d;
        }
        for (int k = length - 1; k >= 0; --k) {
            for (int d = 0; d < t.letters; ++d) {
                t.laterCount[d][k] = t.laterCount[d][k + 1];
                t.laterCells[d][k] = t.laterCells[d][k + 1];
            }
            ++t.laterCount[letter[k]][k];
            t.laterCells[letter[k]][k] |= cells[k];
            t.laterAny[k] = t.laterAny[k + 1] | cells[k];
        }
    }

    // Whether the free cells can still hold the rest of the word after
    // position k at cell: the rest lies in the free cells reachable from
    // cell, which must hold enough of each of its letters.
    bool RestFits(int k, int cell, CellSet visited) const {
        const Careful& t = *careful;
        const CellSet usable = t.laterAny[k + 1] & ~visited;
        CellSet reach = kTouching[cell] & cells[k + 1] & ~visited;
        for (;;) {
            const CellSet wider = (Widen(reach) & usable) | reach;
            if (wider == reach) break;
            reach = wider;
        }
        if (Count(reach) < length - k - 1) return false;
        for (int d = 0; d < t.letters; ++d)
            if (Count(reach & t.laterCells[d][k + 1]) < t.laterCount[d][k + 1]) return false;
        return true;
    }

    static std::size_t Key(int cell, CellSet visited) {
        return static_cast<std::size_t>(cell) << BOARD_CELLS | visited;
    }
    bool Failed(int cell, CellSet visited) const {
        const std::size_t key = Key(cell, visited);
        return (careful->failed[key / 64] >> (key % 64)) & 1;
    }
    void SetFailed(int cell, CellSet visited) {
        const std::size_t key = Key(cell, visited);
        careful->failed[key / 64] |= std::uint64_t{1} << (key % 64);
    }
};

bool Board::CanTrace(std::string_view word) const {
    TraceState state;
    return Trace(word, state);
}

std::vector<int> Board::TracePath(std::string_view word) const {
    TraceState state;
    if (!Trace(word, state)) return {};
    std::vector<int> path(state.path.begin(), state.path.begin() + state.length);
    if (state.reversed) std::reverse(path.begin(), path.end());
    return path;
}

bool Board::Trace(std::string_view word, TraceState& state) const {
    if (word.empty() || word.size() > static_cast<std::size_t>(BOARD_CELLS)) return false;
    state.length = static_cast<int>(word.size());
    // A path uses each cell once, so it holds no letter more often than the
    // board does; checking that first keeps hopeless long words cheap.
    std::array<CellSet, 256> holding{};
    for (int cell = 0; cell < BOARD_CELLS; ++cell)
        holding[static_cast<unsigned char>(m_cells[cell])] |= CellBit(cell);
    std::array<std::uint8_t, BOARD_CELLS> used{};  // by the first cell of the letter
    for (int k = 0; k < state.length; ++k) {
        const CellSet cells = holding[static_cast<unsigned char>(word[k])];
        if (!cells || ++used[First(cells)] > Count(cells)) return false;
        state.letterCells[k] = state.cells[k] = cells;
    }
    if (!state.KeepWalkCells()) return false;
    state.StartFromTheNarrowerEnd();

    auto traceFromAnyStart = [&state] {
        for (CellSet starts = state.cells[0]; starts; starts &= starts - 1) {
            const int cell = First(starts);
            if (TraceFrom(0, cell, CellBit(cell), state)) return true;
        }
        return false;
    };
    if (traceFromAnyStart()) return true;
    if (state.stepsLeft >= 0) return false;  // every path was tried
    if (!state.KeepTurningWalkCells()) return false;
    state.PrepareCarefulSearch();
    return traceFromAnyStart();
}

// On entry the letters up to position lie on a path of the visited cells that
// ends at cell; true when the rest of the word continues it.
bool Board::TraceFrom(int position, int cell, std::uint16_t visited, TraceState& state) {
    state.path[position] = static_cast<std::int8_t>(cell);
    if (position == state.length - 1) return true;
    if (!state.careful) {
        if (--state.stepsLeft < 0) return false;
    } else if (state.Failed(cell, visited)) {
        return false;
    } else if (!state.RestFits(position, cell, visited)) {
        state.SetFailed(cell, visited);
        return false;
    }
    for (CellSet next = kTouching[cell] & state.cells[position + 1] & ~visited; next;
         next &= next - 1) {
        const int to = First(next);
        if (TraceFrom(position + 1, to, static_cast<CellSet>(visited | CellBit(to)), state))
            return true;
        if (state.stepsLeft < 0 && !state.careful) return false;
    }
    if (state.careful) state.SetFailed(cell, visited);
    return false;
}
