// Times Vrel.exe from its start to its main window on screen, which is what
// a player waits for: the loading dialog comes and goes in between. Prints
// every run and the median in milliseconds; exit status 1 if a run fails.
//
//   vrel_launch_time.exe [RUNS]   (9 runs by default)
//
// Vrel.exe is taken from beside this program; each run plays it in a fresh
// folder on the game tests' dictionary and ends it with Exit Program.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "driver.h"

int main(int argc, char** argv) {
    using namespace e2e;
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    std::vector<double> times;
    for (int run = 1; run <= runs; ++run) {
        App app;
        app.WriteDictionary(GameDictionary());
        LARGE_INTEGER start, shown;
        QueryPerformanceCounter(&start);
        if (!app.Start()) return 1;  // the driver has said why
        const HWND main = WaitForDialog(app.ProcessId(), kMainWindow);
        QueryPerformanceCounter(&shown);
        if (!main) {
            std::fprintf(stderr, "run %d: the main window did not show\n", run);
            return 1;
        }
        const double ms = 1000.0 * static_cast<double>(shown.QuadPart - start.QuadPart) /
                          static_cast<double>(frequency.QuadPart);
        times.push_back(ms);
        std::printf("run %d: %.0f ms\n", run, ms);
        PostClick(main, kExitProgram);
        if (app.WaitForExit() == -1) {
            std::fprintf(stderr, "run %d: Exit Program did not end the program\n", run);
            return 1;
        }
    }
    std::sort(times.begin(), times.end());
    std::printf("median %.0f ms of %d runs (fastest %.0f, slowest %.0f)\n", times[times.size() / 2],
                runs, times.front(), times.back());
    return 0;
}
