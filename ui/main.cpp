// Entry point of Vrel.exe. The application object is already constructed
// (and the random source seeded) when this runs.
#include "game_app.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
    CGameApp& app = GetApp();
    app.InitInstance(hInstance);
    // The main window's run is the whole program: it returns false, and no
    // message loop of our own follows.
    app.RunMainWindow();
    return 0;
}
