// Redo, the range-based history and the pieces it rests on, against plain
// whole-text oracles.
#include "RandomEdits.h"
#include "TestSupport.h"

#include "editor/ChunkedText.h"
#include "editor/MarkerLines.h"
#include "editor/MemoryTextModel.h"
#include "editor/Undo.h"

#include <random>
#include <vector>

using testing_support::IsolatedTest;

namespace {

class RedoTest : public IsolatedTest {
protected:
    void SetUp() override
    {
        IsolatedTest::SetUp();
        UndoInit(&editor_);
        Undo().UndoSuspended = false;
    }
    void TearDown() override
    {
        UndoInit(nullptr);
        IsolatedTest::TearDown();
    }
    void open(const QString& text)
    {
        editor_.setText(text);
        UndoReset();
        UndoSnapshot();
    }
    // A key typed at the caret, then the key-up handler.
    void type(const QString& key)
    {
        editor_.setSelText(key);
        UndoCommit();
        UndoSnapshot();
    }

    MemoryTextModel editor_;
};

TEST_F(RedoTest, RedoAfterUndosRestoresTheLaterTextsInTurn)
{
    for (const int undos : {1, 2, 10}) {
        SCOPED_TRACE(undos);
        open(QStringLiteral("<p>\r\n</p>"));
        editor_.setSelStart(3);
        UndoSnapshot();
        std::vector<QString> texts{editor_.text()};
        std::vector<int> carets{editor_.selStart()};
        for (int i = 0; i < 10; ++i) {
            type(i == 4 ? QStringLiteral("\r\n") : QString(QChar(u'a' + i)));
            texts.push_back(editor_.text());
            carets.push_back(editor_.selStart());
        }
        for (int i = 0; i < undos; ++i)
            UndoRestore();
        ASSERT_EQ(editor_.text(), texts[size_t(10 - undos)]);
        EXPECT_EQ(Undo().redoCount(), undos);
        for (int i = undos - 1; i >= 0; --i) {
            UndoRedo();
            EXPECT_EQ(editor_.text(), texts[size_t(10 - i)]);
            EXPECT_EQ(editor_.selStart(), carets[size_t(10 - i)]);
        }
        EXPECT_FALSE(Undo().canRedo());
        // Undo takes the redone steps back again.
        UndoRestore();
        EXPECT_EQ(editor_.text(), texts[9]);
    }
}

TEST_F(RedoTest, AnEditAfterAnUndoEmptiesRedoAndAnEmptyRedoDoesNothing)
{
    std::vector<bool> reports;
    Undo().onRedoAvailableChanged = [&](bool available) { reports.push_back(available); };
    open(QStringLiteral("abc"));
    editor_.setSelStart(3);
    UndoSnapshot();
    type(QStringLiteral("d"));
    type(QStringLiteral("e"));
    UndoRestore();
    EXPECT_TRUE(Undo().canRedo());
    editor_.setSelStart(1);
    type(QStringLiteral("X"));
    EXPECT_FALSE(Undo().canRedo());
    EXPECT_EQ(reports, (std::vector<bool>{false, true, false}));
    UndoRedo();
    EXPECT_EQ(editor_.text(), QStringLiteral("aXbcd"));
    EXPECT_EQ(Undo().count(), 2);
    Undo().onRedoAvailableChanged = nullptr;
}

// The whole-text history with redo, as the oracle for the compact one.
class PlainHistory {
public:
    struct Entry {
        int start = 0;
        int length = 0;
        std::optional<QString> text;
    };
    explicit PlainHistory(MemoryTextModel* editor) : editor_(editor) {}
    bool suspended = false;

