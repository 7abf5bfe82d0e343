#pragma once
// The rules behind the editor's events that do not need a window: the caret
// report of the status bar, the typing hints, the keyboard interception after
// STYLE=, CLASS= and COLOR:, the key codes the events compare, the snapping
// of the scroll thumb to whole lines and the place of the tag tool panel.
#include "editor/TextModel.h"

#include <QHash>
#include <QPoint>
#include <QString>
#include <QtGlobal>
#include <optional>

// The caret/selection text of status panel 1.
QString CARETINFO_Text(const TextModel& m);

// A hint for the keyword that ends just before the caret.
struct TypingHint {
    QString leadText;
    QString button; // object name of the tool button it quotes; empty for none
};

// The hint for the first keyword (in the table's order) that ends at
// selStart, letter case ignored; -1 stands for the end of the text.
std::optional<TypingHint> TypingHintAt(const QString& text, int selStart);

// The message for the log: the lead text, then the button's hint in quotes
// and "на панели инструментов" when the hint names a button.
QString TypingHintMessage(const TypingHint& hint, const QString& buttonHint);

// The hints of the tool buttons the typing hints quote, by object name.
QHash<QString, QString> ToolButtonHints();

enum class Intercept { None, Style, Class, Color };

// Which of "STYLE=", "CLASS=" and "COLOR:" ends at selStart (ASCII letter case
// ignored; -1 stands for the end of the text). The first in that order wins.
Intercept InterceptAt(const QString& text, int selStart);

// Whether the key (a Windows virtual-key code) can start an interception: the
// keys of "=" and ";"/":".
bool InterceptKey(int windowsKeyCode);

// Whether a key event's native virtual key is a Windows virtual-key code on
// this system; elsewhere it is a key symbol of the window system.
#ifdef Q_OS_WIN
inline constexpr bool kNativeKeysAreWindowsCodes = true;
#else
inline constexpr bool kNativeKeysAreWindowsCodes = false;
#endif

// The Windows virtual-key code of a key, 0 for keys the events ignore. A
// native virtual key that is a Windows code (1-254) is taken as it is;
// otherwise the Qt key decides: "=" and "+" give 187, ";" and ":" give 186,
// and letters on a Russian layout give the code of the Latin key they share.
int WindowsKeyCode(int qtKey, quint32 nativeVirtualKey = 0,
                   bool nativeIsWindowsCode = kNativeKeysAreWindowsCodes);

// The scroll thumb position snapped to the nearest multiple of the line height
// (ties to even), in 16-bit signed arithmetic as the scroll message carries it.
// lineHeight must be above 0: while it is 0 the caller drops the message. A
// line height of 0 or below gives the position back (cut to 16 bits).
int SnapThumb(int position, int lineHeight);

// Top-left corner of the tag tool panel for a mouse position (used inside the
// main window as it stands), kept inside the window's width and below its top.
QPoint TxtoolsPosition(QPoint screenPos, int panelWidth, int mainWidth);
