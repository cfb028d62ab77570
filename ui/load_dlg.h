// CLoadDlg: reads the dictionary file behind "Loading dictionary" (template
// 105) and ends itself.
#ifndef VREL_UI_LOAD_DLG_H_
#define VREL_UI_LOAD_DLG_H_

#include "dialog.h"

class CWordDictionary;

class CLoadDlg : public CDialog {
  public:
    // The dictionary is borrowed for the run of the dialog.
    explicit CLoadDlg(CWordDictionary* pDictionary);

  protected:
    BOOL OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        return Dispatch(this, s_messageMap, message, wParam, lParam);
    }

  private:
    BOOL OnInit(int);
    BOOL OnStartWork(int);

    CWordDictionary* m_pDictionary;
    static const MessageRow<CLoadDlg> s_messageMap[];
};

#endif  // VREL_UI_LOAD_DLG_H_
