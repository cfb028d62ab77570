#include "search_dlg.h"

#include "game_app.h"
#include "resource.h"
#include "texts.h"

const MessageRow<CSearchDlg> CSearchDlg::s_messageMap[] = {
    {WM_INITDIALOG, 0, 0, &CSearchDlg::OnInit},
    {WM_COMMAND, 0, IDC_SEARCH_START, &CSearchDlg::OnStartWork},
    {},
};

CSearchDlg::CSearchDlg(const CWordDictionary* pDictionary, const Board* pBoard, WordList* pAllWords)
    : CDialog(IDD_SEARCH), m_pDictionary(pDictionary), m_pBoard(pBoard), m_pAllWords(pAllWords) {}

BOOL CSearchDlg::OnInit(int) {
    GetApp().CenterOverOwner(GetHwnd());
    PostCommand(IDC_SEARCH_START);  // the work starts once the dialog is up
    return TRUE;
}

BOOL CSearchDlg::OnStartWork(int) {
    // Draw the dialog now: no message is processed until the search is done.
    RedrawWindow(GetHwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    GetApp().BeginWait();
    m_pBoard->FindAllWords(*m_pDictionary, *m_pAllWords, *this);
    GetApp().EndWait();
    EnableWindow(Item(IDOK), TRUE);
    return TRUE;
}

void CSearchDlg::ReportCount(int count) {
    const HWND line = Item(IDC_PROGRESS_LINE);
    SetWindowTextA(line, FormatText(IDS_SEARCH_PROGRESS, count).c_str());
    UpdateWindow(line);  // no paint messages arrive during the search
}
