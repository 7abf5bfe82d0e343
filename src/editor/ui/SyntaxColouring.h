#pragma once
// The editor's syntax colouring, lazily: only the lines in view hold
// colours, and only lines that come into view or that an edit changes are
// coloured. Colours are formats of the lines' layouts, never of the text:
// the document's text, its positions and the undo history stay as they are.
//
// Each line keeps the tokenizer's state at its start in its block's user
// state (no memory of its own). An edit marks the lines after it as
// unknown; they are worked out again, from the edit on, only as far as the
// view needs them, and no further than the first line whose state comes out
// as it was. Working out states stops after a step's budget and goes on in
// the next event-loop turn, so no step of colouring work takes longer than a
// frame; lines in view whose state is not known yet stay plain meanwhile.
// In a page as it was opened, with a long way still to go after the first
// step (the view at its end), another thread works the rest of the states
// out from the opened text; they are taken for the lines no edit has
// changed the text above of since.
#include "editor/Colouring.h"

#include <QColor>
#include <QObject>
#include <QTextCharFormat>
#include <QTextLayout>
#include <atomic>
#include <memory>
#include <optional>
#include <vector>

class QTextBlock;
class QThread;
class TKRichEdit;

class TSyntaxColouring : public QObject {
    Q_OBJECT

public:
    // Colours the editor's document: the lines in view before every paint
    // of its text.
    explicit TSyntaxColouring(TKRichEdit* editor);
    ~TSyntaxColouring() override;

    void setKind(ColouringKind kind);
    ColouringKind kind() const { return kind_; }

    // Colours the lines in view that need it. Returns false when states were
    // left to work out in the next turn.
    bool colourVisible();
    // The editor's background or font changed: the colours follow.
    void appearanceChanged();

    // The colour of a token class on the editor's background; invalid for
    // the plain colour.
    QColor colourOf(Token token) const;
    // Lines holding colours now, and lines whose state is still to be
    // worked out after the last known one.
    int colouredLines() const;
    bool statesPending() const { return !dirty_.empty(); }
    // The tokenizer's state at the start of a line, worked out first if it
    // is not known yet (without the step's budget: asked for by a command,
    // not by a paint).
    int lineStartState(int line);
    // The state at the start of a line when it is known now, without
    // working anything out.
    std::optional<int> knownStartState(const QTextBlock& block) const;

    // Longest time one step spends working out states.
    static int StepBudgetMs;

private:
    struct Dirty {
        int start;   // first block whose start state is unknown
        int mustEnd; // blocks up to here are worked out whatever they hold
    };

    void contentsChange(int position, int removed, int added);
    void addDirty(int start, int mustEnd);
    bool stateKnown(int block) const;
    int startState(const QTextBlock& block) const;
    // Works out start states up to the block; false when the budget ran out
    // or, unless told to wait, the other thread has them to work out.
    bool resolveStates(int upTo, bool wait = false);
    // The states after the block worked out on another thread, from the
    // text as it was opened (nothing done when it has changed since).
    bool startWorker(const QTextBlock& prev, int state);
    void workerDone(int generation, int first, std::vector<int> states);
    void stopWorker();
    // The other thread's start state of a block, or -1.
    int workedState(int block) const;
    void colourBlock(QTextBlock& block);
    // A line's formats, as the colouring set them.
    QList<QTextLayout::FormatRange> formats(const QTextBlock& block) const;
    void setFormats(const QTextBlock& block, const QList<QTextLayout::FormatRange>& formats);
    void strip(QTextBlock& block);
    void stripRange(int first, int last);
    void stripAll();
    void scheduleCatchUp();

    bool eventFilter(QObject* watched, QEvent* event) override;

    TKRichEdit* editor_;
    QObject* viewport_ = nullptr;
    ColouringKind kind_ = ColouringKind::Html;
    std::vector<Dirty> dirty_;
    int blockCount_ = 1;
    // Every block holding colours lies in [colouredFirst_, colouredLast_].
    int colouredFirst_ = 0;
    int colouredLast_ = -1;
    QTextCharFormat formats_[kTokenCount];
    bool catchUpPending_ = false;
    std::vector<TokenSpan> spans_;

    QThread* worker_ = nullptr;
    std::shared_ptr<std::atomic<bool>> cancel_;
    int generation_ = 0;
    int workerFirst_ = 0;
    // The worked-out start states of the blocks from workedFirst_ on; they
    // hold up to workedUpTo_.
    std::vector<int> worked_;
    int workedFirst_ = 0;
    int workedUpTo_ = -1;
};
