#include "dictionary_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "dictionary.h"
#include "platform.h"
#include "test_platform.h"
#include "test_words.h"

namespace {

using vrel_test::FileExists;
using vrel_test::Literal;
using vrel_test::ReadBytes;
using vrel_test::RecordedBox;
using vrel_test::ScratchFolder;
using vrel_test::StoredWords;
using vrel_test::TestPlatform;
using vrel_test::WriteBytes;

// ExitProcess throws instead of ending the process, so that a test can look
// at what happened before it.
struct ExitCalled {
    int code;
};
class NonExitingPlatform : public TestPlatform {
  public:
    [[noreturn]] void ExitProcess(int code) override { throw ExitCalled{code}; }
};

// Runs action under a NonExitingPlatform: the exit code it asked for, or -1
// when it returned.
int ExitCodeOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const ExitCalled& exit) {
        return exit.code;
    }
    return -1;
}

class DictionaryFile : public ::testing::Test {
  protected:
    std::string DictPath() const { return folder.File("VREL.DAT"); }
    std::string TempPath() const { return folder.File("VREL.XXX"); }

    // Loads the bytes as VREL.DAT and answers the stored words in file order.
    WordList Load(const std::string& bytes) {
        WriteBytes(DictPath(), bytes);
        CWordDictionary dict;
        dict.LoadFromFile(folder.Path());
        EXPECT_FALSE(dict.IsModified());
        EXPECT_TRUE(platform.boxes.empty());
        return StoredWords(dict);
    }

    RecordedBox SaveErrorBox() const {
        return {"Cannot save dictionary file " + TempPath() + ".", "Vrel:  Error", 0};
    }

    TestPlatform platform;
    ScratchFolder folder;
};

// ---- The reader's rules, each read whole, byte by byte and in odd chunks.

struct ReaderCase {
    const char* name;
    std::string bytes;
    WordList words;
};

std::string Repeat(std::size_t count, char c) { return std::string(count, c); }

std::vector<ReaderCase> ReaderCases() {
    std::string longLines;
    for (std::size_t length :
         {1020u, 1021u, 1022u, 1023u, 1024u, 1025u, 2045u, 2046u, 2047u, 2048u, 4093u, 4096u}) {
        longLines += Repeat(length, 'X') + "CAT\n";
        longLines += Repeat(length, 'x') + " dog\r\n";
    }
    longLines += "CAT" + Repeat(2000, 'X') + "\n";
    longLines += "FIG" + Repeat(2000, ' ') + "Q\n";
    longLines += "EEL\n";
    return {
        {"LineEnds", "ANT\nBEE\r\nCAT\r\nDOG", {"ANT", "BEE", "CAT", "DOG"}},
        {"LoneCrIsAnOrdinaryByte", "ANT\rBEE\rCAT\r\nDOG\n", {"DOG"}},
        {"OneWordEndedByCr", "CAT\r", {"CAT"}},
        {"CtrlZEndsTheFile",
         "ANT\nBEES\x1A"
         "CAT\nDOG\n",
         {"ANT", "BEES"}},
        {"CtrlZFirst",
         "\x1A"
         "CAT\n",
         {}},
        {"CtrlZInsideAWord",
         "ANT\nBE\x1A"
         "E\n",
         {"ANT"}},
        {"CleanedLines", "cat\n\t Dog\t\t\nice cream\nox\nfu\xDF\n", {"CAT", "DOG", "FUSS"}},
        {"BlankLinesAndWhiteSpace", "\n\n   \n\t\r\n \v\fEEL\f\v \r\n\r\n", {"EEL"}},
        {"HighBytesAreNotWhiteSpace",
         "\xA0"
         "ANT\nBEE\xA0\n\x85"
         "CAT\nDOG\n",
         {"DOG"}},
        {"InvalidLinesSkipped",
         "CA T\nC4T\nCO-OP\nDON'T\nAB\nABCDEFG\nOX\nGOOD\nstra\xDF"
         "e\n",
         {"GOOD"}},
        {"DuplicatesKeepFirstPlace", "CAT\nCAB\ncat\nCAD\n  CAB\nCAT\n", {"CAT", "CAB", "CAD"}},
        {"EmptyFile", "", {}},
        {"LongLinesNeverYieldWords", longLines, {"EEL"}},
        {"PaddedWordStillLoads",
         Repeat(5000, ' ') + "cat" + Repeat(5000, ' ') + "\n" + Repeat(3000, '\t') + "DOG" +
             Repeat(3000, '\t') + "\r\n",
         {"CAT", "DOG"}},
        {"LineLongerThanTheReadBuffer",
         Repeat(70000, 'A') + "\nANT\n" + Repeat(70000, ' '),
         {"ANT"}},
        {"CrLfAcrossTheReadBuffer", Repeat(65532, '\n') + "BEE\r\nCAT", {"BEE", "CAT"}},
        {"CtrlZAcrossTheReadBuffer",
         Repeat(65533, '\n') + "ANT\x1A"
                               "CAT\n",
         {"ANT"}},
    };
}

