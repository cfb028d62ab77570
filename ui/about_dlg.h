// CAboutDlg: the program's title, version line and icon (template 103).
#ifndef VREL_UI_ABOUT_DLG_H_
#define VREL_UI_ABOUT_DLG_H_

#include "dialog.h"

class CAboutDlg : public CDialog {
  public:
    CAboutDlg();

  protected:
    BOOL OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        return Dispatch(this, s_messageMap, message, wParam, lParam);
    }

  private:
    BOOL OnInit(int);

    static const MessageRow<CAboutDlg> s_messageMap[];
};

#endif  // VREL_UI_ABOUT_DLG_H_
