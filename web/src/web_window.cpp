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
    explicit SearchProgress(Page& page) : m_page(page) {}
    void ReportCount(int count) override {
        m_page.SetControlText(IDD_SEARCH, IDC_PROGRESS_LINE, FormatText(IDS_SEARCH_PROGRESS, count));
    }

  private:
    Page& m_page;
};

// A journal line: the word a tab stored, a space, and the tab's name. Lines
// of a release before tabs had names hold the word alone.
struct JournalLine {
    std::string word;
    std::string tab;
};

JournalLine ParseJournalLine(const std::string& text) {
    const std::size_t space = text.find(' ');
    return {text.substr(0, space), space == std::string::npos ? "" : text.substr(space + 1)};
}

std::string JournalLineText(const std::string& word, const std::string& tab) { return word + " " + tab; }

}  // namespace

CWebWindow::CWebWindow(WebPlatform& platform, const std::string& tab)
    : m_platform(platform), m_page(platform.GetPage()), m_strTab(tab), m_game(*this) {}

void CWebWindow::Start() {
    m_page.OpenDialog(IDD_LOAD);
    m_game.Dictionary().LoadFromFile();
    // Words confirmed before the tab was closed, or in another tab: the
    // dictionary is then changed, as it was when the tab closed.
    AddJournalWords(m_game.Dictionary());
    m_strGeneration = ReadStoredLine(GenerationPath());
    m_page.CloseDialog(IDD_LOAD);
    m_game.OnOpen();
    m_page.ShowMainWindow();
    FocusStartGame();
}

bool CWebWindow::OnCommand(int id) {
    if (id >= IDC_LETTER_FIRST && id <= IDC_LETTER_LAST) {
        m_game.OnLetter(id - IDC_LETTER_FIRST);
        return true;
    }
    // A command of a disabled control does nothing, as its click would not.
    switch (id) {
        case IDC_START_GAME:
            if (m_game.IsEnabled(GameControl::kStartGame)) m_game.OnStartGame();
            break;
        case IDC_QUIT_GAME:
            if (m_game.IsEnabled(GameControl::kQuitGame)) m_game.OnQuitGame();
            break;
        case IDC_ADD_WORD:
            if (m_game.IsEnabled(GameControl::kAddWord)) m_game.OnAddWord();
            break;
        case IDC_CLEAR:
            if (m_game.IsEnabled(GameControl::kClear)) m_game.OnClear();
            break;
        case IDC_HELP_BUTTON:
            m_page.OpenHelp();
            break;
        case IDC_ABOUT_BUTTON:
            m_page.RunDialog(IDD_ABOUT);
            break;
        case kIdOk:
            m_game.OnExit();
            return false;
        default:
            break;  // Escape and the rest do nothing in the main window
    }
    return true;
}

void CWebWindow::OnWordEdit(const std::string& text) {
    if (!m_game.IsEnabled(GameControl::kWordField)) return;
    std::string upper = text;
    m_platform.UpperCase(upper);  // as the edit control's ES_UPPERCASE
    m_strWord = upper;
    if (upper != text) m_page.SetWordText(upper, false);
    m_game.OnWordChanged();
}

void CWebWindow::WordStored(const std::string& word) { JournalAdd(word); }

// No to the save question: the words added since the load are given up, as
// the program gives them up, and do not come back at the next start. They
// are this tab's and those of tabs closed since; a tab still open keeps its
// own until it saves or is asked itself.
void CWebWindow::SaveDeclined() {
    const std::vector<std::string> open = m_page.OpenTabs();
    JournalDrop([&](const std::string&, const std::string& tab) {
        return tab == m_strTab || std::find(open.begin(), open.end(), tab) == open.end();
    });
}

bool CWebWindow::Export(const std::string& path) {
    return m_game.Dictionary().SaveAs(path, path + ".XXX");
}

void CWebWindow::Import(const std::string& path) {
    // Named as the player's file, not by the page's copy of it.
    const std::string name = path.substr(path.find_last_of('/') + 1);
    const std::string cannotLoad = FormatMessageText(IDS_CANNOT_LOAD, name.c_str());
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
    JournalDrop([](const std::string&, const std::string&) { return true; });
}

void CWebWindow::ShowBoard(const Board& board) {
    for (int i = 0; i < BOARD_CELLS; ++i)
        m_page.SetControlText(kMainWindow, IDC_LETTER_FIRST + i, std::string(1, board.Cell(i)));
}

void CWebWindow::EnableControl(GameControl control, bool enabled) {
    switch (control) {
        case GameControl::kLetters:
            for (int id = IDC_LETTER_FIRST; id <= IDC_LETTER_LAST; ++id)
                m_page.EnableControl(kMainWindow, id, enabled);
            break;
        case GameControl::kWordField: m_page.EnableControl(kMainWindow, IDC_WORD, enabled); break;
        case GameControl::kFoundList: m_page.EnableControl(kMainWindow, IDC_FOUND_LIST, enabled); break;
        case GameControl::kStartGame: m_page.EnableControl(kMainWindow, IDC_START_GAME, enabled); break;
        case GameControl::kQuitGame: m_page.EnableControl(kMainWindow, IDC_QUIT_GAME, enabled); break;
        case GameControl::kClear: m_page.EnableControl(kMainWindow, IDC_CLEAR, enabled); break;
        case GameControl::kAddWord: m_page.EnableControl(kMainWindow, IDC_ADD_WORD, enabled); break;
    }
}

