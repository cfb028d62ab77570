// Vrel.exe against file faults: a dictionary that cannot be replaced, one held
// open by another program, a temporary file left behind or held open. Each
// test reads the box the program shows and checks that VREL.DAT holds either
// the old or the new complete dictionary, never part of one.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "dictionary.h"
#include "driver.h"

namespace {

using namespace e2e;

constexpr char kAppCaption[] = "Vrel";
constexpr char kErrorCaption[] = "Vrel:  Error";
constexpr char kFatalCaption[] = "Vrel:  Fatal Error";

// Sorted, so already in the order in which the program writes its buckets.
const std::vector<std::string> kWords = {
    "ACE",  "ANT",  "ARE", "ATE",  "EAR", "EAST", "EAT", "NEST", "NET", "OATS", "ONE",  "RAT",
    "REST", "ROSE", "SEA", "SEAT", "SET", "STAR", "TAR", "TEA",  "TEN", "TOE",  "TONE", "TREE"};

bool Known(const std::string& word) {
    return std::find(kWords.begin(), kWords.end(), word) != kWords.end();
}

// A file held open without sharing, as another program might, until the end
// of the test.
class HeldFile {
  public:
    HeldFile(const std::string& path, DWORD access, DWORD disposition)
        : m_hFile(CreateFileA(path.c_str(), access, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL,
                              nullptr)) {}
    ~HeldFile() { Close(); }
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;
    bool Held() const { return m_hFile != INVALID_HANDLE_VALUE; }
    void Close() {
        if (Held()) CloseHandle(m_hFile);
        m_hFile = INVALID_HANDLE_VALUE;
    }

  private:
    HANDLE m_hFile;
};

class DictionaryFileFaults : public ::testing::Test {
  protected:
    std::string TemporaryPath() const { return m_app.Folder() + "VREL.XXX"; }

    std::string ReadTemporary() const {
        return ReadFileW(FromUtf8(TemporaryPath()));  // the folder is plain ASCII
    }

    void Launch() {
        m_app.WriteDictionary(m_strOriginal);
        ASSERT_TRUE(m_app.Start()) << "cannot start Vrel.exe";
        m_main = m_app.WaitForDialog(kMainWindow, 30000);
        ASSERT_TRUE(m_main) << "the main window did not show";
    }

    // Plays a word the dictionary lacks and says Yes to storing it.
    void AddNewWord() {
        const std::string letters = StartGameOf(m_app.ProcessId(), m_main);
        ASSERT_EQ(letters.size(), 16u) << "the game did not start";
        m_strAdded = TraceableWord(letters, Known);
        ASSERT_FALSE(m_strAdded.empty()) << "board " << letters;
        const BoxView box = AddWordOf(m_app.ProcessId(), m_main, m_strAdded, kAppCaption);
        ASSERT_TRUE(box.hwnd) << "no question for " << m_strAdded;
        EXPECT_EQ(box.text, "Is \"" + m_strAdded + "\" a valid word?");
        ASSERT_TRUE(AnswerBox(box, IDYES));
    }

    // Exit Program and Yes to saving; the program is then saving.
    void ExitAndSave() {
        PostClick(m_main, kExitProgram);
        const BoxView box = m_app.WaitForBox(kAppCaption);
        ASSERT_TRUE(box.hwnd) << "no save question";
        ASSERT_EQ(box.text, "You added new words to the dictionary.\n\nSave dictionary?");
        PostClick(box.hwnd, IDYES);
    }

    // The error box of a failed save, closed with OK; the program then ends.
    void ExpectSaveError(const std::string& text) {
        const BoxView box = m_app.WaitForBox(kErrorCaption);
        ASSERT_TRUE(box.hwnd) << "no error box";
        EXPECT_EQ(box.text, text);
        EXPECT_EQ(box.buttons, std::vector<int>{IDOK});
        EXPECT_FALSE(box.hasIcon);
        PostClick(box.hwnd, IDOK);
        EXPECT_NE(m_app.WaitForExit(), -1) << "the program did not end after the error";
    }

