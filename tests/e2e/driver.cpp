#include "driver.h"

#include <atomic>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <utility>

#include "dictionary.h"

namespace e2e {

namespace {

std::vector<int> MainWindowIds() {
    std::vector<int> ids;
    for (int id = IDC_LETTER_FIRST; id <= IDC_LETTER_LAST; ++id) ids.push_back(id);
    ids.insert(ids.end(), {IDC_WORD, IDC_ADD_WORD, IDC_CLEAR, IDC_AVERAGE_LINE, IDC_SCORE_LINE,
                           IDC_FOUND_LIST, IDC_START_GAME, IDC_QUIT_GAME, IDC_HELP_BUTTON,
                           IDC_ABOUT_BUTTON, IDOK, IDC_LOAD_COMMAND});
    return ids;
}

}  // namespace

const DialogKind kMainWindow{"main window", MainWindowIds()};
const DialogKind kLoadingDialog{"loading dialog", {IDC_LOAD_START}};
const DialogKind kSearchDialog{"searching dialog", {IDC_SEARCH_START, IDC_PROGRESS_LINE, IDOK}};
const DialogKind kSavingDialog{"saving dialog", {IDC_SAVE_START}};
const DialogKind kResultsDialog{
    "results dialog",
    {IDC_FOUND_HEADING, IDC_FOUND_WORDS, IDC_MISSED_HEADING, IDC_MISSED_LIST, IDOK}};

namespace {

// Waits that took longer than this are reported on stderr.
constexpr DWORD kSlowWaitMs = 5000;

// The static control that holds a message box's text.
constexpr int kBoxTextId = 0xFFFF;

// UTF-16 text in the given 8-bit code page.
std::string Encode(const std::wstring& text, UINT codePage) {
    if (text.empty()) return {};
    const int size = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), result.data(),
                        size, nullptr, nullptr);
    return result;
}

std::string Narrow(const std::wstring& text) { return Encode(text, CP_ACP); }

std::wstring FromAnsi(const std::string& text) {
    std::wstring wide(text.size(), L'\0');
    wide.resize(static_cast<std::size_t>(MultiByteToWideChar(CP_ACP, 0, text.data(),
                                                             static_cast<int>(text.size()),
                                                             wide.data(),
                                                             static_cast<int>(wide.size()))));
    return wide;
}

// "STEP failed: Windows error N (its text)", for the error the last call set.
std::string StepFailure(const std::string& step) {
    const DWORD error = GetLastError();
    char text[512] = {};
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                   text, sizeof text, nullptr);
    std::string message = text;
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' ||
                                message.back() == ' ' || message.back() == '.'))
        message.pop_back();
    return step + " failed: Windows error " + std::to_string(error) +
           (message.empty() ? "" : " (" + message + ")");
}

// Records in error that the step failed and why (the last call's error), says
// so on stderr, and answers false.
bool Failed(std::string& error, const std::string& step) {
    error = StepFailure(step);
    std::fprintf(stderr, "%s\n", error.c_str());
    return false;
}

// Runs step until it succeeds. While it fails because another process still
// holds the file (a program or help viewer that is ending), it tries again,
// up to kTimeoutMs; the last error stays set for the caller.
bool WhileHeld(const std::function<bool()>& step, bool deniedMeansHeld) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (step()) return true;
        const DWORD error = GetLastError();
        const bool held = error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
                          (deniedMeansHeld && error == ERROR_ACCESS_DENIED);
        if (!held || GetTickCount() - start >= kTimeoutMs) {
            SetLastError(error);
            return false;
        }
        Sleep(5);
    }
}