class ReaderRules : public DictionaryFile, public ::testing::WithParamInterface<std::size_t> {};

TEST_P(ReaderRules, Cases) {
    platform.readChunk = GetParam();
    for (const ReaderCase& c : ReaderCases()) EXPECT_EQ(Load(c.bytes), c.words) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Chunks, ReaderRules, ::testing::Values(0u, 1u, 7u));

// A read that fails after some lines were delivered is reported, not taken
// for the end of the file.
TEST(ReadDictionaryLines, ReportsAFailedRead) {
    struct Failing : InputFile {
        int calls = 0;
        long Read(char* buffer, std::size_t) override {
            if (++calls > 1) return -1;
            buffer[0] = 'C';
            buffer[1] = '\n';
            return 2;
        }
    } file;
    std::vector<std::string> lines;
    EXPECT_FALSE(
        ReadDictionaryLines(file, [&](const DictionaryLine& line) { lines.push_back(line.text); }));
    EXPECT_EQ(lines, std::vector<std::string>{"C"});
}

// ---- The reader against the plainest one: the lines one by one, each
// normalised and offered to AddWord.

// Hands out bytes in pieces of the given sizes, in turn; then fails if asked.
class PiecewiseFile : public InputFile {
  public:
    PiecewiseFile(std::string bytes, std::vector<std::size_t> pieces, bool failAtEnd = false)
        : m_bytes(std::move(bytes)), m_pieces(std::move(pieces)), m_bFailAtEnd(failAtEnd) {}
    long Read(char* buffer, std::size_t size) override {
        if (m_nPosition == m_bytes.size() && m_bFailAtEnd) return -1;
        std::size_t count = std::min({size, m_bytes.size() - m_nPosition, m_pieces[m_nRead]});
        m_nRead = (m_nRead + 1) % m_pieces.size();
        std::copy_n(m_bytes.data() + m_nPosition, count, buffer);
        m_nPosition += count;
        return static_cast<long>(count);
    }

  private:
    std::string m_bytes;
    std::vector<std::size_t> m_pieces;
    bool m_bFailAtEnd;
    std::size_t m_nPosition = 0, m_nRead = 0;
};

void ExpectSameDictionary(const CWordDictionary& actual, const CWordDictionary& expected,
                          const std::string& context) {
    EXPECT_EQ(StoredWords(actual), StoredWords(expected)) << context;
    for (int i = 0; i < MAX_LETTERS; ++i)
        for (int j = 0; j < MAX_LETTERS; ++j)
            ASSERT_EQ(actual.Bucket(i, j), expected.Bucket(i, j)) << context;
    for (char letter = 'A'; letter <= 'Z'; ++letter)
        ASSERT_EQ(actual.LetterWeight(letter), expected.LetterWeight(letter)) << context;
    EXPECT_EQ(actual.IsModified(), expected.IsModified()) << context;
    for (const std::string& word : StoredWords(expected))
        ASSERT_TRUE(actual.Contains(word)) << word;
}

