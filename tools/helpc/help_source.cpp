#include "help_source.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <utility>

namespace helpc {

namespace {

// The languages a source may name, all written in Windows-1252: those of the
// editions (generated from their list).
constexpr Language kLanguages[] = {
#include "languages.inc"
};

// The longest title: help files keep the caption of their window in 51
// bytes.
constexpr std::size_t kMaxTitle = 50;

// Characters 0x80-0x9F of Windows-1252; 0 where the code page has none.
constexpr char32_t kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

// The Windows-1252 byte of a character; false when the code page lacks it.
bool Windows1252Byte(char32_t c, unsigned char& byte) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
        byte = static_cast<unsigned char>(c);
        return true;
    }
    for (int i = 0; i < 32; ++i)
        if (kHighControls[i] != 0 && kHighControls[i] == c) {
            byte = static_cast<unsigned char>(0x80 + i);
            return true;
        }
    return false;
}

// Decodes the UTF-8 character at text[i] and moves i past it; false for a
// malformed, overlong or surrogate sequence.
bool NextCharacter(const std::string& text, std::size_t& i, char32_t& c) {
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    int extra = 0;
    char32_t min = 0;
    if (lead < 0x80) {
        c = lead;
        ++i;
        return true;
    } else if ((lead & 0xE0) == 0xC0) {
        extra = 1, c = lead & 0x1F, min = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2, c = lead & 0x0F, min = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3, c = lead & 0x07, min = 0x10000;
    } else {
        return false;
    }
    if (i + static_cast<std::size_t>(extra) >= text.size()) return false;
    for (int k = 1; k <= extra; ++k) {
        const unsigned char next = static_cast<unsigned char>(text[i + k]);
        if ((next & 0xC0) != 0x80) return false;
        c = (c << 6) | (next & 0x3F);
    }
    if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
    i += static_cast<std::size_t>(extra) + 1;
    return true;
}

bool IsContextCharacter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '.';
}

bool IsContextName(const std::string& name) {
    return !name.empty() && std::all_of(name.begin(), name.end(), IsContextCharacter);
}

std::string Lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

std::string Trim(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    const std::size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

const char kMarksNothing[] =
    "@only marks nothing: a paragraph, a list item or an @topic line must follow it";

bool IsAsciiPunctuation(char c) {
    return (c >= '!' && c <= '/') || (c >= ':' && c <= '@') || (c >= '[' && c <= '`') ||
           (c >= '{' && c <= '~');
}

class Parser {
  public:
    Parser(HelpSource& source, SourceError& error) : m_source(source), m_error(error) {}

    bool Parse(const std::string& text);

  private:
    // The paragraph or list item being read: its lines joined by one space,
    // and where each line starts in the joined text.
    struct Pending {
        bool open = false;
        BlockKind kind = BlockKind::kParagraph;
        Reader only = Reader::kBoth;
        std::string text;
        std::vector<std::pair<std::size_t, int>> lineStarts;  // offset, line
    };

    bool Fail(int line, const std::string& message) {
        m_error.line = line;
        m_error.message = message;
        return false;
    }
    bool CheckCharacters(const std::string& line, int number);
    bool ReadLine(const std::string& line, int number);
    bool ReadDirective(const std::string& body, int number);
    bool MarkBlock();
    void AddText(const std::string& text, int number);
    bool EndBlock();
    bool ParseRuns(std::vector<Run>& runs);
    int LineAt(std::size_t offset) const;
    bool CheckDocument();

    HelpSource& m_source;
    SourceError& m_error;
    Pending m_pending;
    // An @only line that waits for the topic or block it marks.
    Reader m_only = Reader::kBoth;
    int m_onlyLine = 0;  // 0 when none waits
};

bool Parser::Parse(const std::string& text) {
    m_source = HelpSource();
    std::size_t start = 0;
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) start = 3;  // a byte order mark
    int number = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!ReadLine(line, ++number)) return false;
        start = end + 1;
    }
    return EndBlock() && CheckDocument();
}

