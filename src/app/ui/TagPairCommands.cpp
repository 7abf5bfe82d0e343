// Closing and matching tags in the editor: the end tag put after a typed
// start tag's ">" or completing a typed "</", "Перейти к парному тегу"
// (Ctrl+M), and the partner's name following an edit of one tag's name. Each
// insertion or rename happens while the key is handled, before its release
// commits the undo step, so it is taken back together with the typed key.
// All of it only while TypingCloseTags is on.
#include "app/Globals.h"
#include "app/ui/MainWindow.h"
#include "editor/Colouring.h"
#include "editor/ui/KRichEdit.h"
#include "editor/ui/TagPairHighlight.h"
#include "html/TagPairs.h"

#include <QAction>
#include <QEvent>
#include <QKeyEvent>
#include <QMenu>

namespace {

// Follows the editor's keys: the pair under the caret and the selection
// before a key, and the insertion or rename after it. The key's edit is told
// from the selection before and the caret and length after, not from the
// document's change reports: the colouring's format changes come as reports
// of whole lines too.
class TagTyping : public QObject {
public:
    TagTyping(TKRichEdit* editor, TagPairHighlight* pairs, std::function<bool()> html)
        : QObject(editor), editor_(editor), pairs_(pairs), html_(std::move(html))
    {
        editor_->installEventFilter(this);
        connect(editor_, &TKRichEdit::OnTextChange, this, [this] {
            if (!applying_)
                changed_ = true;
        });
        connect(editor_, &TKRichEdit::OnKeyDown, this, [this] { afterKey(); });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == editor_ && event->type() == QEvent::KeyPress) {
            auto* k = static_cast<QKeyEvent*>(event);
            typed_ = k->text();
            erases_ = k->key() == Qt::Key_Backspace || k->key() == Qt::Key_Delete;
            changed_ = false;
            pairBefore_.reset();
            selStart_ = editor_->selStart();
            selLength_ = editor_->selLength();
            length_ = editor_->textLength();
            if (TypingCloseTags && html_() && (!typed_.isEmpty() || erases_))
                pairBefore_ = pairs_->pairNow();
        }
        return false;
    }

private:
    struct Change {
        int offset = 0, removed = 0, added = 0;
    };

    // The key's one edit ending at the caret: typed text in place of the
    // selection, or Backspace or Delete taking the selection or a character.
    std::optional<Change> keyEdit() const
    {
        if (!changed_ || editor_->selLength() != 0)
            return std::nullopt;
        const int caret = editor_->selStart();
        const int start = std::min(selStart_, caret);
        const int added = caret - start;
        const int removed = added - (editor_->textLength() - length_);
        const bool typing = !typed_.isEmpty() && !erases_ && added == typed_.size() && removed == selLength_ && start == selStart_;
        const bool erasing = erases_ && added == 0 && removed > 0 && (selLength_ == 0 || removed == selLength_);
        if (!typing && !erasing)
            return std::nullopt;
        return Change{start, removed, added};
    }

    void afterKey()
    {
        if (!TypingCloseTags || !html_())
            return;
        const std::optional<Change> edit = keyEdit();
        if (!edit)
            return;
        if (pairBefore_ && rename(*edit))
            return;
        const int caret = editor_->selStart();
        if (typed_ != u">" && typed_ != u"/")
            return;
        const int lineFrom = editor_->lineAt(std::max(0, caret - kTagTypingWindow));
        const int from = std::min(caret, editor_->lineStart(lineFrom));
        const QString before = editor_->textPart(from, caret - from);
        if (typed_ == u">") {
            const QString after = editor_->textPart(caret, 256);
            if (const auto tag = EndTagToInsert(before, after))
                insert(*tag, caret);
        } else if (const auto rest = EndTagCompletion(before)) {
            insert(*rest, caret + int(rest->size()));
        }
    }

    void insert(const QString& text, int caretAfter)
    {
        applying_ = true;
        editor_->setSelLength(0);
        editor_->setSelText(text);
        editor_->setSelStart(caretAfter);
        applying_ = false;
    }

    bool rename(const Change& change)
    {
        const TagPair p = *pairBefore_;
        const int delta = change.added - change.removed;
        const int lo = std::min(p.openName, p.closeName);
        const int hi = std::max(p.openName + p.openLength, p.closeName + p.closeLength) + std::max(0, delta) + 1;
        const QString window = editor_->textPart(lo, hi - lo);
        const TagPair shifted{p.openName - lo, p.openLength, p.closeName - lo, p.closeLength};
        const auto r = PartnerRename(shifted, change.offset - lo, change.removed, change.added, window);
        if (!r)
            return false;
        const int at = lo + r->start;
        int caret = editor_->selStart();
        if (at < caret)
            caret += int(r->name.size()) - r->length;
        applying_ = true;
        editor_->setSelStart(at);
        editor_->setSelLength(r->length);
        editor_->setSelText(r->name);
        editor_->setSelStart(caret);
        applying_ = false;
        return true;
    }

    TKRichEdit* editor_;
    TagPairHighlight* pairs_;
    std::function<bool()> html_;
    QString typed_;
    bool erases_ = false;
    bool changed_ = false;
    int selStart_ = 0, selLength_ = 0, length_ = 0;
    std::optional<TagPair> pairBefore_;
    bool applying_ = false;
};

} // namespace

void TForm1::buildTagPairCommands()
{
    const auto html = [this] { return ColouringKindForPath(CurrentFileName) == ColouringKind::Html; };
    TAGPAIRS = new TagPairHighlight(Memo1);
    TAGPAIRS->setCondition([html] { return TypingCloseTags && html(); });
    new TagTyping(Memo1, TAGPAIRS, html);

    MENU_PAIRTAG = new QAction(QStringLiteral("Перейти к парному тегу"), this);
    MENU_PAIRTAG->setObjectName(QStringLiteral("MENU_PAIRTAG"));
    MENU_PAIRTAG->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
    EDITOR_POPUP->addAction(MENU_PAIRTAG);
    addAction(MENU_PAIRTAG); // the key works without the menu
    connect(MENU_PAIRTAG, &QAction::triggered, this, &TForm1::MENU_PAIRTAGClick);
    connect(EDITOR_POPUP, &QMenu::aboutToShow, this, [this] { MENU_PAIRTAG->setVisible(TypingCloseTags); });
}

void TForm1::MENU_PAIRTAGClick()
{
    if (!TypingCloseTags)
        return;
    const std::optional<TagPair> p = TagPairAtCaret(*Memo1);
    if (!p)
        return;
    // In the start tag: to the end tag's name, and back.
    const int caret = Memo1->selStart() + Memo1->selLength();
    const bool inStart = caret < p->closeName - 2;
    Memo1->setSelStart(inStart ? p->closeName : p->openName);
    Memo1->setSelLength(0);
}
