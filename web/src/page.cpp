#include "page.h"

#include <emscripten.h>

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
EM_JS(void, js_add_list_item, (int dialog, int id, const char* text, int length), {
    Module.page.addListItem(dialog, id, Module.page.decode(HEAPU8.subarray(text, text + length)));
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
EM_ASYNC_JS(void, js_yield, (), { await new Promise(resolve => setTimeout(resolve, 0)); });
EM_JS(void, js_open_help, (), { Module.page.openHelp(); });
EM_JS(void, js_end_program, (int code), { Module.page.endProgram(code); });
EM_JS(double, js_now, (), { return performance.now(); });
EM_ASYNC_JS(int, js_lock, (), { return await Module.page.storage.lock(); });
EM_JS(void, js_unlock, (int token), { Module.page.storage.unlock(token); });
EM_ASYNC_JS(int, js_pull, (), { return (await Module.page.storage.sync(true)) ? 1 : 0; });
EM_ASYNC_JS(int, js_push, (), { return (await Module.page.storage.sync(false)) ? 1 : 0; });
// clang-format on

namespace page {

namespace {
int Length(const std::string& text) { return static_cast<int>(text.size()); }
}  // namespace

void SetControlText(int dialog, int id, const std::string& text) {
    js_set_control_text(dialog, id, text.data(), Length(text));
}
void EnableControl(int dialog, int id, bool enabled) { js_enable_control(dialog, id, enabled); }
void FocusControl(int dialog, int id) { js_focus_control(dialog, id); }
void ClearList(int dialog, int id) { js_clear_list(dialog, id); }
void AddListItem(int dialog, int id, const std::string& text) {
    js_add_list_item(dialog, id, text.data(), Length(text));
}
void SetWordText(const std::string& text, bool caretAtEnd) {
    js_set_word_text(text.data(), Length(text), caretAtEnd);
}
void Beep() { js_beep(); }
void OpenDialog(int dialog) { js_open_dialog(dialog); }
void CloseDialog(int dialog) { js_close_dialog(dialog); }
void ShowMainWindow() { js_show_main_window(); }
int RunDialog(int dialog) { return js_run_dialog(dialog); }
int MessageBox(const std::string& text, const std::string& caption, unsigned type) {
    return js_message_box(text.data(), Length(text), caption.data(), Length(caption), type);
}
void YieldToPage() { js_yield(); }
void OpenHelp() { js_open_help(); }
void EndProgram(int code) {
    js_end_program(code);  // throws out of the module
    __builtin_unreachable();
}
double Now() { return js_now(); }
int Lock() { return js_lock(); }
void Unlock(int token) { js_unlock(token); }
bool Pull() { return js_pull() != 0; }
bool Push() { return js_push() != 0; }

}  // namespace page
