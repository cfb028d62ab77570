// vrel-tool: checks and rewrites dictionary files, and runs the deal and the
// board search from the command line. Files are read exactly as the game reads
// VREL.DAT and written exactly as the game saves it.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "board.h"
#include "dictionary.h"
#include "dictionary_file.h"
#include "editions.h"
#include "platform.h"
#include "random.h"
#include "word_list.h"

namespace {

constexpr int kExitOk = 0;
constexpr int kExitSkipped = 1;   // check: lines were skipped; normalize: save failed
constexpr int kExitBadUsage = 2;  // bad arguments, or a file that cannot be read
constexpr std::uint64_t kMaxGames = 1000000;
constexpr std::size_t kShownBytes = 60;  // of a skipped line's text

const char kUsage[] =
    "usage: vrel-tool deal --dict FILE --seed N [--games K]\n"
    "       vrel-tool shown --dict FILE --seed N [--games K]\n"
    "       vrel-tool solve --dict FILE ROW1 ROW2 ROW3 ROW4\n"
    "       vrel-tool trace --board ROW1 ROW2 ROW3 ROW4 [WORD...]\n"
    "       vrel-tool check FILE\n"
    "       vrel-tool normalize IN OUT\n"
    "\n"
    "Dictionary files are read exactly as the game reads VREL.DAT.\n"
    "\n"
    "  --edition CODE  with any command: work as that edition's game does, with\n"
    "             its alphabet: en (the default), de, sv, da, nb, nl, es, fr,\n"
    "             it or pt. Files and output are Windows-1252 text; rows and\n"
    "             traced words may also be UTF-8\n"
    "\n"
    "  deal       seed the random source with N (0 to 4294967295), then K times\n"
    "             (default 1) deal a board from the letter weights of FILE and\n"
    "             find its words; prints each board as four rows, its words in\n"
    "             the order found and \"count N\", a blank line between boards\n"
    "  shown      deals as deal does and lists every word the games show, as\n"
    "             \"N WORD\" where N is the number of games that show it, the\n"
    "             most-shown first (then in byte order), then a line with the\n"
    "             number of games, of words and the median words a board\n"
    "  solve      prints the words of FILE on the board given as four rows of\n"
    "             four letters (top row first), then \"count N\"\n"
    "  trace      for each WORD, or each line of standard input when no WORD is\n"
    "             given, prints \"yes WORD\" when it can be traced on the board,\n"
    "             upper-cased as the game's word field takes it, else \"no WORD\"\n"
    "  check      lists every line of FILE that loading skips, with its number\n"
    "             and the reason, then a summary; exit status 0 when no line is\n"
    "             skipped, 1 when some are\n"
    "  normalize  loads IN and writes it to OUT in the game's own format (words\n"
    "             bucket by bucket, CR LF after each) through OUT.tmp\n"
    "\n"
    "Exit status 2: bad arguments or board, or a file that cannot be opened or\n"
    "read.\n";

int BadUsage(const std::string& message) {
    std::fprintf(stderr, "vrel-tool: %s\n%s", message.c_str(), kUsage);
    return kExitBadUsage;
}

// The native platform, with the string table of the chosen edition; its
// message boxes become lines on stderr so that the tool never waits for a
// click.
class ConsolePlatform : public PlatformWrapper {
  public:
    explicit ConsolePlatform(Platform& native) : PlatformWrapper(native) {}

    void SetEdition(const Edition& edition) { m_pEdition = &edition; }

    std::string LoadText(int id) override {
        const char* text = m_pEdition->Text(id);
        return text ? text : "";
    }
    int ShowMessageBox(const std::string& text, const std::string&, unsigned type) override {
        std::fprintf(stderr, "vrel-tool: %s\n", text.c_str());
        return (type & 0x0F) == kBoxYesNo ? kAnswerNo : kAnswerOk;
    }

