// vrel-tool driven as a user drives it: arguments in, output, files and exit
// status out.
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <initializer_list>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "board.h"
#include "dictionary.h"
#include "editions.h"
#include "random.h"
#include "test_platform.h"
#include "tool_process.h"

namespace fs = std::filesystem;

namespace {

struct NullProgress : ProgressSink {
    void ReportCount(int) override {}
};

const char kExampleWords[] =
    "ACT\nATE\nCAT\nCATS\nCOAT\nDATE\nDOG\nEAT\nGOD\nLIP\nRED\nROD\nSEA\nSET\nTEA\nTIDE\nTOAD\n";

class VrelTool : public ToolTest {
  protected:
    // Runs the tool, with input as its standard input when given.
    ToolRun Tool(const std::vector<std::string>& args, const std::string* input = nullptr) {
        return Run(VREL_TOOL, args, input);
    }
};

TEST_F(VrelTool, DealWithoutWordsGivesTheKnownFirstBoard) {
    const ToolRun run = Tool({"deal", "--dict", File("empty.txt", "").string(), "--seed", "1"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "MSQA\nEGOQ\nKAAI\nACVI\ncount 0\n");
}

// Several games follow one another from one seed, with the weights of the file
// as loaded (lower case, indented, CR LF lines all count).
TEST_F(VrelTool, DealFollowsTheEngineOverSeveralGames) {
    const fs::path dict = File("dict.txt",
                               "cat\r\n  Sat\t\r\nrat\r\ntar\r\nstar\r\narts\r\nrats\r\ntsar\r\n"
                               "tact\r\nact\r\nsea\r\neat\r\nate\r\ntea\r\nseat\r\neast\r\n");
    const ToolRun run = Tool({"deal", "--seed", "4242", "--dict", dict.string(), "--games", "3"});
    ASSERT_EQ(run.status, 0) << run.err;

    CWordDictionary words;
    for (const char* w : {"CAT", "SAT", "RAT", "TAR", "STAR", "ARTS", "RATS", "TSAR", "TACT", "ACT",
                          "SEA", "EAT", "ATE", "TEA", "SEAT", "EAST"})
        ASSERT_TRUE(words.AddWord(w));
    SeedRandom(4242);
    std::string expected;
    Board board;
    WordList found;
    NullProgress progress;
    std::size_t totalWords = 0;
    for (int game = 0; game < 3; ++game) {
        if (game > 0) expected += "\n";
        board.DealBoard(words);
        board.FindAllWords(words, found, progress);
        totalWords += found.size();
        for (int row = 0; row < BOARD_SIZE; ++row) {
            for (int column = 0; column < BOARD_SIZE; ++column)
                expected += board.LetterAt(row, column);
            expected += "\n";
        }
        for (const std::string& word : found) expected += word + "\n";
        expected += "count " + std::to_string(found.size()) + "\n";
    }
    EXPECT_GT(totalWords, 0u) << "the seed should give boards with words";
    EXPECT_EQ(run.out, expected);
}

// shown counts, for each word, the games of deal's output that list it.
TEST_F(VrelTool, ShownCountsTheGamesThatShowEachWord) {
    const fs::path dict = File("dict.txt", kExampleWords);
    const std::vector<std::string> games = {"--dict", dict.string(), "--seed", "7", "--games", "40"};
    std::vector<std::string> args = {"deal"};
    args.insert(args.end(), games.begin(), games.end());
    const ToolRun deal = Tool(args);
    args[0] = "shown";
    const ToolRun shown = Tool(args);
    ASSERT_EQ(deal.status, 0) << deal.err;
    ASSERT_EQ(shown.status, 0) << shown.err;

    // Each game of deal's output: four rows, its words, "count N".
    std::map<std::string, int> counts;
    std::vector<int> perBoard;
    std::istringstream lines(deal.out);
    int rowsLeft = 4;
    for (std::string line; std::getline(lines, line);) {
        if (line.empty()) {
            rowsLeft = 4;
        } else if (rowsLeft > 0) {
            --rowsLeft;
        } else if (line.rfind("count ", 0) == 0) {
            perBoard.push_back(std::stoi(line.substr(6)));
        } else {
            ++counts[line];
        }
    }
    ASSERT_EQ(perBoard.size(), 40u);
    std::vector<std::pair<int, std::string>> ranked;
    for (const auto& [word, count] : counts) ranked.emplace_back(-count, word);
    std::sort(ranked.begin(), ranked.end());
    std::string expected;
    for (const auto& [count, word] : ranked) expected += std::to_string(-count) + " " + word + "\n";
    std::sort(perBoard.begin(), perBoard.end());
    expected += "games 40, words " + std::to_string(ranked.size()) + ", median words a board " +
                std::to_string(perBoard[20]) + "\n";
    EXPECT_EQ(shown.out, expected);
}

TEST_F(VrelTool, SolveListsTheWordsInFoundOrder) {
    const fs::path dict = File("dict.txt", kExampleWords);
    const char kExpected[] =
        "CAT\nCATS\nCOAT\nATE\nTEA\nSET\nSEA\nDATE\nDOG\nEAT\nRED\nGOD\nLIP\ncount 13\n";
    ToolRun run = Tool({"solve", "--dict", dict.string(), "CATS", "ODER", "GNIL", "UMPY"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, kExpected);
    // Rows are upper-cased; --dict may come last.
    run = Tool({"solve", "cats", "oDer", "gnil", "umpY", "--dict", dict.string()});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, kExpected);
}

TEST_F(VrelTool, SolveRejectsBadBoards) {
    const std::string dict = File("dict.txt", kExampleWords).string();
    for (const std::vector<std::string>& rows :
         std::vector<std::vector<std::string>>{{"CAT", "ODER", "GNIL", "UMPY"},    // short row
                                               {"CATSO", "ODER", "GNIL", "UMPY"},  // long row
                                               {"CA1S", "ODER", "GNIL", "UMPY"},   // digit
                                               {"CA S", "ODER", "GNIL", "UMPY"},   // space
                                               {"CATS", "ODER", "GNIL"},           // three rows
                                               {"CATS", "ODER", "GNIL", "UMPY", "ABCD"}}) {
        std::vector<std::string> args = {"solve", "--dict", dict};
        args.insert(args.end(), rows.begin(), rows.end());
        const ToolRun run = Tool(args);
        EXPECT_EQ(run.status, 2) << rows[0];
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find("usage:"), std::string::npos) << run.err;
    }
}

// Words from the arguments or from standard input, each answered as the
// board's own CanTrace answers it once upper-cased.
TEST_F(VrelTool, TraceAnswersEachWord) {
    ToolRun run = Tool({"trace", "--board", "cats", "oder", "GNIL", "umpy", "TAC", "cats", "TEAT",
                        "dogs", "E", "YPMUGOCATSREDNIL", ""});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "yes TAC\nyes cats\nno TEAT\nno dogs\nyes E\nyes YPMUGOCATSREDNIL\nno \n");

