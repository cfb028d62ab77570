// Vrel.exe against file faults: a dictionary that cannot be replaced, one held
// open by another program for a moment or for longer, a temporary file left
// behind or held open, a disk that fills during the save. Each test reads the
// box the program shows and checks that VREL.DAT holds either the old or the
// new complete dictionary, never part of one.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
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
        ASSERT_TRUE(m_app.Start()) << m_app.StartError();
        m_main = WaitForDialog(m_app.ProcessId(), kMainWindow);
        ASSERT_TRUE(m_main) << "the main window did not show";
    }

    // Plays a word the dictionary lacks and says Yes to storing it.
    void AddNewWord() {
        const std::string letters = StartGame(m_main);
        ASSERT_EQ(letters.size(), 16u) << "the game did not start";
        m_strAdded = TraceableWord(letters, Known);
        ASSERT_FALSE(m_strAdded.empty()) << "board " << letters;
        const BoxView box = EnterWord(m_main, m_strAdded, kAppCaption);
        ASSERT_TRUE(box.hwnd) << "no question for " << m_strAdded;
        EXPECT_EQ(box.text, "Is \"" + m_strAdded + "\" a valid word?");
        ASSERT_TRUE(AnswerBox(box, IDYES));
    }

    // Exit Program and Yes to saving; the program is then saving.
    void ExitAndSave() {
        PostClick(m_main, kExitProgram);
        const BoxView box = WaitForBox(m_app.ProcessId(), kAppCaption);
        ASSERT_TRUE(box.hwnd) << "no save question";
        ASSERT_EQ(box.text, "You added new words to the dictionary.\n\nSave dictionary?");
        PostClick(box.hwnd, IDYES);
    }

    // The error box of a failed save, closed with OK; the program then ends.
    void ExpectSaveError(const std::string& text) {
        const BoxView box = WaitForBox(m_app.ProcessId(), kErrorCaption);
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
    ASSERT_TRUE(m_app.Start()) << m_app.StartError();
    const BoxView box = WaitForBox(m_app.ProcessId(), kFatalCaption);
    EXPECT_TRUE(box.hwnd) << "no fatal error box";
    EXPECT_EQ(box.text, "Cannot load dictionary file " + m_app.DictionaryPath() + ".");
    EXPECT_TRUE(box.hasIcon);
    EXPECT_FALSE(FindDialog(m_app.ProcessId(), kMainWindow)) << "the main window is visible";
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
    EXPECT_TRUE(WaitUntil("the program to end after saving", [&] {
        error = error || FindBox(m_app.ProcessId(), kErrorCaption) != nullptr;
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

// Another program holds VREL.DAT without sharing for 300 ms as the load
// starts, and again as the save starts: the loading and saving dialogs stay
// up meanwhile, and both succeed.
TEST_F(DictionaryFileFaults, DictionaryHeldForAMomentIsWaitedOutAtStartAndAtSave) {
    m_app.WriteDictionary(m_strOriginal);
    {
        HeldFile held(m_app.DictionaryPath(), GENERIC_READ, OPEN_EXISTING);
        ASSERT_TRUE(held.Held());
        ASSERT_TRUE(m_app.Start()) << m_app.StartError();
        const HWND loading = WaitForDialog(m_app.ProcessId(), kLoadingDialog);
        ASSERT_TRUE(loading) << "no loading dialog";
        Sleep(300);
        EXPECT_TRUE(IsWindowVisible(loading)) << "the loading dialog did not stay up";
    }
    m_main = WaitForDialog(m_app.ProcessId(), kMainWindow);
    ASSERT_TRUE(m_main) << "the main window did not show";
    EXPECT_FALSE(FindBox(m_app.ProcessId(), kFatalCaption));
    ASSERT_NO_FATAL_FAILURE(AddNewWord());

    HeldFile held(m_app.DictionaryPath(), GENERIC_READ, OPEN_EXISTING);
    ASSERT_TRUE(held.Held());
    ASSERT_NO_FATAL_FAILURE(ExitAndSave());
    const HWND saving = WaitForDialog(m_app.ProcessId(), kSavingDialog);
    ASSERT_TRUE(saving) << "no saving dialog";
    Sleep(300);
    EXPECT_TRUE(IsWindowVisible(saving)) << "the saving dialog did not stay up";
    held.Close();
    bool error = false;
    EXPECT_TRUE(WaitUntil("the saving dialog to close", [&] {
        error = error || FindBox(m_app.ProcessId(), kErrorCaption) != nullptr;
        return !IsWindow(saving);
    })) << "the save did not end";
    EXPECT_TRUE(WaitUntil("the program to end after saving", [&] { return !m_app.Running(); }));
    EXPECT_FALSE(error) << "the save reported an error";
    EXPECT_TRUE(m_app.ReadDictionary() == SavedText(kWords, m_strAdded)) << "VREL.DAT not saved";
}

// Held for longer than the program waits (until the program has given up):
// at start-up the fatal box, at the save the error box naming VREL.XXX, each
// after about a second, and VREL.DAT untouched.
TEST_F(DictionaryFileFaults, DictionaryHeldLongerGivesTheUsualBoxesAfterAboutASecond) {
    {
        App app;
        app.WriteDictionary(m_strOriginal);
        HeldFile held(app.DictionaryPath(), GENERIC_READ, OPEN_EXISTING);
        ASSERT_TRUE(held.Held());
        ASSERT_TRUE(app.Start()) << app.StartError();
        ASSERT_TRUE(WaitForDialog(app.ProcessId(), kLoadingDialog)) << "no loading dialog";
        const DWORD start = GetTickCount();
        const BoxView box = WaitForBox(app.ProcessId(), kFatalCaption);
        const DWORD waited = GetTickCount() - start;
        ASSERT_TRUE(box.hwnd) << "no fatal error box";
        EXPECT_EQ(box.text, "Cannot load dictionary file " + app.DictionaryPath() + ".");
        EXPECT_GE(waited, 800u);
        PostClick(box.hwnd, IDOK);
        EXPECT_EQ(app.WaitForExit(), 1);
        held.Close();
        EXPECT_TRUE(app.ReadDictionary() == m_strOriginal) << "VREL.DAT changed";
        std::printf("held at start-up: the fatal box came %lu ms after the loading dialog\n",
                    waited);
    }

    ASSERT_NO_FATAL_FAILURE(Launch());
    ASSERT_NO_FATAL_FAILURE(AddNewWord());
    HeldFile held(m_app.DictionaryPath(), GENERIC_READ, OPEN_EXISTING);
    ASSERT_TRUE(held.Held());
    ASSERT_NO_FATAL_FAILURE(ExitAndSave());
    ASSERT_TRUE(WaitForDialog(m_app.ProcessId(), kSavingDialog)) << "no saving dialog";
    const DWORD start = GetTickCount();
    const BoxView box = WaitForBox(m_app.ProcessId(), kErrorCaption);
    const DWORD waited = GetTickCount() - start;
    ASSERT_TRUE(box.hwnd) << "no error box";
    EXPECT_EQ(box.text, "Cannot save dictionary file " + TemporaryPath() + ".");
    EXPECT_GE(waited, 800u);
    PostClick(box.hwnd, IDOK);
    EXPECT_NE(m_app.WaitForExit(), -1) << "the program did not end after the error";
    held.Close();
    EXPECT_TRUE(m_app.ReadDictionary() == m_strOriginal) << "VREL.DAT changed";
    EXPECT_FALSE(FileExistsW(FromUtf8(TemporaryPath()))) << "VREL.XXX is still there";
    std::printf("held at the save: the error box came %lu ms after the saving dialog\n", waited);
}

// The folder of the small file system that scripts/with-small-disk mounts,
// as a Windows path ending in a backslash; empty without one.
std::string SmallDisk() {
    const char* unixPath = std::getenv("VREL_SMALL_DISK");
    if (!unixPath || unixPath[0] != '/') return {};
    std::string path = std::string("Z:") + unixPath + "/";  // Wine's drive for the root
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

// Fills the disk of the folder with a filler file until only about `room`
// bytes are free; answers the bytes free then, or -1.
long FillLeaving(const std::string& folder, long room) {
    const HANDLE filler = CreateFileA((folder + "FILLER").c_str(), GENERIC_WRITE, 0, nullptr,
                                      CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (filler == INVALID_HANDLE_VALUE) return -1;
    const std::string block(4096, 'F');
    long size = 0;
    DWORD count = 0;
    while (WriteFile(filler, block.data(), static_cast<DWORD>(block.size()), &count, nullptr) &&
           count == block.size())
        size += static_cast<long>(count);
    LARGE_INTEGER end;
    end.QuadPart = size > room ? size - room : 0;
    const bool cut = SetFilePointerEx(filler, end, nullptr, FILE_BEGIN) && SetEndOfFile(filler);
    CloseHandle(filler);
    ULARGE_INTEGER free;
    if (!cut || !GetDiskFreeSpaceExA(folder.c_str(), &free, nullptr, nullptr)) return -1;
    return static_cast<long>(free.QuadPart);
}

// The game's folder on a small file system that fills during the save.
TEST(FullDisk, SaveThatFillsTheDiskKeepsTheDictionary) {
    const std::string disk = SmallDisk();
    if (disk.empty()) GTEST_SKIP() << "no small file system (scripts/with-small-disk mounts one)";
    App app(ProgramPath(), disk);
    // 3,000 words of five letters (18 KB): a word of three is always new.
    std::vector<std::string> words;
    for (int n = 0; words.size() < 3000; ++n) {
        std::string word;
        for (int i = 0, rest = n; i < 5; ++i, rest /= 8) word += static_cast<char>('A' + rest % 8);
        words.push_back(word);
    }
    std::sort(words.begin(), words.end());
    const std::string original = DictionaryText(words);
    app.WriteDictionary(original);
    ASSERT_TRUE(app.Start()) << app.StartError() << " (in " << disk << ")";
    const HWND main = WaitForDialog(app.ProcessId(), kMainWindow);
    ASSERT_TRUE(main) << "the main window did not show";
    const std::string letters = StartGame(main);
    ASSERT_EQ(letters.size(), 16u) << "the game did not start";
    const std::string added = TraceableWord(letters, [](const std::string&) { return false; });
    ASSERT_TRUE(AnswerBox(EnterWord(main, added, kAppCaption), IDYES));

    const long free = FillLeaving(app.Folder(), 4096);
    ASSERT_GE(free, 0) << "cannot fill the disk";
    ASSERT_LT(free, static_cast<long>(original.size()));
    PostClick(main, kExitProgram);
    const BoxView question = WaitForBox(app.ProcessId(), kAppCaption);
    ASSERT_TRUE(question.hwnd) << "no save question";
    PostClick(question.hwnd, IDYES);
    const BoxView box = WaitForBox(app.ProcessId(), kErrorCaption);
    ASSERT_TRUE(box.hwnd) << "no error box";
    EXPECT_EQ(box.text, "Cannot save dictionary file " + app.Folder() + "VREL.XXX.");
    PostClick(box.hwnd, IDOK);
    EXPECT_NE(app.WaitForExit(), -1) << "the program did not end after the error";
    EXPECT_TRUE(app.ReadDictionary() == original) << "VREL.DAT changed";
    EXPECT_FALSE(FileExistsW(FromUtf8(app.Folder() + "VREL.XXX"))) << "VREL.XXX is still there";
    DeleteFileA((app.Folder() + "FILLER").c_str());
    std::printf("full disk: %ld bytes free for %zu bytes of dictionary; the save was refused\n",
                free, original.size() + added.size() + 2);
}

}  // namespace