  private:
    const Edition* m_pEdition = kEditions;
};

// Opens the file; on failure says why on stderr and answers null.
std::unique_ptr<InputFile> Open(const std::string& path) {
    std::unique_ptr<InputFile> file = Platform::Get().OpenForRead(path);
    if (!file) std::fprintf(stderr, "vrel-tool: cannot open %s\n", path.c_str());
    return file;
}

bool ReadFailed(const std::string& path) {
    std::fprintf(stderr, "vrel-tool: cannot read %s\n", path.c_str());
    return false;
}

// Reads every line of the file; on failure says why on stderr and answers false.
bool ReadLines(const std::string& path, const std::function<void(const DictionaryLine&)>& onLine) {
    std::unique_ptr<InputFile> file = Open(path);
    return file && (ReadDictionaryLines(*file, onLine) || ReadFailed(path));
}

// Loads the file as the game's load does.
bool LoadDictionary(const std::string& path, CWordDictionary& dictionary) {
    std::unique_ptr<InputFile> file = Open(path);
    return file && (dictionary.AddWordsFrom(*file) || ReadFailed(path));
}

// A decimal number from 0 to max, digits only.
bool ParseNumber(std::string_view text, std::uint64_t max, std::uint64_t& value) {
    if (text.empty()) return false;
    value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        const std::uint64_t digit = static_cast<std::uint64_t>(c - '0');
        if (value > (max - digit) / 10) return false;
        value = value * 10 + digit;
    }
    return true;
}

struct NullProgress : ProgressSink {
    void ReportCount(int) override {}
};

// The found words, one a line, then "count N".
void AppendWords(const WordList& words, std::string& out) {
    for (const std::string& word : words) out += word + "\n";
    out += "count " + std::to_string(words.size()) + "\n";
}

// Writes the output; a failed write counts as a file that cannot be written.
int Emit(const std::string& out, int status) {
    if (std::fwrite(out.data(), 1, out.size(), stdout) != out.size() || std::fflush(stdout) != 0) {
        std::fprintf(stderr, "vrel-tool: cannot write the output\n");
        return kExitBadUsage;
    }
    return status;
}

// Takes "--name VALUE" at args[i]; false when it is not that option.
bool TakeOption(const std::vector<std::string>& args, std::size_t& i, const char* name,
                std::string& value, bool& seen, std::string& error) {
    if (args[i] != name) return false;
    if (seen)
        error = std::string(name) + " given twice";
    else if (i + 1 >= args.size())
        error = std::string(name) + " needs a value";
    else
        value = args[++i];
    seen = true;
    return true;
}

// Parses the arguments of deal and shown, loads the dictionary, seeds the
// random source and deals the games, handing each board with its words to
// onGame; the exit status.
int DealGames(const std::string& command, const std::vector<std::string>& args,
              const std::function<void(const Board&, const WordList&)>& onGame) {
    std::string dictPath, seedText, gamesText;
    bool haveDict = false, haveSeed = false, haveGames = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string error;
        if (!TakeOption(args, i, "--dict", dictPath, haveDict, error) &&
            !TakeOption(args, i, "--seed", seedText, haveSeed, error) &&
            !TakeOption(args, i, "--games", gamesText, haveGames, error))
            error = "unexpected argument \"" + args[i] + "\"";
        if (!error.empty()) return BadUsage(command + ": " + error);
    }
    if (!haveDict || !haveSeed) return BadUsage(command + " needs --dict FILE and --seed N");
    std::uint64_t seed = 0, games = 1;
    if (!ParseNumber(seedText, UINT32_MAX, seed))
        return BadUsage(command + ": the seed must be a number from 0 to 4294967295, not \"" +
                        seedText + "\"");
    if (haveGames && (!ParseNumber(gamesText, kMaxGames, games) || games == 0))
        return BadUsage(command + ": the number of games must be from 1 to " +
                        std::to_string(kMaxGames) + ", not \"" + gamesText + "\"");

    CWordDictionary dictionary;
    if (!LoadDictionary(dictPath, dictionary)) return kExitBadUsage;
    SeedRandom(static_cast<std::uint32_t>(seed));
    Board board;
    WordList found;
    NullProgress progress;
    for (std::uint64_t game = 0; game < games; ++game) {
        board.DealBoard(dictionary);
        board.FindAllWords(dictionary, found, progress);
        onGame(board, found);
    }
    return kExitOk;
}

