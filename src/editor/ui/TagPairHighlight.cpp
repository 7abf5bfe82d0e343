#include "editor/ui/TagPairHighlight.h"

#include "editor/ui/KRichEdit.h"

#include <QTextCursor>
#include <QTimer>

namespace {

// Marks our selections among the editor's extra selections.
constexpr int kTagPairProperty = QTextFormat::UserProperty + 0x7A1;

} // namespace

std::optional<TagPair> TagPairAtCaret(const TKRichEdit& editor)
{
    const int caret = editor.selStart() + editor.selLength();
    const int length = editor.textLength();
    {
        // Most carets are in no tag: a few KB tell.
        const int near = std::max(0, caret - 4097);
        const QString part = editor.textPart(near, std::min(length, caret + 1) - near);
        if (!MayBeInTag(part, caret - near))
            return std::nullopt;
    }
    // The window starts at a line start, so its scan starts in page text.
    const int fromLine = editor.lineAt(std::max(0, caret - kTagPairScanLimit));
    const int from = editor.lineCount() > 0 ? std::min(caret, editor.lineStart(fromLine)) : 0;
    const int to = int(std::min<qint64>(length, qint64(caret) + kTagPairScanLimit));
    const QString window = editor.textPart(from, to - from);
    std::optional<TagPair> p = MatchingTag(window, caret - from, kTagPairScanLimit);
    if (p) {
        p->openName += from;
        p->closeName += from;
    }
    return p;
}

TagPairHighlight::TagPairHighlight(TKRichEdit* editor) : QObject(editor), editor_(editor)
{
    connect(editor_, &QPlainTextEdit::cursorPositionChanged, this, &TagPairHighlight::schedule);
    connect(editor_, &QPlainTextEdit::textChanged, this, &TagPairHighlight::schedule);
}

void TagPairHighlight::setCondition(std::function<bool()> condition) { condition_ = std::move(condition); }

void TagPairHighlight::schedule()
{
    if (scheduled_)
        return;
    scheduled_ = true;
    QTimer::singleShot(0, this, [this] {
        if (scheduled_)
            update();
    });
}

std::optional<TagPair> TagPairHighlight::pairNow()
{
    if (scheduled_ || !known_)
        update();
    return pair_;
}

bool TagPairHighlight::on() const { return !condition_ || condition_(); }

void TagPairHighlight::update()
{
    scheduled_ = false;
    known_ = on();
    pair_ = known_ ? TagPairAtCaret(*editor_) : std::nullopt;
    const bool dark = editor_->palette().base().color().lightness() < 128;
    QTextCharFormat f;
    f.setBackground(dark ? QColor(0x40, 0x60, 0x80) : QColor(0xC8, 0xDC, 0xF0));
    f.setProperty(kTagPairProperty, true);
    QList<QTextEdit::ExtraSelection> all;
    QList<std::pair<int, int>> ours;
    bool sameFormat = true;
    for (const QTextEdit::ExtraSelection& s : editor_->extraSelections()) {
        if (!s.format.hasProperty(kTagPairProperty)) {
            all << s;
        } else {
            ours.append({s.cursor.selectionStart(), s.cursor.selectionEnd()});
            sameFormat = sameFormat && s.format == f;
        }
    }
    if (!pair_ && ours.isEmpty())
        return;
    // Offsets count a line break as two; document positions as one.
    const auto range = [this](int offset, int length) {
        const int pos = offset - editor_->lineAt(offset);
        return std::pair(pos, pos + length);
    };
    // The selections' cursors follow the edits: when they still mark the
    // pair, nothing is set again (setting them measures their line).
    if (pair_ && sameFormat
        && ours
            == QList<std::pair<int, int>>{range(pair_->openName, pair_->openLength), range(pair_->closeName, pair_->closeLength)})
        return;
    if (pair_) {
        for (const auto& [offset, len] : {std::pair(pair_->openName, pair_->openLength), std::pair(pair_->closeName, pair_->closeLength)}) {
            QTextCursor c(editor_->document());
            const auto [from, to] = range(offset, len);
            c.setPosition(from);
            c.setPosition(to, QTextCursor::KeepAnchor);
            all << QTextEdit::ExtraSelection{c, f};
        }
    }
    editor_->setExtraSelections(all);
}
