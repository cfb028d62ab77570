// vrel-trace-sweep: CanTrace on every board of 13 to 16 copies of one letter
// with up to three cells of other letters, and every word of 7 to 16 letters
// over the board's letters that no letter occurs in more often than on the
// board: 3,057 boards, 26,476,954 words. Each answer is checked against a
// model that walks every path of the board, and each path TracePath gives is
// checked to spell the word; the slowest words are timed again and reported.
//
//   vrel-trace-sweep            # every board; exit status 1 on a wrong answer
//   vrel-trace-sweep --every 50 # every 50th board, for a quick look
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "board.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kMinLength = 7;
constexpr int kMaxLength = BOARD_CELLS;
constexpr std::size_t kSlowestKept = 200;  // words timed again
constexpr int kRetimings = 30;

// The cells of the board that hold other letters than the main one, in index
// order, and the letters of all sixteen cells.
struct FamilyBoard {
    std::vector<int> others;
    std::string letters;
};

// Every board of the family. The main letter is A; other letters are named
// in order of first use (B, then C, then D), since renaming letters changes
// no answer.
void ForEachBoard(const std::function<void(const FamilyBoard&)>& visit) {
    static const std::vector<std::string> kNamings[] = {
        {""}, {"B"}, {"BB", "BC"}, {"BBB", "BBC", "BCB", "BCC", "BCD"}};
    for (unsigned set = 0; set < (1u << BOARD_CELLS); ++set) {
        FamilyBoard board;
        for (int cell = 0; cell < BOARD_CELLS; ++cell)
            if (set >> cell & 1) board.others.push_back(cell);
        if (board.others.size() > 3) continue;
        for (const std::string& naming : kNamings[board.others.size()]) {
            board.letters.assign(BOARD_CELLS, 'A');
            for (std::size_t i = 0; i < naming.size(); ++i)
                board.letters[board.others[i]] = naming[i];
            visit(board);
        }
    }
}

// Every word of kMinLength to kMaxLength letters over the board's letters,
// none more often than on the board.
void ForEachWord(const std::string& board, const std::function<void(const std::string&)>& visit) {
    std::string letters;
    std::array<int, 256> left{};
    for (char c : board)
        if (left[static_cast<unsigned char>(c)]++ == 0) letters += c;
    std::string word;
    std::function<void(std::size_t)> extend = [&](std::size_t length) {
        if (word.size() == length) return visit(word);
        for (char c : letters) {
            int& count = left[static_cast<unsigned char>(c)];
            if (count == 0) continue;
            --count;
            word.push_back(c);
            extend(length);
            word.pop_back();
            ++count;
        }
    };
    for (std::size_t length = kMinLength; length <= kMaxLength; ++length) extend(length);
}

// Every path of the board, walked once per set of other-letter cells: which
// lengths occur with which positions of those cells. A word is traceable
// exactly when some path of its length puts each other-letter cell at a
// position holding that cell's letter, and the other cells at no position
// holding another letter than the main one.
class PathModel {
  public:
    explicit PathModel(const std::vector<int>& others) : m_bits(kKeys / 64, 0) {
        m_otherIndex.fill(-1);
        for (std::size_t i = 0; i < others.size(); ++i)
            m_otherIndex[others[i]] = static_cast<int>(i);
        for (int cell = 0; cell < BOARD_CELLS; ++cell) Walk(cell, 1, 1u << cell, 0);
    }

    // positions[i]: the 1-based position of the i-th other-letter cell on the
    // path, 0 when the path does not pass it.
    bool HasPath(int length, const std::array<int, 3>& positions) const {
        const unsigned key = Key(length, static_cast<unsigned>(positions[0]) |
                                             static_cast<unsigned>(positions[1]) << 5 |
                                             static_cast<unsigned>(positions[2]) << 10);
        return m_bits[key / 64] >> (key % 64) & 1;
    }

