#include "save_dlg.h"

#include "dictionary.h"
#include "game_app.h"
#include "resource.h"

const MessageRow<CSaveDlg> CSaveDlg::s_messageMap[] = {
    {WM_INITDIALOG, 0, 0, &CSaveDlg::OnInit},
    {WM_COMMAND, 0, IDC_SAVE_START, &CSaveDlg::OnStartWork},
    {},
};

CSaveDlg::CSaveDlg(const CWordDictionary* pDictionary)
    : CDialog(IDD_SAVE), m_pDictionary(pDictionary) {}

BOOL CSaveDlg::OnInit(int) {
    GetApp().CenterOverOwner(GetHwnd());
    PostCommand(IDC_SAVE_START);  // the work starts once the dialog is up
    return TRUE;
}

BOOL CSaveDlg::OnStartWork(int) {
    // Draw the dialog now: no message is processed until the work is done.
    RedrawWindow(GetHwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    GetApp().BeginWait();
    m_pDictionary->SaveToFile();  // failures are shown in their own boxes
    GetApp().EndWait();
    return OnOK(IDOK);
}