// Random files of short lines over bytes that every rule turns on, read in
// pieces of every size, some into a dictionary that holds words already.
TEST(AddWordsFrom, MatchesTheLineByLineReader) {
    TestPlatform platform;
    std::mt19937 random(31337);
    auto below = [&](std::size_t n) {
        return std::uniform_int_distribution<std::size_t>(0, n - 1)(random);
    };
    const std::string bytes = std::string("ABCEabce \t\r\n\n\n\v\f\xDF\xE9\x1A\x00", 20) + "1-";
    for (int round = 0; round < 300; ++round) {
        std::string file;
        const std::size_t size = below(4) == 0 ? below(70000) : below(400);
        while (file.size() < size) {
            if (below(8) == 0) {
                file += std::string(below(9), "AB \t"[below(4)]);
            } else {
                file += bytes[below(bytes.size() - (round % 3 == 0 ? 0 : 1))];  // Ctrl-Z rarely
            }
        }
        std::vector<std::size_t> pieces;
        for (int i = 0; i < 5; ++i) pieces.push_back(1 + below(i % 2 ? 9 : 5000));

        CWordDictionary expected, actual;
        if (round % 4 == 0)
            for (CWordDictionary* dict : {&expected, &actual})
                for (const char* word : {"ABC", "CAB", "ABCE", "BEE"}) dict->AddWord(word);
        PiecewiseFile lines(file, {file.size() + 1});
        ASSERT_TRUE(ReadDictionaryLines(lines, [&](const DictionaryLine& line) {
            if (line.TooLong()) return;
            std::string word = line.text;
            CWordDictionary::NormalizeWord(word);
            expected.AddWord(word);
        }));
        PiecewiseFile pieceByPiece(file, pieces);
        EXPECT_TRUE(actual.AddWordsFrom(pieceByPiece));
        ExpectSameDictionary(actual, expected, "round " + std::to_string(round));
    }
}

// The words before a failed read are stored; the unfinished line is not.
TEST(AddWordsFrom, FailedReadKeepsTheWordsBeforeIt) {
    TestPlatform platform;
    CWordDictionary dict;
    PiecewiseFile file("ANT\nBEE\r\nCAT", {4}, true);
    EXPECT_FALSE(dict.AddWordsFrom(file));
    EXPECT_EQ(StoredWords(dict), (WordList{"ANT", "BEE"}));
    EXPECT_TRUE(dict.IsModified());
}

TEST_F(DictionaryFile, LoadClearsTheModifiedFlag) {
    WriteBytes(DictPath(), "CAT\r\n");
    CWordDictionary dict;
    dict.AddWord("DOG");
    ASSERT_TRUE(dict.IsModified());
    dict.LoadFromFile(folder.Path());
    EXPECT_FALSE(dict.IsModified());
    EXPECT_EQ(StoredWords(dict), (WordList{"CAT", "DOG"}));
    EXPECT_EQ(dict.LetterWeight('C'), 2);
}

// ---- The saved file.

TEST_F(DictionaryFile, SaveWritesBucketsInAlphabetOrderWithCrLf) {
    CWordDictionary dict;
    for (const char* word : {"DOG", "CAT", "CAB", "ANT", "ZOO", "CAD", "ACE", "ABBA", "ABCDEF"})
        dict.AddWord(word);
    dict.SaveToFile(folder.Path());
    const std::string expected =
        "ABBA\r\nABCDEF\r\nACE\r\nANT\r\nCAT\r\nCAB\r\nCAD\r\nDOG\r\nZOO\r\n";
    const std::string bytes = ReadBytes(DictPath());
    EXPECT_EQ(bytes, expected);
    EXPECT_EQ(bytes.size(), 4u + 6 + 3 * 7 + 9 * 2);
    EXPECT_FALSE(FileExists(TempPath()));
    EXPECT_TRUE(platform.boxes.empty());
    EXPECT_TRUE(dict.IsModified());  // saving does not clear it
}

TEST_F(DictionaryFile, SaveOfEmptyDictionaryIsEmptyFile) {
    WriteBytes(DictPath(), "OLD\r\n");
    CWordDictionary dict;
    dict.SaveToFile(folder.Path());
    EXPECT_TRUE(FileExists(DictPath()));
    EXPECT_EQ(ReadBytes(DictPath()), "");
}

TEST_F(DictionaryFile, SaveWritesTheCleanedForm) {
    WriteBytes(DictPath(), "  dog \r\ncat\nfu\xDF\nox\n");
    CWordDictionary dict;
    dict.LoadFromFile(folder.Path());
    dict.SaveToFile(folder.Path());
    EXPECT_EQ(ReadBytes(DictPath()), "CAT\r\nDOG\r\nFUSS\r\n");
}

