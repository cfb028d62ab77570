#include "hlp_file.h"

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

namespace helpc {

namespace {

// |TOPIC is cut into blocks of 4 KB, each a 12-byte header and LZ77 data
// that expands to at most 16 KB. A position in |TOPIC (a TOPICPOS) is the
// block number times 0x4000 plus 12 plus the offset in the expanded data; a
// topic offset (TOPICOFFSET) is the block number times 0x8000 plus the number
// of text characters in the block before that point.
constexpr std::uint32_t kTopicBlockSize = 4096;
constexpr std::uint32_t kBlockHeaderSize = 12;
constexpr std::uint32_t kBlockSpace = kTopicBlockSize - kBlockHeaderSize;
// The data is written as LZ77 literals only, one flag byte before every
// eight bytes, so a block holds this many bytes of records.
constexpr std::uint32_t kBlockData = kBlockSpace * 8 / 9;
constexpr std::uint32_t kTopicLinkHeader = 21;  // the fixed part of a TOPICLINK
constexpr std::uint32_t kNone = 0xFFFFFFFF;

constexpr std::uint8_t kRecordTopicHeader = 0x02;
constexpr std::uint8_t kRecordText = 0x20;

// Text commands of a paragraph's format data.
constexpr std::uint8_t kFontChange = 0x80;
constexpr std::uint8_t kEndParagraph = 0x82;
constexpr std::uint8_t kTab = 0x83;
constexpr std::uint8_t kEndJump = 0x89;
constexpr std::uint8_t kTopicJump = 0xE3;
constexpr std::uint8_t kEndFormat = 0xFF;

// The fonts of |FONT, by number.
constexpr std::uint16_t kFontBody = 0;
constexpr std::uint16_t kFontBold = 1;
constexpr std::uint16_t kFontHeading = 2;

// Paragraph spacing and indents in half points. Every paragraph keeps a
// small margin from the window's edge; list items hang their text at a tab
// stop, after the bullet.
constexpr int kSpaceAfterHeading = 4;
constexpr int kSpaceBeforeParagraph = 12;
constexpr int kSpaceBeforeItem = 4;
constexpr int kMargin = 10;
constexpr int kItemIndent = kMargin + 24;
constexpr char kBullet = '\x95';  // in Windows-1252

constexpr std::uint16_t kBTreeMagic = 0x293B;
constexpr std::uint16_t kDirectoryPageSize = 1024;
constexpr std::uint16_t kTreePageSize = 2048;  // of the other B+ trees
constexpr std::uint32_t kLeafHeader = 8;

// Little-endian bytes.
class Bytes {
  public:
    void U8(std::uint32_t value) { m_data += static_cast<char>(value & 0xFF); }
    void U16(std::uint32_t value) {
        U8(value);
        U8(value >> 8);
    }
    void U32(std::uint32_t value) {
        U16(value);
        U16(value >> 16);
    }
    void Raw(const std::string& bytes) { m_data += bytes; }
    void Zeros(std::size_t count) { m_data.append(count, '\0'); }
    // A NUL-terminated string.
    void Text(const std::string& text) {
        m_data += text;
        m_data += '\0';
    }
    // The compressed forms of paragraph data: a short in one byte when it
    // fits, else two with the lowest bit set; a long in two bytes or four.
    void CompressedUnsignedShort(std::uint32_t value) {
        if (value < 0x80)
            U8(value * 2);
        else
            U16(value * 2 + 1);
    }
    void CompressedShort(int value) {
        if (value >= -0x40 && value < 0x40)
            U8(static_cast<std::uint32_t>((value + 0x40) * 2));
        else
            U16(static_cast<std::uint32_t>((value + 0x4000) * 2 + 1));
    }
    void CompressedLong(std::uint32_t value) {
        if (value < 0x4000)
            U16((value + 0x4000) * 2);
        else
            U32((value + 0x40000000u) * 2 + 1);
    }

    const std::string& Data() const { return m_data; }
    std::size_t Size() const { return m_data.size(); }

