// The resources compiled into Vrel.exe: the string table against strings.inc,
// the icons, the version and the dialog templates' controls; and those of
// every other edition against its own string table and the English templates.
#include <gtest/gtest.h>
#include <windows.h>

#include <cctype>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "editions.h"
#include "resource.h"

namespace {

// "#n", the way resource ordinals are written. (Built without operator+,
// which trips a false -Wrestrict in GCC 12.)
std::string OrdinalName(unsigned long long n) {
    std::string name = std::to_string(n);
    name.insert(name.begin(), '#');
    return name;
}

struct Text {
    int id;
    const char* text;
};
const Text kTexts[] = {
#define VREL_STRING(id, name, text) {id, text},
#include "editions/en/strings.inc"
#undef VREL_STRING
};

class ResourcesTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        s_module = LoadLibraryExA(VREL_EXE_PATH, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    }
    void SetUp() override { ASSERT_NE(s_module, nullptr) << "cannot load " << VREL_EXE_PATH; }
    static HMODULE s_module;
};
HMODULE ResourcesTest::s_module = nullptr;

// One control of a DIALOG template.
struct Item {
    DWORD style;
    short x, y, cx, cy;
    int id;
    WORD classAtom;  // 0x80 button, 0x81 edit, 0x82 static, 0x83 list box
    std::string text;
};

struct Template {
    DWORD style;
    short cx, cy;
    std::string title;
    WORD pointSize;
    std::string font;
    std::vector<Item> items;
};

std::string Narrow(const WORD*& p) {
    std::string s;
    while (*p) s += static_cast<char>(*p++);
    ++p;
    return s;
}

// Reads a class or title field: an ordinal (0xFFFF, n) or a string.
std::string Field(const WORD*& p, WORD* ordinal) {
    if (*p == 0xFFFF) {
        if (ordinal) *ordinal = p[1];
        p += 2;
        return std::string();
    }
    return Narrow(p);
}

Template ParseTemplate(HMODULE module, int id) {
    Template t{};
    HRSRC res = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5));
    if (!res) return t;
    const auto* base = static_cast<const BYTE*>(LockResource(LoadResource(module, res)));
    const auto* header = reinterpret_cast<const DLGTEMPLATE*>(base);
    t.style = header->style;
    t.cx = header->cx;
    t.cy = header->cy;
    const WORD* p = reinterpret_cast<const WORD*>(header + 1);
    Field(p, nullptr);  // menu
    Field(p, nullptr);  // class
    t.title = Narrow(p);
    if (t.style & DS_SETFONT) {
        t.pointSize = *p++;
        t.font = Narrow(p);
    }
    for (int i = 0; i < header->cdit; ++i) {
        const auto offset = reinterpret_cast<const BYTE*>(p) - base;
        p = reinterpret_cast<const WORD*>(base + ((offset + 3) & ~3));
        const auto* item = reinterpret_cast<const DLGITEMTEMPLATE*>(p);
        Item it{item->style, item->x, item->y, item->cx, item->cy, static_cast<short>(item->id),
                0,           ""};
        p = reinterpret_cast<const WORD*>(item + 1);
        Field(p, &it.classAtom);
        WORD ordinal = 0;
        it.text = Field(p, &ordinal);
        if (it.text.empty() && ordinal) it.text = OrdinalName(ordinal);
        const WORD extra = *p++;
        p = reinterpret_cast<const WORD*>(reinterpret_cast<const BYTE*>(p) + extra);
        t.items.push_back(it);
    }
    return t;
}

TEST_F(ResourcesTest, StringTableMatchesTheTextsOfTheSource) {
    for (const Text& entry : kTexts) {
        char buffer[1024];
        const int length =
            LoadStringA(s_module, static_cast<UINT>(entry.id), buffer, sizeof buffer);
        EXPECT_EQ(std::string(buffer, length > 0 ? length : 0), entry.text)
            << "string " << entry.id;
    }
}

TEST_F(ResourcesTest, TwoIconGroupsWithIconFirst) {
    std::vector<std::string> names;
    EnumResourceNamesA(
        s_module, MAKEINTRESOURCEA(14),
        [](HMODULE, LPCSTR, LPSTR name, LONG_PTR list) -> BOOL {
            reinterpret_cast<std::vector<std::string>*>(list)->push_back(
                IS_INTRESOURCE(name) ? OrdinalName(reinterpret_cast<ULONG_PTR>(name))
                                     : std::string(name));
            return TRUE;
        },
        reinterpret_cast<LONG_PTR>(&names));
    ASSERT_EQ(names.size(), 2u);
    EXPECT_EQ(names[0], "ICON");
    EXPECT_EQ(names[1], "#2");
}

