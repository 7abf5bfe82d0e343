#include "RandomEdits.h"
#include "TestSupport.h"

#include "editor/MemoryTextModel.h"
#include "editor/Undo.h"
#include "store/OptionItems.h"
#include "store/OptionsStore.h"

#include <random>
#include <vector>

using testing_support::IsolatedTest;

namespace {

class UndoTest : public IsolatedTest {
protected:
    void SetUp() override
    {
        IsolatedTest::SetUp();
        UndoInit(&editor_);
        Undo().UndoSuspended = false;
        Undo().onAvailableChanged = [this](bool available) { reports_.push_back(available); };
    }
    void TearDown() override
    {
        Undo().onAvailableChanged = nullptr;
        Undo().UndoSuspended = false;
        UndoInit(nullptr);
        IsolatedTest::TearDown();
    }

    // A document as the program opens it: text, reset, snapshot.
    void open(const QString& text)
    {
        editor_.setText(text);
        UndoReset();
        UndoSnapshot();
        reports_.clear();
    }
    // The section Program as a hand-edited file holding only the depth.
    void setDepth(const QString& value)
    {
        testing_support::WriteBytes(programFolder() + QStringLiteral("Program.ZEL"),
                                    QStringLiteral("[UNDOCOUNT]%1\r\n").arg(value).toLatin1());
    }
    // A key typed at the caret, then the key-up handler.
    void type(const QString& key)
    {
        editor_.setSelText(key);
        UndoCommit();
        UndoSnapshot();
    }
    // Arrow keys: the key-up handler takes a snapshot only.
    void arrowTo(int offset)
    {
        editor_.setSelStart(offset);
        UndoSnapshot();
    }
    // The mouse-up handler: commit only when the selection start moved.
    void click(int start, int length = 0)
    {
        editor_.setSelStart(start);
        editor_.setSelLength(length);
        if (editor_.selStart() != Undo().baseSelStart())
            UndoCommit();
        UndoSnapshot();
    }
    void expectEditor(const QString& text, int start, int length = 0)
    {
        EXPECT_EQ(editor_.text(), text);
        EXPECT_EQ(editor_.selStart(), start);
        EXPECT_EQ(editor_.selLength(), length);
    }

