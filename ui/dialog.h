// CDialog: a modal dialog built from a template, with its handlers bound
// through a static message map.
//
//   class CMyDlg : public CDialog {
//   public:
//       CMyDlg() : CDialog(IDD_MY) {}
//   protected:
//       BOOL OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
//           return Dispatch(this, s_messageMap, message, wParam, lParam);
//       }
//   private:
//       BOOL OnInit(int);
//       static const MessageRow<CMyDlg> s_messageMap[];
//   };
//   const MessageRow<CMyDlg> CMyDlg::s_messageMap[] = {
//       {WM_INITDIALOG, 0, 0, &CMyDlg::OnInit},
//       {},  // end of the map
//   };
//
//   CMyDlg dlg;
//   GetApp().RunModal(dlg);
//
// A handler gets the control id of its row and returns what the dialog
// procedure returns: TRUE for a handled command, and for WM_INITDIALOG whether
// the platform is to give the focus to the first tab stop.
#ifndef VREL_UI_DIALOG_H_
#define VREL_UI_DIALOG_H_

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string>

// A child control of a dialog, bound to its window when the dialog starts.
class CControl {
  public:
    void Attach(HWND hWnd) { m_hWnd = hWnd; }
    HWND GetHwnd() const { return m_hWnd; }
    void Enable(bool enable) const { EnableWindow(m_hWnd, enable ? TRUE : FALSE); }
    void SetFocus() const { ::SetFocus(m_hWnd); }
    std::string GetText() const;
    void SetText(const std::string& text) const { SetWindowTextA(m_hWnd, text.c_str()); }
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return SendMessageA(m_hWnd, message, wParam, lParam);
    }

  private:
    HWND m_hWnd = nullptr;
};

// One row of a message map: the message, and for WM_COMMAND the notification
// code and the control id, then the handler. A row with message 0 ends a map.
template <class T>
struct MessageRow {
    UINT message;
    UINT code;
    int id;
    BOOL (T::*handler)(int id);
};

class CDialog {
  public:
    explicit CDialog(int templateId) : m_nTemplateId(templateId) {}
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;
    virtual ~CDialog() = default;

    int TemplateId() const { return m_nTemplateId; }
    HWND GetHwnd() const { return m_hWnd; }

    // The dialog procedure of every dialog: finds the object from the window
    // and hands the message to it. TRUE only for messages that were handled.
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

  protected:
    // Handles one message, normally by Dispatch over the class's map.
    virtual BOOL OnMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // Binds control members; runs before the class's WM_INITDIALOG handler.
    virtual void BindControls() {}

    // The default handlers of commands 1 and 2: end the dialog with that code.
    BOOL OnOK(int);
    BOOL OnCancel(int);

    HWND Item(int id) const { return GetDlgItem(m_hWnd, id); }
    void SetItemText(int id, const std::string& text) const;
    void EndDialog(int code) const { ::EndDialog(m_hWnd, code); }
    // Posts this dialog WM_COMMAND with the id, code 0 and no control, to be
    // handled once its modal loop runs.
    void PostCommand(int id) const;

    // Runs the handler of the first row of map that matches the message; else
    // the default OK and Cancel handlers.
    template <class T>
    BOOL Dispatch(T* self, const MessageRow<T>* map, UINT message, WPARAM wParam, LPARAM) {
        const UINT code = HIWORD(wParam);
        const int id = LOWORD(wParam);
        for (const MessageRow<T>* row = map; row->message != 0; ++row) {
            if (row->message != message) continue;
            if (message == WM_COMMAND && (row->code != code || row->id != id)) continue;
            return (self->*row->handler)(row->id);
        }
        if (message == WM_COMMAND && code == BN_CLICKED) {
            if (id == IDOK) return OnOK(id);
            if (id == IDCANCEL) return OnCancel(id);
        }
        return FALSE;
    }

  private:
    int m_nTemplateId;
    HWND m_hWnd = nullptr;
};

#endif  // VREL_UI_DIALOG_H_
