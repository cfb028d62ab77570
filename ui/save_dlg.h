// CSaveDlg: writes the dictionary file behind "Saving dictionary" (template
// 108) and ends itself.
#ifndef VREL_UI_SAVE_DLG_H_
#define VREL_UI_SAVE_DLG_H_

#include "dialog.h"

class CWordDictionary;

class CSaveDlg : public CDialog {
  public:
    // The dictionary is borrowed for the run of the dialog.
    explicit CSaveDlg(const CWordDictionary* pDictionary);

  protected:
    BOOL OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        return Dispatch(this, s_messageMap, message, wParam, lParam);
    }

  private:
    BOOL OnInit(int);
    BOOL OnStartWork(int);

    const CWordDictionary* m_pDictionary;
    static const MessageRow<CSaveDlg> s_messageMap[];
};

#endif  // VREL_UI_SAVE_DLG_H_