  private:
    std::string m_data;
};

// LZ77 data that holds the bytes as literals: a zero flag byte before each
// group of eight.
std::string LiteralLz77(const std::string& data) {
    std::string out;
    for (std::size_t i = 0; i < data.size(); i += 8) {
        out += '\0';
        out += data.substr(i, 8);
    }
    return out;
}

// An internal file: its header (space reserved, space used, flags) and data.
std::string InternalFile(const std::string& data) {
    Bytes file;
    file.U32(static_cast<std::uint32_t>(data.size()) + 9);
    file.U32(static_cast<std::uint32_t>(data.size()));
    file.U8(4);
    file.Raw(data);
    return file.Data();
}

// A B+ tree of one leaf page holding the entries, already encoded and in key
// order; false when they do not fit the page.
bool SingleLeafBTree(std::uint16_t flags, std::uint16_t pageSize, const std::string& structure,
                     const std::vector<std::string>& entries, std::string& tree) {
    std::size_t used = kLeafHeader;
    for (const std::string& entry : entries) used += entry.size();
    if (used > pageSize) return false;
    Bytes out;
    out.U16(kBTreeMagic);
    out.U16(flags);
    out.U16(pageSize);
    out.Raw(structure);
    out.Zeros(16 - structure.size());
    out.U16(0);       // must be zero
    out.U16(0);       // page splits
    out.U16(0);       // root page
    out.U16(0xFFFF);  // must be -1
    out.U16(1);       // pages
    out.U16(1);       // levels
    out.U32(static_cast<std::uint32_t>(entries.size()));
    out.U16(static_cast<std::uint32_t>(pageSize - used));  // free bytes at the page's end
    out.U16(static_cast<std::uint32_t>(entries.size()));
    out.U16(0xFFFF);  // no previous leaf
    out.U16(0xFFFF);  // no next leaf
    for (const std::string& entry : entries) out.Raw(entry);
    out.Zeros(pageSize - used);
    tree = out.Data();
    return true;
}

// One TOPICLINK of |TOPIC and, once laid out, where it lies.
struct Record {
    std::uint8_t type = kRecordText;
    std::string format;            // LinkData1 after the fixed header
    std::string text;              // LinkData2
    std::uint32_t characters = 0;  // what the record adds to topic offsets
    int line = 0;
    std::size_t topic = 0;

    std::uint32_t block = 0;
    std::uint32_t position = 0;     // TOPICPOS
    std::uint32_t topicOffset = 0;  // TOPICOFFSET at its start

    std::uint32_t Size() const {
        return kTopicLinkHeader + static_cast<std::uint32_t>(format.size() + text.size());
    }
};

// Builds the text and the format commands of one paragraph record: each
// command follows one NUL-terminated string of text, often an empty one.
class Paragraph {
  public:
    enum class Style { kHeading, kBody, kListItem };

    explicit Paragraph(Style style) : m_style(style) {}

    void Font(std::uint16_t font) {
        if (font == m_font) return;
        Command(
            {kFontChange, static_cast<std::uint8_t>(font), static_cast<std::uint8_t>(font >> 8)});
        m_font = font;
    }
    void StartJump(std::int32_t hash) {
        const std::uint32_t value = static_cast<std::uint32_t>(hash);
        Command({kTopicJump, static_cast<std::uint8_t>(value),
                 static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value >> 16),
                 static_cast<std::uint8_t>(value >> 24)});
    }
    void EndJump() { Command({kEndJump}); }
    void Tab() { Command({kTab}); }
    void Text(const std::string& windows1252) { m_pending += windows1252; }

    Record Finish(int line, std::size_t topic) {
        Command({kEndParagraph});
        Command({kEndFormat});
        Record record;
        record.type = kRecordText;
        record.text = m_text;
        record.characters = static_cast<std::uint32_t>(m_text.size());
        record.line = line;
        record.topic = topic;
        Bytes format;
        format.CompressedLong(static_cast<std::uint32_t>(m_text.size()));  // size of the text
        format.CompressedUnsignedShort(record.characters);
        format.U8(0x00);  // paragraph header bytes that readers skip
        format.U8(0x80);
        format.U16(0);
        WriteLayout(format);
        format.Raw(m_commands);
        record.format = format.Data();
        return record;
    }

  private:
    void Command(std::initializer_list<std::uint8_t> bytes) {
        m_text += m_pending;
        m_text += '\0';
        m_pending.clear();
        for (std::uint8_t byte : bytes) m_commands += static_cast<char>(byte);
    }

    // The paragraph's spacing and indents: a mask of the values present,
    // then the values.
    void WriteLayout(Bytes& format) const {
        constexpr std::uint32_t kSpaceAbove = 0x0002, kSpaceBelow = 0x0004, kLeftIndent = 0x0010,
                                kFirstLineIndent = 0x0040, kTabStops = 0x0200;
        switch (m_style) {
            case Style::kHeading:
                format.U16(kSpaceBelow | kLeftIndent);
                format.CompressedShort(kSpaceAfterHeading);
                format.CompressedShort(kMargin);
                break;
            case Style::kBody:
                format.U16(kSpaceAbove | kLeftIndent);
                format.CompressedShort(kSpaceBeforeParagraph);
                format.CompressedShort(kMargin);
                break;
            case Style::kListItem:
                format.U16(kSpaceAbove | kLeftIndent | kFirstLineIndent | kTabStops);
                format.CompressedShort(kSpaceBeforeItem);
                format.CompressedShort(kItemIndent);
                format.CompressedShort(kMargin - kItemIndent);
                format.CompressedShort(1);  // one tab stop, left-aligned
                format.CompressedUnsignedShort(kItemIndent);
                break;
        }
    }

