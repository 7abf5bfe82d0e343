#pragma once
// The program's own picture (a page with a tag mark on a teal tile), painted
// at any size so every size is sharp: the window icon, the desktop icons.
#include <QByteArray>
#include <QIcon>
#include <QImage>

namespace platform {

QImage PaintProgramIcon(int size);
// PNG bytes of PaintProgramIcon(size).
QByteArray ProgramIconPng(int size);
// The window icon, with the common sizes.
QIcon ProgramIcon();

} // namespace platform
