// Every edition's texts fit their controls: the texts of the dialog templates,
// and the string table's lines in the static texts that show them, with the
// largest numbers a game gives. Measured in the dialogs' own fonts.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "editions.h"
#include "resource.h"

namespace {

HMODULE LoadEdition(const Edition& edition) {
    const std::string path =
        &edition == &kEditions[0]
            ? std::string(VREL_EXE_PATH)
            : std::string(VREL_EDITIONS_PATH) + "/" + edition.code + "/Vrel.exe";
    return LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
}

INT_PTR CALLBACK QuietDialog(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// The template, created hidden: its controls with their texts and fonts.
HWND CreateHidden(HMODULE module, int id) {
    HRSRC res = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(5));
    if (!res) return nullptr;
    const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(module, res)));
    std::vector<BYTE> copy(data, data + SizeofResource(module, res));
    reinterpret_cast<DLGTEMPLATE*>(copy.data())->style &= ~static_cast<DWORD>(WS_VISIBLE);
    return CreateDialogIndirectParamW(GetModuleHandleW(nullptr),
                                      reinterpret_cast<DLGTEMPLATE*>(copy.data()), nullptr,
                                      QuietDialog, 0);
}

std::wstring Wide1252(const std::string& text) {
    std::wstring wide(text.size(), L'\0');
    const int length = MultiByteToWideChar(1252, 0, text.data(), static_cast<int>(text.size()),
                                           wide.data(), static_cast<int>(wide.size()));
    wide.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
    return wide;
}

std::string Format(const Edition& edition, int id, int a, int b = 0, int c = 0) {
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, edition.Text(id), a, b, c);
    return buffer;
}

// What the control's text needs and what the control gives, in pixels; empty
// when it fits.
std::string Misfit(HWND control) {
    const int length = GetWindowTextLengthW(control);
    if (length == 0) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(control, text.data(), length + 1)));
    wchar_t className[32] = {};
    GetClassNameW(control, className, 32);
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    const std::wstring kind = className;
    if (kind == L"Static" && (style & SS_TYPEMASK) == SS_ICON) return {};  // no text
    RECT client;
    GetClientRect(control, &client);
    HDC dc = GetDC(control);
    const HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
    RECT need = client;
    int roomX = client.right, roomY = client.bottom;
    if (kind == L"Static") {
        DrawTextW(dc, text.c_str(), -1, &need, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS);
    } else {
        DrawTextW(dc, text.c_str(), -1, &need, DT_CALCRECT | DT_SINGLELINE);
        // Buttons draw inside their edges; a group box's title sits in from
        // its left edge.
        roomX -= (style & 0x0F) == BS_GROUPBOX ? 16 : 6;
    }
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    if (need.right <= roomX && need.bottom <= roomY) return {};
    char where[64];
    std::snprintf(where, sizeof where, " needs %ldx%ld, has %dx%d", need.right, need.bottom, roomX,
                  roomY);
    std::string shown;
    for (wchar_t c : text) shown += c < 0x80 ? static_cast<char>(c) : '?';
    return "control " + std::to_string(GetDlgCtrlID(control)) + " \"" + shown + "\"" + where;
}

// The largest count an edition's lines show. In 204,800 deals each, boards
// of the shipped dictionaries held at most 296 words (en), 301 (de), 310
// (sv), 394 (nl), 397 (da), 276 (it), 410 (es), 449 (pt) and 470 (fr), and
// the richest English boards a search could build hold about 470: three
// digits. Norwegian boards reached 731 in those
// deals, and built ones pass 1,000: four digits. With the largest count as
// found words and maximum, and 100 percent, the score line has as many
// digits as a real game gives it (fewer words against a small maximum trade
// digits of the counts for digits of the percent); digits are all of one
// width.
int LargestCount(const Edition& edition) { return edition.code == std::string("nb") ? 9999 : 999; }

struct Dynamic {
    int dialog, control;
    std::string text;
};

TEST(EditionLayout, EveryTextFitsItsControl) {
    for (const Edition* edition = kEditions; edition->code; ++edition) {
        const HMODULE module = LoadEdition(*edition);
        ASSERT_NE(module, nullptr) << edition->code;
        // The lines the program writes into statics, at their longest.
        const int largest = LargestCount(*edition);
        const std::vector<Dynamic> lines = {
            {IDD_GAME, IDC_SCORE_LINE, Format(*edition, IDS_SCORE_LINE, largest, largest, 100)},
            {IDD_GAME, IDC_AVERAGE_LINE, Format(*edition, IDS_AVERAGE_LINE, 100)},
            {IDD_SEARCH, IDC_PROGRESS_LINE, Format(*edition, IDS_SEARCH_PROGRESS, largest)},
            {IDD_RESULTS, IDC_FOUND_HEADING, Format(*edition, IDS_FOUND_HEADING, largest)},
            {IDD_RESULTS, IDC_MISSED_HEADING, Format(*edition, IDS_MISSED_HEADING, largest)},
        };
        for (int id : {IDD_GAME, IDD_ABOUT, IDD_LOAD, IDD_SEARCH, IDD_RESULTS, IDD_SAVE}) {
            const HWND dialog = CreateHidden(module, id);
            ASSERT_NE(dialog, nullptr) << edition->code << " template " << id;
            std::vector<HWND> controls;
            for (HWND child = GetWindow(dialog, GW_CHILD); child;
                 child = GetWindow(child, GW_HWNDNEXT))
                controls.push_back(child);
            for (HWND control : controls) {
                const std::string misfit = Misfit(control);
                EXPECT_EQ(misfit, "") << edition->code << " template " << id;
            }
            for (const Dynamic& line : lines) {
                if (line.dialog != id) continue;
                const HWND control = GetDlgItem(dialog, line.control);
                SetWindowTextW(control, Wide1252(line.text).c_str());
                EXPECT_EQ(Misfit(control), "") << edition->code << " template " << id;
            }
            DestroyWindow(dialog);
        }
        FreeLibrary(module);
    }
}

}  // namespace
