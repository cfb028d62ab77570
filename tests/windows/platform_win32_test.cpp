// The Win32 platform seam against the real system: sharing, replacing files
// and the two error boxes, which a second thread finds, reads and closes.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <thread>

#include "dictionary.h"
#include "dictionary_file.h"
#include "platform.h"

namespace {

constexpr char kErrorCaption[] = "Vrel:  Error";
constexpr char kFatalCaption[] = "Vrel:  Fatal Error";
// Generous for a loaded machine; a box that comes is read at once.
constexpr DWORD kBoxTimeoutMs = 90000;

// What a message box of this process shows.
struct BoxView {
    HWND hwnd = nullptr;
    std::string text;
    bool hasIcon = false;
    bool hasOk = false;
    bool hasOtherButtons = false;
};

BOOL CALLBACK FindIcon(HWND child, LPARAM found) {
    char className[32] = {};
    GetClassNameA(child, className, sizeof className);
    const LONG style = GetWindowLongA(child, GWL_STYLE);
    if (lstrcmpiA(className, "Static") == 0 && (style & SS_TYPEMASK) == SS_ICON &&
        IsWindowVisible(child) && SendMessageA(child, STM_GETICON, 0, 0) != 0)
        *reinterpret_cast<bool*>(found) = true;
    return TRUE;
}

struct BoxSearch {
    const char* caption;
    HWND found;
};

BOOL CALLBACK FindBox(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<BoxSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    char className[32] = {};
    char caption[128] = {};
    GetClassNameA(hwnd, className, sizeof className);
    GetWindowTextA(hwnd, caption, sizeof caption);
    if (pid == GetCurrentProcessId() && lstrcmpA(className, "#32770") == 0 &&
        lstrcmpA(caption, search->caption) == 0 && IsWindowVisible(hwnd)) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

// Waits for this process's message box with the caption and reads it.
BoxView WaitForBox(const char* caption) {
    BoxView view;
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < kBoxTimeoutMs) {
        BoxSearch search{caption, nullptr};
        EnumWindows(FindBox, reinterpret_cast<LPARAM>(&search));
        if (search.found) {
            view.hwnd = search.found;
            break;
        }
        Sleep(10);
    }
    if (!view.hwnd) return view;
    char text[1024] = {};
    GetDlgItemTextA(view.hwnd, 0xFFFF, text, sizeof text);
    view.text = text;
    EnumChildWindows(view.hwnd, FindIcon, reinterpret_cast<LPARAM>(&view.hasIcon));
    view.hasOk = GetDlgItem(view.hwnd, IDOK) != nullptr;
    for (int id : {IDCANCEL, IDYES, IDNO, IDABORT, IDRETRY, IDIGNORE})
        if (GetDlgItem(view.hwnd, id)) view.hasOtherButtons = true;
    return view;
}

void PressOk(HWND box) { PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); }

// Runs a call that shows an error box on its own thread, and returns what the
// box showed once this thread has pressed its OK button.
BoxView RunWithErrorBox(const std::function<void()>& call) {
    std::atomic<bool> done{false};
    std::thread worker([&] {
        call();
        done = true;
    });
    const BoxView view = WaitForBox(kErrorCaption);
    if (view.hwnd) PressOk(view.hwnd);
    const DWORD start = GetTickCount();
    while (!done && GetTickCount() - start < kBoxTimeoutMs) Sleep(10);
    if (done)
        worker.join();
    else
        worker.detach();  // the box never closed; the test fails below
    EXPECT_TRUE(done) << "the call did not return after OK";
    return view;
}

