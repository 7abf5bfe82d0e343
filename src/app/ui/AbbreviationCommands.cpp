// Abbreviations in the editor: Tab after one, and Ctrl+E anywhere, expand
// it in place (editor/Abbreviations) as one undo step. Tab anywhere else,
// and every key while TypingAbbreviations is off, does what it always did.
// The keys are caught before the editor sees them, so a Tab that expands
// inserts no tab; every other key passes by with one comparison.
#include "app/Globals.h"
#include "app/ui/MainWindow.h"
#include "editor/Abbreviations.h"
#include "editor/EditorLogic.h"
#include "editor/Undo.h"
#include "editor/ui/KRichEdit.h"
#include "editor/ui/SyntaxColouring.h"

#include <QFrame>
#include <QKeyEvent>

namespace {

class AbbreviationKeys : public QObject {
public:
    explicit AbbreviationKeys(TForm1* form)
        : QObject(form)
        , form_(form)
    {
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress || !TypingAbbreviations)
            return false;
        const auto* k = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers mods = k->modifiers() & ~Qt::KeypadModifier;
        if (k->key() == Qt::Key_Tab && mods == Qt::NoModifier)
            return form_->ExpandAbbreviationAtCaret(true);
        if (mods == Qt::ControlModifier && WindowsKeyCode(k->key(), k->nativeVirtualKey()) == 'E')
            return form_->ExpandAbbreviationAtCaret(false);
        return false;
    }

private:
    TForm1* form_;
};

} // namespace

void TForm1::buildAbbreviations() { Memo1->installEventFilter(new AbbreviationKeys(this)); }

bool TForm1::ExpandAbbreviationAtCaret(bool tab)
{
    if (!TypingAbbreviations)
        return false;
    TKRichEdit* m = Memo1;
    const int selStart = m->selStart();
    const int selEnd = selStart + m->selLength();
    if (tab && selEnd != selStart)
        return false;
    const int line = m->lineAt(selEnd);
    const int lineStart = m->lineStart(line);
    const QString text = m->line(line);
    const int end = std::clamp(selEnd - lineStart, 0, int(text.size()));
    auto contextAt = [&](int column) {
        return AbbreviationContextAt(m->colouring()->kind(), m->colouring()->lineStartState(line), QStringView(text).first(column));
    };
    AbbreviationContext context = contextAt(end);
    // Ctrl+E with a selection on one line expands the selected text.
    int start = selStart < selEnd && selStart >= lineStart ? selStart - lineStart : AbbreviationStart(text, end, context);
    if (start != end && contextAt(start) != context)
        context = AbbreviationContext::None;
    const QStringView abbreviation = QStringView(text).sliced(start, end - start);
    if (tab && !IsAbbreviationForTab(abbreviation, context))
        return false;
    TXTOOLS->hide();
    if (context != AbbreviationContext::None && abbreviation.isEmpty()) {
        HELPLOG_Write(QStringLiteral("Сокращение не раскрыто: перед курсором нет сокращения"), true);
        return true;
    }
    const AbbreviationExpansion e = ExpandAbbreviation(abbreviation, context, LineIndent(text));
    if (!e.ok()) {
        HELPLOG_Write(e.error, true);
        return true;
    }
    UndoSnapshot();
    m->setSelStart(lineStart + start);
    m->setSelLength(end - start);
    m->setSelText(e.text);
    m->setSelStart(lineStart + start + e.caret);
    m->setSelLength(0);
    UndoCommit();
    // The key's release commits again: it finds nothing new.
    UndoSnapshot();
    return true;
}
