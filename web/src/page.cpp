#include "page.h"

#include <emscripten.h>

#include <cstdlib>

// Each call hands the page's script (Module.page, set by app.js) pointers
// into the module's memory; texts are (pointer, length) of 8-bit bytes.
// clang-format off
EM_JS(void, js_set_control_text, (int dialog, int id, const char* text, int length), {
    Module.page.setControlText(dialog, id, Module.page.decode(HEAPU8.subarray(text, text + length)));
});
EM_JS(void, js_enable_control, (int dialog, int id, int enabled), {
    Module.page.enableControl(dialog, id, enabled != 0);
});
EM_JS(void, js_focus_control, (int dialog, int id), { Module.page.focusControl(dialog, id); });
EM_JS(void, js_clear_list, (int dialog, int id), { Module.page.clearList(dialog, id); });
EM_JS(void, js_add_list_item, (int dialog, int id, const char* text, int length, const int* path,
                               int cells), {
    Module.page.addListItem(dialog, id, Module.page.decode(HEAPU8.subarray(text, text + length)),
                            Array.from(HEAP32.subarray(path >> 2, (path >> 2) + cells)));
});
EM_JS(void, js_set_word_text, (const char* text, int length, int caretAtEnd), {
    Module.page.setWordText(Module.page.decode(HEAPU8.subarray(text, text + length)), caretAtEnd != 0);
});
EM_JS(void, js_beep, (), { Module.page.beep(); });
EM_JS(void, js_open_dialog, (int dialog), { Module.page.openDialog(dialog); });
EM_JS(void, js_close_dialog, (int dialog), { Module.page.closeDialog(dialog); });
EM_JS(void, js_show_main_window, (), { Module.page.showMainWindow(); });
EM_ASYNC_JS(int, js_run_dialog, (int dialog), { return await Module.page.runDialog(dialog); });
EM_ASYNC_JS(int, js_message_box, (const char* text, int textLength, const char* caption,
                                  int captionLength, unsigned type), {
    return await Module.page.messageBox(
        Module.page.decode(HEAPU8.subarray(text, text + textLength)),
        Module.page.decode(HEAPU8.subarray(caption, caption + captionLength)), type);
});
EM_JS(void, js_open_help, (), { Module.page.openHelp(); });
// The words of each list joined by new lines.
EM_JS(void, js_game_over, (const char* found, int foundLength, const char* missed, int missedLength), {
    const words = (pointer, length) =>
        Module.page.decode(HEAPU8.subarray(pointer, pointer + length)).split('\n').filter(Boolean);
    Module.page.gameOver(words(found, foundLength), words(missed, missedLength));
});
EM_JS(void, js_end_program, (int code), { Module.page.endProgram(code); });
EM_ASYNC_JS(int, js_lock, (), { return await Module.page.storage.lock(); });
EM_JS(void, js_unlock, (int token), { Module.page.storage.unlock(token); });
EM_ASYNC_JS(int, js_pull, (), { return (await Module.page.storage.sync(true)) ? 1 : 0; });
EM_ASYNC_JS(int, js_push, (), { return (await Module.page.storage.sync(false)) ? 1 : 0; });
// The names joined by new lines, in memory that the caller frees.
EM_ASYNC_JS(char*, js_open_tabs, (), {
    const names = (await Module.page.storage.openTabs()).join('\n');
    const size = lengthBytesUTF8(names) + 1;
    const pointer = _malloc(size);
    stringToUTF8(names, pointer, size);
    return pointer;
});
// clang-format on

namespace {

int Length(const std::string& text) { return static_cast<int>(text.size()); }

std::string Lines(const std::vector<std::string>& words) {
    std::string joined;
    for (const std::string& word : words) joined += word + "\n";
    return joined;
}

class Browser : public Page {
  public:
    void SetControlText(int dialog, int id, const std::string& text) override {
        js_set_control_text(dialog, id, text.data(), Length(text));
    }
    void EnableControl(int dialog, int id, bool enabled) override {
        js_enable_control(dialog, id, enabled);
    }
    void FocusControl(int dialog, int id) override { js_focus_control(dialog, id); }
    void ClearList(int dialog, int id) override { js_clear_list(dialog, id); }
    void AddListItem(int dialog, int id, const std::string& text,
                     const std::vector<int>& path) override {
        js_add_list_item(dialog, id, text.data(), Length(text), path.data(),
                         static_cast<int>(path.size()));
    }
    void SetWordText(const std::string& text, bool caretAtEnd) override {
        js_set_word_text(text.data(), Length(text), caretAtEnd);
    }
    void Beep() override { js_beep(); }
    void OpenDialog(int dialog) override { js_open_dialog(dialog); }
    void CloseDialog(int dialog) override { js_close_dialog(dialog); }
    void ShowMainWindow() override { js_show_main_window(); }
    int RunDialog(int dialog) override { return js_run_dialog(dialog); }
    int MessageBox(const std::string& text, const std::string& caption, unsigned type) override {
        return js_message_box(text.data(), Length(text), caption.data(), Length(caption), type);
    }
    void OpenHelp() override { js_open_help(); }
    void GameOver(const std::vector<std::string>& found,
                  const std::vector<std::string>& missed) override {
        const std::string foundLines = Lines(found);
        const std::string missedLines = Lines(missed);
        js_game_over(foundLines.data(), Length(foundLines), missedLines.data(), Length(missedLines));
    }
    [[noreturn]] void EndProgram(int code) override {
        js_end_program(code);  // throws out of the module
        __builtin_unreachable();
    }
    void Pause(int milliseconds) override { emscripten_sleep(static_cast<unsigned>(milliseconds)); }
    int Lock() override { return js_lock(); }
    void Unlock(int token) override { js_unlock(token); }
    bool Pull() override { return js_pull() != 0; }
    bool Push() override { return js_push() != 0; }
    std::vector<std::string> OpenTabs() override {
        char* joined = js_open_tabs();
        std::vector<std::string> names;
        std::string name;
        for (const char* c = joined; *c; ++c) {
            if (*c != '\n') {
                name += *c;
                continue;
            }
            names.push_back(name);
            name.clear();
        }
        if (!name.empty()) names.push_back(name);
        std::free(joined);
        return names;
    }
};

}  // namespace

Page& BrowserPage() {
    static Browser browser;
    return browser;
}