// In a process about to show the fatal box: a watcher thread checks the box
// and presses OK, or ends the process with a code that names what was wrong.
void WatchFatalBox(const std::string& expectedText, std::function<void()> beforeOk = {}) {
    std::thread([expectedText, beforeOk] {
        const BoxView view = WaitForBox(kFatalCaption);
        if (!view.hwnd) {
            std::fprintf(stderr, "no fatal error box\n");
            ::ExitProcess(10);
        }
        if (view.text != expectedText) {
            std::fprintf(stderr, "fatal box text: [%s]\n", view.text.c_str());
            ::ExitProcess(11);
        }
        if (!view.hasIcon || !view.hasOk || view.hasOtherButtons) {
            std::fprintf(stderr, "fatal box: icon %d, OK %d, other buttons %d\n", view.hasIcon,
                         view.hasOk, view.hasOtherButtons);
            ::ExitProcess(12);
        }
        if (beforeOk) beforeOk();
        PressOk(view.hwnd);
    }).detach();
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A fresh folder under the temporary folder, removed with what it holds.
class TempFolder {
  public:
    TempFolder() {
        static std::atomic<int> counter{0};
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        std::ostringstream name;
        name << temp << "vrel-win32-" << GetCurrentProcessId() << "-" << counter++ << "\\";
        m_path = name.str();
        CreateDirectoryA(m_path.c_str(), nullptr);
    }
    ~TempFolder() { Remove(m_path); }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // Folder path, ending in a backslash.
    const std::string& Path() const { return m_path; }
    std::string File(const char* name) const { return m_path + name; }

    static void Remove(const std::string& folder) {
        WIN32_FIND_DATAA entry;
        const HANDLE find = FindFirstFileA((folder + "*").c_str(), &entry);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                const std::string file = folder + entry.cFileName;
                if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
                SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(file.c_str());
            } while (FindNextFileA(find, &entry));
            FindClose(find);
        }
        RemoveDirectoryA(folder.c_str());
    }

  private:
    std::string m_path;
};