    void snapshot(bool keepRedo = false)
    {
        if (suspended)
            return;
        start_ = editor_->selStart();
        length_ = editor_->selLength();
        if (!keepRedo && editor_->text() != text_)
            redo_.clear();
        text_ = editor_->text();
    }
    void commit(int depth)
    {
        if (suspended)
            return;
        const QString text = editor_->text();
        if (editor_->selStart() == start_ && text == text_)
            return;
        if (text != text_)
            redo_.clear();
        push({start_, length_, text == text_ ? std::nullopt : std::optional(text_)}, depth);
    }
    void restore()
    {
        if (undo_.empty())
            return;
        const Entry e = undo_.back();
        undo_.pop_back();
        const QString before = editor_->text();
        Entry replaced{editor_->selStart(), editor_->selLength(), std::nullopt};
        if (e.text) {
            if (*e.text != before)
                replaced.text = before;
            editor_->setText(*e.text);
        }
        redo_.push_back(replaced);
        editor_->setSelStart(e.start);
        editor_->setSelLength(e.length);
        snapshot(true);
    }
    void redo(int depth)
    {
        if (redo_.empty())
            return;
        const Entry e = redo_.back();
        redo_.pop_back();
        const QString after = e.text ? *e.text : editor_->text();
        push({start_, length_, after == text_ ? std::nullopt : std::optional(text_)}, depth);
        if (e.text)
            editor_->setText(*e.text);
        editor_->setSelStart(e.start);
        editor_->setSelLength(e.length);
        snapshot(true);
    }
    QString undoAt(size_t i) const { return format(undo_[i]); }
    QString redoAt(size_t i) const { return format(redo_[i]); }
    size_t undoCount() const { return undo_.size(); }
    size_t redoCount() const { return redo_.size(); }

private:
    static QString format(const Entry& e) { return FormatUndoEntry(e.start, e.length, e.text); }
    void push(Entry e, int depth)
    {
        undo_.push_back(std::move(e));
        if (int(undo_.size()) > depth && undo_.size() > 5)
            undo_.erase(undo_.begin());
    }

