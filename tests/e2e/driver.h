// Drives a running Vrel.exe from outside, as a player would: through window
// messages to its dialogs and controls, reading back what is on screen.
//
//   App app;                              // fresh folder with a copy of the exe
//   app.WriteDictionary("CAT\r\nDOG\r\n");
//   app.Start();
//   HWND main = WaitForDialog(app.ProcessId(), kMainWindow);
//   PostClick(main, kStartGame);          // Start Game opens a dialog: post
//   HWND search = WaitForDialog(app.ProcessId(), kSearchDialog);
//
// Windows are found by the id of the process that owns them, whichever way
// it was started. Every wait ends as soon as its event has happened; it gives
// up after kTimeoutMs, answers null or false, and says on stderr what it
// waited for.
#ifndef VREL_TESTS_E2E_DRIVER_H_
#define VREL_TESTS_E2E_DRIVER_H_

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "editions.h"
#include "platform.h"
#include "resource.h"

namespace e2e {

// How long a wait for the program gives up after. Generous: on a loaded
// 2-core machine a copy of the program under Wine can take tens of seconds to
// start or to answer, and a wait that succeeds returns at once anyway.
constexpr DWORD kTimeoutMs = 90000;

// How to recognise each dialog of the program: control ids it must have.
struct DialogKind {
    const char* name;
    std::vector<int> ids;
};
extern const DialogKind kMainWindow;
extern const DialogKind kLoadingDialog;
extern const DialogKind kSearchDialog;
extern const DialogKind kSavingDialog;
extern const DialogKind kResultsDialog;

// Control ids of the main window.
enum MainId : int {
    kFirstLetter = IDC_LETTER_FIRST,
    kWordField = IDC_WORD,
    kAddWord = IDC_ADD_WORD,
    kClear = IDC_CLEAR,
    kAverageLine = IDC_AVERAGE_LINE,
    kScoreLine = IDC_SCORE_LINE,
    kFoundList = IDC_FOUND_LIST,
    kStartGame = IDC_START_GAME,
    kQuitGame = IDC_QUIT_GAME,
    kHelp = IDC_HELP_BUTTON,
    kAbout = IDC_ABOUT_BUTTON,
    kExitProgram = IDOK,
};

// A message box as it stands on screen.
struct BoxView {
    HWND hwnd = nullptr;
    std::string caption;
    std::string text;
    bool hasIcon = false;
    std::vector<int> buttons;  // ids of the buttons present, of IDOK, IDYES, ...
};

// Polls the condition every few milliseconds; false if it stayed false, and
// then "gave up waiting for <what>" on stderr.
bool WaitUntil(const std::string& what, const std::function<bool()>& condition,
               DWORD timeoutMs = kTimeoutMs);

// Texts of windows in any process. Text asks the window, so its thread must
// be free; Caption reads a top-level window's title without asking it.
std::string Text(HWND hwnd);
std::string Caption(HWND hwnd);
std::string ItemText(HWND dialog, int id);
std::vector<std::string> ListItems(HWND list);
std::string ClassName(HWND hwnd);
// Texts of a dialog's static text controls, in window order.
std::vector<std::string> StaticTexts(HWND dialog);
bool HasIcon(HWND dialog);

// A click that may open a modal dialog: posted, so the caller never blocks.
void PostClick(HWND dialog, int id);
// A click that opens nothing: sent, so it has taken effect on return.
void SendClick(HWND dialog, int id);
// Types one character into an edit control, as a key press does.
void TypeChar(HWND edit, char c);
// Presses and releases a key on the window with the keyboard focus.
void PressKey(HWND focus, UINT virtualKey);
// The caret or selection of an edit control.
void GetSelection(HWND edit, DWORD& start, DWORD& end);
// Returns once the window's thread is back in its message loop, so the
// handler it was running has finished.
void Sync(HWND window);
// The window with the keyboard focus in the thread of the given window.
HWND FocusOf(HWND window);

// A started process: ended, if still running, and released on destruction.
class ChildProcess {
  public:
    ChildProcess() = default;
    ~ChildProcess() { End(); }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Where CreateProcess puts the process it starts.
    PROCESS_INFORMATION* Info() { return &m_info; }
    DWORD Id() const { return m_info.dwProcessId; }
    // Waits for the process to end; its exit code, or -1 on timeout.
    long WaitForExit(DWORD timeoutMs = kTimeoutMs);
    bool Running() const;
    // Terminates the process if it still runs, and releases its handles.
    void End();

