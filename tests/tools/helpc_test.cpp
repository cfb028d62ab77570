// vrel-helpc run as the build runs it: the shipped help sources compile, the
// same way every time, and a faulty source is refused with its line number
// and no output.
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "tool_process.h"

namespace fs = std::filesystem;

namespace {

class HelpCompiler : public ToolTest {
  protected:
    ToolRun Compile(const fs::path& source, const std::string& outputs) {
        return Run(VREL_HELPC, {source.string(), "--hlp", (m_dir / (outputs + ".HLP")).string(),
                                "--text", (m_dir / (outputs + ".txt")).string(), "--markdown",
                                (m_dir / (outputs + ".md")).string()});
    }
};

std::uint32_t U16(const std::string& bytes, std::size_t at) {
    return static_cast<unsigned char>(bytes.at(at)) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(bytes.at(at + 1))) << 8;
}

std::uint32_t U32(const std::string& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | static_cast<unsigned char>(bytes.at(at + static_cast<std::size_t>(i)));
    return value;
}

// An internal file of the help file, found through its directory entry.
std::string InternalFile(const std::string& hlp, const std::string& name) {
    const std::size_t entry = hlp.find(name + '\0');
    if (entry == std::string::npos) return {};
    const std::size_t file = U32(hlp, entry + name.size() + 1);
    return hlp.substr(file + 9, U32(hlp, file + 4));
}

// The data of a record type of |SYSTEM; empty when there is none.
std::string SystemRecord(const std::string& hlp, std::uint16_t type) {
    const std::string system = InternalFile(hlp, "|SYSTEM");
    for (std::size_t record = 12; record + 4 <= system.size();) {
        const std::size_t size = U16(system, record + 2);
        if (U16(system, record) == type) return system.substr(record + 4, size);
        record += 4 + size;
    }
    return {};
}

// The topics' data: each block of |TOPIC after its 12-byte header, expanded
// by the LZ77 scheme of help files (a flag byte for each eight items; a set
// bit is a 16-bit copy of 3 to 18 bytes from up to 4096 bytes back).
std::string TopicData(const std::string& hlp) {
    const std::string topic = InternalFile(hlp, "|TOPIC");
    std::string out;
    for (std::size_t block = 0; block < topic.size(); block += 4096) {
        const std::size_t end = std::min(block + 4096, topic.size());
        std::string expanded;
        for (std::size_t i = block + 12; i < end;) {
            const unsigned flags = static_cast<unsigned char>(topic[i++]);
            for (int bit = 0; bit < 8 && i < end; ++bit) {
                if (!(flags >> bit & 1)) {
                    expanded += topic[i++];
                    continue;
                }
                const std::uint32_t code = U16(topic, i);
                i += 2;
                for (std::uint32_t n = 0; n < 3 + (code >> 12); ++n)
                    expanded += expanded.at(expanded.size() - (code & 0xFFF) - 1);
            }
        }
        out += expanded;
    }
    return out;
}

const char kSource[] =
    "@title Vrel 2 – Hilfe\n"
    "@language de\n"
    "\n"
    "@topic inhalt Übersicht\n"
    "Grüße aus **Vrel 2**: siehe [Regeln](regeln).\n"
    "\n"
    "@topic regeln Die Regeln\n"
    "- Drei bis sechs Buchstaben, „kein Feld zweimal“.\n";

TEST_F(HelpCompiler, CompilesEveryShippedSourceAndTheMarkdownInDocsIsCurrent) {
    int sources = 0;
    for (const auto& entry : fs::directory_iterator(VREL_HELP_SOURCES)) {
        if (entry.path().extension() != ".txt") continue;
        ++sources;
        const std::string name = entry.path().stem().string();
        const ToolRun run = Compile(entry.path(), name);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(ReadFile(m_dir / (name + ".HLP")).substr(0, 4), std::string("\x3F\x5F\x03\0", 4))
            << name;
        EXPECT_FALSE(ReadFile(m_dir / (name + ".txt")).empty()) << name;
    }
    EXPECT_GE(sources, 1);
    EXPECT_TRUE(ReadFile(m_dir / "en.md") == ReadFile(VREL_HELP_MARKDOWN))
        << VREL_HELP_MARKDOWN << " is not the rendering of en.txt; renew it with\n  vrel-helpc "
        << VREL_HELP_SOURCES << "/en.txt --markdown " << VREL_HELP_MARKDOWN;
}