TEST_F(ResourcesTest, VersionIs2050) {
    HRSRC res = FindResourceA(s_module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(16));
    ASSERT_NE(res, nullptr);
    const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(s_module, res)));
    const DWORD size = SizeofResource(s_module, res);
    // VS_FIXEDFILEINFO follows its signature inside the block.
    const DWORD signature = 0xFEEF04BD;
    const BYTE* found = nullptr;
    for (DWORD i = 0; i + sizeof(VS_FIXEDFILEINFO) <= size; i += 4)
        if (std::memcmp(data + i, &signature, 4) == 0) found = data + i;
    ASSERT_NE(found, nullptr);
    const auto* info = reinterpret_cast<const VS_FIXEDFILEINFO*>(found);
    EXPECT_EQ(info->dwFileVersionMS, 0x00020000u);
    EXPECT_EQ(info->dwFileVersionLS, 0x00050000u);
    EXPECT_EQ(info->dwProductVersionMS, 0x00020000u);
    EXPECT_EQ(info->dwProductVersionLS, 0x00050000u);
}

TEST_F(ResourcesTest, MainWindowTemplate) {
    const Template t = ParseTemplate(s_module, IDD_GAME);
    EXPECT_EQ(t.title, "Vrel 2");
    EXPECT_EQ(t.font, "System");
    EXPECT_EQ(t.pointSize, 10);
    EXPECT_EQ(t.cx, 277);
    EXPECT_EQ(t.cy, 172);
    EXPECT_EQ(t.style & WS_VISIBLE, 0u);
    EXPECT_EQ(t.style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | DS_MODALFRAME | DS_LOCALEDIT),
              static_cast<DWORD>(WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | DS_MODALFRAME |
                                 DS_LOCALEDIT));
    ASSERT_EQ(t.items.size(), 30u);
    // Letter buttons in id order, row by row.
    for (int i = 0; i < 16; ++i) {
        const Item& b = t.items[1 + i];
        EXPECT_EQ(b.id, 1004 + i);
        EXPECT_EQ(b.x, 11 + 22 * (i % 4)) << b.id;
        EXPECT_EQ(b.y, 18 + 20 * (i / 4)) << b.id;
        EXPECT_EQ(b.cx, 18);
        EXPECT_EQ(b.cy, 16);
        EXPECT_NE(b.style & WS_DISABLED, 0u) << b.id;
        EXPECT_NE(b.style & WS_TABSTOP, 0u) << b.id;
    }
    struct Expected {
        std::size_t index;
        int id;
        const char* text;
        short x, y, cx, cy;
        bool disabled;
    };
    const Expected rows[] = {
        {0, -1, "Letter Cubes", 5, 4, 96, 96, false},
        {17, -1, "&Word", 5, 103, 96, 45, false},
        {18, 119, "", 10, 116, 86, 12, true},
        {19, 135, "Add Word to &List", 8, 132, 62, 12, true},
        {20, 1035, "&Clear", 74, 132, 24, 12, true},
        {21, 125, "Average Score:", 109, 7, 164, 9, false},
        {22, 1022, "", 109, 19, 164, 9, false},
        {23, 1001, "", 109, 34, 162, 114, false},
        {24, 121, "&Start Game", 10, 155, 44, 12, false},
        {25, 120, "&Quit Game", 66, 155, 40, 12, true},
        {26, 122, "&Help...", 118, 155, 36, 12, false},
        {27, 123, "&About...", 166, 155, 39, 12, false},
        {28, 1, "E&xit Program", 217, 155, 50, 12, false},
        {29, 1002, "", 108, 150, 7, 8, false},
    };
    for (const Expected& e : rows) {
        const Item& it = t.items[e.index];
        EXPECT_EQ(it.id, e.id) << e.index;
        EXPECT_EQ(it.text, e.text) << e.id;
        EXPECT_EQ(it.x, e.x) << e.id;
        EXPECT_EQ(it.y, e.y) << e.id;
        EXPECT_EQ(it.cx, e.cx) << e.id;
        EXPECT_EQ(it.cy, e.cy) << e.id;
        EXPECT_EQ((it.style & WS_DISABLED) != 0, e.disabled) << e.id;
    }
    EXPECT_EQ(t.items[18].style & (ES_UPPERCASE | ES_AUTOHSCROLL | WS_BORDER),
              static_cast<DWORD>(ES_UPPERCASE | ES_AUTOHSCROLL | WS_BORDER));
    EXPECT_EQ(t.items[19].style & 0xF, static_cast<DWORD>(BS_DEFPUSHBUTTON));
    EXPECT_EQ(t.items[23].style & (LBS_SORT | LBS_MULTICOLUMN | LBS_NOTIFY | WS_HSCROLL),
              static_cast<DWORD>(LBS_SORT | LBS_MULTICOLUMN | LBS_NOTIFY | WS_HSCROLL));
    EXPECT_EQ(t.items[29].style & (WS_VISIBLE | WS_TABSTOP), 0u);
}

