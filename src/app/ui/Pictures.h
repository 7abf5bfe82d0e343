#pragma once
// The pictures of the main window's tool buttons and menu entries: a
// freedesktop icon theme for the common actions, the program's own pictures
// (resources/pictures/*.svg) for the rest and wherever the theme is missing.
#include <QIcon>
#include <QString>

// The theme the program's packages install; used when the desktop's own
// theme has no picture for the common actions under their plain names.
inline constexpr char kProgramIconTheme[] = "breeze";

// At start-up, before any window: the icon theme and where to find it, so
// the pictures are the same offscreen, without a desktop and under any desktop.
void UseIconTheme();

// The theme's picture of that name, or the program's own picture
// ":/pictures/<own>.svg" when the theme has none; an empty theme name
// means the program's own picture alone, an empty own name no fallback.
QIcon ProgramPicture(const QString& themeName, const QString& own);
