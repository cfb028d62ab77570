// CResultsDlg: the found and the missed words of the game just quit
// (template 107).
#ifndef VREL_UI_RESULTS_DLG_H_
#define VREL_UI_RESULTS_DLG_H_

#include "dialog.h"
#include "word_list.h"

class CResultsDlg : public CDialog {
  public:
    // Both lists are borrowed for the run of the dialog.
    CResultsDlg(const WordList* pFoundWords, const WordList* pMissedWords);

  protected:
    BOOL OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        return Dispatch(this, s_messageMap, message, wParam, lParam);
    }
    void BindControls() override;

  private:
    BOOL OnInit(int);

    const WordList* m_pFoundWords;
    const WordList* m_pMissedWords;
    CControl m_btnClose;
    CControl m_listFound;
    CControl m_listMissed;
    static const MessageRow<CResultsDlg> s_messageMap[];
};

#endif  // VREL_UI_RESULTS_DLG_H_