TEST_F(ResourcesTest, WorkDialogTemplates) {
    const Template load = ParseTemplate(s_module, IDD_LOAD);
    ASSERT_EQ(load.items.size(), 2u);
    EXPECT_EQ(load.items[0].text, "Loading dictionary.  One moment please...");
    EXPECT_EQ(load.items[1].id, 1003);
    EXPECT_EQ(load.items[1].style & WS_VISIBLE, 0u);
    EXPECT_EQ(load.style & WS_SYSMENU, 0u);

    const Template save = ParseTemplate(s_module, IDD_SAVE);
    ASSERT_EQ(save.items.size(), 2u);
    EXPECT_EQ(save.items[0].text, "Saving dictionary.  One moment please...");
    EXPECT_EQ(save.items[1].id, 1030);

    const Template search = ParseTemplate(s_module, IDD_SEARCH);
    EXPECT_EQ(search.cx, 161);
    EXPECT_EQ(search.cy, 62);
    ASSERT_EQ(search.items.size(), 4u);
    EXPECT_EQ(search.items[0].text, "Searching for words, one moment please...");
    EXPECT_EQ(search.items[1].id, 1001);
    EXPECT_EQ(search.items[2].id, 1020);
    EXPECT_EQ(search.items[3].id, 1);
    EXPECT_EQ(search.items[3].text, "&OK");
    EXPECT_NE(search.items[3].style & WS_DISABLED, 0u);
}

TEST_F(ResourcesTest, ResultsAndAboutTemplates) {
    const Template results = ParseTemplate(s_module, IDD_RESULTS);
    ASSERT_EQ(results.items.size(), 5u);
    const int ids[] = {1028, 1027, 1029, 1026, 1};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(results.items[i].id, ids[i]);
    EXPECT_EQ(results.items[4].text, "&Close");
    EXPECT_NE(results.style & WS_SYSMENU, 0u);

    const Template about = ParseTemplate(s_module, IDD_ABOUT);
    EXPECT_EQ(about.pointSize, 8);
    EXPECT_EQ(about.cx, 175);
    ASSERT_EQ(about.items.size(), 3u);
    EXPECT_EQ(about.items[0].text.substr(0, about.items[0].text.find('\n')),
              "Vrel 2 v. 2.05 for Windows 95 and NT");
    EXPECT_EQ(about.items[0].text.find("NT\n\n") != std::string::npos, true);
    EXPECT_EQ(about.items[1].text, "#2");  // icon resource 2
    EXPECT_EQ(about.items[2].id, 1);
    EXPECT_EQ(about.items[2].text, "&Close");
}

// ---- The other editions, each in editions/CODE/Vrel.exe.

class EditionResources : public ResourcesTest {
  protected:
    static HMODULE Load(const Edition& edition) {
        const std::string path = std::string(VREL_EDITIONS_PATH) + "/" + edition.code + "/Vrel.exe";
        return LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    }
};

// The entry as Windows-1252 bytes, whatever the ANSI code page of the test.
std::string Text1252(HMODULE module, int id) {
    const wchar_t* text = nullptr;
    const int length =
        LoadStringW(module, static_cast<UINT>(id), reinterpret_cast<wchar_t*>(&text), 0);
    if (length <= 0 || !text) return std::string();
    std::string bytes(static_cast<std::size_t>(length) * 2, '\0');
    const int size = WideCharToMultiByte(1252, 0, text, length, bytes.data(),
                                         static_cast<int>(bytes.size()), nullptr, nullptr);
    bytes.resize(size > 0 ? static_cast<std::size_t>(size) : 0);
    return bytes;
}

