#include "editor/ui/SyntaxColouring.h"

#include "editor/ui/EditorDocumentLayout.h"
#include "editor/ui/KRichEdit.h"

#include <QAbstractTextDocumentLayout>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <climits>

namespace {

// A block's user state: the tokenizer's state at its start, and whether its
// layout holds colours for it. Negative: not known.
constexpr int kColoured = 1 << 30;
constexpr int kStateMask = kColoured - 1;
// Lines around the view that keep their colours while scrolling.
constexpr int kMargin = 60;

struct Palette {
    Token token;
    QColor onLight;
    QColor onDark;
};

// Dark colours for a light background (the default grey-green one among
// them), light ones for a dark background. No reds: the selection of a
// fault found by the checker stays the only red-marked text.
const Palette kPalette[] = {
    {Token::Tag, QColor(0x1a, 0x3a, 0x9c), QColor(0x8c, 0xb4, 0xff)},
    {Token::Attribute, QColor(0x80, 0x45, 0x00), QColor(0xff, 0xc0, 0x70)},
    {Token::Value, QColor(0x6a, 0x1b, 0x9a), QColor(0xe0, 0xa0, 0xff)},
    {Token::Entity, QColor(0x00, 0x6a, 0x6a), QColor(0x70, 0xe0, 0xe0)},
    {Token::Comment, QColor(0x5e, 0x6a, 0x63), QColor(0x9a, 0xa8, 0xa0)},
    {Token::Doctype, QColor(0x50, 0x50, 0x80), QColor(0xb0, 0xb0, 0xe0)},
    {Token::Selector, QColor(0x1a, 0x3a, 0x9c), QColor(0x8c, 0xb4, 0xff)},
    {Token::Property, QColor(0x80, 0x45, 0x00), QColor(0xff, 0xc0, 0x70)},
    {Token::CssValue, QColor(0x6a, 0x1b, 0x9a), QColor(0xe0, 0xa0, 0xff)},
    {Token::AtRule, QColor(0x00, 0x6a, 0x6a), QColor(0x70, 0xe0, 0xe0)},
    {Token::Keyword, QColor(0x1a, 0x3a, 0x9c), QColor(0x8c, 0xb4, 0xff)},
    {Token::String, QColor(0x1e, 0x6b, 0x1e), QColor(0x90, 0xe0, 0x90)},
    {Token::Number, QColor(0x80, 0x45, 0x00), QColor(0xff, 0xc0, 0x70)},
    {Token::Regex, QColor(0x00, 0x6a, 0x6a), QColor(0x70, 0xe0, 0xe0)},
};

} // namespace

int TSyntaxColouring::StepBudgetMs = 4;

TSyntaxColouring::TSyntaxColouring(TKRichEdit* editor)
    : QObject(editor)
    , editor_(editor)
{
    blockCount_ = editor_->document()->blockCount();
    addDirty(1, blockCount_ - 1);
    connect(editor_->document(), &QTextDocument::contentsChange, this, &TSyntaxColouring::contentsChange);
    viewport_ = editor_->viewport();
    viewport_->installEventFilter(this);
    editor_->installEventFilter(this);
    appearanceChanged();
}

bool TSyntaxColouring::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == viewport_ && event->type() == QEvent::Paint)
        colourVisible();
    else if (watched == editor_ && event->type() == QEvent::PaletteChange)
        appearanceChanged();
    return QObject::eventFilter(watched, event);
}

QColor TSyntaxColouring::colourOf(Token token) const
{
    return formats_[int(token)].hasProperty(QTextFormat::ForegroundBrush) ? formats_[int(token)].foreground().color() : QColor();
}

void TSyntaxColouring::appearanceChanged()
{
    const bool dark = editor_->palette().color(QPalette::Base).lightness() < 128;
    for (QTextCharFormat& f : formats_)
        f = QTextCharFormat();
    for (const Palette& p : kPalette)
        formats_[int(p.token)].setForeground(dark ? p.onDark : p.onLight);
    stripAll();
    editor_->viewport()->update();
}

void TSyntaxColouring::setKind(ColouringKind kind)
{
    if (kind == kind_)
        return;
    kind_ = kind;
    stripAll();
    // Every stored state belongs to the other kind.
    stopWorker();
    dirty_.clear();
    addDirty(1, blockCount_ - 1);
    editor_->viewport()->update();
}

