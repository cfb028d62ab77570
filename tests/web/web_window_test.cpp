// The page's main window with a fake page: the journal of confirmed words,
// imports, and the rules between tabs that share the browser's stored files.
#include "web_window.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <string>
#include <vector>

#include "editions.h"
#include "resource.h"
#include "test_platform.h"

namespace {

namespace fs = std::filesystem;
using vrel_test::ReadBytes;
using vrel_test::ScratchFolder;
using vrel_test::WriteBytes;

// The browser's storage, which the tabs share, and the tabs open now.
struct Store {
    fs::path folder;
    std::vector<std::string> open;
};

// Makes to hold exactly what from holds, as a sync of the stored files does.
void Mirror(const fs::path& from, const fs::path& to) {
    fs::remove_all(to);
    fs::create_directories(to);
    fs::copy(from, to, fs::copy_options::recursive);
}

// A page that answers message boxes from a script and keeps the board's
// letters; each tab has its own copy of the stored files.
class FakePage : public Page {
  public:
    FakePage(Store& store, fs::path root) : m_store(store), m_root(std::move(root)) {}

    std::deque<int> answers;
    std::vector<std::string> boxes;
    std::string letters = std::string(16, ' ');

    void SetControlText(int dialog, int id, const std::string& text) override {
        if (dialog == IDD_GAME && id >= IDC_LETTER_FIRST && id <= IDC_LETTER_LAST)
            letters[id - IDC_LETTER_FIRST] = text.at(0);
    }
    void EnableControl(int, int, bool) override {}
    void FocusControl(int, int) override {}
    void ClearList(int, int) override {}
    void AddListItem(int, int, const std::string&, const std::vector<int>&) override {}
    void SetWordText(const std::string&, bool) override {}
    void Beep() override {}
    void OpenDialog(int) override {}
    void CloseDialog(int) override {}
    void ShowMainWindow() override {}
    int RunDialog(int) override { return kAnswerOk; }
    int MessageBox(const std::string& text, const std::string&, unsigned) override {
        boxes.push_back(text);
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected box: " << text;
            return kAnswerOk;
        }
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void OpenHelp() override {}
    void GameOver(const std::vector<std::string>&, const std::vector<std::string>&) override {}
    [[noreturn]] void EndProgram(int code) override {
        ADD_FAILURE() << "the program ended with " << code;
        std::abort();
    }
    void Pause(int) override {}
    int Lock() override { return 1; }
    void Unlock(int) override {}
    bool Pull() override {
        Mirror(m_store.folder, m_root);
        return true;
    }
    bool Push() override {
        Mirror(m_root, m_store.folder);
        return true;
    }
    std::vector<std::string> OpenTabs() override { return m_store.open; }

  private:
    Store& m_store;
    fs::path m_root;
};

// A tab of the English edition: its page, its platform and its window,
// started as the page starts it.
class Tab {
  public:
    FakePage page;

    Tab(Store& store, const fs::path& root, const std::string& name)
        : page(store, root),
          m_store(store),
          m_name(name),
          m_platform(*FindEdition("en"), page, root.string() + "/") {
        store.open.push_back(name);
        page.Pull();
        Use();
        m_window = std::make_unique<CWebWindow>(m_platform, name);
        m_window->Start();
    }
    ~Tab() { Platform::Set(nullptr); }

    CWebWindow& Window() {
        Use();
        return *m_window;
    }
    // Starts a game and confirms the word of its first three cells.
    std::string ConfirmWord() {
        Window().OnCommand(IDC_START_GAME);
        const std::string word = page.letters.substr(0, 3);
        Window().OnWordEdit(word);
        page.answers = {kAnswerYes};
        Window().OnCommand(IDC_ADD_WORD);
        return word;
    }
    void Exit(bool save) {
        page.answers = {save ? kAnswerYes : kAnswerNo};
        Window().OnCommand(IDOK_COMMAND);
    }
    // The tab goes without Exit Program, as a closed browser tab.
    void Close() { std::erase(m_store.open, m_name); }

    static constexpr int IDOK_COMMAND = 1;

  private:
    void Use() { Platform::Set(&m_platform); }

    Store& m_store;
    std::string m_name;
    WebPlatform m_platform;
    std::unique_ptr<CWebWindow> m_window;
};

class WebWindow : public ::testing::Test {
  protected:
    WebWindow() {
        store.folder = scratch.Path() + "store";
        fs::create_directories(store.folder / "en");
        WriteBytes((store.folder / "en" / "VREL.DAT").string(), "CAT\r\nDOG\r\n");
    }
    fs::path TabRoot(const std::string& name) const { return scratch.Path() + name; }
    std::string Stored(const std::string& name) const {
        return ReadBytes((store.folder / "en" / name).string());
    }

    ScratchFolder scratch;
    Store store;
};

TEST_F(WebWindow, NoKeepsTheWordsOfATabStillOpenAndDropsThoseOfAClosedOne) {
    Tab a(store, TabRoot("a"), "a");
    const std::string word = a.ConfirmWord();
    EXPECT_EQ(Stored("VREL.JNL"), word + " a\r\n");
    {
        Tab b(store, TabRoot("b"), "b");
        b.Exit(false);
        b.Close();
    }
    EXPECT_EQ(Stored("VREL.JNL"), word + " a\r\n") << "tab a is still open";
    a.Close();
    Tab c(store, TabRoot("c"), "c");
    c.Exit(false);
    EXPECT_EQ(Stored("VREL.JNL"), "");
}

TEST_F(WebWindow, AnImportSurvivesTheSaveOfATabThatLoadedBeforeIt) {
    Tab before(store, TabRoot("before"), "before");
    {
        Tab importer(store, TabRoot("importer"), "importer");
        const std::string file = scratch.File("two.dat");
        WriteBytes(file, "ANT\r\nBEE\r\n");
        importer.Window().Import(file);
        EXPECT_TRUE(importer.page.boxes.empty());
        importer.Close();
    }
    const std::string word = before.ConfirmWord();
    before.Exit(true);
    std::string words = Stored("VREL.DAT");
    for (const std::string& expected : {std::string("ANT"), std::string("BEE"), word})
        EXPECT_NE(words.find(expected + "\r\n"), std::string::npos) << expected << " in " << words;
    EXPECT_EQ(words.find("CAT"), std::string::npos) << "the words from before the import came back";
    EXPECT_EQ(Stored("VREL.JNL"), "");
}

}  // namespace
