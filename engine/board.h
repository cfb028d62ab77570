// Board: the sixteen letters of a game, dealt from the dictionary's letter
// weights, and the two searches over them.
//
//   Board board;                           // all cells 0
//   board.DealBoard(dict);                 // 32 draws from the random source
//   board.FindAllWords(dict, words, sink); // every word on the board
//   board.CanTrace("CATS");                // one letter sequence
//   board.TracePath("CATS");               // and the cells that spell it
#ifndef VREL_ENGINE_BOARD_H_
#define VREL_ENGINE_BOARD_H_

#include <array>
#include <cassert>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "word_index.h"
#include "word_list.h"

class CWordDictionary;

constexpr int BOARD_SIZE = 4;
constexpr int BOARD_CELLS = BOARD_SIZE * BOARD_SIZE;
// The bit of a cell in a set of cells, one bit per cell.
inline std::uint16_t CellBit(int cell) { return static_cast<std::uint16_t>(1u << cell); }
// Receives the running count of words found by FindAllWords.
class ProgressSink {
  public:
    virtual ~ProgressSink() = default;
    virtual void ReportCount(int count) = 0;
};

// A cell's eight neighbours, clockwise from straight up; the order of the
// found list follows from it.
struct NeighbourOffset {
    std::int16_t row;
    std::int16_t column;
};
extern const NeighbourOffset NeighbourOffsets[8];

class Board {
  public:
    Board() { m_cells.fill(0); }

    // One letter drawn with chances that follow the letter weights; takes two
    // values from the random source and changes nothing on the board.
    char DrawLetter(const CWordDictionary& dictionary) const;
    // Fills the cells row by row, each by DrawLetter.
    void DealBoard(const CWordDictionary& dictionary);
    char LetterAt(int row, int column) const {
        assert(row >= 0 && row < BOARD_SIZE && column >= 0 && column < BOARD_SIZE);
        return m_cells[row * BOARD_SIZE + column];
    }
    // The letter of cell i, the cells counted row by row from the top left.
    char Cell(int i) const {
        assert(i >= 0 && i < BOARD_CELLS);
        return m_cells[i];
    }
    // Sets the letters directly, row by row (16 letters).
    void SetLetters(std::string_view letters);

    // Empties found and appends every dictionary word that can be traced, in
    // order of discovery, reporting each new count to progress.
    void FindAllWords(const CWordDictionary& dictionary, WordList& found,
                      ProgressSink& progress) const;
    // True when some path of distinct touching cells spells the word.
    bool CanTrace(std::string_view word) const;
    // The cells of such a path, in the word's order (cells counted as Cell
    // counts them); empty when there is none.
    std::vector<int> TracePath(std::string_view word) const;

  private:
    struct SearchState;
    struct TraceState;

    void SearchFrom(int cell, int length, WordRange words, std::uint16_t visited,
                    SearchState& state) const;
    static bool AlreadyFound(std::string_view word, const SearchState& state);
    bool Trace(std::string_view word, TraceState& state) const;
    static bool TraceFrom(int position, int cell, std::uint16_t visited, TraceState& state);

    std::array<char, BOARD_CELLS> m_cells;
};

#endif  // VREL_ENGINE_BOARD_H_