TEST_F(DictionaryFile, RoundTripKeepsBucketsOrderWeightsAndBytes) {
    std::mt19937 random(1234);
    CWordDictionary original;
    while (original.WordCount() < 3000) {
        std::string word;
        const int length = std::uniform_int_distribution<int>(3, 6)(random);
        for (int i = 0; i < length; ++i)
            word += static_cast<char>('A' + std::uniform_int_distribution<int>(0, 25)(random));
        original.AddWord(word);
    }
    original.SaveToFile(folder.Path());
    const std::string saved = ReadBytes(DictPath());

    CWordDictionary loaded;
    loaded.LoadFromFile(folder.Path());
    EXPECT_EQ(loaded.WordCount(), original.WordCount());
    for (int i = 0; i < 26; ++i)
        for (int j = 0; j < 26; ++j)
            ASSERT_EQ(loaded.Bucket(i, j), original.Bucket(i, j)) << i << "," << j;
    for (char letter = 'A'; letter <= 'Z'; ++letter)
        EXPECT_EQ(loaded.LetterWeight(letter), original.LetterWeight(letter)) << letter;

    std::filesystem::create_directories(folder.File("again"));
    const std::string again =
        folder.File("again") + static_cast<char>(std::filesystem::path::preferred_separator);
    loaded.SaveToFile(again);
    EXPECT_EQ(ReadBytes(again + "VREL.DAT"), saved);
    EXPECT_TRUE(platform.boxes.empty());
}

// ---- Failed saves leave VREL.DAT alone.

class FailedSave : public DictionaryFile {
  protected:
    FailedSave() {
        WriteBytes(DictPath(), kOldBytes);
        for (const char* word : {"ANT", "BEE", "CAT", "DOG", "EEL"}) dict.AddWord(word);
    }
    void ExpectOldFileKept() {
        EXPECT_EQ(ReadBytes(DictPath()), kOldBytes);
        EXPECT_FALSE(FileExists(TempPath()));
        ASSERT_EQ(platform.boxes.size(), 1u);
        EXPECT_EQ(platform.boxes[0], SaveErrorBox());
    }

    static constexpr const char* kOldBytes = "OLD\r\nWORDS\r\nKEPT\r\n";
    static constexpr const char* kNewBytes = "ANT\r\nBEE\r\nCAT\r\nDOG\r\nEEL\r\n";
    CWordDictionary dict;
};

class FailedWrite : public FailedSave, public ::testing::WithParamInterface<int> {};

TEST_P(FailedWrite, KeepsOldFileAndRemovesTemporary) {
    platform.failWriteAt = GetParam();
    EXPECT_FALSE(dict.SaveAs(DictPath(), TempPath()));
    ExpectOldFileKept();
}

// The first, a middle and the last of the five words.
INSTANTIATE_TEST_SUITE_P(Words, FailedWrite, ::testing::Values(1, 3, 5));

TEST_F(FailedSave, FailedSyncKeepsOldFile) {
    platform.failSync = true;
    dict.SaveToFile(folder.Path());
    ExpectOldFileKept();
}

TEST_F(FailedSave, FailedCloseKeepsOldFile) {
    platform.failClose = true;
    dict.SaveToFile(folder.Path());
    ExpectOldFileKept();
}

TEST_F(FailedSave, FailedCreateKeepsOldFile) {
    platform.failCreate = true;
    dict.SaveToFile(folder.Path());
    ExpectOldFileKept();
}

TEST_F(FailedSave, FailedReplaceKeepsOldFileAndCompleteTemporary) {
    platform.failReplace = true;
    EXPECT_FALSE(dict.SaveAs(DictPath(), TempPath()));
    EXPECT_EQ(ReadBytes(DictPath()), kOldBytes);
    EXPECT_EQ(ReadBytes(TempPath()), kNewBytes);
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(platform.boxes[0],
              (RecordedBox{"Cannot rename " + TempPath() + " to " + DictPath() + ".",
                           "Vrel:  Error", 0}));
}

TEST_F(FailedSave, SuccessReplacesOldFile) {
    EXPECT_TRUE(dict.SaveAs(DictPath(), TempPath()));
    EXPECT_EQ(ReadBytes(DictPath()), kNewBytes);
    EXPECT_FALSE(FileExists(TempPath()));
    EXPECT_TRUE(platform.boxes.empty());
}

TEST_F(FailedSave, LeftoverTemporaryIsOverwritten) {
    WriteBytes(TempPath(), std::string(10000, 'Z') + "\r\n");
    dict.SaveToFile(folder.Path());
    EXPECT_EQ(ReadBytes(DictPath()), kNewBytes);
    EXPECT_FALSE(FileExists(TempPath()));
    EXPECT_TRUE(platform.boxes.empty());
}

