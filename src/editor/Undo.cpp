#include "editor/Undo.h"

#include "editor/TextModel.h"
#include "store/OptionItems.h"
#include "store/OptionsStore.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

// Characters compared per memcmp before the scan narrows down to one.
constexpr qsizetype kBlock = 64;

qsizetype matchForward(const QChar* a, const QChar* b, qsizetype n)
{
    qsizetype i = 0;
    while (i + kBlock <= n && std::memcmp(a + i, b + i, kBlock * sizeof(QChar)) == 0)
        i += kBlock;
    while (i < n && a[i] == b[i])
        ++i;
    return i;
}

// aEnd and bEnd point just past the characters compared.
qsizetype matchBackward(const QChar* aEnd, const QChar* bEnd, qsizetype n)
{
    qsizetype i = 0;
    while (i + kBlock <= n
           && std::memcmp(aEnd - i - kBlock, bEnd - i - kBlock, kBlock * sizeof(QChar)) == 0)
        i += kBlock;
    while (i < n && aEnd[-i - 1] == bEnd[-i - 1])
        ++i;
    return i;
}

// A text read piece by piece: the base, the editor, a string, or a text
// given by a difference against another one.
struct Source {
    virtual ~Source() = default;
    virtual qsizetype size() const = 0;
    // [from, from + count), within the text.
    virtual QString mid(qsizetype from, qsizetype count) const = 0;
};

struct StringSource final : Source {
    explicit StringSource(QStringView s) : s(s) {}
    qsizetype size() const override { return s.size(); }
    QString mid(qsizetype from, qsizetype count) const override { return s.sliced(from, count).toString(); }
    QStringView s;
};

struct BaseSource final : Source {
    explicit BaseSource(const ChunkedText& t) : t(t) {}
    qsizetype size() const override { return t.size(); }
    QString mid(qsizetype from, qsizetype count) const override { return t.mid(from, count); }
    const ChunkedText& t;
};

struct EditorSource final : Source {
    explicit EditorSource(const TextModel& m) : m(m), length(m.textLength()) {}
    qsizetype size() const override { return length; }
    QString mid(qsizetype from, qsizetype count) const override { return m.textPart(int(from), int(count)); }
    const TextModel& m;
    qsizetype length;
};

using Diff = UndoHistory::Diff;

// reference.left(prefix) + middle + reference.right(suffix).
struct DiffSource final : Source {
    DiffSource(const Source& reference, const Diff& d) : ref(reference), d(d) {}
    qsizetype size() const override { return d.prefix + d.middle.size() + d.suffix; }
    QString mid(qsizetype from, qsizetype count) const override
    {
        QString out;
        out.reserve(count);
        const qsizetype middleEnd = d.prefix + d.middle.size();
        if (from < d.prefix) {
            const qsizetype take = std::min(count, d.prefix - from);
            out.append(ref.mid(from, take));
            from += take;
            count -= take;
        }
        if (count > 0 && from < middleEnd) {
            const qsizetype take = std::min(count, middleEnd - from);
            out.append(QStringView(d.middle).sliced(from - d.prefix, take));
            from += take;
            count -= take;
        }
        if (count > 0)
            out.append(ref.mid(ref.size() - d.suffix + (from - middleEnd), count));
        return out;
    }
    const Source& ref;
    const Diff& d;
};

// A difference that stands for its reference text unchanged.
bool isWhole(const Diff& d, qsizetype referenceSize)
{
    return d.middle.isEmpty() && d.prefix + d.suffix == referenceSize;
}

Diff whole(qsizetype referenceSize) { return Diff{int(referenceSize), 0, QString()}; }

// The text x against the reference r, given that they agree on their first
// p and last s characters: the middle narrowed to where they differ.
Diff narrowed(const Source& x, const Source& r, qsizetype p, qsizetype s)
{
    const QString m = x.mid(p, x.size() - p - s);
    const qsizetype limit = std::min(m.size(), r.size() - p - s);
    const QString head = r.mid(p, limit);
    const qsizetype k = matchForward(m.constData(), head.constData(), limit);
    const qsizetype tailLimit = limit - k;
    const QString tail = r.mid(r.size() - s - tailLimit, tailLimit);
    const qsizetype k2 = matchBackward(m.constData() + m.size(), tail.constData() + tail.size(), tailLimit);
    return Diff{int(p + k), int(s + k2), m.mid(k, m.size() - k - k2)};
}