    // Long words on a board of one letter and two others, the hardest kind.
    const std::string letters = "AAABAAAAAAAABAAA";
    Board board;
    board.SetLetters(letters);
    std::string input, expected;
    for (std::size_t length = 7; length <= 16; ++length) {
        for (std::size_t b = 0; b < length; b += 3) {
            std::string word(length, 'a');
            word[b] = 'b';
            word[length - 1 - b / 2] = 'B';
            input += word + (length % 2 ? "\n" : "\r\n");
            std::string upper = word;
            for (char& c : upper)
                c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            expected += (board.CanTrace(upper) ? "yes " : "no ") + word + "\n";
        }
    }
    run = Tool({"trace", "--board", "AAAB", "AAAA", "AAAA", "BAAA"}, &input);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, expected);
    EXPECT_NE(expected.find("yes"), std::string::npos);
    EXPECT_NE(expected.find("no"), std::string::npos);
}

// Another edition's letters, given in Windows-1252 or UTF-8, answered in
// Windows-1252.
TEST_F(VrelTool, TraceWithAnotherEdition) {
    const ToolRun run = Tool({"trace", "--edition", "de", "--board", "K\xC3\x84SE", "ODER", "GNIL",
                              "UMPY", "K\xC3\x84SE", "k\xE4se", "K\xC4\xC4"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "yes K\xC4SE\nyes k\xE4se\nno K\xC4\xC4\n");
}

TEST_F(VrelTool, TraceRejectsBadBoards) {
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"trace", "CAT"},
             {"trace", "--board", "CATS", "ODER", "GNIL"},
             {"trace", "--board", "CATS", "ODER", "GNIL", "UMP", "CAT"},
             {"trace", "--board", "CATS", "OD-R", "GNIL", "UMPY", "CAT"},
             {"trace", "--board", "CATS", "ODER", "GNIL", "UMPY", "--board", "CATS", "ODER", "GNIL",
              "UMPY"}}) {
        const ToolRun run = Tool(args);
        EXPECT_EQ(run.status, 2) << args.size();
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find("usage:"), std::string::npos) << run.err;
    }
}