TEST_F(HelpCompiler, WritesTheSameBytesOnEveryRun) {
    const fs::path source = File("hilfe.txt", kSource);
    ASSERT_EQ(Compile(source, "first").status, 0);
    ASSERT_EQ(Compile(source, "second").status, 0);
    for (const char* extension : {".HLP", ".txt", ".md"})
        EXPECT_TRUE(ReadFile(m_dir / (std::string("first") + extension)) ==
                    ReadFile(m_dir / (std::string("second") + extension)))
            << extension;
}

// The help file is in Windows-1252 and says which language it is in.
TEST_F(HelpCompiler, WritesTheTextInWindows1252WithTheLanguageOfTheSource) {
    ASSERT_EQ(Compile(File("hilfe.txt", kSource), "hilfe").status, 0);
    const std::string hlp = ReadFile(m_dir / "hilfe.HLP");
    const std::string topics = TopicData(hlp);
    EXPECT_NE(topics.find(std::string(1, '\xDC') + "bersicht"), std::string::npos);
    EXPECT_NE(topics.find(std::string("Gr\xFC\xDF") + "e aus "), std::string::npos);
    EXPECT_NE(topics.find("\x84kein Feld zweimal\x93"), std::string::npos);
    EXPECT_EQ(SystemRecord(hlp, 1), std::string("Vrel 2 \x96 Hilfe\0", 15));  // the title
    const std::string locale = SystemRecord(hlp, 9);
    ASSERT_EQ(locale.size(), 10u);
    EXPECT_EQ(U16(locale, 8), 0x0407u);  // German
    // The other renderings keep the source's UTF-8.
    EXPECT_NE(ReadFile(m_dir / "hilfe.txt").find("Grüße aus Vrel 2"), std::string::npos);
    EXPECT_NE(ReadFile(m_dir / "hilfe.md").find("Grüße aus **Vrel 2**: siehe [Regeln](#regeln)."),
              std::string::npos);
}

// The page's help: each jump links to the section of its topic, and the
// text is HTML, not markup.
TEST_F(HelpCompiler, WritesAnHtmlPageWhoseJumpsReachTheirTopics) {
    const fs::path source = File("hilfe.txt", std::string(kSource) + "Ein <b> & \"Zitat\".\n");
    const ToolRun run =
        Run(VREL_HELPC, {source.string(), "--html", (m_dir / "hilfe.html").string()});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string html = ReadFile(m_dir / "hilfe.html");
    EXPECT_NE(html.find("<html lang=\"de\">"), std::string::npos) << html;
    EXPECT_NE(html.find("Grüße aus <b>Vrel 2</b>: siehe <a href=\"#regeln\">Regeln</a>."),
              std::string::npos)
        << html;
    EXPECT_NE(html.find("<section id=\"regeln\">\n<h2>Die Regeln</h2>"), std::string::npos) << html;
    EXPECT_NE(html.find("Ein &lt;b&gt; &amp; &quot;Zitat&quot;."), std::string::npos) << html;
}

