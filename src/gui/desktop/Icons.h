#pragma once
// Icons from our own SVG pictures, drawn by Qt SVG at whatever size and pixel ratio is asked
// for, and the choice between the desktop theme's icon and ours.

#include <QIcon>

namespace tovin {

// One of our pictures from the resources (":/tovin/icons/<name>.svg"); null when missing or
// unreadable.
QIcon OwnIcon(const QString& name);
// The desktop theme's icon of that name when the theme has one, else our own picture.
QIcon ThemeOrOwnIcon(const char* themeName, const char* ownName);
// The application icon: the theme's "tovin" when installed, else our own picture.
QIcon ApplicationIcon();

} // namespace tovin
