#include "renderings.h"

#include <vector>

namespace helpc {

namespace {

constexpr std::size_t kTextWidth = 76;

// Characters, not bytes, of UTF-8 text.
std::size_t Length(const std::string& utf8) {
    std::size_t count = 0;
    for (char c : utf8)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
    return count;
}

std::string PlainText(const Block& block) {
    std::string text;
    for (const Run& run : block.runs) text += run.text;
    return text;
}

// Fills lines of at most kTextWidth characters; the first starts with
// first, the others with rest. Spaces between words stay as they are, except
// where a line breaks.
void Wrap(const std::string& text, const std::string& first, const std::string& rest,
          std::string& out) {
    std::string line = first;
    std::size_t length = Length(first);
    bool empty = true;
    for (std::size_t i = 0; i < text.size();) {
        std::size_t gap = 0;
        while (i < text.size() && text[i] == ' ') ++gap, ++i;
        if (i == text.size()) break;
        std::size_t end = text.find(' ', i);
        if (end == std::string::npos) end = text.size();
        const std::string word = text.substr(i, end - i);
        const std::size_t wordLength = Length(word);
        i = end;
        if (!empty && length + gap + wordLength > kTextWidth) {
            out += line + "\r\n";
            line = rest;
            length = Length(rest);
            empty = true;
        }
        if (!empty) {
            line.append(gap, ' ');
            length += gap;
        }
        line += word;
        length += wordLength;
        empty = false;
    }
    out += line + "\r\n";
}

void Underlined(const std::string& title, char mark, std::string& out) {
    out += title + "\r\n" + std::string(Length(title), mark) + "\r\n";
}

// Markdown punctuation in running text is escaped with a backslash; a space
// after a space becomes a no-break space, which Markdown does not fold.
std::string MarkdownEscape(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\\' || c == '*' || c == '_' || c == '[' || c == ']' || c == '<' || c == '`')
            out += '\\';
        if (c == ' ' && i > 0 && text[i - 1] == ' ')
            out += "&nbsp;";
        else
            out += c;
    }
    return out;
}

// Spaces at the ends of a run go outside its markers, where Markdown wants
// them.
std::string MarkdownRun(const Run& run) {
    const std::size_t first = run.text.find_first_not_of(' ');
    if (first == std::string::npos) return run.text;
    const std::size_t last = run.text.find_last_not_of(' ');
    std::string body = MarkdownEscape(run.text.substr(first, last - first + 1));
    if (!run.target.empty()) body = "[" + body + "](#" + run.target + ")";
    if (run.bold) body = "**" + body + "**";
    return run.text.substr(0, first) + body + run.text.substr(last + 1);
}

std::string MarkdownBlock(const Block& block) {
    std::string text;
    for (const Run& run : block.runs) text += MarkdownRun(run);
    // What would start a heading, a quote or a list at the start of a line.
    const char c = text.empty() ? '\0' : text[0];
    if (c == '#' || c == '-' || c == '+' || c == '>' || c == '=' ||
        (c >= '0' && c <= '9' && text.find_first_not_of("0123456789") != std::string::npos &&
         (text[text.find_first_not_of("0123456789")] == '.' ||
          text[text.find_first_not_of("0123456789")] == ')')))
        text = "\\" + text;
    return text;
}

// The contents topic's heading is left out where it only repeats the title
// of the whole.
bool RepeatsTitle(const HelpSource& source, const Topic& topic) {
    return &topic == &source.topics.front() && topic.title == source.title;
}

std::string HtmlEscape(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string HtmlRun(const Run& run) {
    std::string body = HtmlEscape(run.text);
    if (run.bold) body = "<b>" + body + "</b>";
    if (!run.target.empty()) body = "<a href=\"#" + run.target + "\">" + body + "</a>";
    return body;
}

}  // namespace

std::string RenderText(const HelpSource& all) {
    const HelpSource source = ForReader(all, Reader::kWindows);
    std::string out = "\xEF\xBB\xBF";  // byte order mark: Notepad then reads UTF-8 for sure
    Underlined(source.title, '=', out);
    for (const Topic& topic : source.topics) {
        if (!RepeatsTitle(source, topic)) {
            out += "\r\n\r\n";
            Underlined(topic.title, '-', out);
        }
        BlockKind previous = BlockKind::kParagraph;
        for (const Block& block : topic.blocks) {
            // List items follow one another without a blank line.
            if (!(block.kind == BlockKind::kListItem && previous == BlockKind::kListItem))
                out += "\r\n";
            if (block.kind == BlockKind::kListItem)
                Wrap(PlainText(block), "  - ", "    ", out);
            else
                Wrap(PlainText(block), "", "", out);
            previous = block.kind;
        }
    }
    return out;
}

std::string RenderMarkdown(const HelpSource& all) {
    const HelpSource source = ForReader(all, Reader::kWindows);
    std::string out = "# " + MarkdownEscape(source.title) + "\n";
    for (const Topic& topic : source.topics) {
        out += "\n<a id=\"" + topic.context + "\"></a>\n";
        if (!RepeatsTitle(source, topic)) out += "\n## " + MarkdownEscape(topic.title) + "\n";
        BlockKind previous = BlockKind::kParagraph;
        for (const Block& block : topic.blocks) {
            if (!(block.kind == BlockKind::kListItem && previous == BlockKind::kListItem))
                out += "\n";
            if (block.kind == BlockKind::kListItem) out += "- ";
            out += MarkdownBlock(block) + "\n";
            previous = block.kind;
        }
    }
    return out;
}

std::string RenderHtml(const HelpSource& all) {
    const HelpSource source = ForReader(all, Reader::kBrowser);
    const std::string language = source.language ? source.language->code : "en";
    std::string out = "<!DOCTYPE html>\n<html lang=\"" + language +
                      "\">\n<head>\n<meta charset=\"utf-8\">\n"
                      "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
                      "<title>" +
                      HtmlEscape(source.title) +
                      "</title>\n<link rel=\"stylesheet\" href=\"help.css\">\n</head>\n<body>\n"
                      "<h1>" +
                      HtmlEscape(source.title) + "</h1>\n";
    for (const Topic& topic : source.topics) {
        out += "<section id=\"" + HtmlEscape(topic.context) + "\">\n";
        if (!RepeatsTitle(source, topic)) out += "<h2>" + HtmlEscape(topic.title) + "</h2>\n";
        bool inList = false;
        for (const Block& block : topic.blocks) {
            const bool item = block.kind == BlockKind::kListItem;
            if (item && !inList) out += "<ul>\n";
            if (!item && inList) out += "</ul>\n";
            inList = item;
            std::string text;
            for (const Run& run : block.runs) text += HtmlRun(run);
            out += (item ? "<li>" : "<p>") + text + (item ? "</li>\n" : "</p>\n");
        }
        if (inList) out += "</ul>\n";
        out += "</section>\n";
    }
    return out + "</body>\n</html>\n";
}

}  // namespace helpc