TEST_F(VrelTool, CheckReportsEverySkippedLine) {
    const std::string longLine(70, 'x');
    const fs::path dict = File("dict.txt",
                               "cat\n  Dog\t\t\r\nice cream\nox\nfu\xDF\n\n   \nCAT\n"
                               "abcdefg\ncaf\xE9\nsa\"y\x01\n" +
                                   longLine + "\nlast");
    const ToolRun run = Tool({"check", dict.string()});
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_EQ(run.out,
              "line 3: too long: \"ice cream\"\n"
              "line 4: too short: \"ox\"\n"
              "line 6: empty: \"\"\n"
              "line 7: empty: \"\"\n"
              "line 8: repeated: \"CAT\"\n"
              "line 9: too long: \"abcdefg\"\n"
              "line 10: letter outside the alphabet: \"caf\\xE9\"\n"
              "line 11: letter outside the alphabet: \"sa\\\"y\\x01\"\n"
              "line 12: too long: \"" +
                  longLine.substr(0, 60) +
                  "...\"\n"
                  "words loaded: 4\n"
                  "lines skipped: 9\n"
                  "  empty: 2\n"
                  "  too short: 1\n"
                  "  too long: 3\n"
                  "  letter outside the alphabet: 2\n"
                  "  repeated: 1\n");
}

TEST_F(VrelTool, CheckPassesACleanFile) {
    const ToolRun run = Tool({"check", File("dict.txt", "cat\r\ndog\nbird").string()});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("words loaded: 3\nlines skipped: 0\n"), std::string::npos) << run.out;
}

TEST_F(VrelTool, NormalizeWritesTheCanonicalFormStably) {
    const fs::path in = File("in.txt",
                             "dog\n  cat \r\nant\ncab\nox\ncat\nDOVE\r\nbee\x1A"
                             "zzz\n");
    const fs::path out = m_dir / "out.dat";
    ToolRun run = Tool({"normalize", in.string(), out.string()});
    EXPECT_EQ(run.status, 0) << run.err;
    // Buckets in alphabet order, words of a bucket in the order read.
    EXPECT_EQ(ReadFile(out), "ANT\r\nBEE\r\nCAT\r\nCAB\r\nDOG\r\nDOVE\r\n");
    EXPECT_FALSE(fs::exists(out.string() + ".tmp"));

    const fs::path again = m_dir / "again.dat";
    run = Tool({"normalize", out.string(), again.string()});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(ReadFile(again), ReadFile(out));
    // In place over its own input.
    run = Tool({"normalize", in.string(), in.string()});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(ReadFile(in), ReadFile(out));
}

TEST_F(VrelTool, NormalizeReportsAFailedSave) {
    const fs::path in = File("in.txt", "cat\n");
    const ToolRun run = Tool({"normalize", in.string(), (m_dir / "missing" / "out.dat").string()});
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.err.find("Cannot save dictionary file"), std::string::npos) << run.err;
}

TEST_F(VrelTool, BadArgumentsAndUnreadableFilesExitWithTwo) {
    const std::string dict = File("dict.txt", kExampleWords).string();
    const std::string missing = (m_dir / "missing.txt").string();
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"play"},
        {"deal", "--dict", dict},
        {"deal", "--seed", "1"},
        {"deal", "--dict", dict, "--seed"},
        {"deal", "--dict", dict, "--seed", "12x"},
        {"deal", "--dict", dict, "--seed", "-1"},
        {"deal", "--dict", dict, "--seed", "+1"},
        {"deal", "--dict", dict, "--seed", ""},
        {"deal", "--dict", dict, "--seed", "4294967296"},
        {"deal", "--dict", dict, "--seed", "99999999999999999999999"},
        {"deal", "--dict", dict, "--seed", "1", "--seed", "2"},
        {"deal", "--dict", dict, "--seed", "1", "--games", "0"},
        {"deal", "--dict", dict, "--seed", "1", "--games", "two"},
        {"deal", "--dict", dict, "--seed", "1", "extra"},
        {"deal", "--dict", missing, "--seed", "1"},
        {"shown", "--dict", dict, "--seed", "1", "--games", "0"},
        {"solve", "--dict", missing, "CATS", "ODER", "GNIL", "UMPY"},
        {"solve", "CATS", "ODER", "GNIL", "UMPY"},
        {"check"},
        {"check", missing},
        {"check", m_dir.string()},  // a folder opens but cannot be read
        {"check", dict, dict},
        {"normalize", dict},
        {"normalize", missing, (m_dir / "out.dat").string()},
    };
    for (const std::vector<std::string>& args : cases) {
        std::string shown;
        for (const std::string& arg : args) shown += " " + arg;
        const ToolRun run = Tool(args);
        EXPECT_EQ(run.status, 2) << "vrel-tool" << shown;
        EXPECT_NE(run.err, "") << "vrel-tool" << shown;
    }
    EXPECT_FALSE(fs::exists(m_dir / "out.dat"));
    // The largest seed is a seed.
    EXPECT_EQ(Tool({"deal", "--dict", dict, "--seed", "4294967295"}).status, 0);
}

