#include "editions.h"

namespace {

// One function per edition, Text_CODE: the texts of its
// strings.inc by id (generated from the editions list).
#define VREL_STRING(number, name, text) \
    case number:                        \
        return text;
#include "edition_texts.inc"
#undef VREL_STRING

}  // namespace

const Edition kEditions[] = {
#include "edition_rows.inc"
    {nullptr, nullptr},
};

const Edition* FindEdition(std::string_view code) {
    for (const Edition* edition = kEditions; edition->code; ++edition)
        if (code == edition->code) return edition;
    return nullptr;
}
