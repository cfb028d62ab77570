// Ids of the string table entries, named after their use.
#ifndef VREL_RESOURCES_STRING_IDS_H_
#define VREL_RESOURCES_STRING_IDS_H_

#define VREL_STRING(id, name, text) name = id,
enum StringId {
#include "editions/en/strings.inc"
};
#undef VREL_STRING

#endif  // VREL_RESOURCES_STRING_IDS_H_
