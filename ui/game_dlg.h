// CGameDlg: the main window (template 102). It owns the game, forwards its
// buttons to it and carries out what the game asks through GameWindow. Its
// own job is the board's buttons, the word field's filter and the controls'
// states.
#ifndef VREL_UI_GAME_DLG_H_
#define VREL_UI_GAME_DLG_H_

#include <string>

#include "dialog.h"
#include "game.h"

class CGameDlg : public CDialog, public GameWindow {
  public:
    CGameDlg();

    // GameWindow.
    void ShowBoard(const Board& board) override;
    void EnableControl(GameControl control, bool enabled) override;
    void ClearFoundList() override;
    void AddFoundWord(const std::string& word) override;
    std::string GetWordText() override;
    void SetWordText(const std::string& text) override;
    void RestoreWordText(const std::string& text) override;
    void ShowScoreLine(const std::string& text) override;
    void ShowAverageLine(const std::string& text) override;
    void Beep() override;
    void ShowWarning(const std::string& text) override;
    bool AskYesNo(const std::string& text) override;
    void RunSearch(const CWordDictionary& dictionary, const Board& board,
                   WordList& allWords) override;
    void ShowResultsDialog(const WordList& found, const WordList& missed) override;
    void SaveDictionary(const CWordDictionary& dictionary) override;
    void QuitHelp() override;
    void FocusWordField() override;
    void FocusStartGame() override;

  protected:
    BOOL OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        return Dispatch(this, s_messageMap, message, wParam, lParam);
    }
    void BindControls() override;

  private:
    BOOL OnInitDialog(int);
    BOOL OnAbout(int);
    BOOL OnHelp(int);
    BOOL OnExit(int);
    BOOL OnLoadDictionary(int);
    BOOL OnStartGame(int);
    BOOL OnLetterButton(int id);
    BOOL OnQuitGame(int);
    BOOL OnAddWord(int);
    BOOL OnWordUpdate(int);
    BOOL OnWordSetFocus(int);
    BOOL OnClose(int);
    BOOL OnClear(int);
    // Escape does nothing in the main window.
    BOOL OnCancel(int);

    // Puts the word field's caret after its text, with nothing selected.
    void PlaceCaretAtEnd(std::size_t length);

    CControl m_btnClear;
    CControl m_editWord;
    CControl m_btnAddWord;
    CControl m_btnQuitGame;
    CControl m_btnStartGame;
    CControl m_listFound;
    CGame m_game;

    static const MessageRow<CGameDlg> s_messageMap[];
};

#endif  // VREL_UI_GAME_DLG_H_
