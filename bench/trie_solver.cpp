#include "trie_solver.h"

#include <string>

TrieSolver::TrieSolver(const CWordDictionary& dictionary) {
    m_letterIndex.fill(-1);
    const std::string alphabet = dictionary.GetAlphabet();
    for (int i = static_cast<int>(alphabet.size()) - 1; i >= 0; --i)
        m_letterIndex[static_cast<unsigned char>(alphabet[i])] = i;

    m_nodes.emplace_back();
    for (int i = 0; i < MAX_LETTERS; ++i) {
        for (int j = 0; j < MAX_LETTERS; ++j) {
            for (const std::string& word : dictionary.Bucket(i, j)) {
                std::int32_t node = 0;
                for (char c : word) {
                    const int letter = m_letterIndex[static_cast<unsigned char>(c)];
                    if (m_nodes[node].child[letter] == 0) {
                        m_nodes[node].child[letter] = static_cast<std::int32_t>(m_nodes.size());
                        m_nodes.emplace_back();
                    }
                    node = m_nodes[node].child[letter];
                }
                m_nodes[node].word = true;
            }
        }
    }

    for (int cell = 0; cell < BOARD_CELLS; ++cell) {
        const int row = cell / BOARD_SIZE;
        const int column = cell % BOARD_SIZE;
        for (const NeighbourOffset& step : NeighbourOffsets) {
            const int r = row + step.row;
            const int c = column + step.column;
            if (r >= 0 && r < BOARD_SIZE && c >= 0 && c < BOARD_SIZE)
                m_neighbours[cell].push_back(r * BOARD_SIZE + c);
        }
    }
}

void TrieSolver::Solve(const Board& board, WordList& found) {
    found.clear();
    ++m_nSearch;
    for (int cell = 0; cell < BOARD_CELLS; ++cell) {
        const char letter = board.LetterAt(cell / BOARD_SIZE, cell % BOARD_SIZE);
        m_cellLetter[cell] = letter;
        m_cellIndex[cell] = m_letterIndex[static_cast<unsigned char>(letter)];
    }
    for (int cell = 0; cell < BOARD_CELLS; ++cell)
        Extend(cell, 0, 0, static_cast<std::uint16_t>(1u << cell), found);
}

// Steps from node onto cell (already marked in visited), which becomes letter
// number depth + 1 of the path.
void TrieSolver::Extend(int cell, std::int32_t node, int depth, std::uint16_t visited,
                        WordList& found) {
    const int letter = m_cellIndex[cell];
    if (letter < 0) return;
    node = m_nodes[node].child[letter];
    if (node == 0) return;  // no word continues this path
    m_prefix[depth++] = m_cellLetter[cell];
    Node& here = m_nodes[node];
    if (here.word && here.foundIn != m_nSearch) {
        here.foundIn = m_nSearch;
        found.emplace_back(m_prefix, static_cast<std::size_t>(depth));
    }
    if (depth == MAX_WORD_LEN) return;
    for (int next : m_neighbours[cell]) {
        const std::uint16_t bit = static_cast<std::uint16_t>(1u << next);
        if (visited & bit) continue;
        Extend(next, node, depth, static_cast<std::uint16_t>(visited | bit), found);
    }
}