void CWebWindow::ClearFoundList() { m_page.ClearList(kMainWindow, IDC_FOUND_LIST); }

void CWebWindow::AddFoundWord(const std::string& word) {
    m_page.AddListItem(kMainWindow, IDC_FOUND_LIST, word, {});
}

// A change by the program runs the filter, as the edit control's change
// notice runs it in the program.
void CWebWindow::SetWordText(const std::string& text) {
    m_strWord = text;
    m_page.SetWordText(text, true);
    m_game.OnWordChanged();
}

void CWebWindow::RestoreWordText(const std::string& text) {
    m_strWord = text;
    m_page.SetWordText(text, true);
}

void CWebWindow::ShowScoreLine(const std::string& text) {
    m_page.SetControlText(kMainWindow, IDC_SCORE_LINE, text);
}

void CWebWindow::ShowAverageLine(const std::string& text) {
    m_page.SetControlText(kMainWindow, IDC_AVERAGE_LINE, text);
}

void CWebWindow::ShowWarning(const std::string& text) {
    m_platform.ShowMessageBox(text, kAppName, kBoxOk | kBoxIconExclamation);
}

bool CWebWindow::AskYesNo(const std::string& text) {
    return m_platform.ShowMessageBox(text, kAppName, kBoxYesNo | kBoxIconQuestion) == kAnswerYes;
}

void CWebWindow::RunSearch(const CWordDictionary& dictionary, const Board& board,
                           WordList& allWords) {
    m_page.SetControlText(IDD_SEARCH, IDC_PROGRESS_LINE, "");
    m_page.EnableControl(IDD_SEARCH, kIdOk, false);
    m_page.OpenDialog(IDD_SEARCH);
    SearchProgress progress(m_page);
    board.FindAllWords(dictionary, allWords, progress);
    m_page.EnableControl(IDD_SEARCH, kIdOk, true);
    m_page.RunDialog(IDD_SEARCH);
}

// The results list each word with its path on the board, which the page
// draws when the player points at the word.
void CWebWindow::ShowResultsDialog(const WordList& found, const WordList& missed) {
    const Board* board = m_game.GetBoard();
    auto fill = [&](int heading, int headingText, int list, const WordList& words) {
        m_page.SetControlText(IDD_RESULTS, heading,
                             FormatText(headingText, static_cast<int>(words.size())));
        m_page.ClearList(IDD_RESULTS, list);
        for (const std::string& word : words)
            m_page.AddListItem(IDD_RESULTS, list, word,
                               board ? board->TracePath(word) : std::vector<int>{});
    };
    fill(IDC_FOUND_HEADING, IDS_FOUND_HEADING, IDC_FOUND_WORDS, found);
    fill(IDC_MISSED_HEADING, IDS_MISSED_HEADING, IDC_MISSED_LIST, missed);
    m_page.GameOver(found, missed);
    m_page.RunDialog(IDD_RESULTS);
}

void CWebWindow::SaveDictionary(const CWordDictionary& dictionary) {
    m_page.OpenDialog(IDD_SAVE);
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
        JournalDrop([&saving](const std::string& word, const std::string&) {
            return saving.Contains(word);
        });
    m_page.CloseDialog(IDD_SAVE);
}

void CWebWindow::FocusWordField() { m_page.FocusControl(kMainWindow, IDC_WORD); }

void CWebWindow::FocusStartGame() { m_page.FocusControl(kMainWindow, IDC_START_GAME); }

std::string CWebWindow::JournalPath() const { return m_platform.Folder() + "VREL.JNL"; }

std::string CWebWindow::GenerationPath() const { return m_platform.Folder() + "VREL.GEN"; }

void CWebWindow::AddJournalWords(CWordDictionary& dictionary) {
    std::unique_ptr<InputFile> journal = m_platform.OpenForRead(JournalPath(), nullptr);
    if (!journal) return;
    ReadDictionaryLines(*journal, [&dictionary](const DictionaryLine& line) {
        std::string word = ParseJournalLine(line.text).word;
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
    StoredFilesLock lock(m_page);
    // Unreadable storage cannot tell of an import either.
    return lock.Held() ? ReadStoredLine(GenerationPath()) : m_strGeneration;
}

bool CWebWindow::StoreNextGeneration() {
    StoredFilesLock lock(m_page);
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
    if (!JournalDrop([](const std::string&, const std::string&) { return false; },
                     JournalLineText(word, m_strTab)))
        ShowError(FormatMessageText(IDS_CANNOT_SAVE, JournalPath().c_str()));
}

bool CWebWindow::JournalDrop(
    const std::function<bool(const std::string& word, const std::string& tab)>& drop,
    const std::string& append) {
    StoredFilesLock lock(m_page);
    if (!lock.Held()) return false;
    // Read as it is now: another tab may have added its words.
    std::string kept;
    FileError error = FileError::kNone;
    if (std::unique_ptr<InputFile> journal = m_platform.OpenForRead(JournalPath(), &error)) {
        const bool read = ReadDictionaryLines(*journal, [&](const DictionaryLine& line) {
            const JournalLine parsed = ParseJournalLine(line.text);
            if (!parsed.word.empty() && !drop(parsed.word, parsed.tab)) kept += line.text + "\r\n";
        });
        if (!read) return false;
    } else if (error != FileError::kNotFound) {
        return false;
    }
    if (!append.empty()) kept += append + "\r\n";
    return WriteStored(JournalPath(), kept);
}
