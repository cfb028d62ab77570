// Benchmarks of big and hostile dictionaries: a million lines of three kinds,
// a single line of 100 MB, and the search's worst case, a board of one letter over a
// dictionary full of words made of it.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "board.h"
#include "dictionary.h"
#include "generated_words.h"
#include "random.h"

namespace fs = std::filesystem;

namespace {

struct NullProgress : ProgressSink {
    void ReportCount(int) override {}
};

// A folder holding VREL.DAT with the given writer's content, made once.
class DictionaryFolder {
  public:
    template <typename Writer>
    DictionaryFolder(const std::string& name, Writer write)
        : m_path(fs::temp_directory_path() / ("vrel-bench-" + name)) {
        fs::create_directories(m_path);
        std::ofstream out(m_path / "VREL.DAT", std::ios::binary | std::ios::trunc);
        write(out);
    }
    ~DictionaryFolder() { fs::remove_all(m_path); }
    std::string Path() const { return m_path.string() + "/"; }

  private:
    fs::path m_path;
};

const DictionaryFolder& MillionLines() {
    static const DictionaryFolder folder("million", [](std::ofstream& out) {
        ForEachGeneratedWord(1000000, [&](const std::string& word) { out << word << "\r\n"; });
    });
    return folder;
}

// 1,000,000 lines of random letters A-Z, three to eight of them: about two
// thirds can be words, and the shorter ones come up again and again.
const DictionaryFolder& MillionRandomWords() {
    static const DictionaryFolder folder("random", [](std::ofstream& out) {
        std::mt19937 random(2024);
        std::string word;
        for (int line = 0; line < 1000000; ++line) {
            word.resize(3 + random() % 6);
            for (char& c : word) c = static_cast<char>('A' + random() % 26);
            out << word << "\r\n";
        }
    });
    return folder;
}

// The shipped word list over and over, 1,000,000 lines: every word after the
// first pass is one already stored.
const DictionaryFolder& MillionRepeatedLines() {
    static const DictionaryFolder folder("repeated", [](std::ofstream& out) {
        std::ifstream in(std::string(VREL_DATA_DIR) + "/VREL.DAT", std::ios::binary);
        const std::string list((std::istreambuf_iterator<char>(in)), {});
        long lines = 0;
        while (lines < 1000000) {
            for (std::size_t i = 0; i < list.size() && lines < 1000000; ++i) {
                out << list[i];
                if (list[i] == '\n') ++lines;
            }
        }
    });
    return folder;
}

// Every word of three to six letters beginning AA: 475,254 words, one bucket.
const DictionaryFolder& HugeBucket() {
    static const DictionaryFolder folder("bucket", [](std::ofstream& out) {
        ForEachWordStartingWith("AA", [&](const std::string& word) { out << word << "\r\n"; });
    });
    return folder;
}

const CWordDictionary& Loaded(const DictionaryFolder& folder) {
    static CWordDictionary* million = nullptr;
    static CWordDictionary* bucket = nullptr;
    CWordDictionary*& dictionary = &folder == &MillionLines() ? million : bucket;
    if (!dictionary) {
        dictionary = new CWordDictionary;
        dictionary->LoadFromFile(folder.Path());
    }
    return *dictionary;
}

// Loads one of the big files; words is the number stored.
void LoadEachTime(benchmark::State& state, const std::string& path) {
    for (auto _ : state) {
        CWordDictionary dictionary;
        dictionary.LoadFromFile(path);
        state.counters["words"] = static_cast<double>(dictionary.WordCount());
    }
}

void BM_LoadMillionLines(benchmark::State& state) { LoadEachTime(state, MillionLines().Path()); }
BENCHMARK(BM_LoadMillionLines)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_LoadMillionRandomWords(benchmark::State& state) {
    LoadEachTime(state, MillionRandomWords().Path());
}
BENCHMARK(BM_LoadMillionRandomWords)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_LoadMillionRepeatedLines(benchmark::State& state) {
    LoadEachTime(state, MillionRepeatedLines().Path());
}
BENCHMARK(BM_LoadMillionRepeatedLines)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_LoadHundredMegabyteLine(benchmark::State& state) {
    static const DictionaryFolder folder("longline", [](std::ofstream& out) {
        const std::string chunk(1 << 20, 'Q');
        out << "CAT\r\n";
        for (int i = 0; i < 100; ++i) out << chunk;
        out << "\r\nDOG\r\n";
    });
    for (auto _ : state) {
        CWordDictionary dictionary;
        dictionary.LoadFromFile(folder.Path());
        benchmark::DoNotOptimize(dictionary.WordCount());
    }
}
BENCHMARK(BM_LoadHundredMegabyteLine)->Unit(benchmark::kMillisecond)->Iterations(1);

// FindAllWords on the board of sixteen A: all 31,656 paths pass the prune.
void BM_FindAllWordsSameLetter(benchmark::State& state, const DictionaryFolder& (*folder)()) {
    const CWordDictionary& dictionary = Loaded(folder());
    Board board;
    board.SetLetters("AAAAAAAAAAAAAAAA");
    WordList found;
    NullProgress progress;
    for (auto _ : state) {
        board.FindAllWords(dictionary, found, progress);
        benchmark::DoNotOptimize(found.data());
    }
    state.counters["words"] = static_cast<double>(found.size());
}
BENCHMARK_CAPTURE(BM_FindAllWordsSameLetter, huge_bucket, &HugeBucket)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FindAllWordsSameLetter, million_words, &MillionLines)
    ->Unit(benchmark::kMillisecond);

// FindAllWords on dealt boards with the million-word dictionary, the slowest
// of 200 boards: every four-letter path is a word there.
void BM_FindAllWordsMillionWorstOf200(benchmark::State& state) {
    const CWordDictionary& dictionary = Loaded(MillionLines());
    std::vector<Board> boards(200);
    for (std::size_t k = 0; k < boards.size(); ++k) {
        SeedRandom(static_cast<std::uint32_t>(k));
        boards[k].DealBoard(dictionary);
    }
    WordList found;
    NullProgress progress;
    double slowest = 0;
    std::size_t most = 0;
    for (auto _ : state) {
        for (const Board& board : boards) {
            const auto start = std::chrono::steady_clock::now();
            board.FindAllWords(dictionary, found, progress);
            const double seconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            if (seconds > slowest) slowest = seconds;
            if (found.size() > most) most = found.size();
        }
    }
    state.counters["slowest_ms"] = slowest * 1000;
    state.counters["most_words"] = static_cast<double>(most);
}
BENCHMARK(BM_FindAllWordsMillionWorstOf200)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
