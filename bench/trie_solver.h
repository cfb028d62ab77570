// TrieSolver: a plain prefix-tree search of a board, the yardstick against
// which Board::FindAllWords is measured. It lists the same words in the same
// order: start cells in index order, depth first in NeighbourOffsets order,
// each word once, where its first path meets it.
//
//   TrieSolver solver(dict);    // the trie holds every stored word
//   solver.Solve(board, words); // as board.FindAllWords(dict, words, sink)
#ifndef VREL_BENCH_TRIE_SOLVER_H_
#define VREL_BENCH_TRIE_SOLVER_H_

#include <array>
#include <cstdint>
#include <vector>

#include "board.h"
#include "dictionary.h"
#include "word_list.h"

class TrieSolver {
  public:
    explicit TrieSolver(const CWordDictionary& dictionary);

    // Empties found and appends the words on the board in order of discovery.
    void Solve(const Board& board, WordList& found);

  private:
    struct Node {
        std::array<std::int32_t, MAX_LETTERS> child{};  // 0: no child (0 is the root)
        bool word = false;
        std::uint32_t foundIn = 0;  // number of the last search that listed the word
    };

    void Extend(int cell, std::int32_t node, int depth, std::uint16_t visited, WordList& found);

    std::vector<Node> m_nodes;
    std::array<int, 256> m_letterIndex;  // byte -> alphabet index, or -1
    std::array<std::vector<int>, BOARD_CELLS> m_neighbours;
    std::array<int, BOARD_CELLS> m_cellIndex{};  // alphabet index of each cell's letter
    std::array<char, BOARD_CELLS> m_cellLetter{};
    char m_prefix[MAX_WORD_LEN + 1] = {};
    std::uint32_t m_nSearch = 0;
};

#endif  // VREL_BENCH_TRIE_SOLVER_H_
