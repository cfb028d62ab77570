// Plays a short scripted game of Vrel.exe and saves pictures of the main
// window in play, the searching dialog, the help window over the game and the
// results dialog as BMP files.
//
//   vrel_tour.exe OUTPUT-FOLDER [EDITION]
//
// Vrel.exe, VREL.DAT and Vrel.HLP are taken from beside this program, or with
// an edition's code from its folder, ..\editions\EDITION\. Run it inside a
// Wine virtual desktop so the windows have title bars.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "board.h"
#include "dictionary.h"
#include "driver.h"

namespace {

using namespace e2e;

// Copies what the screen shows in the rectangle into a 24-bit BMP file.
bool SaveScreenPicture(const RECT& rect, const std::string& path) {
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    SelectObject(memory, old);

    BITMAPINFOHEADER header = {};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    const int stride = (width * 3 + 3) & ~3;
    std::vector<char> pixels(static_cast<std::size_t>(stride) * height);
    const int lines = GetDIBits(memory, bitmap, 0, height, pixels.data(),
                                reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    if (lines != height) return false;

    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&header), sizeof header);
    out.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
    return static_cast<bool>(out);
}

bool SaveWindowPicture(HWND hwnd, const std::string& path) {
    RECT rect;
    return GetWindowRect(hwnd, &rect) && SaveScreenPicture(rect, path);
}

// Opens help over the game in play, the help window overlapping the game's
// lower right, and takes a picture of both; then closes the help window.
bool SaveHelpPicture(DWORD pid, HWND main, const std::string& path) {
    PostClick(main, kHelp);
    HWND viewer = nullptr;
    if (!WaitUntil("the help viewer",
                   [&] { return (viewer = FindWindowShowing(L"Vrel 2 Help", pid)) != nullptr; }))
        return false;
    SetWindowPos(main, nullptr, 10, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(viewer, HWND_TOP, 320, 130, 450, 420, SWP_NOACTIVATE);
    Sleep(1000);
    RECT game, help, both;
    GetWindowRect(main, &game);
    GetWindowRect(viewer, &help);
    UnionRect(&both, &game, &help);
    const bool saved = SaveScreenPicture(both, path);
    PostMessageW(viewer, WM_CLOSE, 0, 0);
    WaitUntil("the help viewer to close", [&] { return !IsWindow(viewer); });
    return saved;
}

struct NoProgress : ProgressSink {
    void ReportCount(int) override {}
};

int Fail(const char* what) {
    std::fprintf(stderr, "vrel_tour: %s\n", what);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) return Fail("usage: vrel_tour OUTPUT-FOLDER [EDITION]");
    std::string output = argv[1];
    if (output.back() != '\\') output += '\\';
    const Edition* edition = FindEdition(argc == 3 ? argv[2] : "en");
    if (!edition) return Fail("no such edition");
    // The engine here reads the words as the edition's program does.
    EditionPlatform platform(*edition);

    char module[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    std::string folder = module;
    folder.resize(folder.find_last_of('\\') + 1);
    if (argc == 3) folder += std::string("..\\editions\\") + edition->code + "\\";
    std::ifstream in(folder + "VREL.DAT", std::ios::binary);
    if (!in) return Fail("no VREL.DAT beside the program");
    const std::string dictionary((std::istreambuf_iterator<char>(in)),
                                 std::istreambuf_iterator<char>());

    App app(folder + "Vrel.exe");
    app.WriteDictionary(dictionary);
    if (!app.AddProgramFile("Vrel.HLP")) return Fail("no Vrel.HLP beside the program");
    CWordDictionary model;
    model.LoadFromFile(app.Folder());
    if (!app.Start()) return Fail("cannot start Vrel.exe");
    const HWND main = WaitForDialog(app.ProcessId(), kMainWindow);
    if (!main) return Fail("no main window");

    // Deal until the board has a fair number of words to show, and for an
    // edition with letters above Z one of them.
    const auto hasAboveZ = [](const std::string& text) {
        return std::any_of(text.begin(), text.end(),
                           [](char c) { return static_cast<unsigned char>(c) > 'Z'; });
    };
    const bool wantAboveZ = hasAboveZ(edition->Text(IDS_ALPHABET));
    Board board;
    WordList words;
    HWND search = nullptr;
    for (int attempt = 0; attempt < 30; ++attempt) {
        PostClick(main, kStartGame);
        search = WaitForDialog(app.ProcessId(), kSearchDialog);
        if (!search || !WaitUntil("the search's OK button to be enabled",
                                  [&] { return IsWindowEnabled(GetDlgItem(search, IDOK)) != 0; }))
            return Fail("the search did not finish");
        std::string letters;
        for (int i = 0; i < 16; ++i) letters += ItemText(main, kFirstLetter + i);
        board.SetLetters(letters);
        NoProgress progress;
        board.FindAllWords(model, words, progress);
        if (words.size() >= 30 && (!wantAboveZ || hasAboveZ(letters))) break;
        PostClick(search, IDOK);
        WaitForNoDialog(app.ProcessId(), kSearchDialog);
        PostClick(main, kQuitGame);
        const HWND results = WaitForDialog(app.ProcessId(), kResultsDialog);
        if (!results) return Fail("no results dialog");
        PostClick(results, IDOK);
        WaitForNoDialog(app.ProcessId(), kResultsDialog);
    }
    Sleep(500);
    if (!SaveWindowPicture(search, output + "screenshot-search.bmp")) return Fail("picture");
    PostClick(search, IDOK);
    WaitForNoDialog(app.ProcessId(), kSearchDialog);

    // A few of the longer words, and one more half typed.
    std::vector<std::string> longest(words.begin(), words.end());
    std::stable_sort(
        longest.begin(), longest.end(),
        [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
    const std::size_t count = std::min<std::size_t>(7, longest.size());
    for (std::size_t i = 0; i + 1 < count; ++i) {
        for (char c : longest[i]) TypeChar(GetDlgItem(main, kWordField), c);
        PostClick(main, kAddWord);
        WaitUntil("the word field to be emptied",
                  [&] { return Text(GetDlgItem(main, kWordField)).empty(); });
    }
    if (count > 0)
        for (char c : longest[count - 1].substr(0, 3)) TypeChar(GetDlgItem(main, kWordField), c);
    Sleep(500);
    if (!SaveWindowPicture(main, output + "screenshot-game.bmp")) return Fail("picture");
    // The help window is pictured for English only: its title names it.
    if (argc == 2 && !SaveHelpPicture(app.ProcessId(), main, output + "screenshot-help.bmp"))
        return Fail("no help picture");

    PostClick(main, kQuitGame);
    const HWND results = WaitForDialog(app.ProcessId(), kResultsDialog);
    if (!results) return Fail("no results dialog");
    Sleep(500);
    if (!SaveWindowPicture(results, output + "screenshot-results.bmp")) return Fail("picture");
    PostClick(results, IDOK);
    WaitForNoDialog(app.ProcessId(), kResultsDialog);
    PostClick(main, kExitProgram);
    app.WaitForExit();
    return 0;
}
