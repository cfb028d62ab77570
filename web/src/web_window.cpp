#include "web_window.h"

#include <algorithm>
#include <cstdlib>

#include "dictionary_file.h"
#include "resource.h"
#include "texts.h"

namespace {

// A window of the page: the main window or a dialog, by template number.
constexpr int kMainWindow = IDD_GAME;
// The OK button of a dialog, and the main window's Exit Program.
constexpr int kIdOk = 1;
// The caption of the program's own boxes: its executable's name, Vrel.exe.
constexpr const char* kAppName = "Vrel";

// The searching dialog's progress line. The page draws it as the search
// goes on, which takes a few hundredths of a millisecond: the search does not
// wait for the page (see the ASYNCIFY_REMOVE list in CMakeLists.txt).
class SearchProgress : public ProgressSink {
  public:
    void ReportCount(int count) override {
        page::SetControlText(IDD_SEARCH, IDC_PROGRESS_LINE, FormatText(IDS_SEARCH_PROGRESS, count));
    }
};

}  // namespace

CWebWindow::CWebWindow(WebPlatform& platform) : m_platform(platform), m_game(*this) {}

void CWebWindow::Start() {
    page::OpenDialog(IDD_LOAD);
    m_game.Dictionary().LoadFromFile();
    // Words confirmed before the tab was closed, or in another tab: the
    // dictionary is then changed, as it was when the tab closed.
    AddJournalWords(m_game.Dictionary());
    m_strGeneration = ReadStoredLine(GenerationPath());
    page::CloseDialog(IDD_LOAD);
    EnableGameControls(false);
    page::ShowMainWindow();
    FocusStartGame();
}

bool CWebWindow::OnCommand(int id) {
    if (id >= IDC_LETTER_FIRST && id <= IDC_LETTER_LAST) {
        if (m_bInPlay) OnLetterButton(id);
        return true;
    }
    switch (id) {
        case IDC_START_GAME:
            if (!m_bInPlay) m_game.OnStartGame();
            break;
        case IDC_QUIT_GAME:
            if (m_bInPlay) m_game.OnQuitGame();
            break;
        case IDC_ADD_WORD:
            if (m_bInPlay && m_strWord.size() >= static_cast<std::size_t>(MIN_WORD_LEN))
                OnAddWord();
            break;
        case IDC_CLEAR:
            if (m_bInPlay && !m_strWord.empty()) OnClear();
            break;
        case IDC_HELP_BUTTON:
            page::OpenHelp();
            break;
        case IDC_ABOUT_BUTTON:
            page::RunDialog(IDD_ABOUT);
            break;
        case kIdOk:
            OnExit();
            return false;
        default:
            break;  // Escape and the rest do nothing in the main window
    }
    return true;
}

void CWebWindow::OnWordEdit(const std::string& text) {
    if (!m_bInPlay) return;
    std::string upper = text;
    m_platform.UpperCase(upper);  // as the edit control's ES_UPPERCASE
    m_strWord = upper;
    if (upper != text) page::SetWordText(upper, false);
    OnWordUpdate();
}

void CWebWindow::OnLetterButton(int id) {
    const std::string& letter = m_letters[id - IDC_LETTER_FIRST];
    if (letter.empty()) return;
    const std::string candidate = m_strWord + letter;
    if (m_game.WordFieldTakes(candidate))
        SetWordText(candidate);
    else
        Beep();
}

void CWebWindow::OnAddWord() {
    const std::size_t wordsBefore = m_game.Dictionary().WordCount();
    m_game.OnAddWord();
    // The player confirmed a word the dictionary did not know.
    if (m_game.Dictionary().WordCount() > wordsBefore) JournalAdd(m_game.FoundWords().back());
}

void CWebWindow::OnClear() {
    SetWordText("");
    FocusWordField();
}

void CWebWindow::OnExit() {
    const bool modified = m_game.Dictionary().IsModified();
    m_bSaved = false;
    m_game.OnExit();
    // No to the save question: the words added since the load are given up,
    // as the program gives them up, and do not come back at the next start.
    if (modified && !m_bSaved) {
        const std::vector<std::string> words = m_journalWords;
        JournalDrop([&words](const std::string& word) {
            return std::find(words.begin(), words.end(), word) != words.end();
        });
    }
}