    App m_app;
    HWND m_main = nullptr;
    const std::string m_strOriginal = DictionaryText(kWords);
    std::string m_strAdded;
};

TEST_F(DictionaryFileFaults, ReadOnlyDictionaryStaysAndTheNewOneWaitsInTheTemporaryFile) {
    ASSERT_NO_FATAL_FAILURE(Launch());
    ASSERT_NO_FATAL_FAILURE(AddNewWord());
    ASSERT_TRUE(SetFileAttributesA(m_app.DictionaryPath().c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_NO_FATAL_FAILURE(ExitAndSave());
    ExpectSaveError("Cannot rename " + TemporaryPath() + " to " + m_app.DictionaryPath() + ".");

    EXPECT_TRUE(m_app.ReadDictionary() == m_strOriginal) << "VREL.DAT changed";
    const std::string temporary = ReadTemporary();
    EXPECT_TRUE(temporary == SavedText(kWords, m_strAdded))
        << "VREL.XXX does not hold the new dictionary (" << temporary.size() << " bytes)";
}

TEST_F(DictionaryFileFaults, DictionaryHeldOpenByAnotherProgramIsFatalAtStart) {
    m_app.WriteDictionary(m_strOriginal);
    HeldFile held(m_app.DictionaryPath(), GENERIC_READ, OPEN_EXISTING);
    ASSERT_TRUE(held.Held());
    ASSERT_TRUE(m_app.Start());
    const BoxView box = m_app.WaitForBox(kFatalCaption, 30000);
    EXPECT_TRUE(box.hwnd) << "no fatal error box";
    EXPECT_EQ(box.text, "Cannot load dictionary file " + m_app.DictionaryPath() + ".");
    EXPECT_TRUE(box.hasIcon);
    EXPECT_FALSE(m_app.FindDialog(kMainWindow)) << "the main window is visible";
    if (box.hwnd) PostClick(box.hwnd, IDOK);
    EXPECT_EQ(m_app.WaitForExit(), 1);
    held.Close();
    EXPECT_TRUE(m_app.ReadDictionary() == m_strOriginal) << "VREL.DAT changed";
}

TEST_F(DictionaryFileFaults, TemporaryFileLeftFromAnEarlierRunIsReplacedAndGone) {
    // Longer than the new dictionary, so a file that was not emptied shows.
    const std::string junk = DictionaryText(kWords) + std::string(4000, 'J') + "\r\n";
    ASSERT_TRUE(WriteFileW(FromUtf8(TemporaryPath()), junk));
    ASSERT_NO_FATAL_FAILURE(Launch());
    ASSERT_NO_FATAL_FAILURE(AddNewWord());
    ASSERT_NO_FATAL_FAILURE(ExitAndSave());

    bool error = false;
    EXPECT_TRUE(WaitUntil([&] {
        error = error || m_app.FindBox(kErrorCaption) != nullptr;
        return !m_app.Running();
    })) << "the program did not end after saving";
    EXPECT_FALSE(error) << "the save reported an error";
    const std::string saved = m_app.ReadDictionary();
    EXPECT_TRUE(saved == SavedText(kWords, m_strAdded))
        << "VREL.DAT does not hold the new dictionary (" << saved.size() << " bytes)";
    EXPECT_FALSE(FileExistsW(FromUtf8(TemporaryPath()))) << "VREL.XXX is still there";
}

TEST_F(DictionaryFileFaults, TemporaryFileHeldOpenFailsTheSaveAndKeepsTheDictionary) {
    ASSERT_NO_FATAL_FAILURE(Launch());
    ASSERT_NO_FATAL_FAILURE(AddNewWord());
    HeldFile held(TemporaryPath(), GENERIC_WRITE, CREATE_ALWAYS);
    ASSERT_TRUE(held.Held());
    ASSERT_NO_FATAL_FAILURE(ExitAndSave());
    ExpectSaveError("Cannot save dictionary file " + TemporaryPath() + ".");
    held.Close();
    EXPECT_TRUE(m_app.ReadDictionary() == m_strOriginal) << "VREL.DAT changed";
}

}  // namespace