int TSyntaxColouring::colouredLines() const
{
    int n = 0;
    if (colouredLast_ < colouredFirst_)
        return 0;
    QTextBlock b = editor_->document()->findBlockByNumber(colouredFirst_);
    for (int k = colouredFirst_; k <= colouredLast_ && b.isValid(); ++k, b = b.next())
        if (b.userState() >= 0 && (b.userState() & kColoured))
            ++n;
    return n;
}

void TSyntaxColouring::addDirty(int start, int mustEnd)
{
    if (start >= blockCount_ || start < 1)
        return;
    auto it = std::lower_bound(dirty_.begin(), dirty_.end(), start, [](const Dirty& d, int s) { return d.start < s; });
    it = dirty_.insert(it, {start, std::max(mustEnd, start - 1)});
    // Merge with neighbours that overlap or touch.
    std::vector<Dirty> merged;
    merged.reserve(dirty_.size());
    for (const Dirty& d : dirty_) {
        if (!merged.empty() && d.start <= merged.back().mustEnd + 1) {
            merged.back().mustEnd = std::max(merged.back().mustEnd, d.mustEnd);
            continue;
        }
        merged.push_back(d);
    }
    dirty_.swap(merged);
}

bool TSyntaxColouring::stateKnown(int block) const { return dirty_.empty() || block < dirty_.front().start; }

int TSyntaxColouring::startState(const QTextBlock& block) const
{
    if (block.blockNumber() == 0)
        return InitialColouringState(kind_);
    return block.userState() & kStateMask;
}

void TSyntaxColouring::contentsChange(int position, int /*removed*/, int added)
{
    QTextDocument* doc = editor_->document();
    const int count = doc->blockCount();
    const int delta = count - blockCount_;
    blockCount_ = count;
    const int b0 = doc->findBlock(position).isValid() ? doc->findBlock(position).blockNumber() : count - 1;
    const QTextBlock last = doc->findBlock(position + added);
    const int b1 = last.isValid() ? last.blockNumber() : count - 1;

    // States worked out on the other thread hold up to the edited line;
    // an edit above where it started leaves it nothing worth doing.
    workedUpTo_ = std::min(workedUpTo_, b0);
    if (worker_ && b0 < workerFirst_)
        stopWorker();

    // Unknown states after the edit move with their blocks.
    for (Dirty& d : dirty_) {
        if (d.start > b0)
            d.start = std::max(b0 + 1, d.start + delta);
        if (d.mustEnd > b0)
            d.mustEnd = std::max(b0, d.mustEnd + delta);
        d.mustEnd = std::max(d.mustEnd, d.start - 1);
    }
    dirty_.erase(std::remove_if(dirty_.begin(), dirty_.end(), [count](const Dirty& d) { return d.start >= count; }), dirty_.end());
    // The changed blocks' own states are redone; after them, as soon as one
    // comes out as it was, the rest stands.
    addDirty(b0 + 1, b1);

    if (colouredLast_ < colouredFirst_)
        return;
    if (colouredLast_ >= b0)
        colouredLast_ = std::max(b0, colouredLast_ + delta);
    if (colouredFirst_ > b0)
        colouredFirst_ = std::max(b0, colouredFirst_ + delta);
    // The edited line is coloured at once (typing stays coloured without
    // waiting for a paint); other changed lines lose their colours.
    const int from = std::max(b0, colouredFirst_);
    const int to = std::min(b1, colouredLast_);
    QTextBlock b = doc->findBlockByNumber(from);
    for (int k = from; k <= to && b.isValid(); ++k, b = b.next()) {
        if (k == b0 && kind_ != ColouringKind::Plain && stateKnown(k) && b.userState() >= 0 && (b.userState() & kColoured))
            colourBlock(b);
        else
            strip(b);
    }
}

namespace {

// The start states of the lines after the one at the offset of a CR LF
// separated text, the state at its start given; empty when cancelled.
std::vector<int> WorkOutStates(ColouringKind kind, const QString& text, qsizetype offset, int state, const std::atomic<bool>& cancel)
{
    std::vector<int> states;
    const QStringView v(text);
    for (qsizetype pos = offset;;) {
        const qsizetype end = v.indexOf(u'\r', pos);
        if (end < 0)
            break;
        state = ColourLine(kind, v.sliced(pos, end - pos), state, nullptr);
        states.push_back(state);
        pos = end + 2;
        if ((states.size() & 1023) == 0 && cancel.load(std::memory_order_relaxed))
            return {};
    }
    return states;
}

} // namespace

