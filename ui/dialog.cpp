#include "dialog.h"

#include "game_app.h"

std::string CControl::GetText() const {
    const int length = GetWindowTextLengthA(m_hWnd);
    if (length <= 0) return std::string();
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const int copied = GetWindowTextA(m_hWnd, text.data(), length + 1);
    text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    return text;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            return reinterpret_cast<INT_PTR>(GetApp().DialogColours(reinterpret_cast<HDC>(wParam)));
        default:
            break;
    }

    CDialog* self = nullptr;
    if (message == WM_INITDIALOG) {
        // RunModal passes the object as the creation parameter.
        self = reinterpret_cast<CDialog*>(lParam);
        self->m_hWnd = hWnd;
        SetWindowLongPtrA(hWnd, DWLP_USER, lParam);
        self->BindControls();
    } else {
        self = reinterpret_cast<CDialog*>(GetWindowLongPtrA(hWnd, DWLP_USER));
    }
    if (self == nullptr) return FALSE;  // messages before WM_INITDIALOG
    return self->OnMessage(message, wParam, lParam);
}

BOOL CDialog::OnOK(int) {
    EndDialog(IDOK);
    return TRUE;
}

BOOL CDialog::OnCancel(int) {
    EndDialog(IDCANCEL);
    return TRUE;
}

void CDialog::SetItemText(int id, const std::string& text) const {
    SetDlgItemTextA(m_hWnd, id, text.c_str());
}

void CDialog::PostCommand(int id) const { PostMessageA(m_hWnd, WM_COMMAND, MAKEWPARAM(id, 0), 0); }