HANDLE OpenShared(const std::string& path, DWORD access) {
    return CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

TEST(Win32Files, OpenForReadHoldsTheFileWithoutSharing) {
    TempFolder folder;
    const std::string path = folder.File("VREL.DAT");
    WriteFileBytes(path, "CAT\r\nDOG\r\n");
    {
        std::unique_ptr<InputFile> file = NativePlatform().OpenForRead(path);
        ASSERT_TRUE(file);
        const HANDLE other = OpenShared(path, GENERIC_READ);
        const DWORD error = GetLastError();
        EXPECT_EQ(other, INVALID_HANDLE_VALUE);
        EXPECT_EQ(error, static_cast<DWORD>(ERROR_SHARING_VIOLATION));
        if (other != INVALID_HANDLE_VALUE) CloseHandle(other);

        char buffer[64];
        const long count = file->Read(buffer, sizeof buffer);
        EXPECT_EQ(std::string(buffer, static_cast<std::size_t>(count > 0 ? count : 0)),
                  "CAT\r\nDOG\r\n");
        EXPECT_EQ(file->Read(buffer, sizeof buffer), 0);
    }
    const HANDLE after = OpenShared(path, GENERIC_READ);
    EXPECT_NE(after, INVALID_HANDLE_VALUE) << "still held after the file object was destroyed";
    if (after != INVALID_HANDLE_VALUE) CloseHandle(after);

    EXPECT_FALSE(NativePlatform().OpenForRead(folder.File("MISSING.DAT")));
}

TEST(Win32Files, CreateForWriteHoldsTheFileAndWritesBytesUnchanged) {
    TempFolder folder;
    const std::string path = folder.File("VREL.XXX");
    WriteFileBytes(path, "left over from an earlier run, longer than the new text");
    std::unique_ptr<OutputFile> file = NativePlatform().CreateForWrite(path);
    ASSERT_TRUE(file);
    const HANDLE other = OpenShared(path, GENERIC_READ);
    const DWORD error = GetLastError();
    EXPECT_EQ(other, INVALID_HANDLE_VALUE);
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    if (other != INVALID_HANDLE_VALUE) CloseHandle(other);

    const std::string bytes = "CAT\r\nLF only\n\x1A end";
    EXPECT_TRUE(file->Write(bytes.data(), bytes.size()));
    EXPECT_TRUE(file->Sync());
    EXPECT_TRUE(file->Close());
    EXPECT_EQ(ReadFileBytes(path), bytes);
}

TEST(Win32Files, ReplaceFilePutsTheNewFileInPlace) {
    TempFolder folder;
    const std::string from = folder.File("VREL.XXX");
    const std::string to = folder.File("VREL.DAT");
    WriteFileBytes(from, "NEW\r\n");
    WriteFileBytes(to, "OLD\r\nWORDS\r\n");
    EXPECT_TRUE(NativePlatform().MoveOver(from, to));
    EXPECT_EQ(ReadFileBytes(to), "NEW\r\n");
    EXPECT_FALSE(Exists(from));

    // With nothing to replace it is a rename.
    WriteFileBytes(from, "NEWER\r\n");
    ASSERT_TRUE(DeleteFileA(to.c_str()));
    EXPECT_TRUE(NativePlatform().MoveOver(from, to));
    EXPECT_EQ(ReadFileBytes(to), "NEWER\r\n");
}

TEST(Win32Files, ReplaceFileOverAReadOnlyFileFailsAndKeepsBoth) {
    TempFolder folder;
    const std::string from = folder.File("VREL.XXX");
    const std::string to = folder.File("VREL.DAT");
    WriteFileBytes(from, "NEW\r\n");
    WriteFileBytes(to, "OLD\r\n");
    ASSERT_TRUE(SetFileAttributesA(to.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(NativePlatform().MoveOver(from, to));
    EXPECT_EQ(ReadFileBytes(to), "OLD\r\n");
    EXPECT_EQ(ReadFileBytes(from), "NEW\r\n");
}

TEST(Win32Files, HeldFilesAreBusyAndMissingOnesNotFound) {
    TempFolder folder;
    const std::string dat = folder.File("VREL.DAT");
    const std::string tmp = folder.File("VREL.XXX");
    WriteFileBytes(dat, "OLD\r\n");
    WriteFileBytes(tmp, "NEW\r\n");
    FileError error = FileError::kNone;
    EXPECT_FALSE(NativePlatform().OpenForRead(folder.File("MISSING.DAT"), &error));
    EXPECT_EQ(error, FileError::kNotFound);

    for (const std::string& path : {dat, tmp}) {
        const HANDLE hold = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(hold, INVALID_HANDLE_VALUE);
        error = FileError::kNone;
        EXPECT_FALSE(NativePlatform().OpenForRead(path, &error)) << path;
        EXPECT_EQ(error, FileError::kBusy) << path;
        error = FileError::kNone;
        EXPECT_FALSE(NativePlatform().CreateForWrite(path, &error)) << path;
        EXPECT_EQ(error, FileError::kBusy) << path;
        CloseHandle(hold);
    }
    // The system answers "access denied" when the file to replace is held.
    const HANDLE hold = CreateFileA(dat.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(hold, INVALID_HANDLE_VALUE);
    error = FileError::kNone;
    EXPECT_FALSE(NativePlatform().MoveOver(tmp, dat, &error));
    EXPECT_EQ(error, FileError::kBusy);
    CloseHandle(hold);
    EXPECT_TRUE(NativePlatform().MoveOver(tmp, dat));
    EXPECT_EQ(ReadFileBytes(dat), "NEW\r\n");
}

TEST(Win32Files, SaveLockKeepsOthersOutUntilItsOwnerEnds) {
    TempFolder folder;
    const std::string path = folder.File("VREL.DAT");
    std::string otherSpelling = path;
    CharLowerBuffA(otherSpelling.data(), static_cast<DWORD>(otherSpelling.size()));
    // Taken on a thread that ends without releasing it, as a killed process would.
    std::thread([&] { NativePlatform().LockFile(path).release(); }).join();
    std::unique_ptr<FileLock> lock = NativePlatform().LockFile(otherSpelling);
    ASSERT_TRUE(lock) << "the lock of an ended owner is not handed on";

    std::atomic<bool> taken{true};
    FileError error = FileError::kNone;
    std::thread([&] { taken = NativePlatform().LockFile(path, &error) != nullptr; }).join();
    EXPECT_FALSE(taken) << "a second taker got the lock";
    EXPECT_EQ(error, FileError::kBusy);
    lock.reset();
    std::thread([&] { taken = NativePlatform().LockFile(path) != nullptr; }).join();
    EXPECT_TRUE(taken) << "the lock was not released";
}

TEST(Win32Dictionary, SaveWritesCrLfLinesAndLeavesNoTemporaryFile) {
    TempFolder folder;
    WriteFileBytes(folder.File("VREL.DAT"), "dog\ncat\n  ox\n");
    WriteFileBytes(folder.File("VREL.XXX"), "stale");
    CWordDictionary dictionary;
    dictionary.LoadFromFile(folder.Path());
    ASSERT_TRUE(dictionary.AddWord("CAB"));
    dictionary.SaveToFile(folder.Path());
    EXPECT_EQ(ReadFileBytes(folder.File("VREL.DAT")), "CAT\r\nCAB\r\nDOG\r\n");
    EXPECT_FALSE(Exists(folder.File("VREL.XXX")));
}

TEST(Win32Dictionary, SaveOverAReadOnlyDictionaryReportsTheRenameAndKeepsIt) {
    TempFolder folder;
    const std::string dat = folder.File("VREL.DAT");
    const std::string old = "CAT\r\nDOG\r\n";
    WriteFileBytes(dat, old);
    CWordDictionary dictionary;
    dictionary.LoadFromFile(folder.Path());
    ASSERT_TRUE(dictionary.AddWord("EEL"));
    ASSERT_TRUE(SetFileAttributesA(dat.c_str(), FILE_ATTRIBUTE_READONLY));

    const BoxView box = RunWithErrorBox([&] { dictionary.SaveToFile(folder.Path()); });
    ASSERT_TRUE(box.hwnd) << "no box captioned \"" << kErrorCaption << "\"";
    EXPECT_EQ(box.text, "Cannot rename " + folder.File("VREL.XXX") + " to " + dat + ".");
    EXPECT_EQ(ReadFileBytes(dat), old);
    EXPECT_EQ(ReadFileBytes(folder.File("VREL.XXX")), "CAT\r\nDOG\r\nEEL\r\n");
}

TEST(Win32Dictionary, SaveWhileTheTemporaryFileIsHeldReportsItAndKeepsTheDictionary) {
    TempFolder folder;
    const std::string dat = folder.File("VREL.DAT");
    const std::string tmp = folder.File("VREL.XXX");
    WriteFileBytes(dat, "CAT\r\n");
    WriteFileBytes(tmp, "");
    CWordDictionary dictionary;
    dictionary.LoadFromFile(folder.Path());
    ASSERT_TRUE(dictionary.AddWord("EEL"));
    const HANDLE hold = CreateFileA(tmp.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(hold, INVALID_HANDLE_VALUE);

    const BoxView box = RunWithErrorBox([&] { dictionary.SaveToFile(folder.Path()); });
    CloseHandle(hold);
    ASSERT_TRUE(box.hwnd) << "no box captioned \"" << kErrorCaption << "\"";
    EXPECT_EQ(box.text, "Cannot save dictionary file " + tmp + ".");
    EXPECT_EQ(ReadFileBytes(dat), "CAT\r\n");
}

TEST(Win32Boxes, ErrorBoxHasItsCaptionTextAnOkButtonAndNoIcon) {
    const std::string message = "Cannot save dictionary file C:\\Games\\VREL.XXX.";
    const BoxView box = RunWithErrorBox([&] { ShowError(message); });
    ASSERT_TRUE(box.hwnd) << "no box captioned \"" << kErrorCaption << "\"";
    EXPECT_EQ(box.text, message);
    EXPECT_FALSE(box.hasIcon);
    EXPECT_TRUE(box.hasOk);
    EXPECT_FALSE(box.hasOtherButtons);
}

TEST(Win32BoxesDeathTest, FatalBoxHasAnIconAndEndsTheProcessWithCodeOne) {
    const std::string message = "Cannot load dictionary file C:\\Games\\VREL.DAT.";
    EXPECT_EXIT(
        {
            WatchFatalBox(message);
            ShowFatalError(message);
        },
        ::testing::ExitedWithCode(1), "");
}

TEST(Win32DictionaryDeathTest, LoadingADictionaryHeldByAnotherProgramIsFatal) {
    EXPECT_EXIT(
        {
            auto* folder = new TempFolder;  // the process ends inside the load
            const std::string path = folder->File("VREL.DAT");
            WriteFileBytes(path, "CAT\r\n");
            const HANDLE hold = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                            FILE_ATTRIBUTE_NORMAL, nullptr);
            if (hold == INVALID_HANDLE_VALUE) ::ExitProcess(20);
            WatchFatalBox("Cannot load dictionary file " + path + ".", [folder, hold] {
                CloseHandle(hold);
                TempFolder::Remove(folder->Path());
            });
            CWordDictionary dictionary;
            dictionary.LoadFromFile(folder->Path());
        },
        ::testing::ExitedWithCode(1), "");
}

TEST(Win32Platform, ProgramDirectoryIsTheExecutablesFolder) {
    char module[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    const std::string folder = NativePlatform().ProgramDirectory();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '\\');
    EXPECT_EQ(std::string(module).rfind(folder, 0), 0u) << folder << " vs " << module;
    EXPECT_EQ(std::string(module).find('\\', folder.size()), std::string::npos) << module;
}

}  // namespace