    MemoryTextModel editor_;
    std::vector<bool> reports_;
};

TEST_F(UndoTest, TypingIsUndoneKeyByKeyWithTheCaret)
{
    open(QString());
    type(QStringLiteral("a"));
    type(QStringLiteral("b"));
    type(QStringLiteral("c"));
    ASSERT_EQ(Undo().count(), 3);
    EXPECT_EQ(Undo().entryAt(0), QStringLiteral("0_0#"));
    EXPECT_EQ(Undo().entryAt(2), QStringLiteral("2_0#ab"));
    EXPECT_EQ(reports_, std::vector<bool>({true, true, true}));

    UndoRestore();
    expectEditor(QStringLiteral("ab"), 2);
    UndoRestore();
    expectEditor(QStringLiteral("a"), 1);
    UndoRestore();
    expectEditor(QString(), 0);
    EXPECT_EQ(Undo().count(), 0);
    EXPECT_EQ(reports_.back(), false);

    // Nothing left: Undo does nothing, and the restored state is the base.
    UndoRestore();
    expectEditor(QString(), 0);
    EXPECT_EQ(Undo().baseText(), QString());
    UndoCommit();
    EXPECT_EQ(Undo().count(), 0);
}

TEST_F(UndoTest, ReplacedSelectionComesBackWithStartThenLength)
{
    open(QStringLiteral("one two\r\nthree"));
    click(4, 3); // select "two"
    type(QStringLiteral("2"));
    expectEditor(QStringLiteral("one 2\r\nthree"), 5);
    UndoRestore();
    expectEditor(QStringLiteral("one two\r\nthree"), 4, 3);
    UndoRestore(); // the click
    expectEditor(QStringLiteral("one two\r\nthree"), 0);
}

TEST_F(UndoTest, ArrowMovesRecordNothingAndClicksRecordTheOldCaret)
{
    QString text;
    for (int i = 0; i < 20; ++i)
        text += QStringLiteral("line %1\r\n").arg(i);
    open(text);
    arrowTo(3);
    arrowTo(12);
    EXPECT_EQ(Undo().count(), 0);

    // A drag from the same start changes only the length: nothing recorded.
    click(12, 5);
    EXPECT_EQ(Undo().count(), 0);
    UndoCommit();
    EXPECT_EQ(Undo().count(), 0);

    click(40);
    ASSERT_EQ(Undo().count(), 1);
    EXPECT_EQ(Undo().entryAt(0), QStringLiteral("12_5"));

    // A selection-only entry leaves the text (and so the view) alone.
    editor_.setFirstVisibleLine(7);
    UndoRestore();
    expectEditor(text, 12, 5);
    EXPECT_EQ(editor_.firstVisibleLine(), 7);
    EXPECT_EQ(Undo().baseSelStart(), 12);
    EXPECT_EQ(Undo().baseSelLength(), 5);
    EXPECT_EQ(reports_, std::vector<bool>({true, false}));
}

TEST_F(UndoTest, DepthComesFromTheOptionsAtEveryCommit)
{
    open(QString());
    setDepth(QStringLiteral("5"));
    for (int i = 0; i < 12; ++i)
        type(QString(QChar(u'a' + i)));
    EXPECT_EQ(Undo().count(), 5);
    // The newest five are the ones kept.
    for (int i = 0; i < 5; ++i)
        UndoRestore();
    expectEditor(QStringLiteral("abcdefg"), 7);

    // A hand-edited 2 still keeps up to 5.
    open(QString());
    setDepth(QStringLiteral("2"));
    for (int i = 0; i < 8; ++i)
        type(QStringLiteral("x"));
    EXPECT_EQ(Undo().count(), 5);

    // Lowering the depth drops at most one entry per commit.
    open(QString());
    setDepth(QStringLiteral("999"));
    for (int i = 0; i < 10; ++i)
        type(QStringLiteral("y"));
    setDepth(QStringLiteral("6"));
    type(QStringLiteral("z"));
    EXPECT_EQ(Undo().count(), 10);
}

TEST_F(UndoTest, BadOrMissingDepthFallsBackTo999)
{
    for (const QString& value : {QStringLiteral("abc"), QString(), QStringLiteral("99999999999")}) {
        SCOPED_TRACE(value.toStdString());
        open(QString());
        setDepth(value);
        for (int i = 0; i < 1001; ++i)
            type(QStringLiteral("k"));
        EXPECT_EQ(Undo().count(), 999);
        UndoRestore();
        EXPECT_EQ(editor_.text().size(), 1000);
    }
    testing_support::WriteBytes(programFolder() + QStringLiteral("Program.ZEL"), "[DISABLEUNDO]0\r\n");
    open(QString());
    for (int i = 0; i < 1001; ++i)
        type(QStringLiteral("m"));
    EXPECT_EQ(Undo().count(), 999);
}

TEST_F(UndoTest, ResetAndTrimming)
{
    open(QStringLiteral("start"));
    editor_.setSelStart(5);
    for (int i = 0; i < 10; ++i)
        type(QString::number(i));
    Undo().trimTo(3);
    EXPECT_EQ(Undo().count(), 3);
    EXPECT_EQ(reports_.back(), true);
    UndoRestore();
    UndoRestore();
    UndoRestore();
    expectEditor(QStringLiteral("start0123456"), 12);
    EXPECT_EQ(reports_.back(), false);

    type(QStringLiteral("!"));
    Undo().trimTo(0);
    EXPECT_EQ(Undo().count(), 0);
    EXPECT_EQ(reports_.back(), false);

    type(QStringLiteral("?"));
    UndoReset();
    EXPECT_EQ(Undo().count(), 0);
    EXPECT_EQ(reports_.back(), false);
    EXPECT_EQ(Undo().baseSelStart(), 0);
    EXPECT_EQ(Undo().baseSelLength(), 0);
    EXPECT_EQ(Undo().baseText(), QString());
    // Without a snapshot after the reset, the empty base is what comes back.
    UndoCommit();
    UndoRestore();
    expectEditor(QString(), 0);
}

TEST_F(UndoTest, SuspendedSnapshotAndCommitDoNothing)
{
    open(QStringLiteral("color: ;"));
    editor_.setSelStart(7);
    UndoSnapshot();
    editor_.setSelText(QStringLiteral("#"));

    // A nested bracket while suspended leaves the outer base in place.
    Undo().UndoSuspended = true;
    UndoSnapshot();
    editor_.setSelText(QStringLiteral("FF0000"));
    UndoCommit();
    EXPECT_EQ(Undo().count(), 0);
    EXPECT_EQ(Undo().baseText(), QStringLiteral("color: ;"));
    Undo().UndoSuspended = false;

    UndoCommit();
    ASSERT_EQ(Undo().count(), 1);
    UndoRestore();
    expectEditor(QStringLiteral("color: ;"), 7);
}

TEST_F(UndoTest, WithoutAnEditorNothingHappens)
{
    UndoInit(nullptr);
    UndoSnapshot();
    UndoCommit();
    UndoRestore();
    EXPECT_EQ(Undo().count(), 0);
    EXPECT_EQ(Undo().entryAt(0), QString());
}

// The stored texts are the bases exactly, even when the editor was changed
// between the calls without a bracket.
TEST_F(UndoTest, UnbracketedChangesBetweenCommitsRestoreExactly)
{
    open(QStringLiteral("abc"));
    arrowTo(3);
    type(QStringLiteral("d"));
    editor_.setText(QStringLiteral("xyz")); // e.g. a dialog without undo
    UndoSnapshot();
    arrowTo(3);
    type(QStringLiteral("!"));
    editor_.setText(QStringLiteral("abcd-other"));
    UndoCommit();
    editor_.setText(QStringLiteral("q"));
    UndoCommit(); // the same base once more
    ASSERT_EQ(Undo().count(), 4);
    EXPECT_EQ(Undo().entryAt(0), QStringLiteral("3_0#abc"));
    EXPECT_EQ(Undo().entryAt(1), QStringLiteral("3_0#xyz"));
    EXPECT_EQ(Undo().entryAt(2), QStringLiteral("4_0#xyz!"));
    EXPECT_EQ(Undo().entryAt(3), QStringLiteral("4_0#xyz!"));
    UndoRestore();
    expectEditor(QStringLiteral("xyz!"), 4);
    UndoRestore();
    expectEditor(QStringLiteral("xyz!"), 4);
    UndoRestore();
    expectEditor(QStringLiteral("xyz"), 3);
    UndoRestore();
    expectEditor(QStringLiteral("abc"), 3);
}

// The plain form of the history, one whole text per entry, as the oracle for
// the compact one.
class PlainHistory {
public:
    explicit PlainHistory(MemoryTextModel* editor) : editor_(editor) {}
    bool suspended = false;

