// CGame: the rules of a game and of the run of games, free of any window.
// The main window owns one, forwards its button handlers to it and carries
// out what it asks through GameWindow.
//
//   CGame game(window);
//   game.Dictionary().LoadFromFile();
//   game.OnStartGame();   // deal, search, score line
//   game.OnAddWord();     // the word field's text
//   game.OnQuitGame();    // results, average
//   game.OnExit();        // save question; the window then closes
#ifndef VREL_ENGINE_GAME_H_
#define VREL_ENGINE_GAME_H_

#include <cstdint>
#include <memory>
#include <string>

#include "board.h"
#include "dictionary.h"
#include "word_list.h"

// What the rules need from the main window and the dialogs it opens.
class GameWindow : public ControlTextSink {
  public:
    // Switches the controls to the in-play or the out-of-play set.
    virtual void EnableGameControls(bool inPlay) = 0;
    // The found-words list: empty it, or add one word.
    virtual void ClearFoundList() = 0;
    virtual void AddFoundWord(const std::string& word) = 0;
    // The word field's text.
    virtual std::string GetWordText() = 0;
    virtual void SetWordText(const std::string& text) = 0;
    // The per-game score line and the average line.
    virtual void ShowScoreLine(const std::string& text) = 0;
    virtual void ShowAverageLine(const std::string& text) = 0;
    // The default system sound.
    virtual void Beep() = 0;
    // An OK box with the exclamation icon.
    virtual void ShowWarning(const std::string& text) = 0;
    // A Yes/No question with the question icon; true for Yes.
    virtual bool AskYesNo(const std::string& text) = 0;
    // Runs the board search behind the searching dialog; returns when the
    // player has closed it.
    virtual void RunSearch(const CWordDictionary& dictionary, const Board& board,
                           WordList& allWords) = 0;
    // Shows the found and the missed words until the player closes them.
    virtual void ShowResultsDialog(const WordList& found, const WordList& missed) = 0;
    // Writes the dictionary behind the saving dialog.
    virtual void SaveDictionary(const CWordDictionary& dictionary) = 0;
    // Tells the help engine that the program no longer needs it.
    virtual void QuitHelp() = 0;
    virtual void FocusWordField() = 0;
    virtual void FocusStartGame() = 0;
};

class CGame {
  public:
    explicit CGame(GameWindow& window) : m_window(window) {}
    CGame(const CGame&) = delete;
    CGame& operator=(const CGame&) = delete;

    void OnStartGame();
    void OnAddWord();
    void OnQuitGame();
    // Offers to save a changed dictionary and releases help; the window then
    // ends itself.
    void OnExit();
    void UpdateScoreLine();
    void ShowResults();

    CWordDictionary& Dictionary() { return m_dictionary; }
    // The board of the current game; null before the first Start Game.
    const Board* GetBoard() const { return m_pBoard.get(); }
    // Whether the word field may hold the text: empty, or traceable on the
    // board. The window's word filter keeps the field to such text.
    bool WordFieldTakes(const std::string& text) const {
        return text.empty() || (m_pBoard && m_pBoard->CanTrace(text));
    }
    const WordList& AllWords() const { return m_allWords; }
    const WordList& FoundWords() const { return m_foundWords; }
    int Found() const { return m_nFound; }
    int TotalFound() const { return m_nTotalFound; }
    int TotalPossible() const { return m_nTotalPossible; }

  private:
    GameWindow& m_window;
    CWordDictionary m_dictionary;
    std::unique_ptr<Board> m_pBoard;
    WordList m_allWords;
    WordList m_foundWords;
    std::int32_t m_nFound = 0;
    std::int32_t m_nTotalFound = 0;
    std::int32_t m_nTotalPossible = 0;
};

// n × 100 / total, truncated; 0 when total is 0.
int Percent(std::int32_t n, std::int32_t total);

#endif  // VREL_ENGINE_GAME_H_