    MemoryTextModel* editor_;
    int start_ = 0;
    int length_ = 0;
    QString text_;
    std::vector<Entry> undo_;
    std::vector<Entry> redo_;
};

TEST_F(RedoTest, CompactHistoryWithRedoMatchesThePlainOneStepByStep)
{
    const int depth = 7;
    testing_support::WriteBytes(programFolder() + QStringLiteral("Program.ZEL"), "[UNDOCOUNT]7\r\n");
    MemoryTextModel plainEditor;
    PlainHistory plain(&plainEditor);
    open(QString());

    RandomEdits random(20251209, QStringLiteral("ab\r\nxyzя#"));
    auto pick = [&](int n) { return random.pick(n); };
    auto randomText = [&](int maxLength) { return random.text(maxLength); };
    auto both = [&](auto&& change) {
        change(editor_);
        change(plainEditor);
    };
    for (int step = 0; step < 4000; ++step) {
        SCOPED_TRACE(step);
        switch (pick(12)) {
        case 0:
            UndoSnapshot();
            plain.snapshot();
            break;
        case 1:
            UndoCommit();
            plain.commit(depth);
            break;
        case 2:
        case 3:
            UndoRestore();
            plain.restore();
            break;
        case 4:
        case 5:
            UndoRedo();
            plain.redo(depth);
            break;
        case 6: { // an edit with no bracket around it
            const int at = pick(int(editor_.text().size()) + 1);
            const int length = pick(4);
            const QString inserted = randomText(3);
            both([&](MemoryTextModel& m) {
                m.setSelStart(at);
                m.setSelLength(length);
                m.setSelText(inserted);
            });
            break;
        }
        case 7: {
            const QString text = pick(4) == 0 ? randomText(30) : editor_.text() + randomText(2);
            both([&](MemoryTextModel& m) { m.setText(text); });
            break;
        }
        case 8: { // typed: the key-up handler's commit and snapshot
            const int at = pick(int(editor_.text().size()) + 1);
            const QString inserted = randomText(2);
            both([&](MemoryTextModel& m) { m.setSelStart(at); });
            UndoSnapshot();
            plain.snapshot();
            both([&](MemoryTextModel& m) { m.setSelText(inserted); });
            UndoCommit();
            plain.commit(depth);
            UndoSnapshot();
            plain.snapshot();
            break;
        }
        case 9: {
            const int at = pick(int(editor_.text().size()) + 1);
            both([&](MemoryTextModel& m) { m.setSelStart(at); });
            break;
        }
        case 10:
            if (pick(4) == 0)
                Undo().UndoSuspended = plain.suspended = !plain.suspended;
            break;
        default:
            break;
        }
        ASSERT_EQ(editor_.text(), plainEditor.text());
        ASSERT_EQ(editor_.selStart(), plainEditor.selStart());
        ASSERT_EQ(editor_.selLength(), plainEditor.selLength());
        ASSERT_EQ(size_t(Undo().count()), plain.undoCount());
        ASSERT_EQ(size_t(Undo().redoCount()), plain.redoCount());
        if (step % 10 == 0) {
            for (int i = 0; i < Undo().count(); ++i)
                ASSERT_EQ(Undo().entryAt(i), plain.undoAt(size_t(i))) << "entry " << i;
            for (int i = 0; i < Undo().redoCount(); ++i)
                ASSERT_EQ(Undo().redoEntryAt(i), plain.redoAt(size_t(i))) << "redo entry " << i;
        }
    }
}

TEST_F(RedoTest, ThousandEditsUndoneAndRedoneHoldOnlyTheirDifferences)
{
    QString page;
    while (page.size() < 1000000)
        page += QStringLiteral("<p class=text>Строка</p>\r\n");
    open(page);
    for (int i = 0; i < 1000; ++i) {
        editor_.setSelStart(int((qint64(i) * 7919) % page.size()));
        UndoSnapshot();
        editor_.setSelText(QStringLiteral("x"));
        UndoCommit();
    }
    const QString edited = editor_.text();
    const qint64 held = Undo().memoryBytes();
    while (!Undo().isEmpty())
        UndoRestore();
    EXPECT_EQ(editor_.text().size(), page.size() + 1);
    EXPECT_LT(Undo().redoMemoryBytes(), 100000);
    while (Undo().canRedo())
        UndoRedo();
    EXPECT_EQ(editor_.text(), edited);
    EXPECT_LE(Undo().memoryBytes() + Undo().redoMemoryBytes(), held + 1000 * 8);
}

TEST(ChunkedText, ReplacementsMatchAPlainString)
{
    std::mt19937 rng(7);
    auto pick = [&](qsizetype n) { return qsizetype(rng() % quint64(n)); };
    QString plain(30000, u'a');
    for (qsizetype i = 0; i < plain.size(); ++i)
        plain[i] = QChar(char16_t(u'a' + i % 26));
    ChunkedText text(plain);
    for (int step = 0; step < 400; ++step) {
        const qsizetype at = pick(plain.size() + 1);
        const qsizetype removed = step % 50 == 0 ? pick(20000) : pick(5);
        const QString added = step % 40 == 0 ? QString(pick(20000), u'#') : QString(pick(4), u'+');
        text.replace(at, removed, added);
        plain.replace(at, std::min(removed, plain.size() - at), added);
        ASSERT_EQ(text.size(), plain.size()) << step;
        const qsizetype from = pick(plain.size() + 1);
        const qsizetype count = pick(300);
        ASSERT_EQ(text.mid(from, count), plain.mid(from, count)) << step;
    }
    EXPECT_EQ(text.toString(), plain);
    text.replace(0, plain.size(), QString());
    EXPECT_TRUE(text.isEmpty());
    text.replace(0, 0, QStringLiteral("ab"));
    EXPECT_EQ(text.toString(), QStringLiteral("ab"));
}

// The markers after an undo's range equal those after comparing the texts.
TEST(MarkerLinesFollow, ReplacementMatchesTheWholeTextComparison)
{
    std::mt19937 rng(11);
    auto pick = [&](int n) { return int(rng() % unsigned(n)); };
    const QStringList pieces{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("\r\n"), QStringLiteral("\r\n"),
                             QStringLiteral("ab")};
    auto randomText = [&](int n) {
        QString s;
        for (int i = pick(n + 1); i > 0; --i)
            s += pieces[pick(int(pieces.size()))];
        return s;
    };
    for (int round = 0; round < 3000; ++round) {
        SCOPED_TRACE(round);
        const QString before = randomText(14);
        // A range on character boundaries that do not split a line break.
        int from = pick(int(before.size()) + 1);
        int to = from + pick(int(before.size()) - from + 1);
        if (from > 0 && from < before.size() && before[from - 1] == u'\r')
            --from;
        if (to > 0 && to < before.size() && before[to - 1] == u'\r')
            ++to;
        const QString added = randomText(4);
        const QString after = before.left(from) + added + before.mid(to);
        MarkerLines whole;
        const int lines = int(before.count(QStringLiteral("\r\n"))) + 1;
        for (int l = 0; l < lines; ++l)
            if (pick(2))
                whole.Mark(l, lines);
        MarkerLines ranged = whole;
        whole.FollowText(before, after);
        ranged.FollowReplacement(MemoryTextModel(after), from, before.mid(from, to - from), int(added.size()));
        ASSERT_EQ(ranged.lines(), whole.lines()) << before.toStdString() << " -> " << after.toStdString();
    }
}

} // namespace
