#include "texts.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

#include "platform.h"

std::string LoadText(int id) { return Platform::Get().LoadText(id); }

namespace {

std::string FormatArguments(const std::string& format, va_list args) {
    va_list copy;
    va_copy(copy, args);
    const int length = std::vsnprintf(nullptr, 0, format.c_str(), copy);
    va_end(copy);
    std::string result;
    if (length > 0) {
        std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), format.c_str(), args);
        result.assign(buffer.data(), static_cast<std::size_t>(length));
    }
    return result;
}

}  // namespace

std::string FormatText(int id, ...) {
    va_list args;
    va_start(args, id);
    std::string result = FormatArguments(LoadText(id), args);
    va_end(args);
    return result;
}

std::string FormatMessageText(int id, ...) {
    va_list args;
    va_start(args, id);
    std::string result = FormatArguments(Platform::Get().LoadMessageText(id), args);
    va_end(args);
    return result;
}

const char* BuiltInText(int id) {
    switch (id) {
#define VREL_STRING(number, name, text) \
    case number:                        \
        return text;
#include "editions/en/strings.inc"
#undef VREL_STRING
    }
    return nullptr;
}
