#include "game_dlg.h"

#include "about_dlg.h"
#include "game_app.h"
#include "load_dlg.h"
#include "resource.h"
#include "results_dlg.h"
#include "save_dlg.h"
#include "search_dlg.h"

const MessageRow<CGameDlg> CGameDlg::s_messageMap[] = {
    {WM_INITDIALOG, 0, 0, &CGameDlg::OnInitDialog},
    {WM_COMMAND, BN_CLICKED, IDC_ABOUT_BUTTON, &CGameDlg::OnAbout},
    {WM_COMMAND, BN_CLICKED, IDC_HELP_BUTTON, &CGameDlg::OnHelp},
    {WM_COMMAND, BN_CLICKED, IDOK, &CGameDlg::OnExit},
    {WM_COMMAND, 0, IDC_LOAD_COMMAND, &CGameDlg::OnLoadDictionary},
    {WM_COMMAND, BN_CLICKED, IDC_START_GAME, &CGameDlg::OnStartGame},
    {WM_COMMAND, BN_CLICKED, IDC_LETTER_FIRST + 0, &CGameDlg::OnLetterButton},
    {WM_COMMAND, BN_CLICKED, IDC_LETTER_FIRST + 1, &CGameDlg::OnLetterButton},
    {WM_COMMAND, BN_CLICKED, IDC_LETTER_FIRST + 2, &CGameDlg::OnLetterButton},
    {WM_COMMAND, BN_CLICKED, IDC_LETTER_FIRST + 3, &CGameDlg::OnLetterButton},
    {WM_COMMAND, BN_CLICKED, IDC_LETTER_FIRST + 4, &CGameDlg::OnLetterButton},
    {WM_COMMAND, BN_CLICKED, IDC_LETTER_FIRST + 5, &CGameDlg::OnLetterButton},
    {WM_COMMAND, BN_CLICKED, IDC_LETTER_FIRST + 6, &CGameDlg::OnLetterButton},
    {WM_COMMAND, BN_CLICKED, IDC_LETTER_FIRST + 7, &CGameDlg::OnLetterButton},
    {WM_COMMAND, BN_CLICKED, IDC_LETTER_FIRST + 8, &CGameDlg::OnLetterButton},
    {WM_COMMAND, BN_CLICKED, IDC_LETTER_FIRST + 9, &CGameDlg::OnLetterButton},
    {WM_COMMAND, BN_CLICKED, IDC_LETTER_FIRST + 10, &CGameDlg::OnLetterButton},
    {WM_COMMAND, BN_CLICKED, IDC_LETTER_FIRST + 11, &CGameDlg::OnLetterButton},
    {WM_COMMAND, BN_CLICKED, IDC_LETTER_FIRST + 12, &CGameDlg::OnLetterButton},
    {WM_COMMAND, BN_CLICKED, IDC_LETTER_FIRST + 13, &CGameDlg::OnLetterButton},
    {WM_COMMAND, BN_CLICKED, IDC_LETTER_FIRST + 14, &CGameDlg::OnLetterButton},
    {WM_COMMAND, BN_CLICKED, IDC_LETTER_FIRST + 15, &CGameDlg::OnLetterButton},
    {WM_COMMAND, BN_CLICKED, IDC_QUIT_GAME, &CGameDlg::OnQuitGame},
    {WM_COMMAND, BN_CLICKED, IDC_ADD_WORD, &CGameDlg::OnAddWord},
    {WM_COMMAND, EN_UPDATE, IDC_WORD, &CGameDlg::OnWordUpdate},
    {WM_COMMAND, EN_SETFOCUS, IDC_WORD, &CGameDlg::OnWordSetFocus},
    {WM_CLOSE, 0, 0, &CGameDlg::OnClose},
    {WM_COMMAND, BN_CLICKED, IDC_CLEAR, &CGameDlg::OnClear},
    {WM_COMMAND, BN_CLICKED, IDCANCEL, &CGameDlg::OnCancel},
    {},
};

static_assert(IDC_LETTER_LAST == IDC_LETTER_FIRST + BOARD_CELLS - 1, "one button per cell");

CGameDlg::CGameDlg() : CDialog(IDD_GAME), m_game(*this) {}

void CGameDlg::BindControls() {
    m_btnClear.Attach(Item(IDC_CLEAR));
    m_editWord.Attach(Item(IDC_WORD));
    m_btnAddWord.Attach(Item(IDC_ADD_WORD));
    m_btnQuitGame.Attach(Item(IDC_QUIT_GAME));
    m_btnStartGame.Attach(Item(IDC_START_GAME));
    m_listFound.Attach(Item(IDC_FOUND_LIST));
}

BOOL CGameDlg::OnInitDialog(int) {
    GetApp().CenterOverOwner(GetHwnd());
    if (const HICON icon = LoadIconA(GetApp().Instance(), "ICON"))
        SetClassLongPtrA(GetHwnd(), GCLP_HICON, reinterpret_cast<LONG_PTR>(icon));
    // Handled before the hidden window is first shown: the dictionary loads
    // behind its own dialog, then the main window appears.
    PostCommand(IDC_LOAD_COMMAND);
    m_game.OnOpen();
    m_btnStartGame.SetFocus();
    return FALSE;  // the focus is set
}