// Deletes the file once no process holds it; says on stderr if it cannot.
void DeleteWhenFree(const std::wstring& path) {
    const std::wstring longPath = LongPath(path);
    const bool deleted = WhileHeld(
        [&] {
            SetFileAttributesW(longPath.c_str(), FILE_ATTRIBUTE_NORMAL);
            return DeleteFileW(longPath.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND ||
                   GetLastError() == ERROR_PATH_NOT_FOUND;
        },
        true);
    if (!deleted)
        std::fprintf(stderr, "%s\n", StepFailure("deleting " + Utf8(path)).c_str());
}

// A message sent to a window of the program, which answers once its thread
// is back in a message loop; a window that does not answer within kTimeoutMs
// answers 0, and stderr says so.
LRESULT Send(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(hwnd, message, wParam, lParam, SMTO_NORMAL, kTimeoutMs, &result) &&
        IsWindow(hwnd))
        std::fprintf(stderr, "gave up waiting for window %p to answer message 0x%x after %lu s\n",
                     static_cast<void*>(hwnd), message, kTimeoutMs / 1000);
    return static_cast<LRESULT>(result);
}

struct ProcessWindows {
    DWORD pid;
    bool visibleOnly;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectDialog(HWND hwnd, LPARAM param) {
    auto* collect = reinterpret_cast<ProcessWindows*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == collect->pid && ClassName(hwnd) == "#32770" &&
        (!collect->visibleOnly || IsWindowVisible(hwnd)))
        collect->found.push_back(hwnd);
    return TRUE;
}

BOOL CALLBACK FindIconChild(HWND child, LPARAM found) {
    const LONG style = GetWindowLongW(child, GWL_STYLE);
    if (ClassName(child) == "Static" && (style & SS_TYPEMASK) == SS_ICON &&
        IsWindowVisible(child) && Send(child, STM_GETICON, 0, 0) != 0)
        *reinterpret_cast<bool*>(found) = true;
    return TRUE;
}

struct ChildCount {
    int buttons = 0;
    int others = 0;
};

BOOL CALLBACK CountChildren(HWND child, LPARAM param) {
    auto* count = reinterpret_cast<ChildCount*>(param);
    if (ClassName(child) == "Button")
        ++count->buttons;
    else if (ClassName(child) != "Static")
        ++count->others;
    return TRUE;
}

BOOL CALLBACK CollectStaticText(HWND child, LPARAM param) {
    const LONG type = GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK;
    if (ClassName(child) == "Static" && type != SS_ICON)
        reinterpret_cast<std::vector<std::string>*>(param)->push_back(Text(child));
    return TRUE;
}

bool HasAll(HWND dialog, const std::vector<int>& ids) {
    for (int id : ids)
        if (!GetDlgItem(dialog, id)) return false;
    return true;
}

std::string TempFolder() {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    return temp;
}

// The Unix path of a Windows path, through Wine's own conversion.
std::string UnixPath(const std::string& windowsPath) {
    using Convert = char*(CDECL*)(LPCWSTR);
    const auto convert = reinterpret_cast<Convert>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (!convert) return {};
    const std::wstring wide(windowsPath.begin(), windowsPath.end());
    char* unix = convert(wide.c_str());
    if (!unix) return {};
    std::string result = unix;
    HeapFree(GetProcessHeap(), 0, unix);
    return result;
}

// The program's path, which is in the ANSI code page, as UTF-16.
std::wstring WideProgramPath() { return FromAnsi(ProgramPath()); }

}  // namespace

std::wstring FreshName(const std::wstring& name) {
    static std::atomic<int> counter{0};
    return name + L"-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(GetTickCount64()) + L"-" + std::to_wstring(counter++);
}

