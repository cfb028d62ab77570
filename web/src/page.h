// The C++ side of the page: the calls by which the engine's front end asks
// the page's script to draw, to ask the player and to reach the browser's
// storage. Texts cross as Windows-1252 bytes; the script decodes them.
//
// The calls marked "waits" suspend the running command (Asyncify) until the
// page answers; the page takes no other command meanwhile.
#ifndef VREL_WEB_PAGE_H_
#define VREL_WEB_PAGE_H_

#include <string>

namespace page {

// Drawing.
void SetControlText(int dialog, int id, const std::string& text);
void EnableControl(int dialog, int id, bool enabled);
void FocusControl(int dialog, int id);
void ClearList(int dialog, int id);
void AddListItem(int dialog, int id, const std::string& text);
// The word field's text; caretAtEnd puts the caret after it.
void SetWordText(const std::string& text, bool caretAtEnd);
void Beep();
// Opens a dialog over the main window (or alone while it is hidden).
void OpenDialog(int dialog);
void CloseDialog(int dialog);
// Shows the main window (hidden until the dictionary has loaded).
void ShowMainWindow();
// Waits until the player ends the dialog; answers its end code.
int RunDialog(int dialog);
// Waits: a message box; answers the button pressed.
int MessageBox(const std::string& text, const std::string& caption, unsigned type);
// Waits: lets the page draw once.
void YieldToPage();
// Opens the help.
void OpenHelp();
// Ends the page's program with the exit code; does not return.
[[noreturn]] void EndProgram(int code);
// Milliseconds on a steady clock.
double Now();

// Storage of the player's files (the folder under /data).
//
// Waits: takes the lock that one browser's tabs share for the player's
// files; answers a token for Unlock, or 0 when no lock could be had.
int Lock();
void Unlock(int token);
// Waits: reads the stored files into the folder (true on success).
bool Pull();
// Waits: stores the folder's files (true on success).
bool Push();

}  // namespace page

#endif  // VREL_WEB_PAGE_H_