// Every character must be valid UTF-8 and exist in Windows-1252; tabs count
// as spaces, other control characters are refused.
bool Parser::CheckCharacters(const std::string& line, int number) {
    for (std::size_t i = 0; i < line.size();) {
        char32_t c = 0;
        if (!NextCharacter(line, i, c)) return Fail(number, "the text is not valid UTF-8");
        unsigned char byte = 0;
        if ((c < 0x20 && c != '\t') || c == 0x7F) {
            char code[16];
            std::snprintf(code, sizeof code, "0x%02X", static_cast<unsigned>(c));
            return Fail(number, std::string("control character ") + code + " in the text");
        }
        if (!Windows1252Byte(c, byte)) {
            char code[16];
            std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
            return Fail(number, std::string("character ") + code +
                                    " is not in Windows-1252, the code page of help files");
        }
    }
    return true;
}

bool Parser::ReadLine(const std::string& raw, int number) {
    const std::string line = Trim(raw);
    if (line.empty()) return EndBlock();
    if (line[0] == '#') return true;  // a comment
    if (!CheckCharacters(line, number)) return false;
    if (line[0] == '@') return EndBlock() && ReadDirective(line.substr(1), number);
    if (m_source.topics.empty()) return Fail(number, "text before the first @topic line");
    if (line[0] == '-' && (line.size() == 1 || line[1] == ' ' || line[1] == '\t')) {
        if (!EndBlock()) return false;
        const std::string item = Trim(line.substr(1));
        if (item.empty()) return Fail(number, "empty list item");
        m_pending.open = true;
        m_pending.kind = BlockKind::kListItem;
        if (!MarkBlock()) return false;
        AddText(item, number);
        return true;
    }
    if ((line[0] == '*' || line[0] == '+') && line.size() > 1 && line[1] == ' ')
        return Fail(number, "list items start with \"- \"");
    if (!m_pending.open) {
        m_pending.open = true;
        m_pending.kind = BlockKind::kParagraph;
        if (!MarkBlock()) return false;
    }
    AddText(line, number);
    return true;
}

bool Parser::ReadDirective(const std::string& body, int number) {
    const std::size_t space = body.find_first_of(" \t");
    const std::string name = body.substr(0, space);
    const std::string rest = space == std::string::npos ? std::string() : Trim(body.substr(space));
    const bool inTopics = !m_source.topics.empty();
    if (m_onlyLine != 0 && name != "topic") return Fail(m_onlyLine, kMarksNothing);
    if (name == "only") {
        if (rest == "windows")
            m_only = Reader::kWindows;
        else if (rest == "browser")
            m_only = Reader::kBrowser;
        else
            return Fail(number, "@only is followed by \"windows\" or \"browser\"");
        m_onlyLine = number;
        return true;
    }
    if (name == "title") {
        if (inTopics) return Fail(number, "@title must come before the first @topic");
        if (!m_source.title.empty()) return Fail(number, "@title given twice");
        if (rest.empty()) return Fail(number, "@title needs the help file's title");
        if (ToWindows1252(rest).size() > kMaxTitle)
            return Fail(number, "the title is longer than " + std::to_string(kMaxTitle) +
                                    " characters, the most a help window's caption holds");
        m_source.title = rest;
        return true;
    }
    if (name == "language") {
        if (inTopics) return Fail(number, "@language must come before the first @topic");
        if (m_source.language) return Fail(number, "@language given twice");
        for (const Language& language : kLanguages)
            if (rest == language.code) {
                m_source.language = &language;
                return true;
            }
        std::string known;
        for (const Language& language : kLanguages) known += std::string(" ") + language.code;
        return Fail(number, "unknown language \"" + rest + "\" (known:" + known + ")");
    }
    if (name == "topic") {
        const std::size_t gap = rest.find_first_of(" \t");
        Topic topic;
        topic.context = rest.substr(0, gap);
        topic.title = gap == std::string::npos ? std::string() : Trim(rest.substr(gap));
        topic.line = number;
        if (!IsContextName(topic.context) || topic.title.empty())
            return Fail(number,
                        "a topic is written \"@topic NAME Title\", NAME made of letters, "
                        "digits, '_' and '.'");
        if (m_onlyLine != 0) {
            if (!inTopics)
                return Fail(m_onlyLine,
                            "the first topic, the contents, is for every reader and cannot "
                            "be marked @only");
            topic.only = m_only;
            m_onlyLine = 0;
        }
        m_source.topics.push_back(topic);
        return true;
    }
    return Fail(number, "unknown directive @" + name);
}