bool UnderWine() { return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version"); }

XdotoolResult RunXdotool(const std::string& args) {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    // A fresh name: a result file left by an earlier process must not be read.
    const std::string name = Utf8(FreshName(L"vrel-xdotool"));
    const std::string resultPath = std::string(temp) + name;
    std::string commandLine =
        "/bin/sh \"" VREL_WINE_XDOTOOL "\" \"" + UnixPath(temp) + name + "\" " + args;

    XdotoolResult result;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        result.output = "cannot start " + commandLine;
        return result;
    }
    // A Unix child comes back without handles; close whatever there is.
    if (process.hProcess) CloseHandle(process.hProcess);
    if (process.hThread) CloseHandle(process.hThread);

    if (!WaitUntil("xdotool's answer", [&] {
            return GetFileAttributesA(resultPath.c_str()) != INVALID_FILE_ATTRIBUTES;
        })) {
        result.output = "no answer from " + commandLine;
        return result;
    }
    std::ifstream in(resultPath, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();
    DeleteFileA(resultPath.c_str());
    // The last line is the exit status; what comes before it is the output.
    while (!text.empty() && text.back() == '\n') text.pop_back();
    const std::size_t lastLine = text.find_last_of('\n');
    result.finished = true;
    result.status = std::atoi(text.c_str() + (lastLine == std::string::npos ? 0 : lastLine + 1));
    result.output = lastLine == std::string::npos ? std::string() : text.substr(0, lastLine);
    return result;
}

unsigned long XWindowOf(HWND hwnd) {
    return static_cast<unsigned long>(
        reinterpret_cast<ULONG_PTR>(GetPropA(hwnd, "__wine_x11_whole_window")));
}

std::string ProgramPath() {
    char buffer[MAX_PATH] = {};
    if (GetEnvironmentVariableA("VREL_EXE", buffer, MAX_PATH) > 0) return buffer;
    GetModuleFileNameA(nullptr, buffer, MAX_PATH);
    std::string path = buffer;
    return path.substr(0, path.find_last_of('\\') + 1) + "Vrel.exe";
}

bool WaitUntil(const std::string& what, const std::function<bool()>& condition, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (condition()) {
            // A slow answer is worth knowing about when a run fails later.
            const DWORD waited = GetTickCount() - start;
            if (waited >= kSlowWaitMs)
                std::fprintf(stderr, "waited %lu.%lu s for %s\n", waited / 1000,
                             waited % 1000 / 100, what.c_str());
            return true;
        }
        if (GetTickCount() - start >= timeoutMs) break;
        Sleep(5);
    }
    if (timeoutMs > 0)
        std::fprintf(stderr, "gave up waiting for %s after %lu s\n", what.c_str(),
                     timeoutMs / 1000);
    return false;
}

std::string Text(HWND hwnd) { return Narrow(WideText(hwnd)); }

std::string Caption(HWND hwnd) {
    wchar_t text[256] = {};
    GetWindowTextW(hwnd, text, 256);
    return Narrow(text);
}

std::string ItemText(HWND dialog, int id) { return Text(GetDlgItem(dialog, id)); }

