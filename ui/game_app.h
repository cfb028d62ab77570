// CGameApp: the one application object of the process and the services that
// every dialog shares: the application name, help, dialog colours, the wait
// cursor, centring, modal runs and message boxes.
//
//   GetApp().InitInstance(hInstance);  // names from the executable's path
//   GetApp().RunMainWindow();          // the whole game; returns false
#ifndef VREL_UI_GAME_APP_H_
#define VREL_UI_GAME_APP_H_

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string>

class CDialog;

class CGameApp {
  public:
    // Seeds the random source with the low 16 bits of the tick count.
    CGameApp();
    ~CGameApp();
    CGameApp(const CGameApp&) = delete;
    CGameApp& operator=(const CGameApp&) = delete;

    // Derives the application name and the help file's path from the
    // executable's path.
    void InitInstance(HINSTANCE hInstance);
    // Runs the main window modally until it ends; returns false, so the
    // caller runs no message loop of its own.
    bool RunMainWindow();

    HINSTANCE Instance() const { return m_hInstance; }

    // Opens the help file at its contents; a failure is shown in a box.
    void ShowHelpContents();
    // Tells the help engine that the program no longer needs it.
    void QuitHelp();

    // Wait periods nest; the outermost EndWait restores the saved cursor.
    void BeginWait();
    void EndWait();

    // Centres the dialog over its visible owner, else over the work area,
    // keeping it inside the work area.
    void CenterOverOwner(HWND hDialog) const;
    // Runs the dialog modally, owned by the active window's last active
    // pop-up; returns 1 (OK), 2 (Cancel) or -1 when the template is missing.
    INT_PTR RunModal(CDialog& dialog);
    // Message box captioned with the application name; OK and Yes/No style boxes without an
    // icon get the exclamation icon. Returns the button pressed.
    int ShowAppMessage(const std::string& text, UINT style);

    // Sets the dialog text colours into dc and returns the background brush;
    // null before RunMainWindow has set the colours.
    HBRUSH DialogColours(HDC dc) const;

  private:
    void CallHelp(UINT command);
    bool AskHelpViewer(HWND hWnd, UINT command) const;

    HINSTANCE m_hInstance = nullptr;
    std::string m_strAppName;       // the executable's name without folder and extension
    std::string m_strHelpFilePath;  // its path with the extension replaced by ".HLP"
    HBRUSH m_hDialogBrush = nullptr;
    COLORREF m_crDialogText = RGB(0, 0, 0);
    COLORREF m_crDialogBack = RGB(192, 192, 192);
    int m_nWaitCount = 0;
    HCURSOR m_hSavedCursor = nullptr;
    CDialog* m_pMainDlg = nullptr;  // the main window while it runs
};

// The application object.
CGameApp& GetApp();

#endif  // VREL_UI_GAME_APP_H_
