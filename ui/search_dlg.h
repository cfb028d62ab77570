// CSearchDlg: finds every word on the board behind "Searching for words"
// (template 106), counting up live, then waits for the player's OK.
#ifndef VREL_UI_SEARCH_DLG_H_
#define VREL_UI_SEARCH_DLG_H_

#include "board.h"
#include "dialog.h"
#include "word_list.h"

class CWordDictionary;

class CSearchDlg : public CDialog, public ProgressSink {
  public:
    // All three are borrowed for the run of the dialog; allWords receives
    // every word found.
    CSearchDlg(const CWordDictionary* pDictionary, const Board* pBoard, WordList* pAllWords);

    // Shows "At least count words can be found." at once.
    void ReportCount(int count) override;

  protected:
    BOOL OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        return Dispatch(this, s_messageMap, message, wParam, lParam);
    }

  private:
    BOOL OnInit(int);
    BOOL OnStartWork(int);

    const CWordDictionary* m_pDictionary;
    const Board* m_pBoard;
    WordList* m_pAllWords;
    static const MessageRow<CSearchDlg> s_messageMap[];
};

#endif  // VREL_UI_SEARCH_DLG_H_
