// Vrel.exe where it may be put: a folder whose name lies outside the ANSI code
// page, a folder path longer than MAX_PATH, and an executable renamed. The
// program must load, store a new word and save there, and name the right
// paths in its boxes and to the help engine.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "dictionary.h"
#include "driver.h"

namespace {

using namespace e2e;

// In the order in which the program writes its buckets.
const std::vector<std::string> kWords = {"ACE", "ATE",  "EAR", "EAT",  "NET", "ONE",
                                         "RAT", "REST", "SEA", "STAR", "TEA", "TEN"};

bool Known(const std::string& word) {
    return std::find(kWords.begin(), kWords.end(), word) != kWords.end();
}

// A Greek and a CJK word: no single ANSI code page holds both.
std::wstring UnicodeFolder() {
    return TempFolderW() + FreshName(L"vrel-\u03BB\u03AD\u03BE\u03B7-\u5B57") + L"\\";
}

// A folder of 254 characters: the longest from which a program named V.EXE
// can still be started (its path must stay below MAX_PATH), while the paths
// of VREL.DAT and VREL.XXX in it are longer than MAX_PATH.
std::wstring LongFolder() {
    std::wstring folder = TempFolderW() + FreshName(L"vrel-long") + L"\\";
    while (folder.size() < 254) {
        std::size_t level = std::min<std::size_t>(60, 254 - folder.size());
        if (254 - folder.size() - level == 1) --level;  // no empty name at the end
        folder += std::wstring(level - 1, L'x') + L"\\";
    }
    return folder;
}

bool FitsAnsiCodePage(const std::wstring& text) {
    BOOL lost = FALSE;
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()),
                        nullptr, 0, nullptr, &lost);
    return !lost;
}

// The help viewer started for the program: it reports a missing help file in
// a box of its own, which the test reads and closes. Ends the viewer if the
// program's HELP_QUIT did not.
class HelpViewer {
  public:
    ~HelpViewer() {
        if (!m_hProcess) return;
        if (WaitForSingleObject(m_hProcess, kTimeoutMs) != WAIT_OBJECT_0)
            TerminateProcess(m_hProcess, 99);
        CloseHandle(m_hProcess);
    }

    // Help on the main window; the path of the help file that the viewer's
    // box names, or empty when no box names fileName.
    std::wstring Open(DWORD pid, HWND main, const std::wstring& fileName) {
        PostClick(main, kHelp);
        HWND box = nullptr;
        WaitUntil("the help viewer's box naming the help file",
                  [&] { return (box = FindWindowShowing(fileName, pid)) != nullptr; });
        if (!box) return {};
        DWORD viewer = 0;
        GetWindowThreadProcessId(box, &viewer);
        m_hProcess = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, viewer);
        const std::wstring text = AllTexts(box);
        // "Cannot find '<path>'. ...": the quoted path ends in the file name.
        const std::size_t end = text.find(fileName) + fileName.size();
        const std::size_t quote = text.rfind(L'\'', end - fileName.size());
        const std::size_t start = quote == std::wstring::npos ? 0 : quote + 1;
        PostClick(box, IDNO);
        WaitUntil("the help viewer's box to close", [&] { return !IsWindow(box); });
        return text.substr(start, end - start);
    }

  private:
    HANDLE m_hProcess = nullptr;
};

// The folder of a path written in its long form.
std::wstring LongFolderOf(const std::wstring& path) {
    const std::wstring folder = path.substr(0, path.find_last_of(L'\\') + 1);
    wchar_t buffer[1024] = {};
    const DWORD length = GetLongPathNameW(folder.c_str(), buffer, 1024);
    return length > 0 && length < 1024 ? std::wstring(buffer, length) : std::wstring();
}

// Starts the program and plays a word the dictionary lacks, answering Yes to
// the question captioned caption; the word, or empty on failure.
std::string StoreNewWord(WideApp& app, const std::string& caption, HWND& main) {
    EXPECT_TRUE(app.FolderMade());
    EXPECT_TRUE(app.WriteFile(L"VREL.DAT", DictionaryText(kWords)));
    if (!app.Start()) {
        ADD_FAILURE() << app.StartError();
        return {};
    }
    main = WaitForDialog(app.ProcessId(), kMainWindow);
    if (!main) {
        ADD_FAILURE() << "the main window did not show";
        return {};
    }
    const std::string letters = StartGame(main);
    const std::string word = TraceableWord(letters, Known);
    if (word.empty()) {
        ADD_FAILURE() << "no new word on board \"" << letters << "\"";
        return {};
    }
    const BoxView box = EnterWord(main, word, caption);
    if (!box.hwnd) {
        ADD_FAILURE() << "no box captioned " << caption << " for " << word;
        return {};
    }
    EXPECT_EQ(box.text, "Is \"" + word + "\" a valid word?");
    EXPECT_TRUE(AnswerBox(box, IDYES));
    return word;
}