TEST_F(EditionResources, StringTablesMatchTheirSources) {
    for (const Edition* edition = kEditions + 1; edition->code; ++edition) {
        const HMODULE module = Load(*edition);
        ASSERT_NE(module, nullptr) << edition->code;
        for (const Text& entry : kTexts) {
            const char* source = edition->Text(entry.id);
            ASSERT_NE(source, nullptr) << edition->code << " string " << entry.id;
            EXPECT_EQ(Text1252(module, entry.id), source)
                << edition->code << " string " << entry.id;
        }
        const std::string alphabet = edition->Text(IDS_ALPHABET);
        EXPECT_GE(alphabet.size(), 26u) << edition->code;
        EXPECT_LE(alphabet.size(), 29u) << edition->code;
        // A to Z in their order, each edition's own letters among or after
        // them (Spanish has Ñ after N), and no letter twice.
        std::string latin;
        for (char c : alphabet)
            if (c >= 'A' && c <= 'Z') latin += c;
        EXPECT_EQ(latin, "ABCDEFGHIJKLMNOPQRSTUVWXYZ") << edition->code;
        EXPECT_EQ(std::set<char>(alphabet.begin(), alphabet.end()).size(), alphabet.size())
            << edition->code;
        FreeLibrary(module);
    }
}

// Same ids, places, sizes, styles and titles as English; one About line;
// no mnemonic twice in a dialog.
TEST_F(EditionResources, TemplatesHaveTheEnglishLayout) {
    const int kTemplates[] = {IDD_GAME, IDD_ABOUT, IDD_LOAD, IDD_SEARCH, IDD_RESULTS, IDD_SAVE};
    for (const Edition* edition = kEditions + 1; edition->code; ++edition) {
        const HMODULE module = Load(*edition);
        ASSERT_NE(module, nullptr) << edition->code;
        for (int id : kTemplates) {
            const Template english = ParseTemplate(s_module, id);
            const Template t = ParseTemplate(module, id);
            const std::string where =
                std::string(edition->code) + " template " + std::to_string(id);
            EXPECT_EQ(t.title, "Vrel 2") << where;
            EXPECT_EQ(t.style, english.style) << where;
            EXPECT_EQ(t.cx, english.cx) << where;
            EXPECT_EQ(t.cy, english.cy) << where;
            EXPECT_EQ(t.font, english.font) << where;
            EXPECT_EQ(t.pointSize, english.pointSize) << where;
            ASSERT_EQ(t.items.size(), english.items.size()) << where;
            std::string mnemonics;
            for (std::size_t i = 0; i < t.items.size(); ++i) {
                const Item& a = t.items[i];
                const Item& b = english.items[i];
                EXPECT_EQ(a.id, b.id) << where << " item " << i;
                EXPECT_EQ(a.style, b.style) << where << " item " << i;
                EXPECT_EQ(a.classAtom, b.classAtom) << where << " item " << i;
                EXPECT_TRUE(a.x == b.x && a.y == b.y && a.cx == b.cx && a.cy == b.cy)
                    << where << " item " << i << " at " << a.x << "," << a.y << " " << a.cx << "x"
                    << a.cy;
                EXPECT_EQ(a.text.empty(), b.text.empty()) << where << " item " << i;
                const std::size_t amp = a.text.find('&');
                if (amp != std::string::npos && amp + 1 < a.text.size()) {
                    const char key = static_cast<char>(
                        std::tolower(static_cast<unsigned char>(a.text[amp + 1])));
                    EXPECT_EQ(mnemonics.find(key), std::string::npos)
                        << where << ": mnemonic " << key << " twice";
                    mnemonics += key;
                }
            }
        }
        const Template about = ParseTemplate(module, IDD_ABOUT);
        EXPECT_EQ(about.items[0].text.substr(0, about.items[0].text.find("\n\n")),
                  "Vrel 2 v. 2.05 for Windows 95 and NT")
            << edition->code;
        FreeLibrary(module);
    }
}

}  // namespace