// Text marked for one reader is in its help only: the page's help (HTML)
// leaves out what holds for Windows alone, the Windows help (the help file,
// the plain text, the Markdown) what holds in the browser alone.
TEST_F(HelpCompiler, GivesTheWindowsAndTheBrowserHelpEachItsOwnText) {
    const fs::path source =
        File("help.txt",
             "@title T\n@language en\n@topic start Start\nFor both.\n\n"
             "@only windows\nBeside the program.\n\n"
             "- [Rules](rules)\n@only browser\n- [In the browser](web)\n\n"
             "@topic rules Rules\nThree letters.\n\n"
             "@only browser\n@topic web In the browser\nKept by the browser.\n");
    const fs::path hlp = m_dir / "help.HLP", text = m_dir / "help.text", md = m_dir / "help.md",
                   html = m_dir / "help.html";
    const ToolRun run =
        Run(VREL_HELPC, {source.string(), "--hlp", hlp.string(), "--text", text.string(),
                         "--markdown", md.string(), "--html", html.string()});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string page = ReadFile(html);
    EXPECT_NE(page.find("<p>For both.</p>"), std::string::npos) << page;
    EXPECT_EQ(page.find("Beside the program."), std::string::npos) << page;
    EXPECT_NE(page.find("<li><a href=\"#rules\">Rules</a></li>\n"
                        "<li><a href=\"#web\">In the browser</a></li>\n</ul>"),
              std::string::npos)
        << page;
    EXPECT_NE(page.find("<section id=\"web\">\n<h2>In the browser</h2>\n<p>Kept by the browser."),
              std::string::npos)
        << page;
    for (const std::string& windows : {TopicData(ReadFile(hlp)), ReadFile(text), ReadFile(md)}) {
        EXPECT_NE(windows.find("For both."), std::string::npos) << windows;
        EXPECT_NE(windows.find("Beside the program."), std::string::npos) << windows;
        EXPECT_NE(windows.find("Three letters."), std::string::npos) << windows;
        EXPECT_EQ(windows.find("browser"), std::string::npos) << windows;
    }
}

TEST_F(HelpCompiler, RefusesAFaultySourceWithItsLineAndWritesNothing) {
    const std::string header = "@title T\n@language en\n@topic start Start\n";  // lines 1-3
    struct Case {
        std::string source;
        int line;
        std::string message;
    };
    const std::vector<Case> cases = {
        {header + "Text.\n@index start\n", 5, "unknown directive @index"},
        {header + "Some **bold\ntext.\n\nMore.\n", 4, "bold text is not closed"},
        {header + "See\n[the end](finish).\n", 5, "jump to unknown topic \"finish\""},
        {header + "A jump [without\nits name].\n", 4, "a jump is written [text](topic-name)"},
        {header + "Text.\n\n\xCE\xBB is Greek.\n", 6, "U+03BB is not in Windows-1252"},
        {header + "Bad \xFF byte.\n", 4, "not valid UTF-8"},
        {"@title T\n@language en\nText first.\n", 3, "text before the first @topic"},
        {"@title T\n@language xx\n", 2, "unknown language \"xx\""},
        {header + "@topic Start Again\nText.\n", 4,
         "topic name \"Start\" is already used on line 3"},
        {header + "Text.\n\n" + std::string(4000, 'x') + "\n", 6, "paragraph too long"},
        {header + "@only mac\nText.\n", 4, "@only is followed by \"windows\" or \"browser\""},
        {header + "Text.\n@only windows\n\n@only browser\nMore.\n", 5, "@only marks nothing"},
        {"@title T\n@language en\n@only windows\n@topic start Start\n", 3,
         "the contents, is for every reader"},
        {header + "See [the web](web).\n@only browser\n@topic web Web\nText.\n", 4,
         "jump to topic \"web\", which only the browser help has"},
    };
    const fs::path old = File("out.HLP", "old help file");
    for (const Case& test : cases) {
        const ToolRun run = Compile(File("faulty.txt", test.source), "out");
        const std::string where =
            (m_dir / "faulty.txt").string() + ":" + std::to_string(test.line) + ": ";
        EXPECT_EQ(run.status, 1) << test.message;
        EXPECT_EQ(run.err.rfind(where, 0), 0u) << run.err << "expected: " << where;
        EXPECT_NE(run.err.find(test.message), std::string::npos) << run.err;
        EXPECT_EQ(ReadFile(old), "old help file") << test.message;
        for (const char* name : {"out.txt", "out.md", "out.HLP.tmp", "out.txt.tmp", "out.md.tmp"})
            EXPECT_FALSE(fs::exists(m_dir / name)) << name << " after: " << test.message;
    }
}

}  // namespace
