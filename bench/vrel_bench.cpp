// Benchmarks of the engine on the shipped dictionary: loading, saving, the
// deal and board search, tracing one long word, and a prefix-tree solver of
// the same boards as a yardstick for the search.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "board.h"
#include "dictionary.h"
#include "random.h"
#include "trie_solver.h"

namespace {

constexpr int kBoards = 1000;         // seeded boards shared by the search benchmarks
constexpr int kCheckedBoards = 5000;  // boards on which both solvers must agree

struct NullProgress : ProgressSink {
    void ReportCount(int) override {}
};

const std::string& DataFolder() {
    static const std::string folder = std::string(VREL_DATA_DIR) + "/";
    return folder;
}

// The shipped dictionary, loaded once.
const CWordDictionary& Shipped() {
    static CWordDictionary* dictionary = [] {
        auto* loaded = new CWordDictionary;
        loaded->LoadFromFile(DataFolder());
        return loaded;
    }();
    return *dictionary;
}

// Board k is the first deal after SeedRandom(k).
const std::vector<Board>& Boards() {
    static const std::vector<Board> boards = [] {
        std::vector<Board> dealt(kBoards);
        for (int k = 0; k < kBoards; ++k) {
            SeedRandom(static_cast<std::uint32_t>(k));
            dealt[k].DealBoard(Shipped());
        }
        return dealt;
    }();
    return boards;
}

void BM_LoadDictionary(benchmark::State& state) {
    for (auto _ : state) {
        CWordDictionary dictionary;
        dictionary.LoadFromFile(DataFolder());
        benchmark::DoNotOptimize(dictionary.WordCount());
    }
}
BENCHMARK(BM_LoadDictionary)->Unit(benchmark::kMillisecond);

void BM_DealAndFindAllWords(benchmark::State& state) {
    const CWordDictionary& dictionary = Shipped();
    Board board;
    WordList found;
    NullProgress progress;
    std::uint32_t seed = 0;
    std::int64_t words = 0;
    for (auto _ : state) {
        SeedRandom(seed++);
        board.DealBoard(dictionary);
        board.FindAllWords(dictionary, found, progress);
        words += static_cast<std::int64_t>(found.size());
    }
    state.counters["words/board"] =
        benchmark::Counter(static_cast<double>(words), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_DealAndFindAllWords)->Unit(benchmark::kMicrosecond);

void BM_FindAllWords(benchmark::State& state) {
    const CWordDictionary& dictionary = Shipped();
    const std::vector<Board>& boards = Boards();
    WordList found;
    NullProgress progress;
    std::size_t k = 0;
    for (auto _ : state) {
        boards[k].FindAllWords(dictionary, found, progress);
        benchmark::DoNotOptimize(found.data());
        k = (k + 1) % boards.size();
    }
}
BENCHMARK(BM_FindAllWords)->Unit(benchmark::kMicrosecond);

void BM_TrieSolve(benchmark::State& state) {
    TrieSolver solver(Shipped());
    const std::vector<Board>& boards = Boards();
    WordList found;
    std::size_t k = 0;
    for (auto _ : state) {
        solver.Solve(boards[k], found);
        benchmark::DoNotOptimize(found.data());
        k = (k + 1) % boards.size();
    }
}
BENCHMARK(BM_TrieSolve)->Unit(benchmark::kMicrosecond);

// CanTrace of a 16-letter word along a path through every cell.
void BM_CanTrace16(benchmark::State& state, const char* letters, const char* word) {
    Board board;
    board.SetLetters(letters);
    if (!board.CanTrace(word)) state.SkipWithError("the word is not traceable");
    for (auto _ : state) benchmark::DoNotOptimize(board.CanTrace(word));
}
// Distinct letters: a single path, the word snaking row by row.
BENCHMARK_CAPTURE(BM_CanTrace16, distinct, "ABCDHGFEIJKLPONM", "ABCDEFGHIJKLMNOP");
// Fifteen A and one B in the bottom-right corner: many partial paths of A.
BENCHMARK_CAPTURE(BM_CanTrace16, repeated, "AAAAAAAAAAAAAAAB", "AAAAAAAAAAAAAAAB");

// CanTrace of long words on boards of one letter with a few others, where
// countless partial paths spell the start of the word: the hardest inputs
// known. vrel-trace-sweep tries every such board and word.
void BM_CanTraceHard(benchmark::State& state, const char* letters, const char* word) {
    Board board;
    board.SetLetters(letters);
    bool traceable = false;
    for (auto _ : state) benchmark::DoNotOptimize(traceable = board.CanTrace(word));
    state.counters["traceable"] = traceable;
}
BENCHMARK_CAPTURE(BM_CanTraceHard, no_path, "AAABAAAAAAAABAAA", "AAAAAAAAAAAAABAB")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_CanTraceHard, one_path, "AAAAAAAAAAAAAABC", "AAAAAAAAAAACAABA")
    ->Unit(benchmark::kMicrosecond);

void BM_SaveToFile(benchmark::State& state) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "vrel-bench-save";
    std::filesystem::create_directories(folder);
    const std::string prefix = folder.string() + "/";
    for (auto _ : state) Shipped().SaveToFile(prefix);
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_SaveToFile)->Unit(benchmark::kMillisecond);

// The yardstick is only a yardstick if it finds what the engine finds.
bool SolversAgree() {
    const CWordDictionary& dictionary = Shipped();
    TrieSolver solver(dictionary);
    Board board;
    WordList expected, actual;
    NullProgress progress;
    for (int k = 0; k < kCheckedBoards; ++k) {
        SeedRandom(static_cast<std::uint32_t>(k));
        board.DealBoard(dictionary);
        board.FindAllWords(dictionary, expected, progress);
        solver.Solve(board, actual);
        if (actual != expected) {
            std::fprintf(stderr, "vrel-bench: the solvers differ on the board of seed %d\n", k);
            return false;
        }
    }
    std::fprintf(stderr, "vrel-bench: %zu words; both solvers agree on %d boards\n",
                 dictionary.WordCount(), kCheckedBoards);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    if (!SolversAgree()) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