std::vector<std::string> ListItems(HWND list) {
    std::vector<std::string> items;
    const LRESULT count = Send(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = Send(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
        std::wstring text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, L'\0');
        const LRESULT copied =
            Send(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
        items.push_back(Narrow(text));
    }
    return items;
}

std::string ClassName(HWND hwnd) {
    char name[64] = {};
    GetClassNameA(hwnd, name, sizeof name);
    return name;
}

std::vector<std::string> StaticTexts(HWND dialog) {
    std::vector<std::string> texts;
    EnumChildWindows(dialog, CollectStaticText, reinterpret_cast<LPARAM>(&texts));
    return texts;
}

bool HasIcon(HWND dialog) {
    bool found = false;
    EnumChildWindows(dialog, FindIconChild, reinterpret_cast<LPARAM>(&found));
    return found;
}

void PostClick(HWND dialog, int id) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void SendClick(HWND dialog, int id) {
    Send(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
         reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void TypeChar(HWND edit, char c) { Send(edit, WM_CHAR, static_cast<unsigned char>(c), 1); }

void PressKey(HWND focus, UINT virtualKey) {
    const UINT scan = MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC);
    PostMessageW(focus, WM_KEYDOWN, virtualKey, 1 | (static_cast<LPARAM>(scan) << 16));
    PostMessageW(focus, WM_KEYUP, virtualKey, 1 | (static_cast<LPARAM>(scan) << 16) | (3u << 30));
}

void GetSelection(HWND edit, DWORD& start, DWORD& end) {
    const LRESULT selection = Send(edit, EM_GETSEL, 0, 0);
    start = LOWORD(selection);
    end = HIWORD(selection);
}

void Sync(HWND window) { Send(window, WM_NULL, 0, 0); }

HWND FocusOf(HWND window) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
    return info.hwndFocus;
}

App::App() : App(ProgramPath(), TempFolder()) {}

App::App(std::string exePath) : App(std::move(exePath), TempFolder()) {}

App::App(std::string exePath, const std::string& parent) : m_strExe(std::move(exePath)) {
    // A name that exists already is never taken over: its files may belong
    // to a program that is still ending.
    for (int attempt = 0; attempt < 100; ++attempt) {
        m_strFolder = parent + Narrow(FreshName(L"vrel-e2e")) + "\\";
        if (CreateDirectoryA(m_strFolder.c_str(), nullptr)) return;
        if (GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
    m_strFolderError = StepFailure("making the folder " + m_strFolder);
    m_strFolder.clear();
}

App::~App() {
    m_process.End();  // before its files are removed
    if (m_strFolder.empty()) return;
    std::vector<std::string> names = {"Vrel.exe", "VREL.DAT", "VREL.XXX"};
    names.insert(names.end(), m_extraFiles.begin(), m_extraFiles.end());
    const std::wstring folder = FromAnsi(m_strFolder);
    for (const std::string& name : names) DeleteWhenFree(folder + FromAnsi(name));
    if (!RemoveDirectoryA(m_strFolder.c_str()))
        std::fprintf(stderr, "%s\n", StepFailure("removing " + m_strFolder).c_str());
}

bool App::AddProgramFile(const std::string& name) {
    m_extraFiles.push_back(name);
    const std::string source = m_strExe.substr(0, m_strExe.find_last_of('\\') + 1) + name;
    return CopyFileA(source.c_str(), (m_strFolder + name).c_str(), FALSE) != 0;
}

void App::WriteDictionary(const std::string& bytes) const {
    std::ofstream out(DictionaryPath(), std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string App::ReadDictionary() const {
    std::ifstream in(DictionaryPath(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool App::Start() {
    if (m_strFolder.empty()) return NoFolder();
    const std::string exe = m_strFolder + "Vrel.exe";
    if (!WhileHeld([&] { return CopyFileA(m_strExe.c_str(), exe.c_str(), FALSE) != 0; }, false))
        return Failed(m_strStartError, "copying " + m_strExe + " to " + exe);
    return Launch(m_process);
}

bool App::StartCopy(ChildProcess& process) {
    if (m_strFolder.empty()) return NoFolder();
    // A running copy holds the program file: it is copied in only once.
    const std::string exe = m_strFolder + "Vrel.exe";
    if (!CopyFileA(m_strExe.c_str(), exe.c_str(), TRUE) && GetLastError() != ERROR_FILE_EXISTS)
        return Failed(m_strStartError, "copying " + m_strExe + " to " + exe);
    return Launch(process);
}

bool App::Launch(ChildProcess& process) {
    const std::string exe = m_strFolder + "Vrel.exe";
    // The program must find its dictionary beside itself, not in the
    // working folder: start it from somewhere else.
    const std::string temp = TempFolder();
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    std::string commandLine = "\"" + exe + "\"";
    if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        temp.c_str(), &startup, process.Info()))
        return Failed(m_strStartError, "starting " + exe);
    return true;
}

bool App::NoFolder() {
    m_strStartError = m_strFolderError;
    std::fprintf(stderr, "%s\n", m_strStartError.c_str());
    return false;
}

long ChildProcess::WaitForExit(DWORD timeoutMs) {
    if (!m_info.hProcess) return -1;
    if (WaitForSingleObject(m_info.hProcess, timeoutMs) != WAIT_OBJECT_0) {
        std::fprintf(stderr, "gave up waiting for process %lu to end after %lu s\n", Id(),
                     timeoutMs / 1000);
        return -1;
    }
    DWORD code = 0;
    GetExitCodeProcess(m_info.hProcess, &code);
    return static_cast<long>(code);
}

bool ChildProcess::Running() const {
    return m_info.hProcess && WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT;
}

void ChildProcess::End() {
    if (Running()) {
        TerminateProcess(m_info.hProcess, 99);
        WaitForSingleObject(m_info.hProcess, kTimeoutMs);
    }
    if (m_info.hProcess) {
        CloseHandle(m_info.hProcess);
        CloseHandle(m_info.hThread);
    }
    m_info = {};
}

// ---------------------------------------------------------------------------
// The program's windows by process id; the program in folders of any name.

namespace {

BOOL CALLBACK CollectText(HWND child, LPARAM param) {
    const std::wstring text = WideText(child);
    if (!text.empty()) *reinterpret_cast<std::wstring*>(param) += text + L"\n";
    return TRUE;
}

struct TextSearch {
    std::wstring part;
    DWORD exceptPid;
    HWND found = nullptr;
};

BOOL CALLBACK FindShowing(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<TextSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == GetCurrentProcessId() || pid == search->exceptPid || !IsWindowVisible(hwnd))
        return TRUE;
    if (AllTexts(hwnd).find(search->part) == std::wstring::npos) return TRUE;
    search->found = hwnd;
    return FALSE;
}

HANDLE OpenW(const std::wstring& path, DWORD access, DWORD disposition) {
    return CreateFileW(LongPath(path).c_str(), access, FILE_SHARE_READ, nullptr, disposition,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

std::wstring WideText(HWND hwnd) {
    if (!hwnd) return {};
    const LRESULT length = Send(hwnd, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT copied =
        Send(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(copied));
    return text;
}

std::string Utf8(const std::wstring& text) { return Encode(text, CP_UTF8); }

std::wstring FromUtf8(const std::string& text) {
    if (text.empty()) return {};
    const int size =
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring result(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(),
                        size);
    return result;
}

std::wstring TempFolderW() {
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temp);
    return temp;
}

std::wstring LongPath(const std::wstring& path) {
    if (path.rfind(L"\\\\", 0) == 0) return path;
    return L"\\\\?\\" + path;
}

std::string ReadFileW(const std::wstring& path) {
    const HANDLE file = OpenW(path, GENERIC_READ, OPEN_EXISTING);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::string bytes;
    char buffer[4096];
    DWORD count = 0;
    while (ReadFile(file, buffer, sizeof buffer, &count, nullptr) && count > 0)
        bytes.append(buffer, count);
    CloseHandle(file);
    return bytes;
}

bool WriteFileW(const std::wstring& path, const std::string& bytes) {
    const HANDLE file = OpenW(path, GENERIC_WRITE, CREATE_ALWAYS);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD count = 0;
    const bool written =
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &count, nullptr) != 0 &&
        count == bytes.size();
    return CloseHandle(file) != 0 && written;
}

bool FileExistsW(const std::wstring& path) {
    return GetFileAttributesW(LongPath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<HWND> Dialogs(DWORD pid, bool visibleOnly) {
    ProcessWindows collect{pid, visibleOnly, {}};
    if (pid != 0) EnumWindows(CollectDialog, reinterpret_cast<LPARAM>(&collect));
    return collect.found;
}

HWND FindDialog(DWORD pid, const DialogKind& kind, bool visibleOnly) {
    for (HWND dialog : Dialogs(pid, visibleOnly))
        if (Caption(dialog) == "Vrel 2" && HasAll(dialog, kind.ids)) return dialog;
    return nullptr;
}

HWND WaitForDialog(DWORD pid, const DialogKind& kind, DWORD timeoutMs) {
    HWND found = nullptr;
    WaitUntil(
        "the " + std::string(kind.name) + " of process " + std::to_string(pid),
        [&] { return (found = FindDialog(pid, kind)) != nullptr; }, timeoutMs);
    return found;
}

bool WaitForNoDialog(DWORD pid, const DialogKind& kind, DWORD timeoutMs) {
    return WaitUntil(
        "the " + std::string(kind.name) + " of process " + std::to_string(pid) + " to close",
        [&] { return FindDialog(pid, kind) == nullptr; }, timeoutMs);
}

HWND FindAbout(DWORD pid) {
    for (HWND dialog : Dialogs(pid, true)) {
        if (Caption(dialog) != "Vrel 2" || !GetDlgItem(dialog, IDOK) || !HasIcon(dialog)) continue;
        ChildCount count;
        EnumChildWindows(dialog, CountChildren, reinterpret_cast<LPARAM>(&count));
        if (count.buttons == 1 && count.others == 0) return dialog;
    }
    return nullptr;
}

HWND FindBox(DWORD pid, const std::string& caption) {
    for (HWND dialog : Dialogs(pid, true))
        if (Caption(dialog) == caption && GetDlgItem(dialog, kBoxTextId)) return dialog;
    return nullptr;
}

BoxView WaitForBox(DWORD pid, const std::string& caption, DWORD timeoutMs) {
    BoxView view;
    WaitUntil(
        "a box captioned \"" + caption + "\" of process " + std::to_string(pid),
        [&] { return (view.hwnd = FindBox(pid, caption)) != nullptr; }, timeoutMs);
    if (!view.hwnd) return view;
    view.caption = caption;
    view.text = ItemText(view.hwnd, kBoxTextId);
    view.hasIcon = HasIcon(view.hwnd);
    for (int id : {IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO})
        if (GetDlgItem(view.hwnd, id)) view.buttons.push_back(id);
    return view;
}

DWORD ProcessOf(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    return pid;
}

std::wstring AllTexts(HWND window) {
    std::wstring texts = WideText(window) + L"\n";
    EnumChildWindows(window, CollectText, reinterpret_cast<LPARAM>(&texts));
    return texts;
}

HWND FindWindowShowing(const std::wstring& part, DWORD exceptPid) {
    TextSearch search{part, exceptPid};
    EnumWindows(FindShowing, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string StartGame(HWND main) {
    PostClick(main, kStartGame);
    const HWND search = WaitForDialog(ProcessOf(main), kSearchDialog);
    if (!search) return {};
    if (!WaitUntil("the search's OK button to be enabled",
                   [&] { return IsWindowEnabled(GetDlgItem(search, IDOK)) != 0; }))
        return {};
    std::string letters;
    for (int i = 0; i < 16; ++i) letters += ItemText(main, kFirstLetter + i);
    PostClick(search, IDOK);
    if (!WaitUntil("OK to close the search", [&] { return !IsWindow(search); })) return {};
    Sync(main);
    // Typing needs the field enabled, not focused: several copies of the
    // program on one display take turns at being the active window, and only
    // the active one's field gets the focus.
    const HWND field = GetDlgItem(main, kWordField);
    if (!WaitUntil("the word field to be enabled", [&] { return IsWindowEnabled(field) != 0; }))
        return {};
    if (letters.size() != 16) std::fprintf(stderr, "the board read \"%s\"\n", letters.c_str());
    return letters.size() == 16 ? letters : std::string();
}

std::string TraceableWord(const std::string& letters,
                          const std::function<bool(const std::string&)>& known) {
    if (letters.size() != 16) return {};
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 2; ++column) {
            const std::string word = letters.substr(static_cast<std::size_t>(row * 4 + column), 3);
            if (!known(word)) return word;
        }
    return {};
}

BoxView EnterWord(HWND main, const std::string& word, const std::string& caption) {
    const HWND field = GetDlgItem(main, kWordField);
    for (char c : word) TypeChar(field, static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c));
    const std::string typed = Text(field);
    if (typed != word) {
        std::fprintf(stderr, "typed %s, the word field shows \"%s\"\n", word.c_str(),
                     typed.c_str());
        return {};
    }
    PostClick(main, kAddWord);
    return WaitForBox(ProcessOf(main), caption);
}

bool AnswerBox(const BoxView& box, int button) {
    if (!box.hwnd) return false;
    PostClick(box.hwnd, button);
    return WaitUntil("the box \"" + box.caption + "\" to close",
                     [&] { return !IsWindow(box.hwnd); });
}

WideApp::WideApp(std::wstring folder, std::wstring exeName)
    : m_strFolder(std::move(folder)), m_strExeName(std::move(exeName)) {
    // Each level that does not exist yet, outermost first.
    for (std::size_t slash = m_strFolder.find(L'\\', 3); slash != std::wstring::npos;
         slash = m_strFolder.find(L'\\', slash + 1)) {
        const std::wstring level = m_strFolder.substr(0, slash);
        if (FileExistsW(level)) continue;
        if (!CreateDirectoryW(LongPath(level).c_str(), nullptr)) return;
        m_made.push_back(level);
    }
    m_bFolderMade = FileExistsW(m_strFolder);
}

WideApp::~WideApp() {
    m_process.End();  // before its files are removed
    std::vector<std::wstring> names = {m_strExeName, L"VREL.DAT", L"VREL.XXX"};
    names.insert(names.end(), m_extraFiles.begin(), m_extraFiles.end());
    for (const std::wstring& name : names) DeleteWhenFree(PathOf(name));
    for (auto level = m_made.rbegin(); level != m_made.rend(); ++level)
        RemoveDirectoryW(LongPath(*level).c_str());
}

bool WideApp::WriteFile(const std::wstring& name, const std::string& bytes) const {
    return WriteFileW(PathOf(name), bytes);
}

std::string WideApp::ReadFile(const std::wstring& name) const { return ReadFileW(PathOf(name)); }

bool WideApp::AddProgramFile(const std::wstring& from, const std::wstring& name) {
    m_extraFiles.push_back(name);
    const std::wstring program = WideProgramPath();
    const std::wstring source = program.substr(0, program.find_last_of(L'\\') + 1) + from;
    return CopyFileW(LongPath(source).c_str(), LongPath(PathOf(name)).c_str(), FALSE) != 0;
}

bool WideApp::Start() {
    const std::wstring exe = PathOf(m_strExeName);
    if (!WhileHeld(
            [&] {
                return CopyFileW(LongPath(WideProgramPath()).c_str(), LongPath(exe).c_str(),
                                 FALSE) != 0;
            },
            false))
        return Failed(m_strStartError, "copying " + ProgramPath() + " to " + Utf8(exe));
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    // Started from another folder. A program's own path cannot be longer
    // than MAX_PATH - 1: CreateProcessW refuses it, with the \\?\ prefix too.
    std::wstring commandLine = L"\"" + exe + L"\"";
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        TempFolderW().c_str(), &startup, m_process.Info()))
        return Failed(m_strStartError, "starting " + Utf8(exe));
    return true;
}



std::string DictionaryText(const std::vector<std::string>& words) {
    std::string text;
    for (const std::string& word : words) text += word + "\r\n";
    return text;
}

std::string SavedText(const std::vector<std::string>& words, const std::string& added) {
    CWordDictionary model;
    for (const std::string& word : words) model.AddWord(word);
    model.AddWord(added);
    const int letters = static_cast<int>(model.GetAlphabet().size());
    std::string text;
    for (int i = 0; i < letters; ++i)
        for (int j = 0; j < letters; ++j)
            for (const std::string& word : model.Bucket(i, j)) text += word + "\r\n";
    return text;
}

std::string GameDictionary() {
    const std::string letters = "AEST";
    std::string text;
    for (int length = 3; length <= 4; ++length) {
        int combinations = 1;
        for (int i = 0; i < length; ++i) combinations *= 4;
        for (int n = 0; n < combinations; ++n) {
            std::string word;
            for (int i = 0, rest = n; i < length; ++i, rest /= 4) word += letters[rest % 4];
            if (word[0] != 'T') text += word + "\r\n";
        }
    }
    return text;
}

}  // namespace e2e