    Style m_style;
    std::uint16_t m_font = 0xFFFF;
    std::string m_text;
    std::string m_commands;
    std::string m_pending;
};

Record TopicHeader(const Topic& topic, std::size_t index) {
    Record record;
    record.type = kRecordTopicHeader;
    record.format.assign(28, '\0');  // filled in once the records are laid out
    record.text = ToWindows1252(topic.title) + '\0';
    record.line = topic.line;
    record.topic = index;
    return record;
}

Record HeadingRecord(const Topic& topic, std::size_t index) {
    Paragraph paragraph(Paragraph::Style::kHeading);
    paragraph.Font(kFontHeading);
    paragraph.Text(ToWindows1252(topic.title));
    return paragraph.Finish(topic.line, index);
}

Record BlockRecord(const Block& block, std::size_t index) {
    const bool item = block.kind == BlockKind::kListItem;
    Paragraph paragraph(item ? Paragraph::Style::kListItem : Paragraph::Style::kBody);
    paragraph.Font(kFontBody);
    if (item) {
        paragraph.Text(std::string(1, kBullet));
        paragraph.Tab();
    }
    for (const Run& run : block.runs) {
        paragraph.Font(run.bold ? kFontBold : kFontBody);
        if (!run.target.empty()) paragraph.StartJump(ContextHash(run.target));
        paragraph.Text(ToWindows1252(run.text));
        if (!run.target.empty()) paragraph.EndJump();
    }
    return paragraph.Finish(block.line, index);
}

// Puts the records into blocks, whole: a record never crosses into the next
// block, and a topic header starts a new block rather than end one.
bool LayOut(std::vector<Record>& records, SourceError& error) {
    std::uint32_t block = 0, used = 0, characters = 0;
    for (std::size_t i = 0; i < records.size(); ++i) {
        Record& record = records[i];
        if (record.Size() > kBlockData) {
            error.line = record.line;
            error.message = "paragraph too long for a help file (" + std::to_string(record.Size()) +
                            " bytes, at most " + std::to_string(kBlockData) + "): split it";
            return false;
        }
        std::uint32_t needed = record.Size();
        if (record.type == kRecordTopicHeader && i + 1 < records.size())
            needed += records[i + 1].Size();
        if (used > 0 && used + needed > kBlockData) {
            ++block;
            used = 0;
            characters = 0;
        }
        record.block = block;
        record.position = (block << 14) + kBlockHeaderSize + used;
        record.topicOffset = (block << 15) + characters;
        used += record.Size();
        characters += record.characters;
    }
    return true;
}

// The topic headers' own fields, which point at other records.
void FillTopicHeaders(std::vector<Record>& records) {
    std::vector<std::size_t> headers;
    for (std::size_t i = 0; i < records.size(); ++i)
        if (records[i].type == kRecordTopicHeader) headers.push_back(i);
    for (std::size_t h = 0; h < headers.size(); ++h) {
        const std::size_t first = headers[h];
        const std::size_t end = h + 1 < headers.size() ? headers[h + 1] : records.size();
        std::uint32_t size = 0;
        for (std::size_t i = first; i < end; ++i) size += records[i].Size();
        Bytes fields;
        fields.U32(size);                           // the topic's records, in bytes
        fields.U32(kNone);                          // no browse sequence: no previous
        fields.U32(kNone);                          // and no next
        fields.U32(static_cast<std::uint32_t>(h));  // topic number
        fields.U32(kNone);                          // no non-scrolling region
        fields.U32(records[first].topicOffset);     // the scrolling region starts at once
        fields.U32(end < records.size() ? records[end].position : kNone);  // next topic
        records[first].format = fields.Data();
    }
}

std::string TopicFile(const std::vector<Record>& records) {
    Bytes file;
    std::uint32_t lastHeader = kNone;
    for (std::size_t first = 0; first < records.size();) {
        const std::uint32_t block = records[first].block;
        std::size_t end = first;
        while (end < records.size() && records[end].block == block) ++end;
        Bytes data;
        for (std::size_t i = first; i < end; ++i) {
            const Record& record = records[i];
            data.U32(record.Size());
            data.U32(static_cast<std::uint32_t>(record.text.size()));
            data.U32(i > 0 ? records[i - 1].position : kNone);
            data.U32(i + 1 < records.size() ? records[i + 1].position : kNone);
            data.U32(kTopicLinkHeader + static_cast<std::uint32_t>(record.format.size()));
            data.U8(record.type);
            data.Raw(record.format);
            data.Raw(record.text);
        }
        file.U32(first > 0 ? records[first - 1].position : kNone);  // last link before the block
        file.U32(records[first].position);                          // first link in it
        file.U32(lastHeader);  // the topic under way where the block starts
        const std::string packed = LiteralLz77(data.Data());
        file.Raw(packed);
        file.Zeros(kBlockSpace - packed.size());
        for (std::size_t i = first; i < end; ++i)
            if (records[i].type == kRecordTopicHeader) lastHeader = records[i].position;
        first = end;
    }
    return file.Data();
}

std::string SystemFile(const HelpSource& source, std::uint32_t contents) {
    Bytes file;
    file.U16(0x036C);  // magic
    file.U16(33);      // format 4.0
    file.U16(1);
    file.U32(0);  // no date, so that builds are reproducible
    file.U16(4);  // LZ77 topic blocks of 4 KB
    const std::string title = ToWindows1252(source.title);
    file.U16(1);  // title
    file.U16(static_cast<std::uint32_t>(title.size() + 1));
    file.Text(title);
    // The main window, with the title as its caption: a viewer that is
    // already running when it opens the file shows it then too.
    constexpr std::uint16_t kNameValid = 0x0002, kCaptionValid = 0x0004;
    constexpr std::size_t kTypeSize = 10, kNameSize = 9, kCaptionSize = 51;
    file.U16(6);
    file.U16(90);
    file.U16(kNameValid | kCaptionValid);
    file.Zeros(kTypeSize);
    file.Raw("main");
    file.Zeros(kNameSize - 4);
    file.Raw(title.substr(0, kCaptionSize - 1));
    file.Zeros(kCaptionSize - std::min(title.size(), kCaptionSize - 1));
    file.Zeros(5 * 2);  // no position, size or state: the viewer's own
    file.Zeros(2 * 4);  // no colours
    file.U16(3);        // contents topic
    file.U16(4);
    file.U32(contents);
    file.U16(9);  // locale: two sorting flags, two unused words, the locale id
    file.U16(10);
    file.U16(0);
    file.U16(0);
    file.U16(0);
    file.U16(0);
    file.U16(source.language->lcid);
    file.U16(11);  // character set
    file.U16(2);
    file.U16(source.language->charset);
    // A macro that the viewer runs whenever it shows a topic, also when a
    // second Help press reuses its window behind the game's: the window goes
    // on top of all others and back, so it comes to the front, and its "on
    // top" setting stays as the player left it.
    const std::string macro = "HelpOnTop();HelpOnTop()";
    file.U16(4);
    file.U16(static_cast<std::uint32_t>(macro.size() + 1));
    file.Text(macro);
    return file.Data();
}

// Three fonts of one face: body text, bold text and topic headings.
std::string FontFile() {
    constexpr std::size_t kFaceSize = 32;
    const std::string face = "Arial";
    Bytes file;
    file.U16(1);                                          // face names
    file.U16(3);                                          // fonts
    file.U16(8);                                          // where the face names start
    file.U16(static_cast<std::uint32_t>(8 + kFaceSize));  // where the fonts start
    file.Raw(face);
    file.Zeros(kFaceSize - face.size());
    struct {
        std::uint8_t attributes;  // bit 0: bold
        std::uint8_t halfPoints;
    } const fonts[] = {{0, 20}, {1, 20}, {1, 28}};
    for (const auto& font : fonts) {
        file.U8(font.attributes);
        file.U8(font.halfPoints);
        file.U8(3);     // family: swiss
        file.U16(0);    // face name
        file.Zeros(3);  // black text
        file.Zeros(3);  // background, unused
    }
    return file.Data();
}

// |CONTEXT: each topic's name hash and offset, in the order of the hashes
// as signed numbers.
bool ContextFile(const HelpSource& source, const std::vector<Record>& records, std::string& file) {
    std::vector<std::pair<std::int32_t, std::uint32_t>> contexts;
    for (const Record& record : records)
        if (record.type == kRecordTopicHeader)
            contexts.emplace_back(ContextHash(source.topics[record.topic].context),
                                  record.topicOffset);
    std::sort(contexts.begin(), contexts.end());
    std::vector<std::string> entries;
    for (const auto& [hash, offset] : contexts) {
        Bytes entry;
        entry.U32(static_cast<std::uint32_t>(hash));
        entry.U32(offset);
        entries.push_back(entry.Data());
    }
    return SingleLeafBTree(0x0002, kTreePageSize, "L4", entries, file);
}

// Windows-1252 text with its capitals made small, for ordering the index.
std::string Folded(std::string text) {
    for (char& c : text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if ((byte >= 'A' && byte <= 'Z') || (byte >= 0xC0 && byte <= 0xDE && byte != 0xD7))
            c = static_cast<char>(byte + 0x20);
        else if (byte == 0x8A || byte == 0x8C || byte == 0x8E)
            c = static_cast<char>(byte + 0x10);
        else if (byte == 0x9F)
            c = static_cast<char>(0xFF);
    }
    return text;
}

// The keyword index, which the viewer's Index lists: each topic but the
// contents under its title. |KWBTREE holds the keywords in order, each with
// how many topics it leads to and where their offsets start in |KWDATA;
// |KWMAP tells which keyword starts each leaf page (there is one).
bool KeywordFiles(const HelpSource& source, const std::vector<Record>& records, std::string& tree,
                  std::string& data, std::string& map) {
    std::vector<std::pair<std::string, std::uint32_t>> keywords;  // title, topic offset
    for (const Record& record : records)
        if (record.type == kRecordTopicHeader && record.topic > 0)
            keywords.emplace_back(ToWindows1252(source.topics[record.topic].title),
                                  record.topicOffset);
    std::stable_sort(keywords.begin(), keywords.end(), [](const auto& a, const auto& b) {
        return std::make_pair(Folded(a.first), a.first) < std::make_pair(Folded(b.first), b.first);
    });
    Bytes offsets;
    std::vector<std::string> entries;
    for (std::size_t i = 0; i < keywords.size();) {
        std::size_t end = i;
        while (end < keywords.size() && keywords[end].first == keywords[i].first) ++end;
        Bytes entry;
        entry.Text(keywords[i].first);
        entry.U16(static_cast<std::uint32_t>(end - i));
        entry.U32(static_cast<std::uint32_t>(offsets.Size()));
        entries.push_back(entry.Data());
        for (; i < end; ++i) offsets.U32(keywords[i].second);
    }
    data = offsets.Data();
    Bytes pages;
    pages.U32(0);  // the first keyword of leaf page 0
    pages.U16(0);
    map = pages.Data();
    return SingleLeafBTree(0x0002, kTreePageSize, "F24", entries, tree);
}

}  // namespace