TSyntaxColouring::~TSyntaxColouring() { stopWorker(); }

void TSyntaxColouring::stopWorker()
{
    ++generation_;
    worked_.clear();
    if (!worker_)
        return;
    cancel_->store(true);
    worker_->wait();
    delete worker_;
    worker_ = nullptr;
}

bool TSyntaxColouring::startWorker(const QTextBlock& prev, int state)
{
    const QString text = editor_->keptText();
    if (text.isNull() || worker_)
        return false;
    const int first = prev.blockNumber() + 1;
    // Every line break before the line is two characters in the text, one
    // in the document.
    const qsizetype offset = qsizetype(prev.position()) + prev.blockNumber();
    const int generation = ++generation_;
    const ColouringKind kind = kind_;
    cancel_ = std::make_shared<std::atomic<bool>>(false);
    workerFirst_ = first;
    workedUpTo_ = INT_MAX;
    worker_ = QThread::create([this, text, offset, state, kind, generation, cancel = cancel_, first] {
        std::vector<int> states = WorkOutStates(kind, text, offset, state, *cancel);
        if (cancel->load())
            return;
        QMetaObject::invokeMethod(
            this, [this, generation, first, states = std::move(states)]() mutable { workerDone(generation, first, std::move(states)); },
            Qt::QueuedConnection);
    });
    worker_->start(QThread::LowPriority);
    return true;
}

void TSyntaxColouring::workerDone(int generation, int first, std::vector<int> states)
{
    if (generation != generation_)
        return;
    worker_->wait();
    delete worker_;
    worker_ = nullptr;
    // The states hold for the lines no edit has changed the text above of.
    worked_ = std::move(states);
    workedFirst_ = first;
    workedUpTo_ = std::min<qsizetype>(workedUpTo_, first + qsizetype(worked_.size()) - 1);
    editor_->viewport()->update();
}

int TSyntaxColouring::workedState(int block) const
{
    if (block < workedFirst_ || block > workedUpTo_ || worked_.empty())
        return -1;
    return worked_[size_t(block - workedFirst_)];
}

bool TSyntaxColouring::resolveStates(int upTo, bool wait)
{
    QElapsedTimer timer;
    timer.start();
    const qint64 budget = qint64(StepBudgetMs) * 1000000;
    QTextDocument* doc = editor_->document();
    while (!dirty_.empty() && dirty_.front().start <= upTo) {
        Dirty& d = dirty_.front();
        int k = d.start; // the block whose start state is worked out
        // The other thread works the states out from here on.
        if (worker_ && !wait && k >= workerFirst_)
            return false;
        QTextBlock prev = doc->findBlockByNumber(k - 1);
        int state = startState(prev);
        bool resolved = false;
        for (;;) {
            QTextBlock block = prev.next();
            if (!block.isValid()) {
                resolved = true;
                break;
            }
            const int worked = workedState(k);
            state = worked >= 0 ? worked : ColourLine(kind_, prev.text(), state, nullptr);
            const int stored = block.userState();
            if (k > d.mustEnd && stored >= 0 && (stored & kStateMask) == state) {
                resolved = true;
                break;
            }
            if (stored >= 0 && (stored & kColoured) && !formats(block).isEmpty())
                setFormats(block, {});
            block.setUserState(state);
            prev = block;
            ++k;
            if (dirty_.size() > 1 && k >= dirty_[1].start) {
                d.mustEnd = std::max(d.mustEnd, dirty_[1].mustEnd);
                dirty_.erase(dirty_.begin() + 1);
            }
            if ((k & 127) == 0 && timer.nsecsElapsed() > budget) {
                d.start = k;
                d.mustEnd = std::max(d.mustEnd, k - 1);
                // A long way still to go in a text as it was opened: the
                // rest is worked out on another thread, meanwhile.
                if (!wait && workedState(k) < 0)
                    startWorker(prev, startState(prev));
                return k > upTo;
            }
        }
        if (resolved)
            dirty_.erase(dirty_.begin());
    }
    if (dirty_.empty())
        worked_.clear();
    return true;
}

int TSyntaxColouring::lineStartState(int line)
{
    while (!resolveStates(line, true)) {
    }
    const QTextBlock block = editor_->document()->findBlockByNumber(line);
    if (!block.isValid() || block.blockNumber() == 0 || block.userState() < 0)
        return InitialColouringState(kind_);
    return startState(block);
}

