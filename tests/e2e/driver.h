// Drives a running Vrel.exe from outside, as a player would: through window
// messages to its dialogs and controls, reading back what is on screen.
//
//   App app;                              // fresh folder with a copy of the exe
//   app.WriteDictionary("CAT\r\nDOG\r\n");
//   app.Start();
//   HWND main = app.WaitForDialog(kMainWindow);
//   PostClick(main, 121);                 // Start Game opens a dialog: post
//   HWND search = app.WaitForDialog(kSearchDialog);
//
// Every wait is bounded and answers null or false when it times out.
#ifndef VREL_TESTS_E2E_DRIVER_H_
#define VREL_TESTS_E2E_DRIVER_H_

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace e2e {

constexpr DWORD kTimeoutMs = 10000;

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
    kFirstLetter = 1004,
    kWordField = 119,
    kAddWord = 135,
    kClear = 1035,
    kAverageLine = 125,
    kScoreLine = 1022,
    kFoundList = 1001,
    kStartGame = 121,
    kQuitGame = 120,
    kHelp = 122,
    kAbout = 123,
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

// Polls the condition every few milliseconds; false if it stayed false.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = kTimeoutMs);

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

// One copy of the program in a fresh folder of its own.
class App {
  public:
    App();
    ~App();
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    // The fresh folder, ending in a backslash.
    const std::string& Folder() const { return m_strFolder; }
    std::string DictionaryPath() const { return m_strFolder + "VREL.DAT"; }
    void WriteDictionary(const std::string& bytes) const;
    std::string ReadDictionary() const;

    // Starts the program; false if it could not be started.
    bool Start();
    DWORD ProcessId() const { return m_process.dwProcessId; }
    // Waits for the process to end; its exit code, or -1 on timeout.
    long WaitForExit(DWORD timeoutMs = kTimeoutMs);
    bool Running() const;

    // The program's top-level dialogs and boxes (class "#32770").
    std::vector<HWND> Dialogs(bool visibleOnly) const;
    // A dialog of that kind; null if there is none.
    HWND FindDialog(const DialogKind& kind, bool visibleOnly = true) const;
    HWND WaitForDialog(const DialogKind& kind, DWORD timeoutMs = kTimeoutMs) const;
    bool WaitForNoDialog(const DialogKind& kind, DWORD timeoutMs = kTimeoutMs) const;
    // The About box: titled "Vrel 2", an icon and a Close button, nothing else.
    HWND FindAbout() const;
    // A visible message box with this caption; null if there is none.
    HWND FindBox(const std::string& caption) const;
    BoxView WaitForBox(const std::string& caption, DWORD timeoutMs = kTimeoutMs) const;

  private:
    std::string m_strFolder;
    std::string m_strExe;
    PROCESS_INFORMATION m_process = {};
};

}  // namespace e2e

#endif  // VREL_TESTS_E2E_DRIVER_H_
