// CWebWindow: the main window of the page. As the Windows program's main
// window does, it owns the game, forwards the page's commands to it and
// carries out what the game asks through GameWindow; the game's rules decide
// the rest. The page (Page) only draws what it is told and reports the
// player's commands (control ids) and the word field's edits.
//
// Besides the game it keeps the journal of confirmed words (VREL.JNL beside
// the stored VREL.DAT): each word the player confirms is stored there at
// once and added again at the next start, so that no confirmed word is lost
// to a closed tab before Exit Program saves the dictionary.
#ifndef VREL_WEB_WEB_WINDOW_H_
#define VREL_WEB_WEB_WINDOW_H_

#include <functional>
#include <string>
#include <vector>

#include "game.h"
#include "page.h"
#include "web_platform.h"

class CWebWindow : public GameWindow {
  public:
    // tab names this browser tab among the others (see Page::OpenTabs).
    CWebWindow(WebPlatform& platform, const std::string& tab);

    // Loads the stored dictionary behind the loading dialog, adds the
    // journal's words and shows the main window.
    void Start();
    // A click of control id, or its key; answers false once the program has
    // ended (Exit Program).
    bool OnCommand(int id);
    // The word field's text after the player's edit, in the edition's bytes.
    void OnWordEdit(const std::string& text);
    // Writes the dictionary as the game holds it to path; false on failure
    // (shown in the error boxes).
    bool Export(const std::string& path);
    // Reads a dictionary file at path by the reader's rules and makes it the
    // player's dictionary, stored; the old one stays on any failure.
    void Import(const std::string& path);

    // GameWindow.
    void ShowBoard(const Board& board) override;
    void EnableControl(GameControl control, bool enabled) override;
    void ClearFoundList() override;
    void AddFoundWord(const std::string& word) override;
    std::string GetWordText() override { return m_strWord; }
    void SetWordText(const std::string& text) override;
    void RestoreWordText(const std::string& text) override;
    void ShowScoreLine(const std::string& text) override;
    void ShowAverageLine(const std::string& text) override;
    void Beep() override { m_page.Beep(); }
    void ShowWarning(const std::string& text) override;
    bool AskYesNo(const std::string& text) override;
    void RunSearch(const CWordDictionary& dictionary, const Board& board,
                   WordList& allWords) override;
    void ShowResultsDialog(const WordList& found, const WordList& missed) override;
    void SaveDictionary(const CWordDictionary& dictionary) override;
    void QuitHelp() override {}
    void FocusWordField() override;
    void FocusStartGame() override;
    void WordStored(const std::string& word) override;
    void SaveDeclined() override;

  private:
    std::string JournalPath() const;
    // VREL.GEN counts the imports into the stored folder, so that a tab that
    // loaded before another tab's import knows it at its save.
    std::string GenerationPath() const;
    // Adds the journal's words to dictionary.
    void AddJournalWords(CWordDictionary& dictionary);
    // The first line of a file in the folder; empty when there is none.
    std::string ReadStoredLine(const std::string& path);
    // The import count as stored now.
    std::string StoredGeneration();
    // Counts an import; false when it could not be stored.
    bool StoreNextGeneration();
    // Puts text in the file at path, in the browser's storage when it is
    // stored there; false on failure. The caller holds the stored files' lock.
    bool WriteStored(const std::string& path, const std::string& text);
    // Appends a confirmed word to the journal, as "WORD TAB"; shows the error
    // box when it could not be stored.
    void JournalAdd(const std::string& word);
    // Drops the journal's lines for which drop(word, tab) is true (tab is
    // empty for a line without one) and appends the line append if not empty;
    // false when the journal could not be read or stored.
    bool JournalDrop(
        const std::function<bool(const std::string& word, const std::string& tab)>& drop,
        const std::string& append = "");

    WebPlatform& m_platform;
    Page& m_page;
    const std::string m_strTab;
    CGame m_game;
    std::string m_strWord;
    // The import count when this tab loaded its dictionary, or imported.
    std::string m_strGeneration;

};

#endif  // VREL_WEB_WEB_WINDOW_H_
