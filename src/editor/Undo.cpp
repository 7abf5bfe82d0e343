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

// A text given as consecutive pieces, as an entry stands for it.
struct Pieces {
    std::array<QStringView, 3> parts;

    qsizetype size() const
    {
        return parts[0].size() + parts[1].size() + parts[2].size();
    }

    qsizetype commonPrefix(QStringView other) const
    {
        qsizetype done = 0;
        for (QStringView part : parts) {
            const qsizetype n = std::min(part.size(), other.size() - done);
            const qsizetype k = matchForward(part.data(), other.data() + done, n);
            done += k;
            if (k < part.size())
                break;
        }
        return done;
    }

    // At most limit characters.
    qsizetype commonSuffix(QStringView other, qsizetype limit) const
    {
        qsizetype done = 0;
        for (auto it = parts.rbegin(); it != parts.rend(); ++it) {
            const QStringView part = *it;
            const qsizetype n = std::min(part.size(), limit - done);
            const qsizetype k = matchBackward(part.data() + part.size(), other.data() + other.size() - done, n);
            done += k;
            if (k < part.size())
                break;
        }
        return done;
    }

    QString mid(qsizetype from, qsizetype count) const
    {
        QString out;
        out.reserve(count);
        for (QStringView part : parts) {
            if (count <= 0)
                break;
            if (from >= part.size()) {
                from -= part.size();
                continue;
            }
            const qsizetype take = std::min(count, part.size() - from);
            out.append(part.sliced(from, take));
            count -= take;
            from = 0;
        }
        return out;
    }

    QString whole() const { return mid(0, size()); }
};

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

void UndoHistory::init(TextModel* editor)
{
    editor_ = editor;
    clear();
}

void UndoHistory::reset()
{
    clear();
    notify();
}

void UndoHistory::clear()
{
    baseStart_ = 0;
    baseLength_ = 0;
    baseText_.clear();
    entries_.clear();
    textEntries_ = 0;
    anchor_.clear();
}

void UndoHistory::snapshot()
{
    if (UndoSuspended || !editor_)
        return;
    baseStart_ = editor_->selStart();
    baseLength_ = editor_->selLength();
    baseText_ = editor_->text();
    moveAnchor(baseText_);
}

void UndoHistory::commit()
{
    if (!editor_)
        return;
    // A value that is not a decimal integer does not stop the commit.
    Opt_SelectFile(opt::Program);
    const int depth = Opt_ReadInt(opt::UNDOCOUNT, DefaultDepth).value_or(DefaultDepth);
    if (UndoSuspended)
        return;
    const QString text = editor_->text();
    const bool sameText = text == baseText_;
    if (sameText && editor_->selStart() == baseStart_)
        return;

    Entry entry;
    entry.start = baseStart_;
    entry.length = baseLength_;
    if (!sameText) {
        // The new entry's text is the base text: stored against it as the
        // new anchor, it needs no piece of its own.
        moveAnchor(baseText_);
        entry.hasText = true;
        entry.prefix = baseText_.size();
        ++textEntries_;
    }
    entries_.push_back(std::move(entry));
    notify();

    if (count() > depth && count() > 5)
        dropOldest();
}

void UndoHistory::restore()
{
    if (!editor_ || entries_.empty())
        return;
    Entry entry = std::move(entries_.back());
    entries_.pop_back();
    if (entry.hasText) {
        const QString text = Pieces{{QStringView(anchor_).first(entry.prefix), entry.middle,
                                     QStringView(anchor_).last(entry.suffix)}}
                                 .whole();
        --textEntries_;
        // The next older text-bearing entry is stored against this text.
        anchor_ = text;
        editor_->setText(text);
    }
    notify();
    editor_->setSelStart(entry.start);
    editor_->setSelLength(entry.length);
    snapshot();
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

QString UndoHistory::entryAt(int i) const
{
    if (i < 0 || i >= count())
        return {};
    const Entry& target = entries_[size_t(i)];
    if (!target.hasText)
        return FormatUndoEntry(target.start, target.length, std::nullopt);
    QString text = anchor_;
    for (int j = count() - 1; j >= i; --j) {
        const Entry& e = entries_[size_t(j)];
        if (e.hasText)
            text = Pieces{{QStringView(text).first(e.prefix), e.middle, QStringView(text).last(e.suffix)}}.whole();
    }
    return FormatUndoEntry(target.start, target.length, text);
}

qint64 UndoHistory::memoryBytes() const
{
    qint64 bytes = qint64(entries_.size()) * qint64(sizeof(Entry));
    for (const Entry& e : entries_)
        bytes += qint64(e.middle.capacity()) * qint64(sizeof(QChar));
    if (anchor_.constData() != baseText_.constData())
        bytes += qint64(anchor_.capacity()) * qint64(sizeof(QChar));
    return bytes;
}

int UndoHistory::newestTextEntry() const
{
    if (textEntries_ == 0)
        return -1;
    for (int i = count() - 1; i >= 0; --i) {
        if (entries_[size_t(i)].hasText)
            return i;
    }
    return -1;
}

void UndoHistory::moveAnchor(const QString& text)
{
    const int newest = newestTextEntry();
    if (newest >= 0 && anchor_.constData() != text.constData() && anchor_ != text) {
        Entry& e = entries_[size_t(newest)];
        const QStringView anchor(anchor_);
        const Pieces old{{anchor.first(e.prefix), e.middle, anchor.last(e.suffix)}};
        const qsizetype prefix = old.commonPrefix(text);
        const qsizetype suffix = old.commonSuffix(text, std::min(old.size(), text.size()) - prefix);
        e.middle = old.mid(prefix, old.size() - prefix - suffix);
        e.prefix = prefix;
        e.suffix = suffix;
    }
    anchor_ = text;
}

void UndoHistory::dropOldest()
{
    if (entries_.empty())
        return;
    // Nothing is stored against the oldest entry, so the chain stays whole.
    if (entries_.front().hasText)
        --textEntries_;
    entries_.pop_front();
    if (textEntries_ == 0)
        anchor_ = baseText_;
}

void UndoHistory::notify()
{
    if (onAvailableChanged)
        onAvailableChanged(!entries_.empty());
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
