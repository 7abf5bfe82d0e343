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
