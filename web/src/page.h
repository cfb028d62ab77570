// The C++ side of the page: the calls by which the engine's front end asks
// the page's script to draw, to ask the player and to reach the browser's
// storage. Texts cross as Windows-1252 bytes; the script decodes them.
//
// The calls marked "waits" suspend the running command (Asyncify) until the
// page answers; the page takes no other command meanwhile.
#ifndef VREL_WEB_PAGE_H_
#define VREL_WEB_PAGE_H_

#include <string>
#include <vector>

// The page's script, as the module's front end sees it; BrowserPage() is
// the real one, tests put a fake in its place.
class Page {
  public:
    virtual ~Page() = default;

    // Drawing.
    virtual void SetControlText(int dialog, int id, const std::string& text) = 0;
    virtual void EnableControl(int dialog, int id, bool enabled) = 0;
    virtual void FocusControl(int dialog, int id) = 0;
    virtual void ClearList(int dialog, int id) = 0;
    // path: the cells (0-15, row by row) that trace the item's word on the
    // board, in order; empty for an item that is not drawn on the board.
    virtual void AddListItem(int dialog, int id, const std::string& text,
                             const std::vector<int>& path) = 0;
    // The word field's text; caretAtEnd puts the caret after it.
    virtual void SetWordText(const std::string& text, bool caretAtEnd) = 0;
    virtual void Beep() = 0;
    // Opens a dialog over the main window (or alone while it is hidden).
    virtual void OpenDialog(int dialog) = 0;
    virtual void CloseDialog(int dialog) = 0;
    // Shows the main window (hidden until the dictionary has loaded).
    virtual void ShowMainWindow() = 0;
    // Waits until the player ends the dialog; answers its end code.
    virtual int RunDialog(int dialog) = 0;
    // Waits: a message box; answers the button pressed.
    virtual int MessageBox(const std::string& text, const std::string& caption,
                           unsigned type) = 0;
    // Opens the help.
    virtual void OpenHelp() = 0;
    // A game has ended (Quit Game): the words found and those missed, as the
    // results list them, before the results are shown. The page keeps the
    // game in its history.
    virtual void GameOver(const std::vector<std::string>& found,
                          const std::vector<std::string>& missed) = 0;
    // Ends the page's program with the exit code; does not return.
    [[noreturn]] virtual void EndProgram(int code) = 0;
    // Waits: lets time pass before a file operation is tried again.
    virtual void Pause(int milliseconds) = 0;

    // Storage of the player's files (the folder under /data).
    //
    // Waits: takes the lock that one browser's tabs share for the player's
    // files; answers a token for Unlock, or 0 when no lock could be had.
    virtual int Lock() = 0;
    virtual void Unlock(int token) = 0;
    // Waits: reads the stored files into the folder (true on success).
    virtual bool Pull() = 0;
    // Waits: stores the folder's files (true on success).
    virtual bool Push() = 0;
    // Waits: the names of this browser's tabs of the game that are open now.
    virtual std::vector<std::string> OpenTabs() = 0;
};

// The page of the browser tab that runs this module.
Page& BrowserPage();

#endif  // VREL_WEB_PAGE_H_