int RunDeal(const std::vector<std::string>& args) {
    std::string out;
    const int status = DealGames("deal", args, [&](const Board& board, const WordList& found) {
        if (!out.empty()) out += "\n";
        for (int row = 0; row < BOARD_SIZE; ++row) {
            for (int column = 0; column < BOARD_SIZE; ++column) out += board.LetterAt(row, column);
            out += "\n";
        }
        AppendWords(found, out);
    });
    return status == kExitOk ? Emit(out, kExitOk) : status;
}

// Every word that the results window shows in the games dealt, with the
// number of games that show it, the most-shown first; then the median number
// of words a board shows.
int RunShown(const std::vector<std::string>& args) {
    std::map<std::string, std::uint64_t> games;
    std::vector<std::size_t> perBoard;
    const int status = DealGames("shown", args, [&](const Board&, const WordList& found) {
        for (const std::string& word : found) ++games[word];
        perBoard.push_back(found.size());
    });
    if (status != kExitOk) return status;
    std::vector<std::pair<std::string, std::uint64_t>> ranked(games.begin(), games.end());
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const auto& a, const auto& b) { return a.second > b.second; });
    std::string out;
    for (const auto& [word, count] : ranked) out += std::to_string(count) + " " + word + "\n";
    std::sort(perBoard.begin(), perBoard.end());
    out += "games " + std::to_string(perBoard.size()) + ", words " +
           std::to_string(ranked.size()) + ", median words a board " +
           std::to_string(perBoard[perBoard.size() / 2]) + "\n";
    return Emit(out, kExitOk);
}

// A row as the game's 8-bit text: Windows-1252 as given, or converted from
// UTF-8 when it is valid UTF-8 of characters up to U+00FF (Windows-1252 and
// Unicode agree on the letters from U+00A0 up).
std::string RowText(const std::string& row) {
    std::string converted;
    for (std::size_t i = 0; i < row.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(row[i]);
        if (c < 0x80) {
            converted += static_cast<char>(c);
        } else if ((c == 0xC2 || c == 0xC3) && i + 1 < row.size() &&
                   (static_cast<unsigned char>(row[i + 1]) & 0xC0) == 0x80) {
            const unsigned char next = static_cast<unsigned char>(row[++i]);
            const unsigned code = ((c & 0x1Fu) << 6) | (next & 0x3Fu);
            if (code < 0xA0) return row;
            converted += static_cast<char>(code);
        } else {
            return row;
        }
    }
    return converted;
}

// The board's rows, upper-cased, as letters of the alphabet row by row;
// answers what is wrong with a row, or "" when nothing is.
std::string ParseBoard(const std::vector<std::string>& rows, const CWordDictionary& dictionary,
                       std::string& letters) {
    letters.clear();
    for (const std::string& argument : rows) {
        std::string row = RowText(argument);
        Platform::Get().UpperCase(row);
        bool good = row.size() == BOARD_SIZE;
        for (char c : row) good = good && dictionary.LetterIndex(c) >= 0;
        if (!good)
            return "a row is four letters of " + dictionary.GetAlphabet() + ", not \"" + row + "\"";
        letters += row;
    }
    return "";
}