    void snapshot()
    {
        if (suspended)
            return;
        start_ = editor_->selStart();
        length_ = editor_->selLength();
        text_ = editor_->text();
    }
    void commit(int depth)
    {
        if (suspended)
            return;
        const QString text = editor_->text();
        if (editor_->selStart() == start_ && text == text_)
            return;
        entries_.push_back(FormatUndoEntry(start_, length_, text == text_ ? std::nullopt : std::optional(text_)));
        if (int(entries_.size()) > depth && entries_.size() > 5)
            entries_.erase(entries_.begin());
    }
    void restore()
    {
        if (entries_.empty())
            return;
        int start = -1;
        int length = -1;
        std::optional<QString> text;
        ASSERT_TRUE(ParseUndoEntry(entries_.back(), start, length, text));
        if (text)
            editor_->setText(*text);
        entries_.pop_back();
        editor_->setSelStart(start);
        editor_->setSelLength(length);
        snapshot();
    }
    void trimTo(int n)
    {
        while (int(entries_.size()) > std::max(n, 0))
            entries_.erase(entries_.begin());
    }
    const std::vector<QString>& entries() const { return entries_; }
    const QString& text() const { return text_; }

private:
    MemoryTextModel* editor_;
    int start_ = 0;
    int length_ = 0;
    QString text_;
    std::vector<QString> entries_;
};

TEST_F(UndoTest, CompactHistoryMatchesThePlainOneStepByStep)
{
    const int depth = 7;
    setDepth(QString::number(depth));
    MemoryTextModel plainEditor;
    PlainHistory plain(&plainEditor);
    open(QString());

    RandomEdits random(20240611, QStringLiteral("ab\r\nxyzя#_"));
    auto pick = [&](int n) { return random.pick(n); };
    auto randomText = [&](int maxLength) { return random.text(maxLength); };
    auto both = [&](auto&& change) {
        change(editor_);
        change(plainEditor);
    };

    for (int step = 0; step < 3000; ++step) {
        SCOPED_TRACE(step);
        switch (pick(10)) {
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
        case 4: { // an edit with no bracket around it
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
        case 5: { // the whole text replaced, now and then
            const QString text = pick(4) == 0 ? randomText(30) : editor_.text() + randomText(2);
            both([&](MemoryTextModel& m) { m.setText(text); });
            break;
        }
        case 6: { // a bracketed command
            const int at = pick(int(editor_.text().size()) + 1);
            const QString inserted = randomText(3);
            both([&](MemoryTextModel& m) { m.setSelStart(at); });
            UndoSnapshot();
            plain.snapshot();
            both([&](MemoryTextModel& m) { m.setSelText(inserted); });
            UndoCommit();
            plain.commit(depth);
            break;
        }
        case 7: {
            const int at = pick(int(editor_.text().size()) + 1);
            const int length = pick(3);
            both([&](MemoryTextModel& m) {
                m.setSelStart(at);
                m.setSelLength(length);
            });
            break;
        }
        case 8: {
            const int n = pick(9);
            Undo().trimTo(n);
            plain.trimTo(n);
            break;
        }
        default:
            Undo().UndoSuspended = plain.suspended = !plain.suspended;
            break;
        }

        ASSERT_EQ(editor_.text(), plainEditor.text());
        ASSERT_EQ(editor_.selStart(), plainEditor.selStart());
        ASSERT_EQ(editor_.selLength(), plainEditor.selLength());
        ASSERT_EQ(Undo().baseText(), plain.text());
        ASSERT_EQ(Undo().count(), int(plain.entries().size()));
        if (step % 10 == 0) {
            for (int i = 0; i < Undo().count(); ++i)
                ASSERT_EQ(Undo().entryAt(i), plain.entries()[size_t(i)]) << "entry " << i;
        }
    }
}

TEST(UndoEntryFormat, RoundTripsAndRejectsBrokenEntries)
{
    EXPECT_EQ(FormatUndoEntry(120, 0, std::nullopt), QStringLiteral("120_0"));
    EXPECT_EQ(FormatUndoEntry(120, 5, QStringLiteral("text")), QStringLiteral("120_5#text"));
    EXPECT_EQ(FormatUndoEntry(0, 0, QString()), QStringLiteral("0_0#"));

    struct Parts {
        int start;
        int length;
        std::optional<QString> text;
    };
    const std::vector<Parts> cases = {
        {120, 0, std::nullopt},
        {120, 5, QStringLiteral("text")},
        {0, 0, QString()},
        {3, 1, QStringLiteral("a_b#c\r\n#12_3")},
        {-2, 7, QStringLiteral("Привет")},
    };
    for (const Parts& c : cases) {
        const QString entry = FormatUndoEntry(c.start, c.length, c.text);
        SCOPED_TRACE(entry.toStdString());
        int start = -1;
        int length = -1;
        std::optional<QString> text = QStringLiteral("stale");
        ASSERT_TRUE(ParseUndoEntry(entry, start, length, text));
        EXPECT_EQ(start, c.start);
        EXPECT_EQ(length, c.length);
        EXPECT_EQ(text, c.text);
    }

    for (const QString& broken : {QString(), QStringLiteral("abc"), QStringLiteral("12"), QStringLiteral("_5"),
                                  QStringLiteral("1_"), QStringLiteral("1_x"), QStringLiteral("1#2_3"),
                                  QStringLiteral("1_#text"), QStringLiteral("a_1#b"),
                                  QStringLiteral("1_99999999999")}) {
        int start = 11;
        int length = 22;
        std::optional<QString> text = QStringLiteral("kept");
        EXPECT_FALSE(ParseUndoEntry(broken, start, length, text)) << broken.toStdString();
        EXPECT_EQ(start, 11);
        EXPECT_EQ(length, 22);
        EXPECT_EQ(text, QStringLiteral("kept"));
    }
}

TEST_F(UndoTest, MemoryGrowsWithTheEditsNotTheDocument)
{
    QString page;
    const QString line = QStringLiteral("<p class=text style='color:#123456'>Строка текста страницы</p>\r\n");
    while (page.size() < 1000000)
        page += line;
    open(page);

    QString afterFirst;
    for (int i = 0; i < 1000; ++i) {
        editor_.setSelStart(int((qint64(i) * 7919) % page.size()));
        UndoSnapshot();
        editor_.setSelText(QStringLiteral("x"));
        UndoCommit();
        if (i == 0)
            afterFirst = editor_.text();
    }
    ASSERT_EQ(Undo().count(), 999);
    // Records and small differences only: no whole text is held beside the
    // base, let alone the 2 GB that 999 whole copies would take.
    EXPECT_GT(Undo().memoryBytes(), 0);
    EXPECT_LT(Undo().memoryBytes(), 100000);

    const int start = editor_.selStart();
    UndoRestore();
    EXPECT_EQ(editor_.text().size(), page.size() + 999);
    EXPECT_NE(editor_.selStart(), start);
    while (Undo().count() > 0)
        UndoRestore();
    EXPECT_EQ(editor_.text(), afterFirst);
    EXPECT_EQ(Undo().memoryBytes(), 0);
}

} // namespace