BOOL CGameDlg::OnAbout(int) {
    CAboutDlg dialog;
    GetApp().RunModal(dialog);
    return TRUE;
}

BOOL CGameDlg::OnHelp(int) {
    GetApp().ShowHelpContents();
    return TRUE;
}

BOOL CGameDlg::OnExit(int) {
    m_game.OnExit();
    EndDialog(IDOK);
    return TRUE;
}

BOOL CGameDlg::OnClose(int) { return OnExit(IDOK); }

BOOL CGameDlg::OnCancel(int) { return TRUE; }

BOOL CGameDlg::OnLoadDictionary(int) {
    CLoadDlg dialog(&m_game.Dictionary());
    GetApp().RunModal(dialog);
    return TRUE;
}

BOOL CGameDlg::OnStartGame(int) {
    m_game.OnStartGame();
    return TRUE;
}

BOOL CGameDlg::OnQuitGame(int) {
    m_game.OnQuitGame();
    return TRUE;
}

BOOL CGameDlg::OnAddWord(int) {
    m_game.OnAddWord();
    return TRUE;
}

BOOL CGameDlg::OnLetterButton(int id) {
    m_game.OnLetter(id - IDC_LETTER_FIRST);
    return TRUE;
}

BOOL CGameDlg::OnWordUpdate(int) {
    m_game.OnWordChanged();
    return TRUE;
}

BOOL CGameDlg::OnWordSetFocus(int) {
    PlaceCaretAtEnd(GetWordText().size());
    return TRUE;
}

BOOL CGameDlg::OnClear(int) {
    m_game.OnClear();
    return TRUE;
}


void CGameDlg::PlaceCaretAtEnd(std::size_t length) {
    // One past the end: the edit control clamps it to the end of the text.
    const WPARAM end = static_cast<WPARAM>(length) + 1;
    m_editWord.Send(EM_SETSEL, end, static_cast<LPARAM>(end));
}

void CGameDlg::ShowBoard(const Board& board) {
    for (int i = 0; i < BOARD_CELLS; ++i)
        SetItemText(IDC_LETTER_FIRST + i, std::string(1, board.Cell(i)));
}

void CGameDlg::EnableControl(GameControl control, bool enabled) {
    switch (control) {
        case GameControl::kLetters:
            for (int id = IDC_LETTER_FIRST; id <= IDC_LETTER_LAST; ++id)
                EnableWindow(Item(id), enabled ? TRUE : FALSE);
            break;
        case GameControl::kWordField: m_editWord.Enable(enabled); break;
        case GameControl::kFoundList: m_listFound.Enable(enabled); break;
        case GameControl::kStartGame: m_btnStartGame.Enable(enabled); break;
        case GameControl::kQuitGame: m_btnQuitGame.Enable(enabled); break;
        case GameControl::kClear: m_btnClear.Enable(enabled); break;
        case GameControl::kAddWord: m_btnAddWord.Enable(enabled); break;
    }
}

void CGameDlg::ClearFoundList() { m_listFound.Send(LB_RESETCONTENT); }

void CGameDlg::AddFoundWord(const std::string& word) {
    m_listFound.Send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(word.c_str()));
}

std::string CGameDlg::GetWordText() { return m_editWord.GetText(); }

void CGameDlg::SetWordText(const std::string& text) { m_editWord.SetText(text); }

void CGameDlg::RestoreWordText(const std::string& text) {
    // Runs the filter again, which accepts the text.
    SetWordText(text);
    PlaceCaretAtEnd(text.size());
}

void CGameDlg::ShowScoreLine(const std::string& text) { SetItemText(IDC_SCORE_LINE, text); }

void CGameDlg::ShowAverageLine(const std::string& text) { SetItemText(IDC_AVERAGE_LINE, text); }

void CGameDlg::Beep() { MessageBeep(0); }

void CGameDlg::ShowWarning(const std::string& text) {
    GetApp().ShowAppMessage(text, MB_OK | MB_ICONEXCLAMATION);
}

bool CGameDlg::AskYesNo(const std::string& text) {
    return GetApp().ShowAppMessage(text, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void CGameDlg::RunSearch(const CWordDictionary& dictionary, const Board& board,
                         WordList& allWords) {
    CSearchDlg dialog(&dictionary, &board, &allWords);
    GetApp().RunModal(dialog);
}

void CGameDlg::ShowResultsDialog(const WordList& found, const WordList& missed) {
    CResultsDlg dialog(&found, &missed);
    GetApp().RunModal(dialog);
}

void CGameDlg::SaveDictionary(const CWordDictionary& dictionary) {
    CSaveDlg dialog(&dictionary);
    GetApp().RunModal(dialog);
}

void CGameDlg::QuitHelp() { GetApp().QuitHelp(); }

void CGameDlg::FocusWordField() { m_editWord.SetFocus(); }

void CGameDlg::FocusStartGame() { m_btnStartGame.SetFocus(); }
