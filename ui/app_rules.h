// The application shell's rules that need no window, kept apart so that they
// can be checked on their own: the names derived from the executable's path,
// where a dialog is centred, and the default icon of message boxes.
#ifndef VREL_UI_APP_RULES_H_
#define VREL_UI_APP_RULES_H_

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string>

struct AppNames {
    std::string appName;       // file name without folder and extension
    std::string helpFilePath;  // the path with its extension replaced by ".HLP"
};

// Names from the executable's full path. Only a dot in the file name starts
// the extension; a name without one gets ".HLP" appended.
AppNames DeriveAppNames(const std::string& modulePath);

// Top-left corner of a width x height window centred on reference, then moved
// inside work (left and top edges win when it is larger).
POINT CenteredPosition(const RECT& reference, const RECT& work, int width, int height);

// A message box style with the exclamation icon added when it names no icon
// and its buttons are OK, OK/Cancel, Yes/No or Yes/No/Cancel.
UINT WithDefaultIcon(UINT style);

#endif  // VREL_UI_APP_RULES_H_
