// The module's entry points, called by the page's script (app.js). Each
// command runs to its end, waiting for the player where the program waits
// (message boxes, dialogs), before the page sends the next.
#include <emscripten.h>

#include <chrono>
#include <memory>
#include <string>

#include "board.h"
#include "editions.h"
#include "random.h"
#include "web_platform.h"
#include "web_window.h"

namespace {

std::unique_ptr<WebPlatform> g_platform;
std::unique_ptr<CWebWindow> g_window;

}  // namespace

extern "C" {

// Seeds the random source, takes the edition (the default, the first, when
// the code names none) and loads its stored dictionary behind the loading
// dialog; tab is this browser tab's name among the game's open tabs.
EMSCRIPTEN_KEEPALIVE void vrel_start(int seed, const char* code, const char* tab) {
    const Edition* edition = FindEdition(code);
    if (!edition) edition = &kEditions[0];
    SeedRandom(static_cast<std::uint32_t>(seed) & 0xFFFF);
    g_platform = std::make_unique<WebPlatform>(*edition, BrowserPage());
    Platform::Set(g_platform.get());
    g_window = std::make_unique<CWebWindow>(*g_platform, tab);
    g_window->Start();
}

// A click of the main window's control id; 0 once the program has ended.
EMSCRIPTEN_KEEPALIVE int vrel_command(int id) { return g_window->OnCommand(id) ? 1 : 0; }

// The word field's text after the player's edit, as bytes of the edition's
// code page.
EMSCRIPTEN_KEEPALIVE void vrel_word_edit(const char* text, int length) {
    g_window->OnWordEdit(std::string(text, static_cast<std::size_t>(length)));
}

// Writes the player's dictionary to path; 1 on success.
EMSCRIPTEN_KEEPALIVE int vrel_export(const char* path) { return g_window->Export(path) ? 1 : 0; }

// Makes the dictionary file at path the player's dictionary.
EMSCRIPTEN_KEEPALIVE void vrel_import(const char* path) { g_window->Import(path); }

// The edition codes, one a line, the default edition first.
EMSCRIPTEN_KEEPALIVE const char* vrel_editions() {
    static std::string codes;
    if (codes.empty())
        for (const Edition* edition = kEditions; edition->code; ++edition)
            codes += std::string(edition->code) + "\n";
    return codes.c_str();
}

// Microseconds that FindAllWords takes per board, on the boards dealt after
// SeedRandom(k) for k = 0 .. boards - 1 from the VREL.DAT in folder; the deal
// is not timed. For the benchmarks, as the native BM_FindAllWords.
EMSCRIPTEN_KEEPALIVE double vrel_bench_find_all_words(const char* folder, int boards, int rounds) {
    class NoProgress : public ProgressSink {
      public:
        void ReportCount(int) override {}
    } progress;
    CWordDictionary dictionary;
    dictionary.LoadFromFile(folder);
    std::vector<Board> dealt(static_cast<std::size_t>(boards));
    for (int k = 0; k < boards; ++k) {
        SeedRandom(static_cast<std::uint32_t>(k));
        dealt[static_cast<std::size_t>(k)].DealBoard(dictionary);
    }
    WordList words;
    const auto start = std::chrono::steady_clock::now();
    for (int round = 0; round < rounds; ++round)
        for (const Board& board : dealt) board.FindAllWords(dictionary, words, progress);
    const std::chrono::duration<double, std::micro> spent =
        std::chrono::steady_clock::now() - start;
    return spent.count() / (static_cast<double>(boards) * rounds);
}

}  // extern "C"
