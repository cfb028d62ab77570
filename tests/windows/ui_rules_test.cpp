// The application shell's window-free rules: names from the executable's
// path, centring and the message boxes' default icon.
#include <gtest/gtest.h>

#include "app_rules.h"

TEST(AppNames, NameAndHelpFileFollowTheExecutable) {
    const AppNames names = DeriveAppNames("C:\\GAMES\\GAME.EXE");
    EXPECT_EQ(names.appName, "GAME");
    EXPECT_EQ(names.helpFilePath, "C:\\GAMES\\GAME.HLP");

    const AppNames vrel = DeriveAppNames("D:\\Play\\Vrel.exe");
    EXPECT_EQ(vrel.appName, "Vrel");
    EXPECT_EQ(vrel.helpFilePath, "D:\\Play\\Vrel.HLP");
}

TEST(AppNames, OnlyTheLastDotOfTheFileNameStartsTheExtension) {
    const AppNames twoDots = DeriveAppNames("C:\\x\\vrel.v2.exe");
    EXPECT_EQ(twoDots.appName, "vrel.v2");
    EXPECT_EQ(twoDots.helpFilePath, "C:\\x\\vrel.v2.HLP");

    // A dot in a folder is not an extension.
    const AppNames dottedFolder = DeriveAppNames("C:\\v1.2\\GAME");
    EXPECT_EQ(dottedFolder.appName, "GAME");
    EXPECT_EQ(dottedFolder.helpFilePath, "C:\\v1.2\\GAME.HLP");
}

TEST(CenteredPosition, CentresOnTheReferenceWithTruncatedHalves) {
    const RECT work{0, 0, 1024, 738};
    const RECT owner{100, 50, 601, 451};  // 501 x 401
    const POINT p = CenteredPosition(owner, work, 101, 51);
    EXPECT_EQ(p.x, (100 + 601) / 2 - 101 / 2);  // 350 - 50
    EXPECT_EQ(p.y, (50 + 451) / 2 - 51 / 2);    // 250 - 25
}

TEST(CenteredPosition, StaysInsideTheWorkArea) {
    const RECT work{0, 0, 800, 600};
    // An owner near the right and bottom edges pushes the dialog back in.
    const POINT low = CenteredPosition(RECT{700, 550, 800, 600}, work, 300, 200);
    EXPECT_EQ(low.x, 800 - 300);
    EXPECT_EQ(low.y, 600 - 200);
    // Near the left and top edges.
    const POINT high = CenteredPosition(RECT{-50, -40, 50, 40}, work, 300, 200);
    EXPECT_EQ(high.x, 0);
    EXPECT_EQ(high.y, 0);
    // Larger than the work area: aligned to its left and top edges.
    const POINT big = CenteredPosition(work, work, 900, 700);
    EXPECT_EQ(big.x, 0);
    EXPECT_EQ(big.y, 0);
    // The same over an owner whose centre lies right of and below the work
    // area's: still its left and top edges, not beyond them.
    const POINT bigOverOwner = CenteredPosition(RECT{300, 200, 800, 600}, work, 900, 700);
    EXPECT_EQ(bigOverOwner.x, 0);
    EXPECT_EQ(bigOverOwner.y, 0);
}

TEST(CenteredPosition, WorkAreaWithAnOffset) {
    const RECT work{0, 30, 1024, 768};  // a task bar at the top
    const POINT p = CenteredPosition(work, work, 200, 100);
    EXPECT_EQ(p.x, 512 - 100);
    EXPECT_EQ(p.y, 399 - 50);
}

TEST(DefaultIcon, AddedToOkAndYesNoBoxesWithoutAnIcon) {
    EXPECT_EQ(WithDefaultIcon(MB_OK), static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_EQ(WithDefaultIcon(MB_OKCANCEL), static_cast<UINT>(MB_OKCANCEL | MB_ICONEXCLAMATION));
    EXPECT_EQ(WithDefaultIcon(MB_YESNO), static_cast<UINT>(MB_YESNO | MB_ICONEXCLAMATION));
    EXPECT_EQ(WithDefaultIcon(MB_YESNOCANCEL),
              static_cast<UINT>(MB_YESNOCANCEL | MB_ICONEXCLAMATION));
}

TEST(DefaultIcon, NotAddedToRetryBoxesOrWhenAnIconIsNamed) {
    EXPECT_EQ(WithDefaultIcon(MB_ABORTRETRYIGNORE), static_cast<UINT>(MB_ABORTRETRYIGNORE));
    EXPECT_EQ(WithDefaultIcon(MB_RETRYCANCEL), static_cast<UINT>(MB_RETRYCANCEL));
    EXPECT_EQ(WithDefaultIcon(MB_YESNO | MB_ICONQUESTION),
              static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(WithDefaultIcon(MB_OK | MB_ICONHAND), static_cast<UINT>(MB_OK | MB_ICONHAND));
}