std::optional<int> TSyntaxColouring::knownStartState(const QTextBlock& block) const
{
    if (!block.isValid() || (block.blockNumber() > 0 && (block.userState() < 0 || !stateKnown(block.blockNumber()))))
        return std::nullopt;
    return startState(block);
}

void TSyntaxColouring::colourBlock(QTextBlock& block)
{
    const int start = startState(block);
    // Only the start of a line of megabytes is coloured: that much is read.
    const QString text = block.length() - 1 > kColouredLineLength
        ? editor_->documentPart(block.position(), kColouredLineLength)
        : block.text();
    ColourLine(kind_, QStringView(text).first(std::min<qsizetype>(text.size(), kColouredLineLength)), start, &spans_);
    QList<QTextLayout::FormatRange> ranges;
    ranges.reserve(qsizetype(spans_.size()));
    for (const TokenSpan& s : spans_) {
        if (s.token == Token::Plain || s.token == Token::Php)
            continue;
        ranges.append({s.start, s.length, formats_[int(s.token)]});
    }
    // Setting formats lays the line out again: only when they change.
    if (formats(block) != ranges)
        setFormats(block, ranges);
    block.setUserState(start | kColoured);
}

void TSyntaxColouring::setFormats(const QTextBlock& block, const QList<QTextLayout::FormatRange>& formats)
{
    if (auto* layout = qobject_cast<TEditorDocumentLayout*>(editor_->document()->documentLayout()))
        layout->setFormats(block, formats);
    else
        block.layout()->setFormats(formats);
}

QList<QTextLayout::FormatRange> TSyntaxColouring::formats(const QTextBlock& block) const
{
    if (qobject_cast<TEditorDocumentLayout*>(editor_->document()->documentLayout()))
        return TEditorDocumentLayout::formats(block);
    return block.layout()->formats();
}

void TSyntaxColouring::strip(QTextBlock& block)
{
    const int stored = block.userState();
    if (stored < 0 || !(stored & kColoured))
        return;
    if (!formats(block).isEmpty())
        setFormats(block, {});
    block.setUserState(stored & kStateMask);
}

void TSyntaxColouring::stripRange(int first, int last)
{
    if (last < first)
        return;
    QTextBlock b = editor_->document()->findBlockByNumber(first);
    for (int k = first; k <= last && b.isValid(); ++k, b = b.next())
        strip(b);
}

void TSyntaxColouring::stripAll()
{
    stripRange(colouredFirst_, colouredLast_);
    colouredFirst_ = 0;
    colouredLast_ = -1;
}

void TSyntaxColouring::scheduleCatchUp()
{
    if (catchUpPending_)
        return;
    catchUpPending_ = true;
    QTimer::singleShot(0, this, [this] {
        catchUpPending_ = false;
        editor_->viewport()->update();
    });
}

bool TSyntaxColouring::colourVisible()
{
    if (kind_ == ColouringKind::Plain)
        return true;
    const QTextBlock first = editor_->document()->findBlockByNumber(editor_->firstVisibleLine());
    if (!first.isValid())
        return true;
    const int vf = first.blockNumber();
    const int lineSpacing = std::max(1, editor_->fontMetrics().lineSpacing());
    const int vl = std::min(blockCount_ - 1, vf + editor_->viewport()->height() / lineSpacing + 1);
    const bool done = resolveStates(vl);
    // The other thread's states come with a paint of their own.
    if (!done && !worker_)
        scheduleCatchUp();

    // Colours kept only around the view.
    int keepFirst = vf;
    int keepLast = vl;
    if (colouredLast_ >= colouredFirst_) {
        const int lo = std::max(colouredFirst_, vf - kMargin);
        const int hi = std::min(colouredLast_, vl + kMargin);
        if (lo <= hi) {
            stripRange(colouredFirst_, lo - 1);
            stripRange(hi + 1, colouredLast_);
            keepFirst = std::min(keepFirst, lo);
            keepLast = std::max(keepLast, hi);
        } else {
            stripRange(colouredFirst_, colouredLast_);
        }
    }
    colouredFirst_ = keepFirst;
    colouredLast_ = keepLast;

    QTextBlock b = first;
    for (int k = vf; k <= vl && b.isValid(); ++k, b = b.next()) {
        if (!stateKnown(k))
            break;
        if (b.userState() < 0 || !(b.userState() & kColoured))
            colourBlock(b);
    }
    return done;
}
