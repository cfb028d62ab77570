#include "game.h"

#include <algorithm>

#include "texts.h"

int Percent(std::int32_t n, std::int32_t total) {
    if (total == 0) return 0;
    return static_cast<int>(static_cast<std::int64_t>(n) * 100 / total);
}

void CGame::Enable(GameControl control, bool enabled) {
    m_enabled[static_cast<int>(control)] = enabled;
    m_window.EnableControl(control, enabled);
}

void CGame::EnterPlay(bool inPlay) {
    Enable(GameControl::kLetters, inPlay);
    Enable(GameControl::kWordField, inPlay);
    Enable(GameControl::kFoundList, inPlay);
    Enable(GameControl::kStartGame, !inPlay);
    Enable(GameControl::kQuitGame, inPlay);
}

void CGame::OnOpen() { EnterPlay(false); }

void CGame::OnStartGame() {
    EnterPlay(true);
    if (!m_pBoard) m_pBoard = std::make_unique<Board>();
    m_pBoard->DealBoard(m_dictionary);
    m_window.ShowBoard(*m_pBoard);
    m_window.ClearFoundList();
    m_nFound = 0;
    m_foundWords.clear();
    m_window.RunSearch(m_dictionary, *m_pBoard, m_allWords);
    UpdateScoreLine();
    m_nTotalPossible += static_cast<std::int32_t>(m_allWords.size());
    m_window.FocusWordField();
}

void CGame::OnLetter(int cell) {
    if (!IsEnabled(GameControl::kLetters) || !m_pBoard || cell < 0 || cell >= BOARD_CELLS) return;
    const char letter = m_pBoard->Cell(cell);
    if (letter == '\0') return;
    const std::string candidate = m_window.GetWordText() + letter;
    if (WordFieldTakes(candidate))
        m_window.SetWordText(candidate);  // the filter runs on the change
    else
        m_window.Beep();
}

void CGame::OnWordChanged() {
    if (WordFieldTakes(m_window.GetWordText())) {
        m_strLastTraceable = m_window.GetWordText();
    } else {
        m_window.Beep();
        m_window.RestoreWordText(m_strLastTraceable);
    }
    const std::string now = m_window.GetWordText();
    Enable(GameControl::kClear, !now.empty());
    Enable(GameControl::kAddWord, now.size() >= static_cast<std::size_t>(MIN_WORD_LEN));
}

void CGame::OnClear() {
    m_window.SetWordText("");
    m_window.FocusWordField();
}

void CGame::OnAddWord() {
    m_window.FocusWordField();
    const std::string word = m_window.GetWordText();
    if (word.size() < static_cast<std::size_t>(MIN_WORD_LEN)) {
        m_window.Beep();
        return;
    }
    if (std::find(m_foundWords.begin(), m_foundWords.end(), word) != m_foundWords.end()) {
        m_window.ShowWarning(FormatText(IDS_ALREADY_ENTERED, word.c_str()));
        m_window.SetWordText("");
        return;
    }
    bool stored = false;
    if (!m_dictionary.Contains(word)) {
        if (!m_window.AskYesNo(FormatText(IDS_ASK_VALID_WORD, word.c_str()))) {
            m_window.SetWordText("");
            return;
        }
        stored = m_dictionary.AddWord(word);  // words of seven letters or more are not stored
    }
    m_window.AddFoundWord(word);
    m_foundWords.push_back(word);
    m_window.SetWordText("");
    ++m_nFound;
    UpdateScoreLine();
    if (stored) m_window.WordStored(word);
}

void CGame::OnQuitGame() {
    m_window.SetWordText("");
    ShowResults();
    m_nTotalFound += m_nFound;
    m_window.ShowAverageLine(
        FormatText(IDS_AVERAGE_LINE, Percent(m_nTotalFound, m_nTotalPossible)));
    EnterPlay(false);
    m_window.FocusStartGame();
}

void CGame::OnExit() {
    if (m_dictionary.IsModified()) {
        if (m_window.AskYesNo(LoadText(IDS_ASK_SAVE)))
            m_window.SaveDictionary(m_dictionary);
        else
            m_window.SaveDeclined();
    }
    m_window.QuitHelp();
}

void CGame::UpdateScoreLine() {
    const std::int32_t maximum = static_cast<std::int32_t>(m_allWords.size());
    m_window.ShowScoreLine(
        FormatText(IDS_SCORE_LINE, m_nFound, maximum, Percent(m_nFound, maximum)));
}

void CGame::ShowResults() {
    WordList missed;
    for (const std::string& word : m_allWords) {
        if (std::find(m_foundWords.begin(), m_foundWords.end(), word) == m_foundWords.end())
            missed.push_back(word);
    }
    m_window.ShowResultsDialog(m_foundWords, missed);
}