  private:
    static constexpr unsigned kKeys = 1u << 19;
    static unsigned Key(int length, unsigned positions) {
        return static_cast<unsigned>(length - 1) | positions << 4;
    }

    void Walk(int cell, int length, unsigned visited, unsigned positions) {
        if (m_otherIndex[cell] >= 0)
            positions |= static_cast<unsigned>(length) << (5 * m_otherIndex[cell]);
        if (length >= kMinLength) {
            const unsigned key = Key(length, positions);
            m_bits[key / 64] |= std::uint64_t{1} << (key % 64);
        }
        if (length == kMaxLength) return;
        const int row = cell / BOARD_SIZE;
        const int column = cell % BOARD_SIZE;
        for (const NeighbourOffset& step : NeighbourOffsets) {
            const int r = row + step.row;
            const int c = column + step.column;
            if (r < 0 || r >= BOARD_SIZE || c < 0 || c >= BOARD_SIZE) continue;
            const int next = r * BOARD_SIZE + c;
            if (!(visited >> next & 1)) Walk(next, length + 1, visited | 1u << next, positions);
        }
    }

    std::array<int, BOARD_CELLS> m_otherIndex{};
    std::vector<std::uint64_t> m_bits;
};

// The board's eight symmetries map paths to paths, so one model serves every
// set of other-letter cells that a symmetry maps onto the same set.
int Transform(int symmetry, int cell) {
    int row = cell / BOARD_SIZE;
    int column = cell % BOARD_SIZE;
    if (symmetry & 1) column = BOARD_SIZE - 1 - column;
    if (symmetry & 2) row = BOARD_SIZE - 1 - row;
    if (symmetry & 4) std::swap(row, column);
    return row * BOARD_SIZE + column;
}

// The model of one board: the path model of its other-letter cells, as one
// symmetry maps them onto the smallest set.
class BoardModel {
  public:
    BoardModel(const FamilyBoard& board, std::map<std::vector<int>, PathModel>& models)
        : m_board(board) {
        std::vector<int> canonical;
        int symmetry = 0;
        for (int s = 0; s < 8; ++s) {
            std::vector<int> image;
            for (int cell : board.others) image.push_back(Transform(s, cell));
            std::sort(image.begin(), image.end());
            if (s == 0 || image < canonical) {
                canonical = image;
                symmetry = s;
            }
        }
        auto found = models.find(canonical);
        if (found == models.end()) found = models.emplace(canonical, PathModel(canonical)).first;
        m_model = &found->second;
        for (int cell : board.others)
            m_index.push_back(static_cast<int>(
                std::find(canonical.begin(), canonical.end(), Transform(symmetry, cell)) -
                canonical.begin()));
    }

    // Whether some path spells the word: each other letter of the word must
    // lie on a distinct cell holding it.
    bool Traceable(const std::string& word) const {
        std::vector<int> wordPositions;
        for (std::size_t k = 0; k < word.size(); ++k)
            if (word[k] != 'A') wordPositions.push_back(static_cast<int>(k) + 1);
        if (wordPositions.size() > m_board.others.size()) return false;
        std::vector<int> order(m_board.others.size());
        for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
        do {
            std::array<int, 3> positions{};
            bool fits = true;
            for (std::size_t j = 0; fits && j < wordPositions.size(); ++j) {
                fits = m_board.letters[m_board.others[order[j]]] == word[wordPositions[j] - 1];
                positions[m_index[order[j]]] = wordPositions[j];
            }
            if (fits && m_model->HasPath(static_cast<int>(word.size()), positions)) return true;
        } while (std::next_permutation(order.begin(), order.end()));
        return false;
    }

  private:
    const FamilyBoard& m_board;
    const PathModel* m_model = nullptr;
    std::vector<int> m_index;  // of each other-letter cell in the model's set
};

struct Timed {
    double seconds;
    std::string board;
    std::string word;
    bool operator<(const Timed& other) const { return seconds > other.seconds; }
};

