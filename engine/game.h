// CGame: the rules of a game and of the run of games, free of any window.
// The main window owns one, forwards its button handlers to it and carries
// out what it asks through GameWindow.
//
//   CGame game(window);
//   game.Dictionary().LoadFromFile();
//   game.OnOpen();        // the controls of a window out of play
//   game.OnStartGame();   // deal, search, score line
//   game.OnLetter(5);     // a click on a cube: its letter ends the word
//   game.OnWordChanged(); // the word filter, on every change of the field
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

// The main window's controls that the rules switch on and off.
enum class GameControl {
    kLetters,  // the sixteen letter cubes
    kWordField,
    kFoundList,
    kStartGame,
    kQuitGame,
    kClear,
    kAddWord,
};
constexpr int kGameControls = 7;

// What the rules need from the main window and the dialogs it opens.
class GameWindow {
  public:
    virtual ~GameWindow() = default;
    // Shows the board's letters on the cubes.
    virtual void ShowBoard(const Board& board) = 0;
    virtual void EnableControl(GameControl control, bool enabled) = 0;
    // The found-words list: empty it, or add one word.
    virtual void ClearFoundList() = 0;
    virtual void AddFoundWord(const std::string& word) = 0;
    // The word field's text.
    virtual std::string GetWordText() = 0;
    virtual void SetWordText(const std::string& text) = 0;
    // Puts back the text the word filter last accepted, the caret after it.
    virtual void RestoreWordText(const std::string& text) = 0;
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
    // Notices for a window that keeps more than the program does: a word the
    // player confirmed went into the dictionary; the player chose not to
    // save the changed dictionary.
    virtual void WordStored(const std::string& /*word*/) {}
    virtual void SaveDeclined() {}
};

class CGame {
  public:
    explicit CGame(GameWindow& window) : m_window(window) {}
    CGame(const CGame&) = delete;
    CGame& operator=(const CGame&) = delete;

    // The controls of a window that has just opened: out of play.
    void OnOpen();
    void OnStartGame();
    // A click on the cube of cell (0-15) while in play: its letter ends the
    // word field's text if the text can then still be traced, else a beep.
    void OnLetter(int cell);
    // The word filter, run on every change of the word field's text: text
    // that cannot be traced is undone with a beep, and Clear and Add Word
    // follow the text.
    void OnWordChanged();
    void OnClear();
    void OnAddWord();
    void OnQuitGame();
    // Offers to save a changed dictionary and releases help; the window then
    // ends itself.
    void OnExit();
    void UpdateScoreLine();
    void ShowResults();

    // Whether the control is enabled, as the rules last set it; a window
    // takes a command only from an enabled control.
    bool IsEnabled(GameControl control) const { return m_enabled[static_cast<int>(control)]; }
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
    void Enable(GameControl control, bool enabled);
    // The in-play or the out-of-play set of controls.
    void EnterPlay(bool inPlay);

    GameWindow& m_window;
    bool m_enabled[kGameControls] = {};
    // The word field's last text that the filter accepted.
    std::string m_strLastTraceable;
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
