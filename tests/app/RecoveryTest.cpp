#include "TestSupport.h"

#include "app/Documents.h"
#include "app/Globals.h"
#include "app/Recovery.h"

#include <QDir>
#include <QFile>
#include <random>

using testing_support::IsolatedTest;
using testing_support::ReadBytes;
using testing_support::WriteBytes;

namespace {

const QDateTime kWhen(QDate(2026, 12, 8), QTime(14, 5, 31, 250));

RecoveryCopy sample(const QString& text, int encoding = EncodingCp1251)
{
    return {QStringLiteral("/tmp/Мои страницы/index.html"), OriginOpening, encoding, LineEnds::CrLf, kWhen, text};
}

class RecoveryTest : public IsolatedTest {
protected:
    void SetUp() override
    {
        IsolatedTest::SetUp();
        InitProgramFolders();
        folder_ = RecoveryFolder();
        QDir().mkpath(folder_);
    }
    // A copy whose instance is gone: no lock file holds it.
    QString leftCopy(const QString& name, const RecoveryCopy& copy)
    {
        const QString path = folder_ + name + RecoveryCopySuffix;
        WriteBytes(path, RecoveryCopyBytes(copy));
        return path;
    }
    QStringList backups() const { return QDir(BackupFolder).entryList(QDir::Files, QDir::Name); }
    QString folder_;
};

TEST(RecoveryCopyFormat, EveryFieldComesBackExactly)
{
    const QString raw = QString(QChar(0xDC80)) + QChar(0xDCFF); // bytes that were not UTF-8
    const RecoveryCopy cases[] = {
        sample(QStringLiteral("<p>Привет ₽</p>\r\n\r\nline") + raw),
        sample(QString()),
        {QStringLiteral("/a b/%25 x\n=y.css"), QString(), EncodingUtf8, LineEnds::Lf, kWhen, QStringLiteral("a\r\n")},
        {QString(), OriginSaving, EncodingUtf8, LineEnds::CrLf, kWhen.addYears(-30), QStringLiteral("\U0001F600")},
    };
    for (const RecoveryCopy& c : cases) {
        const std::optional<RecoveryCopy> back = ParseRecoveryCopy(RecoveryCopyBytes(c));
        ASSERT_TRUE(back) << c.documentPath.toStdString();
        EXPECT_TRUE(*back == c) << c.documentPath.toStdString();
    }
}

TEST(RecoveryCopyFormat, DamagedCopiesAreRefused)
{
    const QByteArray good = RecoveryCopyBytes(sample(QStringLiteral("abc")));
    QByteArray noPath = good;
    noPath.replace("path=", "paht=");
    QByteArray badEncoding = good;
    badEncoding.replace("encoding=1", "encoding=7");
    QByteArray longer = good;
    longer.replace("length=3", "length=9");
    const QByteArray cases[] = {good.chopped(1), good + 'x', good.mid(1), noPath, badEncoding, longer,
                                QByteArray(), good.left(good.indexOf("\n\n"))};
    for (const QByteArray& bytes : cases)
        EXPECT_FALSE(ParseRecoveryCopy(bytes)) << bytes.left(120).toStdString();
}

TEST(RecoveryTextChunks, EditsAnywhereGiveTheTextAStringWouldHold)
{
    std::mt19937 random(11);
    const QString sep(QChar::ParagraphSeparator);
    QString reference;
    for (int i = 0; i < 9000; ++i)
        reference += QStringLiteral("line %1").arg(i) + sep;
    RecoveryText text;
    text.reset(reference);
    for (int step = 0; step < 3000; ++step) {
        const qsizetype at = std::uniform_int_distribution<qsizetype>(0, reference.size())(random);
        // Mostly keystrokes, sometimes a paste or a cut of up to 100 000 characters.
        const qsizetype span = step % 50 == 0 ? 100000 : 2;
        const qsizetype removed = std::min(reference.size() - at, std::uniform_int_distribution<qsizetype>(0, span)(random));
        const QString added = reference.mid(std::uniform_int_distribution<qsizetype>(0, reference.size())(random),
                                            std::uniform_int_distribution<qsizetype>(0, span)(random));
        ASSERT_TRUE(text.replace(at, removed, added));
        reference.replace(at, removed, added);
        ASSERT_EQ(text.size(), reference.size()) << step;
        if (step % 100 == 0) {
            ASSERT_EQ(text.editorSize(), reference.size() + reference.count(sep)) << step;
        }
    }
    QString expected = reference;
    expected.replace(sep, QStringLiteral("\r\n"));
    EXPECT_EQ(RecoveryText::EditorText(text.chunks()), expected);
    EXPECT_EQ(text.editorSize(), expected.size());
    // What the writer writes from the chunks is the copy of that text.
    EXPECT_EQ(RecoveryCopyBytes(sample(QString()), text), RecoveryCopyBytes(sample(expected)));
    EXPECT_FALSE(text.replace(reference.size() - 1, 2, QString()));
    text.reset(QString());
    ASSERT_TRUE(text.replace(0, 0, QStringLiteral("a") + sep));
    EXPECT_EQ(RecoveryText::EditorText(text.chunks()), QStringLiteral("a\r\n"));
    EXPECT_EQ(text.editorSize(), 3);
}

TEST_F(RecoveryTest, LiveCopyIsNotTakenAndGoesWhenTheInstanceEnds)
{
    QString path;
    {
        RecoveryWriter writer(folder_, NewRecoveryName());
        path = writer.copyPath();
        ASSERT_TRUE(writer.write(sample(QStringLiteral("typed"))));
        writer.wait();
        EXPECT_EQ(ParseRecoveryCopy(ReadBytes(path))->text, QStringLiteral("typed"));
        EXPECT_TRUE(FindLeftRecoveryCopies(folder_).empty());
        writer.remove();
        writer.wait();
        EXPECT_FALSE(QFile::exists(path));
        ASSERT_TRUE(writer.write(sample(QStringLiteral("again"))));
        writer.wait();
        EXPECT_TRUE(QFile::exists(path));
    }
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_TRUE(QDir(folder_).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

TEST_F(RecoveryTest, ALargeCopyIsWrittenInSlicesThatJoinExactly)
{
    // Longer than several of the writer's slices, and not a multiple of one.
    QString text;
    for (int i = 0; text.size() < 1'300'001; ++i)
        text += QString::number(i) + QStringLiteral("ё\r\n");
    RecoveryWriter writer(folder_, NewRecoveryName());
    ASSERT_TRUE(writer.write(sample(text)));
    writer.wait();
    const QByteArray bytes = ReadBytes(writer.copyPath());
    EXPECT_EQ(bytes, RecoveryCopyBytes(sample(text)));
    EXPECT_EQ(ParseRecoveryCopy(bytes)->text, text);

    // The same text given as the raw text's chunks.
    QString raw = text;
    raw.replace(QStringLiteral("\r\n"), QString(QChar::ParagraphSeparator));
    RecoveryText chunks;
    chunks.reset(raw);
    ASSERT_GT(chunks.chunks().size(), 20u);
    ASSERT_TRUE(writer.write(sample(QStringLiteral("not this")), chunks));
    writer.wait();
    EXPECT_EQ(ReadBytes(writer.copyPath()), bytes);
}

TEST_F(RecoveryTest, LeftCopiesNewestFirstAndUnreadableOnesKeptInTheBackupFolder)
{
    RecoveryCopy older = sample(QStringLiteral("old"));
    older.saved = kWhen.addSecs(-60);
    leftCopy(QStringLiteral("1-1-1"), older);
    leftCopy(QStringLiteral("2-2-1"), sample(QStringLiteral("new")));
    WriteBytes(folder_ + QStringLiteral("3-3-1") + RecoveryCopySuffix, "damaged");

    const std::vector<LeftRecoveryCopy> left = FindLeftRecoveryCopies(folder_);
    ASSERT_EQ(left.size(), 2u);
    EXPECT_EQ(left[0].copy.text, QStringLiteral("new"));
    EXPECT_EQ(left[1].copy.text, QStringLiteral("old"));
    // Held by this start: another start at the same time finds none of them.
    EXPECT_TRUE(FindLeftRecoveryCopies(folder_).empty());
    ASSERT_EQ(backups().size(), 1);
    EXPECT_EQ(ReadBytes(BackupFolder + backups()[0]), QByteArray("damaged"));
}

TEST_F(RecoveryTest, RefusedCopyBecomesAReserveCopyInItsEncodingOrUtf8)
{
    struct Case {
        QString text;
        int encoding;
        QByteArray bytes;
    } cases[] = {
        {QStringLiteral("Привет\r\nмир"), EncodingCp1251, QByteArray("\xcf\xf0\xe8\xe2\xe5\xf2\r\n\xec\xe8\xf0\r\n")},
        {QStringLiteral("Цена ₽"), EncodingCp1251, QStringLiteral("Цена ₽\r\n").toUtf8()},
    };
    int n = 0;
    for (const Case& c : cases) {
        const QString path = leftCopy(QString::number(++n), sample(c.text, c.encoding));
        std::vector<LeftRecoveryCopy> left = FindLeftRecoveryCopies(folder_);
        ASSERT_EQ(left.size(), 1u);
        const BackupResult r = MoveRecoveryCopyToReserve(left[0]);
        ASSERT_TRUE(r.ok) << r.error.toStdString();
        EXPECT_TRUE(r.path.startsWith(BackupFolder) && r.path.endsWith(QStringLiteral(")_index.html"))) << r.path.toStdString();
        EXPECT_EQ(ReadBytes(r.path), c.bytes);
        EXPECT_FALSE(QFile::exists(path));
    }
    EXPECT_EQ(backups().size(), 2);
}

TEST_F(RecoveryTest, AcceptedCopyBecomesThisInstancesCopy)
{
    leftCopy(QStringLiteral("9-9-9"), sample(QStringLiteral("kept")));
    std::vector<LeftRecoveryCopy> left = FindLeftRecoveryCopies(folder_);
    ASSERT_EQ(left.size(), 1u);
    QString path;
    {
        RecoveryWriter writer(folder_, NewRecoveryName());
        path = writer.copyPath();
        ASSERT_TRUE(AdoptRecoveryCopy(left[0], writer));
        EXPECT_EQ(ParseRecoveryCopy(ReadBytes(path))->text, QStringLiteral("kept"));
        EXPECT_TRUE(FindLeftRecoveryCopies(folder_).empty());
    }
    EXPECT_FALSE(QFile::exists(path));
}

} // namespace