// A text given by d against r, re-expressed against r2, which agrees with r
// on its first `from` and last `tail` characters. Costs what the two
// differences span, not what the texts hold.
Diff rebase(const Diff& d, const Source& r, const Source& r2, qsizetype from, qsizetype tail)
{
    if (from + tail == r.size() && from + tail == r2.size())
        return d;
    qsizetype p = d.prefix;
    qsizetype s = d.suffix;
    if (isWhole(d, r.size())) {
        // The text is r itself: split it where r2 begins to differ.
        p = std::min(p, from);
        s = r.size() - p;
    }
    return narrowed(DiffSource(r, d), r2, std::min(p, from), std::min(s, tail));
}

} // namespace

QString FormatUndoEntry(int start, int length, const std::optional<QString>& text)
{
    QString entry = QString::number(start) + u'_' + QString::number(length);
    if (text)
        entry += u'#' + *text;
    return entry;
}

bool ParseUndoEntry(const QString& entry, int& start, int& length, std::optional<QString>& text)
{
    const qsizetype underscore = entry.indexOf(u'_');
    if (underscore < 0)
        return false;
    const qsizetype hash = entry.indexOf(u'#', underscore + 1);
    const std::optional<int> s = StrictToInt(entry.left(underscore));
    const qsizetype lengthEnd = hash < 0 ? entry.size() : hash;
    const std::optional<int> l = StrictToInt(entry.mid(underscore + 1, lengthEnd - underscore - 1));
    if (!s || !l)
        return false;
    start = *s;
    length = *l;
    if (hash >= 0)
        text = entry.mid(hash + 1);
    else
        text.reset();
    return true;
}

UndoHistory::UndoHistory()
    : self_(std::make_shared<UndoHistory*>(this))
{
}

UndoHistory::~UndoHistory() = default;

void UndoHistory::init(TextModel* editor)
{
    editor_ = editor;
    clear();
    if (!editor_)
        return;
    // The editor may outlive the history and be handed to another one: the
    // listener checks that this history still exists and still follows it.
    std::weak_ptr<UndoHistory*> weak = self_;
    editor_->setChangeListener([weak, editor](int offset, int, int added) {
        if (const auto self = weak.lock(); self && (*self)->editor_ == editor)
            (*self)->noteChange(offset, added);
    });
}

void UndoHistory::reset()
{
    clear();
    notify();
    notifyRedo();
}

void UndoHistory::clear()
{
    baseStart_ = 0;
    baseLength_ = 0;
    base_.assign(QString());
    entries_.clear();
    redo_.clear();
    lastReplacement_ = {};
    // The base is empty: all of the editor's text may differ from it.
    dirty_ = editor_ != nullptr;
    dirtyFrom_ = 0;
    dirtyTail_ = 0;
}

void UndoHistory::noteChange(int offset, int added)
{
    const qsizetype from = std::max(offset, 0);
    const qsizetype tail = std::max<qsizetype>(0, qsizetype(editor_->textLength()) - from - std::max(added, 0));
    if (!dirty_) {
        dirty_ = true;
        dirtyFrom_ = from;
        dirtyTail_ = tail;
    } else {
        dirtyFrom_ = std::min(dirtyFrom_, from);
        dirtyTail_ = std::min(dirtyTail_, tail);
    }
}

qsizetype UndoHistory::dirtyFrom() const
{
    return std::min({dirtyFrom_, base_.size(), qsizetype(editor_->textLength())});
}

qsizetype UndoHistory::dirtyTail() const
{
    const qsizetype from = dirtyFrom();
    return std::min({dirtyTail_, base_.size() - from, qsizetype(editor_->textLength()) - from});
}

bool UndoHistory::editorTextChanged()
{
    if (!dirty_)
        return false;
    const qsizetype from = dirtyFrom();
    const qsizetype tail = dirtyTail();
    const qsizetype length = editor_->textLength();
    bool changed = length != base_.size();
    if (!changed)
        changed = editor_->textPart(int(from), int(length - from - tail)) != base_.mid(from, base_.size() - from - tail);
    // The same text again: nothing left to compare until the next change.
    if (!changed)
        dirty_ = false;
    return changed;
}

Diff UndoHistory::editorAgainstBase() const
{
    if (!dirty_)
        return whole(base_.size());
    return narrowed(EditorSource(*editor_), BaseSource(base_), dirtyFrom(), dirtyTail());
}

namespace {

// Index of the newest entry that holds a text, or -1.
template <typename Chain>
int newestText(const Chain& chain)
{
    for (int i = int(chain.size()) - 1; i >= 0; --i)
        if (chain[size_t(i)].hasText)
            return i;
    return -1;
}

} // namespace

