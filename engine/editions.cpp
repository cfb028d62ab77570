#include "editions.h"

#include "texts.h"

namespace {

// One function per edition: the texts of its strings.inc by id.
#define VREL_STRING(number, name, text) \
    case number:                        \
        return text;
const char* GermanText(int id) {
    switch (id) {
#include "editions/de/strings.inc"
    }
    return nullptr;
}

const char* SwedishText(int id) {
    switch (id) {
#include "editions/sv/strings.inc"
    }
    return nullptr;
}

const char* DanishText(int id) {
    switch (id) {
#include "editions/da/strings.inc"
    }
    return nullptr;
}

const char* NorwegianText(int id) {
    switch (id) {
#include "editions/nb/strings.inc"
    }
    return nullptr;
}

const char* DutchText(int id) {
    switch (id) {
#include "editions/nl/strings.inc"
    }
    return nullptr;
}

#undef VREL_STRING

}  // namespace

const Edition kEditions[] = {
    {"en", BuiltInText},    // English
    {"de", GermanText},     // German
    {"sv", SwedishText},    // Swedish
    {"da", DanishText},     // Danish
    {"nb", NorwegianText},  // Norwegian (Bokmal)
    {"nl", DutchText},      // Dutch
    {nullptr, nullptr},
};

const Edition* FindEdition(std::string_view code) {
    for (const Edition* edition = kEditions; edition->code; ++edition)
        if (code == edition->code) return edition;
    return nullptr;
}
