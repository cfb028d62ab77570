#include "load_dlg.h"

#include "dictionary.h"
#include "game_app.h"
#include "resource.h"

const MessageRow<CLoadDlg> CLoadDlg::s_messageMap[] = {
    {WM_INITDIALOG, 0, 0, &CLoadDlg::OnInit},
    {WM_COMMAND, 0, IDC_LOAD_START, &CLoadDlg::OnStartWork},
    {},
};

CLoadDlg::CLoadDlg(CWordDictionary* pDictionary) : CDialog(IDD_LOAD), m_pDictionary(pDictionary) {}

BOOL CLoadDlg::OnInit(int) {
    GetApp().CenterOverOwner(GetHwnd());
    PostCommand(IDC_LOAD_START);  // the work starts once the dialog is up
    return TRUE;
}

BOOL CLoadDlg::OnStartWork(int) {
    // Draw the dialog now: no message is processed until the work is done.
    RedrawWindow(GetHwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    GetApp().BeginWait();
    m_pDictionary->LoadFromFile();  // a missing file ends the process here
    GetApp().EndWait();
    return OnOK(IDOK);
}
