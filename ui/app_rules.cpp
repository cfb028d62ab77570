#include "app_rules.h"

AppNames DeriveAppNames(const std::string& modulePath) {
    const std::size_t slash = modulePath.find_last_of("\\/:");
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    std::size_t dot = modulePath.find_last_of('.');
    if (dot == std::string::npos || dot < nameStart) dot = modulePath.size();
    return AppNames{modulePath.substr(nameStart, dot - nameStart),
                    modulePath.substr(0, dot) + ".HLP"};
}

POINT CenteredPosition(const RECT& reference, const RECT& work, int width, int height) {
    LONG left = (reference.left + reference.right) / 2 - width / 2;
    LONG top = (reference.top + reference.bottom) / 2 - height / 2;
    // Pushed back from the right and bottom edges first, so that a window
    // larger than the work area ends at its left and top edges.
    if (left + width > work.right) left = work.right - width;
    if (left < work.left) left = work.left;
    if (top + height > work.bottom) top = work.bottom - height;
    if (top < work.top) top = work.top;
    return POINT{left, top};
}

UINT WithDefaultIcon(UINT style) {
    if ((style & MB_ICONMASK) != 0) return style;
    switch (style & MB_TYPEMASK) {
        case MB_OK:
        case MB_OKCANCEL:
        case MB_YESNO:
        case MB_YESNOCANCEL:
            return style | MB_ICONEXCLAMATION;
        default:
            return style;
    }
}
