// Every edition's string table against the English one: each text that is a
// printf format must take the same arguments, so the same conversions in the
// same order, or a translated message would read the wrong argument.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "editions.h"

namespace {

// The conversions of a printf format, each as written ("%d", "%s", "%5.2f"),
// without "%%", which takes no argument.
std::vector<std::string> Conversions(const char* format) {
    std::vector<std::string> found;
    for (const char* p = format; *p; ++p) {
        if (*p != '%') continue;
        if (p[1] == '%') {
            ++p;
            continue;
        }
        const char* start = p++;
        while (*p && std::strchr("-+ #0123456789.*hlLqjzt", *p)) ++p;
        if (!*p) {
            found.emplace_back(start);  // cut short: kept, so that it differs
            break;
        }
        found.emplace_back(start, static_cast<std::size_t>(p - start + 1));
    }
    return found;
}

TEST(EditionTexts, ConversionsHelperTellsFormatsApart) {
    EXPECT_EQ(Conversions("Found %d words from a maximum of %d (%d%%)."),
              (std::vector<std::string>{"%d", "%d", "%d"}));
    EXPECT_EQ(Conversions("Cannot rename %s to %s."), (std::vector<std::string>{"%s", "%s"}));
    EXPECT_EQ(Conversions("100%% sure"), std::vector<std::string>{});
    EXPECT_NE(Conversions("%d %s"), Conversions("%s %d"));
}

TEST(EditionTexts, EveryFormatHasTheEnglishConversionsInOrder) {
    const Edition& english = kEditions[0];
    ASSERT_STREQ(english.code, "en");
#define VREL_STRING(number, name, text) number,
    const int ids[] = {
#include "editions/en/strings.inc"
    };
#undef VREL_STRING
    int editions = 0;
    for (const Edition* edition = kEditions + 1; edition->code; ++edition, ++editions) {
        for (int id : ids) {
            const char* source = english.Text(id);
            const char* translated = edition->Text(id);
            ASSERT_TRUE(source) << id;
            ASSERT_TRUE(translated) << edition->code << " has no string " << id;
            EXPECT_EQ(Conversions(translated), Conversions(source))
                << edition->code << " string " << id << ": \"" << translated << "\"";
        }
    }
    EXPECT_GT(editions, 0);
}

}  // namespace