// Whether the cells are distinct, each touches the one before, and they
// spell the word.
bool IsPathOf(const Board& board, const std::vector<int>& cells, const std::string& word) {
    if (cells.size() != word.size()) return false;
    unsigned used = 0;
    for (std::size_t k = 0; k < cells.size(); ++k) {
        const int cell = cells[k];
        if (cell < 0 || cell >= BOARD_CELLS || (used >> cell & 1) || board.Cell(cell) != word[k])
            return false;
        used |= 1u << cell;
        if (k > 0 && (std::abs(cell / BOARD_SIZE - cells[k - 1] / BOARD_SIZE) > 1 ||
                      std::abs(cell % BOARD_SIZE - cells[k - 1] % BOARD_SIZE) > 1))
            return false;
    }
    return true;
}

double TimeOnce(const Board& board, const std::string& word, bool& answer) {
    const auto start = Clock::now();
    answer = board.CanTrace(word);
    return std::chrono::duration<double>(Clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    int every = 1;
    if (argc == 3 && std::string_view(argv[1]) == "--every" && std::atoi(argv[2]) > 0)
        every = std::atoi(argv[2]);
    else if (argc != 1) {
        std::fprintf(stderr, "usage: vrel-trace-sweep [--every N]\n");
        return 2;
    }

    std::map<std::vector<int>, PathModel> models;
    std::vector<Timed> slowest;  // a heap, the fastest on top
    long boards = 0, words = 0, traceable = 0, wrong = 0, wrongPaths = 0;
    double total = 0;
    int index = 0;
    ForEachBoard([&](const FamilyBoard& family) {
        if (index++ % every != 0) return;
        ++boards;
        Board board;
        board.SetLetters(family.letters);
        const BoardModel model(family, models);
        ForEachWord(family.letters, [&](const std::string& word) {
            bool answer = false;
            const double seconds = TimeOnce(board, word, answer);
            total += seconds;
            ++words;
            traceable += answer;
            if (answer != model.Traceable(word) && ++wrong <= 10)
                std::printf("wrong answer: %s for %s on %s\n", answer ? "yes" : "no", word.c_str(),
                            family.letters.c_str());
            const std::vector<int> path = board.TracePath(word);
            if (!(answer ? IsPathOf(board, path, word) : path.empty()) && ++wrongPaths <= 10)
                std::printf("wrong path for %s on %s\n", word.c_str(), family.letters.c_str());
            if (slowest.size() < kSlowestKept || seconds > slowest.front().seconds) {
                slowest.push_back({seconds, family.letters, word});
                std::push_heap(slowest.begin(), slowest.end());
                if (slowest.size() > kSlowestKept) {
                    std::pop_heap(slowest.begin(), slowest.end());
                    slowest.pop_back();
                }
            }
        });
    });

    // Single timings catch interruptions too: time the slowest again, taking
    // the fastest of many runs.
    for (Timed& timed : slowest) {
        Board board;
        board.SetLetters(timed.board);
        bool answer = false;
        for (int run = 0; run < kRetimings; ++run)
            timed.seconds = std::min(timed.seconds, TimeOnce(board, timed.word, answer));
    }
    std::sort(slowest.begin(), slowest.end());

    std::printf(
        "%ld boards, %ld words (%ld traceable), %ld wrong answers, %ld wrong paths; %.1f s in "
        "CanTrace, %.2f us a word\n",
        boards, words, traceable, wrong, wrongPaths, total, 1e6 * total / static_cast<double>(words));
    std::printf("slowest (fastest of %d runs each):\n", kRetimings + 1);
    for (std::size_t i = 0; i < slowest.size() && i < 5; ++i)
        std::printf("  %8.1f us  board %s  word %s\n", 1e6 * slowest[i].seconds,
                    slowest[i].board.c_str(), slowest[i].word.c_str());
    return wrong == 0 && wrongPaths == 0 ? 0 : 1;
}
