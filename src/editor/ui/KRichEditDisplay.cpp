// The editor's display aids: the syntax colouring and the line numbers.
#include "editor/ui/KRichEdit.h"
#include "editor/ui/LineNumbers.h"
#include "editor/ui/SyntaxColouring.h"

void TKRichEdit::attachDisplayAids()
{
    colouring_ = new TSyntaxColouring(this);
    lineNumbers_ = new TLineNumbers(this);
}

void TKRichEdit::setColouringKind(ColouringKind kind) { colouring_->setKind(kind); }

void TKRichEdit::appearanceChanged()
{
    colouring_->appearanceChanged();
    lineNumbers_->appearanceChanged();
}

void TKRichEdit::setGutterWidth(int width)
{
    if (viewportMargins().left() != width)
        setViewportMargins(width, 0, 0, 0);
}

void TKRichEdit::prepareLineNumbers(int lines)
{
    if (!lineNumbers_ || !lineNumbers_->widensFor(lines))
        return;
    // The margins change: the old text goes first, so that only the new one
    // is laid out, and only once.
    if (document()->blockCount() > 1)
        document()->clear();
    lineNumbers_->prepareFor(lines);
}