  private:
    PROCESS_INFORMATION m_info = {};
};

// One copy of the program in a fresh folder of its own, in the temporary
// folder or in the given one (ending in a backslash). Its end waits until
// every file it added can be deleted.
class App {
  public:
    App();
    // A copy of the given program instead (an edition's, say).
    explicit App(std::string exePath);
    // A copy of the given program in a fresh folder inside parent.
    App(std::string exePath, const std::string& parent);
    ~App();
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    // The fresh folder, ending in a backslash.
    const std::string& Folder() const { return m_strFolder; }
    std::string DictionaryPath() const { return m_strFolder + "VREL.DAT"; }
    // Copies a file from beside the program under test (the help file) into
    // the folder; it is removed with the folder.
    bool AddProgramFile(const std::string& name);
    void WriteDictionary(const std::string& bytes) const;
    std::string ReadDictionary() const;

    // Starts the program; false if it could not be started, and then
    // StartError says which step failed and why (also on stderr).
    bool Start();
    // Starts the program in this folder as the given process, which is
    // managed by the caller; any number of them may run at once.
    bool StartCopy(ChildProcess& process);
    const std::string& StartError() const { return m_strStartError; }
    DWORD ProcessId() const { return m_process.Id(); }
    // Waits for the process to end; its exit code, or -1 on timeout.
    long WaitForExit(DWORD timeoutMs = kTimeoutMs) { return m_process.WaitForExit(timeoutMs); }
    bool Running() const { return m_process.Running(); }

  private:
    bool Launch(ChildProcess& process);
    // The start fails because the folder could not be made.
    bool NoFolder();

    std::string m_strFolder;
    std::string m_strFolderError;
    std::string m_strStartError;
    std::string m_strExe;
    std::vector<std::string> m_extraFiles;
    ChildProcess m_process;
};

// The native platform with an edition's string table, installed while it
// lives, so that the engine in the driver's process works as that edition's
// program does.
class EditionPlatform : public PlatformWrapper {
  public:
    explicit EditionPlatform(const Edition& edition) : m_edition(edition) { Platform::Set(this); }
    ~EditionPlatform() override { Platform::Set(nullptr); }
    EditionPlatform(const EditionPlatform&) = delete;
    EditionPlatform& operator=(const EditionPlatform&) = delete;

    std::string LoadText(int id) override {
        const char* text = m_edition.Text(id);
        return text ? text : "";
    }
    int ShowMessageBox(const std::string&, const std::string&, unsigned) override {
        return kAnswerOk;
    }