bool UndoHistory::takeEditorText()
{
    if (!dirty_)
        return false;
    const Diff change = editorAgainstBase();
    dirty_ = false;
    if (isWhole(change, base_.size()))
        return false;
    // The new base is the old one with the changed range replaced.
    const BaseSource oldBase(base_);
    const DiffSource newBase(oldBase, change);
    for (Chain* chain : {&entries_, &redo_}) {
        const int newest = newestText(*chain);
        if (newest >= 0) {
            Diff& d = (*chain)[size_t(newest)].diff;
            d = rebase(d, oldBase, newBase, change.prefix, change.suffix);
        }
    }
    // A whole new text (an opened page) is shared, not copied.
    if (base_.isEmpty())
        base_.assign(change.middle);
    else
        base_.replace(change.prefix, base_.size() - change.prefix - change.suffix, change.middle);
    return true;
}

void UndoHistory::snapshot()
{
    if (UndoSuspended || !editor_)
        return;
    baseStart_ = editor_->selStart();
    baseLength_ = editor_->selLength();
    // A text changed by anything but undo and redo: what was undone stays so.
    if (takeEditorText())
        clearRedo();
}

int UndoHistory::depth() const
{
    // A value that is not a decimal integer does not stop the commit.
    Opt_SelectFile(opt::Program);
    return Opt_ReadInt(opt::UNDOCOUNT, DefaultDepth).value_or(DefaultDepth);
}

void UndoHistory::commit()
{
    if (!editor_)
        return;
    const int limit = depth();
    if (UndoSuspended)
        return;
    const bool sameText = !editorTextChanged();
    if (sameText && editor_->selStart() == baseStart_)
        return;

    Entry entry;
    entry.start = baseStart_;
    entry.length = baseLength_;
    if (!sameText) {
        // The base itself: the entry stored against it needs no piece of its
        // own, and the one before it is already stored against this text.
        entry.hasText = true;
        entry.diff = whole(base_.size());
        clearRedo();
    }
    entries_.push_back(std::move(entry));
    notify();

    if (count() > limit && count() > 5)
        dropOldest();
}

Diff UndoHistory::againstEditor(const Diff& text) const
{
    // The editor agrees with the base outside the changed range, the text
    // outside its own difference: both together bound where they differ.
    const BaseSource base(base_);
    qsizetype p = text.prefix;
    qsizetype s = text.suffix;
    if (isWhole(text, base_.size())) {
        if (!dirty_)
            return whole(editor_->textLength());
        p = dirtyFrom();
        s = base_.size() - p;
    }
    if (dirty_) {
        p = std::min(p, dirtyFrom());
        s = std::min(s, dirtyTail());
    }
    return narrowed(DiffSource(base, text), EditorSource(*editor_), p, s);
}

void UndoHistory::putIntoEditor(const Diff& change)
{
    const int offset = int(change.prefix);
    const int removed = editor_->textLength() - int(change.prefix + change.suffix);
    lastReplacement_ = {offset, editor_->textPart(offset, removed), int(change.middle.size())};
    if (removed == 0 && change.middle.isEmpty())
        return;
    editor_->setSelStart(offset);
    editor_->setSelLength(removed);
    editor_->setSelText(change.middle);
}

void UndoHistory::restore()
{
    if (!editor_ || entries_.empty())
        return;
    Entry entry = std::move(entries_.back());
    entries_.pop_back();

    // What the undo replaces, for redo: the editor's selection and, when the
    // undo changes it, its text.
    Entry replaced;
    replaced.start = editor_->selStart();
    replaced.length = editor_->selLength();
    const BaseSource base(base_);
    if (entry.hasText) {
        const Diff current = editorAgainstBase();
        const DiffSource currentText(base, current);
        const DiffSource restored(base, entry.diff);
        const Diff change = againstEditor(entry.diff);
        replaced.hasText = !isWhole(change, currentText.size());
        if (replaced.hasText) {
            // The newest redo text is now stored against the replaced text.
            if (const int newest = newestText(redo_); newest >= 0) {
                Diff& d = redo_[size_t(newest)].diff;
                d = rebase(d, base, currentText, current.prefix, current.suffix);
            }
            replaced.diff = current;
        }
        // The next older text was stored against the restored one: now
        // against the base, like the newest entry always is.
        if (const int newest = newestText(entries_); newest >= 0 && !isWhole(entry.diff, base_.size())) {
            Diff& d = entries_[size_t(newest)].diff;
            d = rebase(d, restored, base, entry.diff.prefix, entry.diff.suffix);
        }
        putIntoEditor(change);
    } else {
        lastReplacement_ = {};
    }
    redo_.push_back(std::move(replaced));
    notify();
    notifyRedo();
    settleOn(entry);
}

