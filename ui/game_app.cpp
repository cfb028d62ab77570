#include "game_app.h"

#include "app_rules.h"
#include "dialog.h"
#include "dictionary_file.h"
#include "game_dlg.h"
#include "random.h"
#include "texts.h"

namespace {

// Constructed before WinMain runs, so the random source is seeded first.
CGameApp theApp;

// The executable's full path as the system holds it, in UTF-16.
std::wstring ModulePathW() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return std::wstring();
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);  // cut short: try a longer buffer
    }
}

// The text in the ANSI code page; false when a character has no equivalent
// there (it would reach the system as '?').
bool ToAnsi(const std::wstring& wide, std::string& ansi) {
    ansi.clear();
    if (wide.empty()) return true;
    const int size = static_cast<int>(wide.size());
    BOOL lost = FALSE;
    const int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), size, nullptr,
                                           0, nullptr, &lost);
    if (length <= 0 || lost) return false;
    ansi.resize(static_cast<std::size_t>(length));
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), size, ansi.data(), length,
                        nullptr, nullptr);
    return true;
}

// The help engine takes 8-bit paths only. When the ANSI code page cannot name
// the executable's folder, the help file is given in that folder's short
// form, which it can; false when there is no such form.
bool ShortHelpFilePath(std::string& helpFilePath) {
    const std::wstring path = ModulePathW();
    std::string ansi;
    if (path.empty() || ToAnsi(path, ansi)) return false;
    const std::size_t slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos) return false;
    const std::wstring folder = path.substr(0, slash + 1);
    std::wstring shortFolder(folder.size() + 1, L'\0');
    DWORD length = GetShortPathNameW(folder.c_str(), shortFolder.data(),
                                     static_cast<DWORD>(shortFolder.size()));
    if (length >= shortFolder.size()) {
        shortFolder.resize(length);
        length = GetShortPathNameW(folder.c_str(), shortFolder.data(), length);
    }
    if (length == 0 || length >= shortFolder.size()) return false;
    shortFolder.resize(length);
    if (!ToAnsi(shortFolder + path.substr(slash + 1), ansi)) return false;
    helpFilePath = DeriveAppNames(ansi).helpFilePath;
    return true;
}

// The system's description of an error code, without its line break.
std::string SystemErrorText(DWORD code) {
    char* text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = length > 0 && text ? std::string(text, length) : std::string();
    if (text) LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r'))
        message.pop_back();
    return message.empty() ? "Error " + std::to_string(code) : message;
}

HWND ActivePopup() {
    const HWND active = GetActiveWindow();
    return active ? GetLastActivePopup(active) : nullptr;
}

}  // namespace

CGameApp& GetApp() { return theApp; }

CGameApp::CGameApp() { SeedRandom(GetTickCount() & 0xFFFF); }

CGameApp::~CGameApp() {
    if (m_hDialogBrush) DeleteObject(m_hDialogBrush);
}

void CGameApp::InitInstance(HINSTANCE hInstance) {
    m_hInstance = hInstance;
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);  // cut short: try a longer buffer
    }
    const AppNames names = DeriveAppNames(path);
    m_strAppName = names.appName;
    m_strHelpFilePath = names.helpFilePath;
    ShortHelpFilePath(m_strHelpFilePath);  // a folder outside the ANSI code page
}

bool CGameApp::RunMainWindow() {
    m_crDialogBack = RGB(192, 192, 192);
    m_crDialogText = RGB(0, 0, 0);
    if (!m_hDialogBrush) m_hDialogBrush = CreateSolidBrush(m_crDialogBack);

    CGameDlg dialog;
    m_pMainDlg = &dialog;
    const INT_PTR result = RunModal(dialog);
    m_pMainDlg = nullptr;
    // Without its main window (a missing or broken template) the program can
    // do nothing: the fatal box with the system's reason, and exit code 1.
    if (result == -1) ShowFatalError(SystemErrorText(GetLastError()));
    return false;
}

void CGameApp::ShowHelpContents() { CallHelp(HELP_FINDER); }

void CGameApp::QuitHelp() { CallHelp(HELP_QUIT); }

void CGameApp::CallHelp(UINT command) {
    const HWND hWnd = m_pMainDlg ? m_pMainDlg->GetHwnd() : nullptr;
    BeginWait();
    if (hWnd) {
        SendMessageA(hWnd, WM_CANCELMODE, 0, 0);
        const HWND capture = GetCapture();
        if (capture && (capture == hWnd || IsChild(hWnd, capture))) ReleaseCapture();
    }
    if (!AskHelpViewer(hWnd, command)) ShowAppMessage(LoadText(IDS_HELP_FAILED), MB_OK);
    EndWait();
}

bool CGameApp::AskHelpViewer(HWND hWnd, UINT command) const {
    if (WinHelpA(hWnd, m_strHelpFilePath.c_str(), command, 0)) return true;
    if (command == HELP_QUIT) return false;
    // WinHelp may start the viewer and look for its window only once, before
    // a slow or busy machine has made it. Ask again once the viewer's window
    // is there; the help is unavailable only if it does not come in time.
    constexpr DWORD kViewerWaitMs = 10000;
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < kViewerWaitMs) {
        Sleep(50);
        if (FindWindowA("MS_WINHELP", nullptr) &&
            WinHelpA(hWnd, m_strHelpFilePath.c_str(), command, 0))
            return true;
    }
    return false;
}

void CGameApp::BeginWait() {
    const HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    if (++m_nWaitCount == 1) m_hSavedCursor = previous;
}

void CGameApp::EndWait() {
    if (--m_nWaitCount <= 0) {
        m_nWaitCount = 0;
        SetCursor(m_hSavedCursor);
    }
}

void CGameApp::CenterOverOwner(HWND hDialog) const {
    RECT work;
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0)) {
        work.left = 0;
        work.top = 0;
        work.right = GetSystemMetrics(SM_CXSCREEN);
        work.bottom = GetSystemMetrics(SM_CYSCREEN);
    }
    RECT reference = work;
    const HWND owner = GetWindow(hDialog, GW_OWNER);
    if (owner && IsWindowVisible(owner) && !IsIconic(owner)) GetWindowRect(owner, &reference);

    RECT dialog;
    GetWindowRect(hDialog, &dialog);
    const POINT position =
        CenteredPosition(reference, work, dialog.right - dialog.left, dialog.bottom - dialog.top);
    SetWindowPos(hDialog, nullptr, position.x, position.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CGameApp::RunModal(CDialog& dialog) {
    return DialogBoxParamA(m_hInstance, MAKEINTRESOURCEA(dialog.TemplateId()), ActivePopup(),
                           &CDialog::DialogProc, reinterpret_cast<LPARAM>(&dialog));
}

int CGameApp::ShowAppMessage(const std::string& text, UINT style) {
    return MessageBoxA(ActivePopup(), text.c_str(), m_strAppName.c_str(), WithDefaultIcon(style));
}

HBRUSH CGameApp::DialogColours(HDC dc) const {
    if (!m_hDialogBrush) return nullptr;
    SetBkColor(dc, m_crDialogBack);
    SetTextColor(dc, m_crDialogText);
    return m_hDialogBrush;
}
