#include "about_dlg.h"

#include "game_app.h"
#include "resource.h"

const MessageRow<CAboutDlg> CAboutDlg::s_messageMap[] = {
    {WM_INITDIALOG, 0, 0, &CAboutDlg::OnInit},
    {},
};

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUT) {}

BOOL CAboutDlg::OnInit(int) {
    GetApp().CenterOverOwner(GetHwnd());
    return TRUE;  // the platform focuses the first tab stop, Close
}