// ---- --edition: the alphabet of another edition's game.

const std::string kGermanAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZ\xC4\xD6\xDC";

// Lower-case Windows-1252 German: käse, öde, fuß, übel, ähre, zäh, ...
const char kGermanWords[] =
    "k\344se\n\366de\nfu\337\n\374bel\n\344hre\nz\344h\nm\374de\nk\374hl\nsee\nt\374r\n"
    "h\366he\nb\344r\nr\374ben\nmal\nleder\nl\366sen\n";

// What `deal` prints for one game, made by the engine itself with the
// alphabet: the board's rows, then its words and count; the rows in rows.
std::string EngineDeal(const std::string& alphabet, const char* lines, unsigned seed,
                       std::string (&rows)[BOARD_SIZE], WordList& found) {
    vrel_test::TestPlatform platform;
    platform.alphabet = alphabet;
    CWordDictionary words;
    std::string line;
    for (const char* c = lines; *c; ++c) {
        if (*c != '\n') {
            line += *c;
            continue;
        }
        CWordDictionary::NormalizeWord(line);
        EXPECT_TRUE(words.AddWord(line)) << line;
        line.clear();
    }
    SeedRandom(seed);
    Board board;
    board.DealBoard(words);
    NullProgress progress;
    board.FindAllWords(words, found, progress);
    std::string expected;
    for (int row = 0; row < BOARD_SIZE; ++row) {
        for (int column = 0; column < BOARD_SIZE; ++column)
            rows[row] += board.LetterAt(row, column);
        expected += rows[row] + "\n";
    }
    for (const std::string& word : found) expected += word + "\n";
    return expected + "count " + std::to_string(found.size()) + "\n";
}

TEST_F(VrelTool, EditionDealAndSolveFollowTheEngineWithItsAlphabet) {
    const fs::path dict = File("dict.txt", kGermanWords);
    const ToolRun deal = Tool({"deal", "--dict", dict.string(), "--seed", "99", "--edition", "de"});
    ASSERT_EQ(deal.status, 0) << deal.err;

    std::string rows[BOARD_SIZE];
    WordList found;
    const std::string expected = EngineDeal(kGermanAlphabet, kGermanWords, 99, rows, found);
    EXPECT_EQ(deal.out, expected);
    EXPECT_NE(expected.find_first_of("\xC4\xD6\xDC"), std::string::npos)
        << "the seed should deal a letter above Z";

    // The same board given back, once as Windows-1252 and once as UTF-8 rows.
    std::string solveExpected;
    for (const std::string& word : found) solveExpected += word + "\n";
    solveExpected += "count " + std::to_string(found.size()) + "\n";
    std::vector<std::string> args = {"--edition", "de", "solve", "--dict", dict.string()};
    args.insert(args.end(), rows, rows + BOARD_SIZE);
    ToolRun solve = Tool(args);
    EXPECT_EQ(solve.status, 0) << solve.err;
    EXPECT_EQ(solve.out, solveExpected);
    for (int row = 0; row < BOARD_SIZE; ++row) {
        std::string utf8;
        for (char c : rows[row]) {
            const unsigned char u = static_cast<unsigned char>(c);
            if (u < 0x80) {
                utf8 += c;
            } else {
                utf8 += static_cast<char>(0xC0 | (u >> 6));
                utf8 += static_cast<char>(0x80 | (u & 0x3F));
            }
        }
        args[5 + static_cast<std::size_t>(row)] = utf8;
    }
    solve = Tool(args);
    EXPECT_EQ(solve.status, 0) << solve.err;
    EXPECT_EQ(solve.out, solveExpected);
}

