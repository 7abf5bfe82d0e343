#pragma once
// Dialogs shown centred on the desktop, in front and active, at their
// natural size.
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace platform {

inline void ShowCentredOnDesktop(QWidget* w)
{
    w->adjustSize();
    if (const QScreen* s = w->screen() ? w->screen() : QGuiApplication::primaryScreen())
        w->move(s->availableGeometry().center() - w->rect().center());
    w->show();
    w->raise();
    w->activateWindow();
}

} // namespace platform