void CWebWindow::OnWordUpdate() {
    if (m_game.WordFieldTakes(m_strWord)) {
        m_strLastTraceable = m_strWord;
    } else {
        Beep();
        m_strWord = m_strLastTraceable;
        page::SetWordText(m_strWord, true);
    }
    page::EnableControl(kMainWindow, IDC_CLEAR, !m_strWord.empty());
    page::EnableControl(kMainWindow, IDC_ADD_WORD,
                        m_strWord.size() >= static_cast<std::size_t>(MIN_WORD_LEN));
}


bool CWebWindow::Export(const std::string& path) {
    return m_game.Dictionary().SaveAs(path, path + ".XXX");
}

void CWebWindow::Import(const std::string& path) {
    const std::string cannotLoad = FormatMessageText(IDS_CANNOT_LOAD, path.c_str());
    CWordDictionary imported;
    std::unique_ptr<InputFile> file = m_platform.OpenForRead(path, nullptr);
    // A file without a single word would leave nothing to play with.
    if (!file || !imported.AddWordsFrom(*file) || imported.WordCount() == 0) {
        ShowError(cannotLoad);
        return;
    }
    file.reset();
    const std::string& folder = m_platform.Folder();
    if (!imported.SaveToFile(folder)) return;
    if (!StoreNextGeneration()) ShowError(FormatMessageText(IDS_CANNOT_SAVE, GenerationPath().c_str()));
    // Loaded from its stored place, so that later saves merge as usual.
    CWordDictionary stored;
    stored.LoadFromFile(folder);
    m_game.Dictionary() = std::move(stored);
    JournalDrop([](const std::string&) { return true; });
    m_journalWords.clear();
}

void CWebWindow::SetControlText(int id, const std::string& text) {
    if (id >= IDC_LETTER_FIRST && id <= IDC_LETTER_LAST) m_letters[id - IDC_LETTER_FIRST] = text;
    page::SetControlText(kMainWindow, id, text);
}

void CWebWindow::EnableGameControls(bool inPlay) {
    m_bInPlay = inPlay;
    for (int id = IDC_LETTER_FIRST; id <= IDC_LETTER_LAST; ++id)
        page::EnableControl(kMainWindow, id, inPlay);
    page::EnableControl(kMainWindow, IDC_WORD, inPlay);
    page::EnableControl(kMainWindow, IDC_FOUND_LIST, inPlay);
    page::EnableControl(kMainWindow, IDC_START_GAME, !inPlay);
    page::EnableControl(kMainWindow, IDC_QUIT_GAME, inPlay);
}

void CWebWindow::ClearFoundList() { page::ClearList(kMainWindow, IDC_FOUND_LIST); }

void CWebWindow::AddFoundWord(const std::string& word) {
    page::AddListItem(kMainWindow, IDC_FOUND_LIST, word);
}

void CWebWindow::SetWordText(const std::string& text) {
    m_strWord = text;
    page::SetWordText(text, true);
    OnWordUpdate();
}

void CWebWindow::ShowScoreLine(const std::string& text) {
    page::SetControlText(kMainWindow, IDC_SCORE_LINE, text);
}

void CWebWindow::ShowAverageLine(const std::string& text) {
    page::SetControlText(kMainWindow, IDC_AVERAGE_LINE, text);
}

void CWebWindow::ShowWarning(const std::string& text) {
    m_platform.ShowMessageBox(text, kAppName, kBoxOk | kBoxIconExclamation);
}

bool CWebWindow::AskYesNo(const std::string& text) {
    return m_platform.ShowMessageBox(text, kAppName, kBoxYesNo | kBoxIconQuestion) == kAnswerYes;
}

void CWebWindow::RunSearch(const CWordDictionary& dictionary, const Board& board,
                           WordList& allWords) {
    page::SetControlText(IDD_SEARCH, IDC_PROGRESS_LINE, "");
    page::EnableControl(IDD_SEARCH, kIdOk, false);
    page::OpenDialog(IDD_SEARCH);
    SearchProgress progress;
    board.FindAllWords(dictionary, allWords, progress);
    page::EnableControl(IDD_SEARCH, kIdOk, true);
    page::RunDialog(IDD_SEARCH);
}

void CWebWindow::ShowResultsDialog(const WordList& found, const WordList& missed) {
    page::SetControlText(IDD_RESULTS, IDC_FOUND_HEADING,
                         FormatText(IDS_FOUND_HEADING, static_cast<int>(found.size())));
    page::ClearList(IDD_RESULTS, IDC_FOUND_WORDS);
    for (const std::string& word : found) page::AddListItem(IDD_RESULTS, IDC_FOUND_WORDS, word);
    page::SetControlText(IDD_RESULTS, IDC_MISSED_HEADING,
                         FormatText(IDS_MISSED_HEADING, static_cast<int>(missed.size())));
    page::ClearList(IDD_RESULTS, IDC_MISSED_LIST);
    for (const std::string& word : missed) page::AddListItem(IDD_RESULTS, IDC_MISSED_LIST, word);
    page::RunDialog(IDD_RESULTS);
}

