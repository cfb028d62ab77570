// The help source: a plain-text file in UTF-8 with a small markup (described
// in resources/help/README.md), read into topics of paragraphs and list items
// made of runs of plain, bold and jump text. A topic or block may be for one
// reader only: the Windows help (the help file and its plain-text and
// Markdown copies) or the browser's (the HTML page).
//
//   HelpSource source;
//   SourceError error;
//   if (!ParseHelpSource(text, source, error))
//       fprintf(stderr, "%s:%d: %s\n", path, error.line, error.message.c_str());
#ifndef VREL_TOOLS_HELPC_HELP_SOURCE_H_
#define VREL_TOOLS_HELPC_HELP_SOURCE_H_

#include <cstdint>
#include <string>
#include <vector>

namespace helpc {

// A stretch of text with one look: plain or bold, and part of a jump to
// another topic when target is set.
struct Run {
    std::string text;  // UTF-8, every character in Windows-1252
    bool bold = false;
    std::string target;  // context name of the topic jumped to; empty if none
    int line = 0;        // source line where the run starts
};

enum class BlockKind { kParagraph, kListItem };

// Who reads a topic or a block, as "@only windows" or "@only browser" marks
// it; kBoth when it is not marked.
enum class Reader { kBoth, kWindows, kBrowser };

struct Block {
    BlockKind kind = BlockKind::kParagraph;
    Reader only = Reader::kBoth;
    std::vector<Run> runs;
    int line = 0;
};

struct Topic {
    std::string context;  // the name jumps use: letters, digits, '_' and '.'
    std::string title;    // UTF-8
    int line = 0;
    Reader only = Reader::kBoth;  // never set on the contents topic
    std::vector<Block> blocks;
};

// A language a source may declare, with what the help file records of it.
struct Language {
    const char* code;      // as written after @language
    std::uint16_t lcid;    // Windows locale id
    std::uint8_t charset;  // Windows character set of the text (all Windows-1252)
};

struct HelpSource {
    std::string title;  // UTF-8
    const Language* language = nullptr;
    std::vector<Topic> topics;  // the first one is the contents topic
};

struct SourceError {
    int line = 0;  // 0 when the fault is not on one line
    std::string message;
};

// Reads a whole source. On failure answers false with the first fault found.
bool ParseHelpSource(const std::string& text, HelpSource& source, SourceError& error);

// The source as one reader (kWindows or kBrowser) gets it: without the
// topics and blocks marked for the other. The renderings and the help file
// are made from it.
HelpSource ForReader(const HelpSource& source, Reader reader);

// Text that ParseHelpSource accepted, in Windows-1252.
std::string ToWindows1252(const std::string& utf8);

// The hash by which a help file finds a topic from its context name.
std::int32_t ContextHash(const std::string& context);

}  // namespace helpc

#endif  // VREL_TOOLS_HELPC_HELP_SOURCE_H_