// ---- Words saved by another copy meanwhile, and files held for a moment.

// The dictionary of a running game: loaded from VREL.DAT, one word added.
class SaveAfterLoad : public DictionaryFile {
  protected:
    SaveAfterLoad() {
        WriteBytes(DictPath(), kLoaded);
        dict.LoadFromFile(folder.Path());
        dict.AddWord("CAD");
    }

    static constexpr const char* kLoaded = "CAT\r\nDOG\r\n";
    static constexpr const char* kSaved = "CAT\r\nCAD\r\nDOG\r\n";
    CWordDictionary dict;
};

TEST_F(SaveAfterLoad, KeepsWordsAnotherCopySavedAtTheEndsOfTheirBuckets) {
    WriteBytes(DictPath(), "CAT\r\nCAB\r\nDOG\r\neel\r\nCAB\r\n");
    dict.SaveToFile(folder.Path());
    EXPECT_EQ(ReadBytes(DictPath()), "CAT\r\nCAD\r\nCAB\r\nDOG\r\nEEL\r\n");
    EXPECT_TRUE(platform.boxes.empty());
}

TEST_F(SaveAfterLoad, WritesTheWholeDictionaryWhenTheFileWasRemoved) {
    std::filesystem::remove(DictPath());
    dict.SaveToFile(folder.Path());
    EXPECT_EQ(ReadBytes(DictPath()), kSaved);
    EXPECT_TRUE(platform.boxes.empty());
}

TEST_F(SaveAfterLoad, KeepsAFileThatCannotBeReadAgain) {
    platform.failReadAfter = 0;
    dict.SaveToFile(folder.Path());
    EXPECT_EQ(ReadBytes(DictPath()), kLoaded);
    EXPECT_FALSE(FileExists(TempPath()));
    EXPECT_EQ(platform.boxes, std::vector<RecordedBox>{SaveErrorBox()});
}

TEST_F(SaveAfterLoad, BriefHoldsAreWaitedOut) {
    // Each step finds its file held for 300 ms more.
    platform.lockHeldMs = 300;
    platform.createHeldMs = 600;
    platform.openHeldMs = 900;
    platform.moveHeldMs = 1200;
    EXPECT_TRUE(dict.SaveAs(DictPath(), TempPath()));
    EXPECT_GE(platform.pausedMs, 1200);
    EXPECT_EQ(ReadBytes(DictPath()), kSaved);
    EXPECT_FALSE(FileExists(TempPath()));
    EXPECT_TRUE(platform.boxes.empty());
}

TEST_F(SaveAfterLoad, LongerHoldsGiveTheUsualBoxesAfterAboutASecond) {
    const RecordedBox rename{"Cannot rename " + TempPath() + " to " + DictPath() + ".",
                             "Vrel:  Error", 0};
    struct Case {
        const char* held;
        int TestPlatform::*holdMs;
        int waitedMs;  // about this long, give or take a tenth
        RecordedBox box;
    };
    const Case cases[] = {
        {"lock, by another copy's save", &TestPlatform::lockHeldMs, 2000, SaveErrorBox()},
        {"VREL.XXX", &TestPlatform::createHeldMs, 1000, SaveErrorBox()},
        {"VREL.DAT, to be read", &TestPlatform::openHeldMs, 1000, SaveErrorBox()},
        {"VREL.DAT, to be replaced", &TestPlatform::moveHeldMs, 1000, rename},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.held);
        platform.pausedMs = 0;
        platform.boxes.clear();
        platform.*c.holdMs = 5000;
        EXPECT_FALSE(dict.SaveAs(DictPath(), TempPath()));
        platform.*c.holdMs = 0;
        EXPECT_GE(platform.pausedMs, c.waitedMs * 9 / 10);
        EXPECT_LE(platform.pausedMs, c.waitedMs * 11 / 10);
        EXPECT_EQ(platform.boxes, std::vector<RecordedBox>{c.box});
        EXPECT_EQ(ReadBytes(DictPath()), kLoaded);
        if (c.box == rename)
            EXPECT_EQ(ReadBytes(TempPath()), kSaved);
        else
            EXPECT_FALSE(FileExists(TempPath()));
        std::filesystem::remove(TempPath());
    }
}

// ---- Error boxes and fatal errors.

TEST(ErrorBoxes, ShowErrorReturnsAfterTheBox) {
    TestPlatform platform;
    ShowError("Something failed.");
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(platform.boxes[0], (RecordedBox{"Something failed.", "Vrel:  Error", 0}));
}