void CWebWindow::SaveDictionary(const CWordDictionary& dictionary) {
    m_bSaved = true;
    page::OpenDialog(IDD_SAVE);
    // Another tab imported a dictionary since this one loaded: the save would
    // merge the words from before the import back in. The imported one, with
    // the words confirmed since, is saved instead.
    CWordDictionary current;
    const bool imported = StoredGeneration() != m_strGeneration;
    if (imported) {
        current.LoadFromFile(m_platform.Folder());
        AddJournalWords(current);
    }
    const CWordDictionary& saving = imported ? current : dictionary;
    // The journal's words that the saved file now holds are no longer needed.
    if (saving.SaveToFile(m_platform.Folder()))
        JournalDrop([&saving](const std::string& word) { return saving.Contains(word); });
    page::CloseDialog(IDD_SAVE);
}

void CWebWindow::FocusWordField() { page::FocusControl(kMainWindow, IDC_WORD); }

void CWebWindow::FocusStartGame() { page::FocusControl(kMainWindow, IDC_START_GAME); }

std::string CWebWindow::JournalPath() const { return m_platform.Folder() + "VREL.JNL"; }

std::string CWebWindow::GenerationPath() const { return m_platform.Folder() + "VREL.GEN"; }

void CWebWindow::AddJournalWords(CWordDictionary& dictionary) {
    std::unique_ptr<InputFile> journal = m_platform.OpenForRead(JournalPath(), nullptr);
    if (!journal) return;
    ReadDictionaryLines(*journal, [&dictionary](const DictionaryLine& line) {
        std::string word = line.text;
        CWordDictionary::NormalizeWord(word);
        if (dictionary.IsValidWord(word)) dictionary.AddWord(word);
    });
}

std::string CWebWindow::ReadStoredLine(const std::string& path) {
    std::string first;
    if (std::unique_ptr<InputFile> file = m_platform.OpenForRead(path, nullptr))
        ReadDictionaryLines(*file, [&first](const DictionaryLine& line) {
            if (first.empty()) first = line.text;
        });
    return first;
}

std::string CWebWindow::StoredGeneration() {
    StoredFilesLock lock;
    // Unreadable storage cannot tell of an import either.
    return lock.Held() ? ReadStoredLine(GenerationPath()) : m_strGeneration;
}

bool CWebWindow::StoreNextGeneration() {
    StoredFilesLock lock;
    if (!lock.Held()) return false;
    const unsigned long count = std::strtoul(ReadStoredLine(GenerationPath()).c_str(), nullptr, 10);
    const std::string next = std::to_string(count + 1);
    if (!WriteStored(GenerationPath(), next + "\r\n")) return false;
    m_strGeneration = next;
    return true;
}

bool CWebWindow::WriteStored(const std::string& path, const std::string& text) {
    const std::string temporary = path + ".XXX";
    std::unique_ptr<OutputFile> file = m_platform.CreateForWrite(temporary, nullptr);
    if (!file) return false;
    const bool written = file->Write(text.data(), text.size()) && file->Close();
    if (!written) {
        m_platform.RemoveFile(temporary);
        return false;
    }
    return m_platform.MoveOver(temporary, path, nullptr);
}

void CWebWindow::JournalAdd(const std::string& word) {
    m_journalWords.push_back(word);
    if (!JournalDrop([](const std::string&) { return false; }, word))
        ShowError(FormatMessageText(IDS_CANNOT_SAVE, JournalPath().c_str()));
}

bool CWebWindow::JournalDrop(const std::function<bool(const std::string&)>& drop,
                             const std::string& append) {
    StoredFilesLock lock;
    if (!lock.Held()) return false;
    // Read as it is now: another tab may have added its words.
    std::string kept;
    FileError error = FileError::kNone;
    if (std::unique_ptr<InputFile> journal = m_platform.OpenForRead(JournalPath(), &error)) {
        const bool read = ReadDictionaryLines(*journal, [&](const DictionaryLine& line) {
            if (!line.text.empty() && !drop(line.text)) kept += line.text + "\r\n";
        });
        if (!read) return false;
    } else if (error != FileError::kNotFound) {
        return false;
    }
    if (!append.empty()) kept += append + "\r\n";
    return WriteStored(JournalPath(), kept);
}