int RunSolve(const std::vector<std::string>& args) {
    std::string dictPath;
    bool haveDict = false;
    std::vector<std::string> rows;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string error;
        if (!TakeOption(args, i, "--dict", dictPath, haveDict, error)) rows.push_back(args[i]);
        if (!error.empty()) return BadUsage("solve: " + error);
    }
    if (!haveDict || rows.size() != BOARD_SIZE)
        return BadUsage("solve needs --dict FILE and four rows of four letters");

    CWordDictionary dictionary;
    std::string letters;
    const std::string error = ParseBoard(rows, dictionary, letters);
    if (!error.empty()) return BadUsage("solve: " + error);
    if (!LoadDictionary(dictPath, dictionary)) return kExitBadUsage;
    Board board;
    board.SetLetters(letters);
    WordList found;
    NullProgress progress;
    board.FindAllWords(dictionary, found, progress);
    std::string out;
    AppendWords(found, out);
    return Emit(out, kExitOk);
}

int RunTrace(const std::vector<std::string>& args) {
    std::vector<std::string> rows, words;
    bool haveBoard = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] != "--board") {
            words.push_back(args[i]);
            continue;
        }
        if (haveBoard) return BadUsage("trace: --board given twice");
        if (args.size() - i - 1 < BOARD_SIZE) return BadUsage("trace: --board needs four rows");
        rows.assign(args.begin() + static_cast<long>(i) + 1,
                    args.begin() + static_cast<long>(i) + 1 + BOARD_SIZE);
        i += BOARD_SIZE;
        haveBoard = true;
    }
    if (!haveBoard) return BadUsage("trace needs --board and four rows of four letters");
    CWordDictionary dictionary;
    std::string letters;
    const std::string error = ParseBoard(rows, dictionary, letters);
    if (!error.empty()) return BadUsage("trace: " + error);
    Board board;
    board.SetLetters(letters);

    // Each answer is written at once, so that answers follow the lines of an
    // interactive input as they come.
    bool written = true;
    auto answer = [&](const std::string& given) {
        const std::string word = RowText(given);
        std::string upper = word;
        Platform::Get().UpperCase(upper);
        const std::string line = (board.CanTrace(upper) ? "yes " : "no ") + word + "\n";
        written = written && std::fwrite(line.data(), 1, line.size(), stdout) == line.size() &&
                  std::fflush(stdout) == 0;
    };
    if (!words.empty()) {
        for (const std::string& word : words) answer(word);
    } else {
        std::string line;
        for (int c; (c = std::getchar()) != EOF;) {
            if (c != '\n') {
                line += static_cast<char>(c);
                continue;
            }
            if (!line.empty() && line.back() == '\r') line.pop_back();  // a CR LF line end
            answer(line);
            line.clear();
        }
        if (!line.empty()) answer(line);
        if (std::ferror(stdin)) {
            std::fprintf(stderr, "vrel-tool: cannot read the standard input\n");
            return kExitBadUsage;
        }
    }
    if (!written) {
        std::fprintf(stderr, "vrel-tool: cannot write the output\n");
        return kExitBadUsage;
    }
    return kExitOk;
}

// The line's text with control bytes, bytes from 0x7F up, quotes and
// backslashes escaped, cut at kShownBytes.
std::string Escape(const DictionaryLine& line) {
    std::string shown;
    for (std::size_t i = 0; i < line.text.size() && i < kShownBytes; ++i) {
        const unsigned char c = static_cast<unsigned char>(line.text[i]);
        if (c < 0x20 || c >= 0x7F) {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            shown += hex;
        } else {
            if (c == '"' || c == '\\') shown += '\\';
            shown += static_cast<char>(c);
        }
    }
    if (line.length > kShownBytes) shown += "...";
    return shown;
}