TEST(ErrorBoxes, ShowFatalErrorShowsBoxThenExitsWithCode1) {
    NonExitingPlatform platform;
    EXPECT_EQ(ExitCodeOf([] { ShowFatalError("It broke."); }), 1);
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(platform.boxes[0], (RecordedBox{"It broke.", "Vrel:  Fatal Error", 0x30}));
}

TEST(ErrorBoxes, FailedLoadsAreFatal) {
    ScratchFolder folder;
    const std::string path = folder.File("VREL.DAT");
    const RecordedBox expected{"Cannot load dictionary file " + path + ".", "Vrel:  Fatal Error",
                               0x30};
    for (bool fileExists : {false, true}) {
        NonExitingPlatform platform;
        if (fileExists) {
            WriteBytes(path, "ANT\r\nBEE\r\nCAT\r\nDOG\r\n");
            platform.readChunk = 4;
            platform.failReadAfter = 10;  // in the middle of the file
        }
        CWordDictionary dict;
        const int code = ExitCodeOf([&] { dict.LoadFromFile(folder.Path()); });
        EXPECT_EQ(code, 1) << "file exists: " << fileExists;
        ASSERT_EQ(platform.boxes.size(), 1u);
        EXPECT_EQ(platform.boxes[0], expected);
    }
}

TEST(ErrorBoxes, LoadWaitsOutABriefHoldAndALongerOneIsFatal) {
    ScratchFolder folder;
    const std::string path = folder.File("VREL.DAT");
    WriteBytes(path, "CAT\r\n");
    for (int heldMs : {300, 5000}) {
        SCOPED_TRACE(heldMs);
        NonExitingPlatform platform;
        platform.openHeldMs = heldMs;
        CWordDictionary dict;
        const int code = ExitCodeOf([&] { dict.LoadFromFile(folder.Path()); });
        if (heldMs < 1000) {
            EXPECT_EQ(code, -1);
            EXPECT_TRUE(dict.Contains("CAT"));
            EXPECT_TRUE(platform.boxes.empty());
        } else {
            EXPECT_EQ(code, 1);
            const RecordedBox fatal{"Cannot load dictionary file " + path + ".",
                                    "Vrel:  Fatal Error", 0x30};
            EXPECT_EQ(platform.boxes, std::vector<RecordedBox>{fatal});
            EXPECT_GE(platform.pausedMs, 900);
            EXPECT_LE(platform.pausedMs, 1100);
        }
    }
}

// Real process exits: the exit code and the message on stderr.
using DictionaryFileDeathTest = DictionaryFile;

TEST_F(DictionaryFileDeathTest, ShowFatalErrorExitsWithCode1) {
    platform.echoBoxes = true;
    EXPECT_EXIT(ShowFatalError("It broke."), ::testing::ExitedWithCode(1),
                Literal("Vrel:  Fatal Error: It broke."));
}

TEST_F(DictionaryFileDeathTest, MissingFileIsFatal) {
    platform.echoBoxes = true;
    CWordDictionary dict;
    EXPECT_EXIT(dict.LoadFromFile(folder.Path()), ::testing::ExitedWithCode(1),
                Literal("Vrel:  Fatal Error: Cannot load dictionary file " + DictPath() + "."));
}

TEST_F(DictionaryFileDeathTest, ReadErrorIsFatal) {
    WriteBytes(DictPath(), "ANT\r\nBEE\r\nCAT\r\nDOG\r\n");
    platform.echoBoxes = true;
    platform.readChunk = 4;
    platform.failReadAfter = 10;
    CWordDictionary dict;
    EXPECT_EXIT(dict.LoadFromFile(folder.Path()), ::testing::ExitedWithCode(1),
                Literal("Vrel:  Fatal Error: Cannot load dictionary file " + DictPath() + "."));
}

#ifndef _WIN32
// The native POSIX platform prints its boxes to stderr.
TEST(NativeDeathTest, MissingFileIsFatal) {
    ScratchFolder folder;
    CWordDictionary dict;
    EXPECT_EXIT(dict.LoadFromFile(folder.Path()), ::testing::ExitedWithCode(1),
                Literal("Vrel:  Fatal Error: Cannot load dictionary file " +
                        folder.File("VREL.DAT") + "."));
}
#endif

}  // namespace