// Adds a trimmed line to the pending block, after one space. Spaces inside
// the line stay as written (the program's messages have double spaces).
void Parser::AddText(const std::string& text, int number) {
    if (!m_pending.text.empty()) m_pending.text += ' ';
    m_pending.lineStarts.emplace_back(m_pending.text.size(), number);
    for (char c : text) m_pending.text += c == '\t' ? ' ' : c;
}

// The pending block takes the waiting @only marker, if any.
bool Parser::MarkBlock() {
    if (m_onlyLine == 0) return true;
    const int line = m_onlyLine;
    m_pending.only = m_only;
    m_onlyLine = 0;
    if (m_source.topics.back().only != Reader::kBoth)
        return Fail(line, "the topic is marked @only already; its text takes no marker");
    return true;
}

int Parser::LineAt(std::size_t offset) const {
    int line = 0;
    for (const auto& [start, number] : m_pending.lineStarts)
        if (start <= offset) line = number;
    return line;
}

bool Parser::EndBlock() {
    if (!m_pending.open) return true;
    Block block;
    block.kind = m_pending.kind;
    block.only = m_pending.only;
    block.line = m_pending.lineStarts.front().second;
    if (!ParseRuns(block.runs)) return false;
    m_source.topics.back().blocks.push_back(std::move(block));
    m_pending = Pending();
    return true;
}

// Splits the pending text at "**" (bold on or off) and "[text](name)" (a
// jump); a backslash makes the punctuation after it plain text.
bool Parser::ParseRuns(std::vector<Run>& runs) {
    const std::string& text = m_pending.text;
    Run run;
    run.line = LineAt(0);
    bool inJump = false;
    std::size_t boldStart = 0, jumpStart = 0;
    auto flush = [&](std::size_t next) {
        if (!run.text.empty()) runs.push_back(run);
        run.text.clear();
        run.line = LineAt(next);
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\\') {
            if (i + 1 >= text.size() || !IsAsciiPunctuation(text[i + 1]))
                return Fail(LineAt(i),
                            "a backslash must come before punctuation, written \\\\ "
                            "for a backslash itself");
            run.text += text[++i];
        } else if (c == '*' && i + 1 < text.size() && text[i + 1] == '*') {
            flush(i);
            run.bold = !run.bold;
            boldStart = i++;
        } else if (c == '[') {
            if (inJump) return Fail(LineAt(i), "'[' inside a jump's text");
            flush(i);
            inJump = true;
            jumpStart = i;
        } else if (c == ']') {
            if (!inJump) return Fail(LineAt(i), "']' without '[' (write \\] for the character)");
            const bool open = i + 1 < text.size() && text[i + 1] == '(';
            const std::size_t close = open ? text.find(')', i + 2) : std::string::npos;
            if (close == std::string::npos || !IsContextName(text.substr(i + 2, close - i - 2)))
                return Fail(LineAt(jumpStart), "a jump is written [text](topic-name)");
            const std::string name = text.substr(i + 2, close - i - 2);
            if (run.text.empty()) return Fail(LineAt(jumpStart), "a jump without text");
            run.target = name;
            run.line = LineAt(jumpStart);
            flush(close + 1);
            run.target.clear();
            inJump = false;
            i = close;
        } else {
            run.text += c;
        }
    }
    if (inJump) return Fail(LineAt(jumpStart), "'[' is not closed by ](topic-name)");
    if (run.bold) return Fail(LineAt(boldStart), "bold text is not closed by \"**\"");
    flush(text.size());
    return true;
}