// Spanish: Ñ is a letter between N and O. Lower-case Windows-1252 words:
// año, niño, caña, peña, baño, sueño, mañana, señor, uña, leña, ñame, ...
const char kSpanishWords[] =
    "a\361o\nni\361o\nca\361a\npe\361a\nba\361o\nsue\361o\nma\361ana\nse\361or\nu\361a\n"
    "le\361a\nda\361o\n\361ame\nrana\nnota\nonce\nojo\nnoria\npan\n";

TEST_F(VrelTool, SpanishDealHasTheLetterBetweenNAndO) {
    const fs::path dict = File("dict.txt", kSpanishWords);
    const ToolRun deal = Tool({"deal", "--dict", dict.string(), "--seed", "1", "--edition", "es"});
    ASSERT_EQ(deal.status, 0) << deal.err;
    std::string rows[BOARD_SIZE];
    WordList found;
    const std::string expected =
        EngineDeal("ABCDEFGHIJKLMN\xD1OPQRSTUVWXYZ", kSpanishWords, 1, rows, found);
    EXPECT_EQ(deal.out, expected);
    EXPECT_TRUE(
        std::any_of(found.begin(), found.end(),
                    [](const std::string& word) { return word.find('\xD1') != std::string::npos; }))
        << "the seed should deal a board with a word with \xD1:\n"
        << deal.out;

    // Saved in the edition's bucket order: N, then Ñ, then O.
    const fs::path out = m_dir / "out.dat";
    const ToolRun run = Tool({"normalize", "--edition", "es", dict.string(), out.string()});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string saved = ReadFile(out);
    EXPECT_LT(saved.find("NORIA"), saved.find("\321AME"));
    EXPECT_LT(saved.find("\321AME"), saved.find("OJO"));
}

TEST_F(VrelTool, EditionNormalizeAndCheckUseItsAlphabet) {
    const fs::path in = File("in.txt", "\366de\nk\344se\nzug\nfu\337\nabend\nstra\337e\n");
    const fs::path out = m_dir / "out.dat";
    ToolRun run = Tool({"normalize", "--edition", "de", in.string(), out.string()});
    EXPECT_EQ(run.status, 0) << run.err;
    // Ö after Z; STRASSE has seven letters.
    EXPECT_EQ(ReadFile(out), "ABEND\r\nFUSS\r\nK\304SE\r\nZUG\r\n\326DE\r\n");
    run = Tool({"check", "--edition", "de", out.string()});
    EXPECT_EQ(run.status, 0) << run.out;
    // English has no letters above Z.
    run = Tool({"check", out.string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find("letter outside the alphabet: 2\n"), std::string::npos) << run.out;
}

TEST_F(VrelTool, EditionMustBeKnownAndGivenOnce) {
    const std::string dict = File("dict.txt", kExampleWords).string();
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"check", dict, "--edition", "xx"},
             {"check", dict, "--edition"},
             {"--edition", "de", "check", dict, "--edition", "de"},
             {"--edition", "de"}}) {
        const ToolRun run = Tool(args);
        EXPECT_EQ(run.status, 2) << args[0] << " " << args[1];
        EXPECT_NE(run.err.find("usage:"), std::string::npos) << run.err;
    }
    EXPECT_EQ(Tool({"check", "--edition", "en", dict}).status, 0);
}

// Each edition's shipped dictionary is in the form the game itself saves: it
// loads with its alphabet without a skipped line, and normalizing it changes
// no byte.
TEST_F(VrelTool, ShippedEditionDictionariesAreCanonical) {
    for (const Edition* edition = kEditions; edition->code; ++edition) {
        const char* code = edition->code;
        const std::string shipped = std::string(VREL_DATA_DIR) + "/" + code + "/VREL.DAT";
        ToolRun run = Tool({"check", "--edition", code, shipped});
        EXPECT_EQ(run.status, 0) << code << ": " << run.out;
        const fs::path copy = m_dir / (std::string(code) + ".dat");
        run = Tool({"normalize", "--edition", code, shipped, copy.string()});
        ASSERT_EQ(run.status, 0) << run.err;
        const std::string original = ReadFile(shipped);
        EXPECT_GT(original.size(), 30000u) << code;
        EXPECT_TRUE(ReadFile(copy) == original) << code << ": normalizing changed its form";
    }
}

}  // namespace