bool BuildHlpFile(const HelpSource& all, std::string& bytes, SourceError& error) {
    const HelpSource source = ForReader(all, Reader::kWindows);
    std::vector<Record> records;
    for (std::size_t t = 0; t < source.topics.size(); ++t) {
        const Topic& topic = source.topics[t];
        records.push_back(TopicHeader(topic, t));
        records.push_back(HeadingRecord(topic, t));
        for (const Block& block : topic.blocks) records.push_back(BlockRecord(block, t));
    }
    if (!LayOut(records, error)) return false;
    FillTopicHeaders(records);

    std::string context, keywords, keywordData, keywordMap;
    if (!ContextFile(source, records, context) ||
        !KeywordFiles(source, records, keywords, keywordData, keywordMap)) {
        error.line = 0;
        error.message = "too many topics for one help file";
        return false;
    }
    // In the order of their names, as the directory wants them.
    std::vector<std::pair<std::string, std::string>> files = {
        {"|CONTEXT", context},
        {"|FONT", FontFile()},
        {"|KWBTREE", keywords},
        {"|KWDATA", keywordData},
        {"|KWMAP", keywordMap},
        {"|SYSTEM", SystemFile(source, records.front().topicOffset)},
        {"|TOPIC", TopicFile(records)},
    };
    Bytes out;
    out.Zeros(16);  // the header, written last
    std::vector<std::string> directory;
    for (const auto& [name, data] : files) {
        Bytes entry;
        entry.Text(name);
        entry.U32(static_cast<std::uint32_t>(out.Size()));
        directory.push_back(entry.Data());
        out.Raw(InternalFile(data));
    }
    std::string directoryTree;
    SingleLeafBTree(0x0402, kDirectoryPageSize, "z4", directory, directoryTree);
    const std::uint32_t directoryStart = static_cast<std::uint32_t>(out.Size());
    out.Raw(InternalFile(directoryTree));

    Bytes header;
    header.U32(0x00035F3F);  // magic
    header.U32(directoryStart);
    header.U32(kNone);  // no free blocks
    header.U32(static_cast<std::uint32_t>(out.Size()));
    bytes = header.Data() + out.Data().substr(16);
    return true;
}

}  // namespace helpc