// Whole-document rules: the header lines, unique topic names, and jumps that
// lead to topics that exist for every reader of the jump.
bool Parser::CheckDocument() {
    if (m_onlyLine != 0) return Fail(m_onlyLine, kMarksNothing);
    if (m_source.title.empty()) return Fail(0, "no @title line");
    if (!m_source.language) return Fail(0, "no @language line");
    if (m_source.topics.empty()) return Fail(0, "no @topic");
    std::map<std::string, const Topic*> byName;
    std::map<std::int32_t, const Topic*> byHash;
    for (const Topic& topic : m_source.topics) {
        // Help files look names up without regard to case.
        auto [named, isNew] = byName.emplace(Lower(topic.context), &topic);
        if (!isNew)
            return Fail(topic.line, "topic name \"" + topic.context +
                                        "\" is already used on line " +
                                        std::to_string(named->second->line));
        auto [hashed, isNewHash] = byHash.emplace(ContextHash(topic.context), &topic);
        if (!isNewHash)
            return Fail(topic.line, "topic names \"" + topic.context + "\" and \"" +
                                        hashed->second->context +
                                        "\" cannot both be used in one help file");
    }
    for (const Topic& topic : m_source.topics)
        for (const Block& block : topic.blocks) {
            const Reader reader = block.only != Reader::kBoth ? block.only : topic.only;
            for (const Run& run : block.runs) {
                if (run.target.empty()) continue;
                const auto target = byName.find(Lower(run.target));
                if (target == byName.end())
                    return Fail(run.line, "jump to unknown topic \"" + run.target + "\"");
                const Reader only = target->second->only;
                if (only != Reader::kBoth && only != reader)
                    return Fail(run.line, "jump to topic \"" + run.target + "\", which only the " +
                                              (only == Reader::kWindows ? "Windows" : "browser") +
                                              " help has");
            }
        }
    return true;
}

}  // namespace

bool ParseHelpSource(const std::string& text, HelpSource& source, SourceError& error) {
    return Parser(source, error).Parse(text);
}

HelpSource ForReader(const HelpSource& source, Reader reader) {
    const auto reads = [reader](Reader only) { return only == Reader::kBoth || only == reader; };
    HelpSource kept;
    kept.title = source.title;
    kept.language = source.language;
    for (const Topic& topic : source.topics) {
        if (!reads(topic.only)) continue;
        Topic copy = topic;
        copy.blocks.clear();
        for (const Block& block : topic.blocks)
            if (reads(block.only)) copy.blocks.push_back(block);
        kept.topics.push_back(std::move(copy));
    }
    return kept;
}

std::string ToWindows1252(const std::string& utf8) {
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t c = 0;
        unsigned char byte = '?';
        if (!NextCharacter(utf8, i, c)) {
            ++i;
        } else {
            Windows1252Byte(c, byte);
        }
        out += static_cast<char>(byte);
    }
    return out;
}

// Each letter, digit, '.' and '_' has a value; the hash is the sum of the
// values times powers of 43, in 32-bit arithmetic that wraps.
std::int32_t ContextHash(const std::string& context) {
    std::uint32_t hash = 0;
    for (char c : context) {
        std::uint32_t value = 0;
        if (c >= 'A' && c <= 'Z') value = static_cast<std::uint32_t>(c - 'A') + 17;
        if (c >= 'a' && c <= 'z') value = static_cast<std::uint32_t>(c - 'a') + 17;
        if (c >= '1' && c <= '9') value = static_cast<std::uint32_t>(c - '0');
        if (c == '0') value = 10;
        if (c == '.') value = 12;
        if (c == '_') value = 13;
        hash = hash * 43 + value;
    }
    return static_cast<std::int32_t>(hash);
}

}  // namespace helpc