int RunCheck(const std::vector<std::string>& args) {
    if (args.size() != 1) return BadUsage("check needs one FILE");
    enum Reason { kEmpty, kTooShort, kTooLong, kOutsideAlphabet, kRepeated, kReasons };
    static const char* const kReasonNames[kReasons] = {"empty", "too short", "too long",
                                                       "letter outside the alphabet", "repeated"};
    std::size_t skipped[kReasons] = {};

    CWordDictionary dictionary;
    std::string out;
    const bool read = ReadLines(args[0], [&](const DictionaryLine& line) {
        Reason reason;
        std::string word = line.text;
        if (!line.TooLong()) CWordDictionary::NormalizeWord(word);
        bool outside = false;
        for (char c : word) outside = outside || dictionary.LetterIndex(c) < 0;
        if (line.TooLong() || word.size() > static_cast<std::size_t>(MAX_WORD_LEN))
            reason = kTooLong;
        else if (word.empty())
            reason = kEmpty;
        else if (word.size() < static_cast<std::size_t>(MIN_WORD_LEN))
            reason = kTooShort;
        else if (outside)
            reason = kOutsideAlphabet;
        else if (!dictionary.AddWord(word))
            reason = kRepeated;
        else
            return;
        ++skipped[reason];
        out += "line " + std::to_string(line.number) + ": " + kReasonNames[reason] + ": \"" +
               Escape(line) + "\"\n";
    });
    if (!read) return kExitBadUsage;

    std::size_t total = 0;
    for (std::size_t count : skipped) total += count;
    out += "words loaded: " + std::to_string(dictionary.WordCount()) + "\n";
    out += "lines skipped: " + std::to_string(total) + "\n";
    for (int reason = 0; reason < kReasons; ++reason)
        out += std::string("  ") + kReasonNames[reason] + ": " + std::to_string(skipped[reason]) +
               "\n";
    return Emit(out, total == 0 ? kExitOk : kExitSkipped);
}

int RunNormalize(const std::vector<std::string>& args) {
    if (args.size() != 2) return BadUsage("normalize needs IN and OUT");
    CWordDictionary dictionary;
    if (!LoadDictionary(args[0], dictionary)) return kExitBadUsage;
    // The game's own save: a temporary beside OUT that then takes its place.
    if (!dictionary.SaveAs(args[1], args[1] + ".tmp")) return kExitSkipped;
    return Emit(std::to_string(dictionary.WordCount()) + " words written to " + args[1] + "\n",
                kExitOk);
}

}  // namespace

// Takes "--edition CODE" from anywhere in the arguments, for every command;
// false, with the message, when it is given twice or names no edition.
bool TakeEdition(std::vector<std::string>& args, const Edition*& edition, std::string& error) {
    edition = kEditions;  // the default edition, first in the list
    bool seen = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string code;
        if (!TakeOption(args, i, "--edition", code, seen, error)) continue;
        if (!error.empty()) return false;
        args.erase(args.begin() + static_cast<std::ptrdiff_t>(i - 1),
                   args.begin() + static_cast<std::ptrdiff_t>(i + 1));
        i -= 2;
        edition = FindEdition(code);
        if (!edition) {
            error = "no edition \"" + code + "\"; the editions are";
            for (const Edition* e = kEditions; e->code; ++e) error += std::string(" ") + e->code;
            return false;
        }
    }
    return true;
}

int main(int argc, char** argv) {
    ConsolePlatform platform(NativePlatform());
    Platform::Set(&platform);

    std::vector<std::string> words(argv + 1, argv + argc);
    const Edition* edition = nullptr;
    std::string error;
    if (!TakeEdition(words, edition, error)) return BadUsage(error);
    platform.SetEdition(*edition);

    if (words.empty()) return BadUsage("no command given");
    const std::string command = words[0];
    const std::vector<std::string> args(words.begin() + 1, words.end());
    int status;
    if (command == "deal")
        status = RunDeal(args);
    else if (command == "shown")
        status = RunShown(args);
    else if (command == "solve")
        status = RunSolve(args);
    else if (command == "trace")
        status = RunTrace(args);
    else if (command == "check")
        status = RunCheck(args);
    else if (command == "normalize")
        status = RunNormalize(args);
    else if (command == "help" || command == "--help" || command == "-h")
        status = Emit(kUsage, kExitOk);
    else
        status = BadUsage("unknown command \"" + command + "\"");
    Platform::Set(nullptr);
    return status;
}
