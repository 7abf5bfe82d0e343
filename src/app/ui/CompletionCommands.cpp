#include "app/ui/CompletionCommands.h"

#include "app/Globals.h"
#include "app/ui/MainWindow.h"
#include "editor/EditorLogic.h"
#include "editor/Undo.h"
#include "editor/ui/CompletionPopup.h"
#include "editor/ui/KRichEdit.h"
#include "editor/ui/SyntaxColouring.h"
#include "html/ClassNames.h"
#include "html/DocumentResources.h"

#include <QDir>
#include <QDirIterator>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTextBlock>

namespace {

// How far back the context may look for a line with a known state.
constexpr int kLinesBack = 200;
// How much text around the caret is searched for custom properties.
constexpr int kPropertyReach = 64 * 1024;
// Files listed beside the page, at most.
constexpr int kMostFiles = 2000;

} // namespace

TCompletionCommands::TCompletionCommands(TForm1* form)
    : QObject(form), form_(form), editor_(form->Memo1), popup_(new TCompletionPopup(form->Memo1))
{
    setObjectName(QStringLiteral("COMPLETION"));
    popup_->onAccept = [this](const CompletionItem& item) { accept(item); };
    editor_->installEventFilter(this);
    connect(editor_, &TKRichEdit::OnKeyDown, this, [this] { afterKey(); });
    connect(editor_, &TKRichEdit::OnMouseDown, this, [this] { close(); });
    connect(editor_, &TKRichEdit::OnScroll, this, [this] { close(); });
}

bool TCompletionCommands::isOpen() const { return popup_->isVisible(); }

void TCompletionCommands::close() { popup_->hide(); }

bool TCompletionCommands::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == editor_ && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        typed_.clear();
        if (isOpen() && popup_->handleKey(*key))
            return true;
        if (key->key() == Qt::Key_Space && (key->modifiers() & Qt::ControlModifier)) {
            open();
            return true;
        }
        typed_ = key->text();
    } else if (watched == editor_ && event->type() == QEvent::FocusOut) {
        close();
    }
    return QObject::eventFilter(watched, event);
}

CompletionContext TCompletionCommands::contextAtCaret() const
{
    const ColouringKind kind = editor_->colouring()->kind();
    if (kind == ColouringKind::Plain)
        return {};
    // The window: from the nearest line above whose start state is known.
    const QTextCursor cursor = editor_->textCursor();
    // Past the coloured part of a very long line the colouring knows no
    // place, and a key there would read the whole line for one.
    if (cursor.positionInBlock() > kColouredLineLength)
        return {};
    const QTextBlock caretBlock = cursor.block();
    QTextBlock first = caretBlock;
    int state = -1;
    for (int i = 0; i < kLinesBack && first.isValid(); ++i) {
        if (const std::optional<int> known = editor_->colouring()->knownStartState(first)) {
            state = *known;
            break;
        }
        if (!first.previous().isValid())
            break;
        first = first.previous();
    }
    if (state < 0)
        state = InitialColouringState(kind);
    QString window;
    for (QTextBlock b = first; b.isValid() && b != caretBlock; b = b.next())
        window += b.text() + u'\n';
    const int caret = int(window.size()) + cursor.positionInBlock();
    // The caret line's head alone, read without a cursor: a long line is
    // neither copied whole nor measured up to the caret.
    window += editor_->documentPart(caretBlock.position(), cursor.positionInBlock());
    return CompletionContextAt(window, caret, kind, state);
}

CompletionExtras TCompletionCommands::extrasFor(const CompletionContext& context)
{
    CompletionExtras extras;
    // One quote style a page: the one the typing after "style=" writes.
    extras.quote = UseDoubleQuotes ? u'\'' : u'"';
    switch (context.kind) {
    case CompletionKind::ClassName:
        extras.classNames = ClassNames(editor_->text(), DocumentFolderOf(CurrentFileName));
        break;
    case CompletionKind::Path: {
        const QString folder = DocumentFolderOf(CurrentFileName);
        if (!filesListed_ || folder != filesFolder_) {
            files_.clear();
            filesFolder_ = folder;
            filesListed_ = true;
            if (!folder.isEmpty()) {
                const QDir base(folder);
                QDirIterator it(folder, QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
                while (it.hasNext() && files_.size() < kMostFiles) {
                    const QString path = base.relativeFilePath(it.next());
                    if (path.count(u'/') <= 2)
                        files_ << path;
                }
                files_.sort(Qt::CaseInsensitive);
            }
        }
        extras.files = files_;
        break;
    }
    case CompletionKind::CssProperty:
    case CompletionKind::CssValue: {
        const int at = editor_->selStart();
        const int from = std::max(0, at - kPropertyReach);
        const int length = std::min(editor_->textLength() - from, 2 * kPropertyReach);
        extras.customProperties = CustomPropertyNames(editor_->textPart(from, length));
        break;
    }
    default:
        break;
    }
    return extras;
}

bool TCompletionCommands::showFor(const CompletionContext& context)
{
    if (context.kind == CompletionKind::None) {
        close();
        return false;
    }
    // The extras are gathered again only when the kind of list changes.
    if (!isOpen() || context.kind != shown_.kind || context.element != shown_.element
        || context.attribute != shown_.attribute)
        extras_ = extrasFor(context);
    auto items = CompletionItems(context, extras_);
    if (items.empty()) {
        close();
        return false;
    }
    shown_ = context;
    const QRect caret = editor_->cursorRect();
    popup_->showItems(std::move(items), editor_->viewport()->mapToGlobal(caret.bottomLeft() + QPoint(0, 2)));
    return true;
}

bool TCompletionCommands::open() { return showFor(contextAtCaret()); }

void TCompletionCommands::afterKey()
{
    const QString typed = std::exchange(typed_, QString());
    if (isOpen()) {
        showFor(contextAtCaret());
        return;
    }
    if (!TypingCompletion || typed.size() != 1)
        return;
    const CompletionContext context = contextAtCaret();
    if (!CompletionOpener(typed[0], context))
        return;
    // "color:" keeps opening the colour picker where the typing does so.
    if (typed[0] == u':' && UseDoubleQuotes && InterceptAt(editor_->textPart(std::max(0, editor_->selStart() - 6), std::min(6, editor_->selStart())), -1) == Intercept::Color)
        return;
    showFor(context);
}

void TCompletionCommands::accept(const CompletionItem& item)
{
    const int prefix = int(shown_.prefix.size());
    const int start = editor_->selStart() - prefix;
    UndoSnapshot();
    editor_->setSelStart(start);
    editor_->setSelLength(prefix);
    editor_->setSelText(item.insert);
    editor_->setSelStart(start + item.caret);
    UndoCommit();
    // An attribute and a property go on to their values.
    if (shown_.kind == CompletionKind::Attribute || shown_.kind == CompletionKind::CssProperty)
        open();
}

void InstallCompletion(TForm1* form)
{
    if (!form->findChild<TCompletionCommands*>(QString(), Qt::FindDirectChildrenOnly))
        new TCompletionCommands(form);
}