// Exit Program, Yes to saving; then the dictionary on disk is the new one.
void SaveOnExit(WideApp& app, HWND main, const std::string& caption, const std::string& word) {
    PostClick(main, kExitProgram);
    const BoxView box = WaitForBox(app.ProcessId(), caption);
    ASSERT_TRUE(box.hwnd) << "no save question captioned " << caption;
    EXPECT_EQ(box.text, "You added new words to the dictionary.\n\nSave dictionary?");
    PostClick(box.hwnd, IDYES);
    bool error = false;
    EXPECT_TRUE(WaitUntil("the program to end after saving", [&] {
        error = error || !WaitForBox(app.ProcessId(), "Vrel:  Error", 0).caption.empty();
        return !app.Running();
    })) << "the program did not end after saving";
    EXPECT_FALSE(error) << "the save reported an error";
    const std::string saved = app.ReadFile(L"VREL.DAT");
    EXPECT_TRUE(saved == SavedText(kWords, word))
        << "VREL.DAT does not hold the new dictionary (" << saved.size() << " bytes)";
    EXPECT_FALSE(FileExistsW(app.PathOf(L"VREL.XXX"))) << "VREL.XXX is still there";
}

TEST(ProgramFolder, OutsideTheAnsiCodePageLoadsSavesAndLeadsHelpThere) {
    WideApp app(UnicodeFolder());
    ASSERT_FALSE(FitsAnsiCodePage(app.Folder())) << "the folder name fits the ANSI code page";
    HWND main = nullptr;
    const std::string word = StoreNewWord(app, "Vrel", main);
    ASSERT_FALSE(word.empty());
    // The help engine takes 8-bit paths: it must still be led to this folder.
    HelpViewer viewer;
    const std::wstring help = viewer.Open(app.ProcessId(), main, L"Vrel.HLP");
    EXPECT_FALSE(help.empty()) << "no help viewer box names Vrel.HLP";
    EXPECT_TRUE(FitsAnsiCodePage(help)) << Utf8(help);
    EXPECT_EQ(_wcsicmp(LongFolderOf(help).c_str(), app.Folder().c_str()), 0)
        << "the help file is looked for in " << Utf8(help);
    EXPECT_FALSE(WaitForBox(app.ProcessId(), "Vrel", 0).hwnd) << "help could not be started";

    SaveOnExit(app, main, "Vrel", word);
}

TEST(ProgramFolder, OutsideTheAnsiCodePageIsNamedInTheFatalBox) {
    WideApp app(UnicodeFolder());
    ASSERT_TRUE(app.FolderMade());
    ASSERT_TRUE(app.Start()) << app.StartError();
    const BoxView box = WaitForBox(app.ProcessId(), "Vrel:  Fatal Error");
    ASSERT_TRUE(box.hwnd) << "no fatal error box";
    const std::wstring text = WideText(GetDlgItem(box.hwnd, 0xFFFF));
    EXPECT_TRUE(text == L"Cannot load dictionary file " + app.PathOf(L"VREL.DAT") + L".")
        << Utf8(text);
    PostClick(box.hwnd, IDOK);
    EXPECT_EQ(app.WaitForExit(), 1);
}

TEST(ProgramFolder, LongerThanMaxPathLoadsStoresAndSaves) {
    WideApp app(LongFolder(), L"V.EXE");
    ASSERT_EQ(app.Folder().size(), 254u);
    ASSERT_GT(app.PathOf(L"VREL.XXX").size(), static_cast<std::size_t>(MAX_PATH));
    HWND main = nullptr;
    const std::string word = StoreNewWord(app, "V", main);
    ASSERT_FALSE(word.empty());
    SaveOnExit(app, main, "V", word);
}

TEST(ProgramName, RenamedExecutableCaptionsItsBoxesAndAsksForItsOwnHelpFile) {
    WideApp app(TempFolderW() + FreshName(L"vrel-renamed") + L"\\", L"GAME.EXE");
    HWND main = nullptr;
    const std::string word = StoreNewWord(app, "GAME", main);
    ASSERT_FALSE(word.empty());

    // The help viewer reports the missing help file itself, naming it.
    HelpViewer viewer;
    const std::wstring help = viewer.Open(app.ProcessId(), main, L"GAME.HLP");
    EXPECT_TRUE(help == app.PathOf(L"GAME.HLP")) << "help asked for \"" << Utf8(help) << "\"";
    EXPECT_FALSE(WaitForBox(app.ProcessId(), "GAME", 0).hwnd) << "help could not be started";

    SaveOnExit(app, main, "GAME", word);
}

}  // namespace
