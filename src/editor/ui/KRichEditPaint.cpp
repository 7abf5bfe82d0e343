// How the editor paints the lines in view.
#include "editor/ui/KRichEdit.h"

void TKRichEdit::paintEvent(QPaintEvent* event) { QPlainTextEdit::paintEvent(event); }