void UndoHistory::settleOn(const Entry& entry)
{
    editor_->setSelStart(entry.start);
    editor_->setSelLength(entry.length);
    if (!UndoSuspended) {
        baseStart_ = editor_->selStart();
        baseLength_ = editor_->selLength();
        takeEditorText();
    }
}

void UndoHistory::redo()
{
    if (!editor_ || redo_.empty())
        return;
    const int limit = depth();
    Entry entry = std::move(redo_.back());
    redo_.pop_back();

    // The state left becomes an undo entry, as a commit would make it.
    Entry left;
    left.start = baseStart_;
    left.length = baseLength_;
    const BaseSource base(base_);
    if (entry.hasText) {
        const DiffSource redone(base, entry.diff);
        left.hasText = !isWhole(entry.diff, base_.size());
        // The next redo text was stored against the one taken: now against
        // the base.
        if (const int newest = newestText(redo_); newest >= 0 && left.hasText) {
            Diff& d = redo_[size_t(newest)].diff;
            d = rebase(d, redone, base, entry.diff.prefix, entry.diff.suffix);
        }
    } else {
        left.hasText = editorTextChanged();
    }
    if (left.hasText)
        left.diff = whole(base_.size());
    entries_.push_back(std::move(left));
    if (entry.hasText)
        putIntoEditor(againstEditor(entry.diff));
    else
        lastReplacement_ = {};
    settleOn(entry);
    if (count() > limit && count() > 5)
        dropOldest();
    notify();
    notifyRedo();
}

void UndoHistory::trimTo(int n)
{
    const int keep = std::max(n, 0);
    if (count() <= keep)
        return;
    while (count() > keep)
        dropOldest();
    notify();
}

namespace {

template <typename Chain>
QString chainEntryAt(const Chain& chain, int i, const ChunkedText& base)
{
    if (i < 0 || i >= int(chain.size()))
        return {};
    const auto& target = chain[size_t(i)];
    if (!target.hasText)
        return FormatUndoEntry(target.start, target.length, std::nullopt);
    QString text = base.toString();
    for (int j = int(chain.size()) - 1; j >= i; --j) {
        const auto& e = chain[size_t(j)];
        if (e.hasText) {
            const StringSource reference(text);
            const DiffSource d(reference, e.diff);
            text = d.mid(0, d.size());
        }
    }
    return FormatUndoEntry(target.start, target.length, text);
}

template <typename Chain>
qint64 chainBytes(const Chain& chain, qint64 entrySize)
{
    qint64 bytes = qint64(chain.size()) * entrySize;
    for (const auto& e : chain)
        bytes += qint64(e.diff.middle.capacity()) * qint64(sizeof(QChar));
    return bytes;
}

} // namespace

QString UndoHistory::entryAt(int i) const { return chainEntryAt(entries_, i, base_); }
QString UndoHistory::redoEntryAt(int i) const { return chainEntryAt(redo_, i, base_); }

qint64 UndoHistory::memoryBytes() const { return chainBytes(entries_, sizeof(Entry)); }
qint64 UndoHistory::redoMemoryBytes() const { return chainBytes(redo_, sizeof(Entry)); }

void UndoHistory::dropOldest()
{
    // Nothing is stored against the oldest entry, so the chain stays whole.
    if (!entries_.empty())
        entries_.pop_front();
}

void UndoHistory::clearRedo()
{
    if (redo_.empty())
        return;
    redo_.clear();
    notifyRedo();
}

void UndoHistory::notify()
{
    if (onAvailableChanged)
        onAvailableChanged(!entries_.empty());
}

void UndoHistory::notifyRedo()
{
    if (onRedoAvailableChanged)
        onRedoAvailableChanged(!redo_.empty());
}

UndoHistory& Undo()
{
    static UndoHistory history;
    return history;
}

void UndoInit(TextModel* editor) { Undo().init(editor); }
void UndoReset() { Undo().reset(); }
void UndoSnapshot() { Undo().snapshot(); }
void UndoCommit() { Undo().commit(); }
void UndoRestore() { Undo().restore(); }
void UndoRedo() { Undo().redo(); }
