// The application shell in a program without the game's dialog templates:
// the main window cannot be made, which must end in the fatal box and exit
// code 1, not in a silent exit.
#include <gtest/gtest.h>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cstdio>
#include <thread>

#include "game_app.h"

namespace {

struct BoxSearch {
    HWND found = nullptr;
};

BOOL CALLBACK FindFatalBox(HWND hwnd, LPARAM param) {
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    char caption[64] = {};
    GetWindowTextA(hwnd, caption, sizeof caption);
    if (pid == GetCurrentProcessId() && IsWindowVisible(hwnd) &&
        lstrcmpA(caption, "Vrel:  Fatal Error") == 0) {
        reinterpret_cast<BoxSearch*>(param)->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

TEST(AppShellDeathTest, MainWindowThatCannotBeMadeIsFatal) {
    EXPECT_EXIT(
        {
            // Presses OK on the fatal box once it shows with a text; exit
            // code 10 if it never does (generous for a loaded machine).
            std::thread([] {
                for (int tries = 0; tries < 9000; ++tries) {
                    BoxSearch search;
                    EnumWindows(FindFatalBox, reinterpret_cast<LPARAM>(&search));
                    char text[512] = {};
                    if (search.found &&
                        GetDlgItemTextA(search.found, 0xFFFF, text, sizeof text) > 0) {
                        std::fprintf(stderr, "fatal box: %s\n", text);
                        PostMessageA(search.found, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
                        return;
                    }
                    Sleep(10);
                }
                ::ExitProcess(10);
            }).detach();
            CGameApp& app = GetApp();
            app.InitInstance(GetModuleHandleA(nullptr));
            app.RunMainWindow();
            ::ExitProcess(20);  // the shell went on without its main window
        },
        ::testing::ExitedWithCode(1), "fatal box: .+");
}

}  // namespace