  private:
    const Edition& m_edition;
};

// ---------------------------------------------------------------------------
// The program's windows, by the id of the process that owns them.

// The program's top-level dialogs and boxes (class "#32770").
std::vector<HWND> Dialogs(DWORD pid, bool visibleOnly);
// A dialog of that kind; null if there is none.
HWND FindDialog(DWORD pid, const DialogKind& kind, bool visibleOnly = true);
HWND WaitForDialog(DWORD pid, const DialogKind& kind, DWORD timeoutMs = kTimeoutMs);
bool WaitForNoDialog(DWORD pid, const DialogKind& kind, DWORD timeoutMs = kTimeoutMs);
// The About box: titled "Vrel 2", an icon and a Close button, nothing else.
HWND FindAbout(DWORD pid);
// A visible message box with this caption; null if there is none.
HWND FindBox(DWORD pid, const std::string& caption);
// Waits for such a box and reads it; timeoutMs 0 looks once.
BoxView WaitForBox(DWORD pid, const std::string& caption, DWORD timeoutMs = kTimeoutMs);
// The process that owns a window.
DWORD ProcessOf(HWND window);

// ---------------------------------------------------------------------------
// The program under any file name in a folder given as a wide path: outside
// the ANSI code page, or longer than MAX_PATH.
//
//   WideApp app(TempFolderW() + L"vrel-Ωμέγα\\", L"GAME.EXE");
//   app.WriteFile(L"VREL.DAT", "CAT\r\n");
//   app.Start();
//   HWND main = WaitForDialog(app.ProcessId(), kMainWindow);

// A window's text as UTF-16, asked of the window.
std::wstring WideText(HWND hwnd);
// UTF-16 to UTF-8 and back.
std::string Utf8(const std::wstring& text);
std::wstring FromUtf8(const std::string& text);
// Under Wine, and not on Windows itself.
bool UnderWine();

// xdotool run through scripts/wine-xdotool: Wine starts a Unix program but
// gives no process to wait for, so it reports in a file.
struct XdotoolResult {
    bool finished = false;
    int status = -1;
    std::string output;
};
// Runs xdotool with these arguments and waits for it to finish.
XdotoolResult RunXdotool(const std::string& args);
// The X window that Wine made for a top-level window; 0 if there is none.
unsigned long XWindowOf(HWND hwnd);

// The temporary folder as a wide path, ending in a backslash.
std::wstring TempFolderW();
// A name for a fresh folder that no earlier process can have used: the name,
// this process's id (which Wine soon gives to another process once this one
// has ended), the milliseconds since the system started and a counter.
std::wstring FreshName(const std::wstring& name);
// The Vrel.exe under test: VREL_EXE, else the one beside the test program.
std::string ProgramPath();
// An absolute path with the \\?\ prefix, which lifts the MAX_PATH limit.
std::wstring LongPath(const std::wstring& path);
// The whole file through the wide functions; empty if it cannot be read.
std::string ReadFileW(const std::wstring& path);
bool WriteFileW(const std::wstring& path, const std::string& bytes);
bool FileExistsW(const std::wstring& path);

// A visible top-level window of any process but this one and except, whose
// caption or one of whose children's texts contains part; null if none.
HWND FindWindowShowing(const std::wstring& part, DWORD exceptPid);
// Every text a top-level window shows: its caption and its children's texts.
std::wstring AllTexts(HWND window);

// Dictionary files for the tests. The words one per line, each ending in
// CR LF; what the program saves for these words with one more added; and the
// dictionary of the game tests: every 3- and 4-letter string over A, E, S and
// T that does not begin with T (the deal favours these letters, boards hold
// many words, and a traceable string beginning with T is unknown).
std::string DictionaryText(const std::vector<std::string>& words);
std::string SavedText(const std::vector<std::string>& words, const std::string& added);
std::string GameDictionary();

// Start Game on the main window, waits for the search and closes it and for
// the word field to be enabled; the sixteen letters of the board, or empty
// when the game did not start.
std::string StartGame(HWND main);
// Three cells in a row: a word that can always be traced on the board. The
// first such word that known refuses; empty if every one is known.
std::string TraceableWord(const std::string& letters,
                          const std::function<bool(const std::string&)>& known);
// Types the word into the field and presses Add Word; the box it brings.
BoxView EnterWord(HWND main, const std::string& word, const std::string& caption);
// Clicks the box's button and waits for the box to go.
bool AnswerBox(const BoxView& box, int button);

class WideApp {
  public:
    // folder: absolute, ending in a backslash; the levels missing are made
    // and removed again with the files the program may leave.
    WideApp(std::wstring folder, std::wstring exeName = L"Vrel.exe");
    ~WideApp();
    WideApp(const WideApp&) = delete;
    WideApp& operator=(const WideApp&) = delete;

    bool FolderMade() const { return m_bFolderMade; }
    const std::wstring& Folder() const { return m_strFolder; }
    std::wstring PathOf(const std::wstring& name) const { return m_strFolder + name; }
    bool WriteFile(const std::wstring& name, const std::string& bytes) const;
    std::string ReadFile(const std::wstring& name) const;
    // Copies a file from beside the program under test into the folder under
    // the name given; it is removed with the folder.
    bool AddProgramFile(const std::wstring& from, const std::wstring& name);

    // Copies the program in under its name and starts it from elsewhere;
    // false if it could not, and then StartError says why.
    bool Start();
    const std::string& StartError() const { return m_strStartError; }
    DWORD ProcessId() const { return m_process.Id(); }
    long WaitForExit(DWORD timeoutMs = kTimeoutMs) { return m_process.WaitForExit(timeoutMs); }
    bool Running() const { return m_process.Running(); }

  private:
    std::wstring m_strFolder;
    std::wstring m_strExeName;
    std::vector<std::wstring> m_made;  // folders made here, outermost first
    std::vector<std::wstring> m_extraFiles;
    std::string m_strStartError;
    bool m_bFolderMade = false;
    ChildProcess m_process;
};

}  // namespace e2e

#endif  // VREL_TESTS_E2E_DRIVER_H_
