#include "TestSupport.h"

#include "store/OptionsStore.h"

#include <QDir>
#include <QFileInfo>
#include <memory>

using testing_support::IsolatedTest;
using testing_support::ReadBytes;
using testing_support::WriteBytes;

namespace {

class OptionsStoreTest : public IsolatedTest {
protected:
    void SetUp() override
    {
        IsolatedTest::SetUp();
        Opt_SelectFile(QStringLiteral("Test"));
    }
    QString path() const { return programFolder() + QStringLiteral("Test.ZEL"); }
    QByteArray bytes() const { return ReadBytes(path()); }
};

TEST_F(OptionsStoreTest, SelectCreatesAnEmptySectionFile)
{
    EXPECT_TRUE(QFileInfo::exists(path()));
    EXPECT_TRUE(bytes().isEmpty());
    EXPECT_EQ(Opt_Count(), 0);
    EXPECT_TRUE(Opt_FileExists(QStringLiteral("Test")));
    EXPECT_FALSE(Opt_FileExists(QStringLiteral("Other")));
}

TEST_F(OptionsStoreTest, ValuesWithBracketsAndLineBreaksSurvive)
{
    const QString value = QStringLiteral("a[b]c\r\nd #13 e#10");
    ASSERT_TRUE(Opt_Write(QStringLiteral("NAME"), value));
    EXPECT_EQ(bytes(), QByteArray("[NAME]a#lftsqrbrcktb#rghtsqrbrcktc#tsnwstngd #13tsnwstng e#10tsnwstng\r\n"));
    QString read;
    ASSERT_TRUE(Opt_Read(QStringLiteral("NAME"), read));
    EXPECT_EQ(read, value);
}

TEST_F(OptionsStoreTest, ReadOfMissingItemLeavesTheValue)
{
    Opt_Write(QStringLiteral("A"), QStringLiteral("1"));
    QString v = QStringLiteral("keep");
    EXPECT_FALSE(Opt_Read(QStringLiteral("B"), v));
    EXPECT_EQ(v, QStringLiteral("keep"));
    Opt_ReadStr(QStringLiteral("B"), v);
    EXPECT_EQ(v, QStringLiteral("keep"));
    EXPECT_EQ(Opt_ReadStr(QStringLiteral("B")), QString());
}

TEST_F(OptionsStoreTest, NamesAreCaseSensitiveAndFirstMatchWins)
{
    WriteBytes(path(), "[left]5\r\n[LEFT]1\r\n[LEFT]2\r\n");
    EXPECT_EQ(Opt_ReadStr(QStringLiteral("LEFT")), QStringLiteral("1"));
    Opt_Write(QStringLiteral("LEFT"), QStringLiteral("9"));
    EXPECT_EQ(bytes(), QByteArray("[left]5\r\n[LEFT]9\r\n[LEFT]2\r\n"));
    EXPECT_EQ(Opt_IndexOf(QStringLiteral("LEFT")), 1);
    EXPECT_EQ(Opt_IndexOf(QStringLiteral("Left")), -1);
}

TEST_F(OptionsStoreTest, LookupComparesTheLineStartOnly)
{
    // "[AB]" is not the key of A, but "[A]" starts the line "[A]x]y".
    WriteBytes(path(), "[AB]1\r\n[A]x]y\r\n");
    EXPECT_EQ(Opt_IndexOf(QStringLiteral("A")), 1);
    // The value is what follows the last "]".
    EXPECT_EQ(Opt_ReadStr(QStringLiteral("A")), QStringLiteral("y"));
}

TEST_F(OptionsStoreTest, ValueIsAfterTheLastBracketButNotTheFinalCharacter)
{
    WriteBytes(path(), "[EMPTY]\r\n[X]]\r\nnobracket\r\n");
    EXPECT_EQ(Opt_ReadStr(QStringLiteral("EMPTY")), QString());
    EXPECT_EQ(Opt_ValueAt(1), QStringLiteral("]"));
    EXPECT_EQ(Opt_NameAt(1), QStringLiteral("X]"));
    EXPECT_EQ(Opt_NameAt(2), QString());
    EXPECT_EQ(Opt_Names(), QStringLiteral("EMPTY\r\nX]"));
}

TEST_F(OptionsStoreTest, NamesAreListedAsStored)
{
    Opt_Write(QStringLiteral("a[b"), QStringLiteral("v"));
    Opt_Write(QStringLiteral("c"), QString());
    EXPECT_EQ(Opt_ReadStr(QStringLiteral("a[b")), QStringLiteral("v"));
    EXPECT_EQ(Opt_NameAt(0), QStringLiteral("a#lftsqrbrcktb"));
    EXPECT_EQ(Opt_Names(), QStringLiteral("a#lftsqrbrcktb\r\nc"));
    EXPECT_EQ(Opt_NameAt(2), QString());
    EXPECT_EQ(Opt_NameAt(-1), QString());
}

TEST_F(OptionsStoreTest, FinalEmptyLineIsIgnoredAndDroppedOnWrite)
{
    WriteBytes(path(), "[A]1\r\n[B]2\r\n\r\n");
    EXPECT_EQ(Opt_Count(), 2);
    EXPECT_EQ(Opt_Names(), QStringLiteral("A\r\nB"));
    Opt_Write(QStringLiteral("A"), QStringLiteral("3"));
    EXPECT_EQ(bytes(), QByteArray("[A]3\r\n[B]2\r\n"));
}

TEST_F(OptionsStoreTest, ReadsAnyLineEnd)
{
    WriteBytes(path(), "[A]1\r[B]2\n[C]3");
    EXPECT_EQ(Opt_Count(), 3);
    EXPECT_EQ(Opt_ReadStr(QStringLiteral("C")), QStringLiteral("3"));
    Opt_Write(QStringLiteral("D"), QStringLiteral("4"));
    EXPECT_EQ(bytes(), QByteArray("[A]1\r\n[B]2\r\n[C]3\r\n[D]4\r\n"));
}

TEST_F(OptionsStoreTest, IndexOfValueIgnoresCase)
{
    Opt_Write(QStringLiteral("1"), QStringLiteral("/Home/Site/Index.html"));
    Opt_Write(QStringLiteral("2"), QStringLiteral("/home/другой/Страница.html"));
    EXPECT_EQ(Opt_IndexOfValue(QStringLiteral("/home/site/INDEX.HTML")), 0);
    EXPECT_EQ(Opt_IndexOfValue(QStringLiteral("/HOME/ДРУГОЙ/страница.html")), 1);
    EXPECT_EQ(Opt_IndexOfValue(QStringLiteral("/home/site")), -1);
}

TEST_F(OptionsStoreTest, ReadIntIsStrict)
{
    WriteBytes(path(), "[A]42\r\n[B]-7\r\n[C]12px\r\n[D]\r\n[E]99999999999\r\n");
    EXPECT_EQ(Opt_ReadInt(QStringLiteral("A"), 0), 42);
    EXPECT_EQ(Opt_ReadInt(QStringLiteral("B"), 0), -7);
    EXPECT_EQ(Opt_ReadInt(QStringLiteral("C"), 0), std::nullopt);
    EXPECT_EQ(Opt_ReadInt(QStringLiteral("D"), 0), std::nullopt);
    EXPECT_EQ(Opt_ReadInt(QStringLiteral("E"), 0), std::nullopt);
    EXPECT_EQ(Opt_ReadInt(QStringLiteral("MISSING"), 15), 15);
}

TEST_F(OptionsStoreTest, DeleteAndMoveIgnorePositionsOutside)
{
    WriteBytes(path(), "[A]1\r\n[B]2\r\n[C]3\r\n");
    Opt_Move(2, 0);
    EXPECT_EQ(Opt_Names(), QStringLiteral("C\r\nA\r\nB"));
    Opt_Move(0, 3);
    Opt_Move(-1, 0);
    EXPECT_EQ(Opt_Names(), QStringLiteral("C\r\nA\r\nB"));
    Opt_DeleteAt(5);
    Opt_Delete(QStringLiteral("Z"));
    EXPECT_EQ(Opt_Count(), 3);
    Opt_Delete(QStringLiteral("A"));
    Opt_DeleteAt(0);
    EXPECT_EQ(bytes(), QByteArray("[B]2\r\n"));
}

TEST_F(OptionsStoreTest, RecentFirstPattern)
{
    // Put on top: append and move from the end to 0.
    for (const char* n : {"one", "two", "three"}) {
        Opt_Write(QString::fromLatin1(n), QString());
        Opt_Move(Opt_Count() - 1, 0);
    }
    EXPECT_EQ(Opt_Names(), QStringLiteral("three\r\ntwo\r\none"));
}

TEST_F(OptionsStoreTest, WriteFileTextSplitsAtTheSeparator)
{
    ASSERT_TRUE(Opt_WriteFileText(QStringLiteral("Whole"), QStringLiteral("[A]1--[B]2"), QStringLiteral("--")));
    EXPECT_EQ(ReadBytes(programFolder() + QStringLiteral("Whole.ZEL")), QByteArray("[A]1\r\n[B]2\r\n"));
    // The current section stays.
    EXPECT_EQ(Options().currentPath(), path());
}

TEST_F(OptionsStoreTest, ClearCurrentActsOnTheSelectedSection)
{
    Opt_SelectFile(QStringLiteral("Other.txt"));
    EXPECT_EQ(Options().currentPath(), programFolder() + QStringLiteral("Other.ZEL"));
    Opt_Write(QStringLiteral("A"), QStringLiteral("1"));
    Opt_ClearFile(QStringLiteral("[current]"), false);
    EXPECT_TRUE(ReadBytes(programFolder() + QStringLiteral("Other.ZEL")).isEmpty());
    Opt_ClearFile(QStringLiteral("[current]"), true);
    EXPECT_FALSE(QFileInfo::exists(programFolder() + QStringLiteral("Other.ZEL")));
    // The section is gone: reads find nothing, and a write creates it again.
    EXPECT_EQ(Opt_Count(), 0);
    Opt_Write(QStringLiteral("B"), QStringLiteral("2"));
    EXPECT_EQ(ReadBytes(programFolder() + QStringLiteral("Other.ZEL")), QByteArray("[B]2\r\n"));
    // A missing file stays missing.
    Opt_ClearFile(QStringLiteral("Nothing"), false);
    EXPECT_FALSE(QFileInfo::exists(programFolder() + QStringLiteral("Nothing.ZEL")));
}

TEST_F(OptionsStoreTest, SectionWithFolderPartKeepsItsFolder)
{
    const QString folder = programFolder() + QStringLiteral("sub");
    Opt_SelectFile(folder + QStringLiteral("/navig.tmp"));
    EXPECT_EQ(Options().currentPath(), folder + QStringLiteral("/navig.ZEL"));
    EXPECT_TRUE(QFileInfo::exists(folder + QStringLiteral("/navig.ZEL")));
}

TEST_F(OptionsStoreTest, CyrillicIsStoredAsWindows1251AndOtherTextAsUtf8)
{
    Opt_Write(QStringLiteral("Имя"), QStringLiteral("Привет"));
    EXPECT_EQ(bytes(), QByteArray("[\xC8\xEC\xFF]\xCF\xF0\xE8\xE2\xE5\xF2\r\n"));
    EXPECT_EQ(Opt_ReadStr(QStringLiteral("Имя")), QStringLiteral("Привет"));
    // A path outside the code page switches the file to UTF-8; nothing becomes "?".
    Opt_Write(QStringLiteral("P"), QStringLiteral("/home/ζ/€→.html"));
    EXPECT_EQ(Opt_ReadStr(QStringLiteral("P")), QStringLiteral("/home/ζ/€→.html"));
    EXPECT_EQ(Opt_ReadStr(QStringLiteral("Имя")), QStringLiteral("Привет"));
    EXPECT_TRUE(bytes().contains("\xD0\x9F\xD1\x80")); // "Пр" in UTF-8
}

TEST(OptionsEncoding, TextComesBackAsWritten)
{
    // Windows-1251 bytes of the first two are valid UTF-8 of other letters.
    for (const QString& text : {QStringLiteral("Рџ"), QStringLiteral("[A]Рџ\r\n[B]РёР·"), QStringLiteral("Привет"), QStringLiteral("plain"),
                                QStringLiteral("ζ€")}) {
        SCOPED_TRACE(text.toStdString());
        EXPECT_EQ(ReadOptionsText(EncodeOptionsText(text)), text);
    }
}

TEST_F(OptionsStoreTest, UnwritableSectionReportsFailureWithoutCrashing)
{
    // A folder where the section file should be: nothing can be read or written.
    QDir().mkpath(programFolder() + QStringLiteral("Blocked.ZEL"));
    Opt_SelectFile(QStringLiteral("Blocked"));
    EXPECT_EQ(Opt_Count(), 0);
    EXPECT_FALSE(Opt_Write(QStringLiteral("A"), QStringLiteral("1")));
    EXPECT_FALSE(Opt_Read(QStringLiteral("A"), *std::make_unique<QString>()));
    EXPECT_FALSE(Opt_WriteFileText(QStringLiteral("Blocked"), QStringLiteral("[A]1"), QString()));
    EXPECT_TRUE(QFileInfo(programFolder() + QStringLiteral("Blocked.ZEL")).isDir());
}

TEST_F(OptionsStoreTest, AFailedWriteIsToldWithItsFolder)
{
    QStringList failed;
    SetOptionsWriteFailure([&](const QString& path) { failed << path; });
    QDir().mkpath(programFolder() + QStringLiteral("Blocked.ZEL"));
    Opt_SelectFile(QStringLiteral("Blocked"));
    Opt_Write(QStringLiteral("A"), QStringLiteral("1"));
    Opt_SelectFile(QStringLiteral("Fine"));
    Opt_Write(QStringLiteral("A"), QStringLiteral("1"));
    SetOptionsWriteFailure({});
    ASSERT_EQ(failed.size(), 1);
    EXPECT_TRUE(failed.front().endsWith(QStringLiteral("Blocked.ZEL")));
    EXPECT_TRUE(OptionsWriteFailureMessage(failed.front()).contains(QDir::toNativeSeparators(QDir(programFolder()).absolutePath())));
}

TEST(OptionsEncoding, EncodeAndDecodeFollowTheRowOrder)
{
    EXPECT_EQ(Opt_Encode(QStringLiteral("#13")), QStringLiteral("#13tsnwstng"));
    EXPECT_EQ(Opt_Decode(QStringLiteral("#13tsnwstng")), QStringLiteral("#13"));
    // CR LF right after "#13": both forms come back.
    const QString tricky = QStringLiteral("#13\r\n#10[x]");
    EXPECT_EQ(Opt_Decode(Opt_Encode(tricky)), tricky);
    // A lone CR or LF is not encoded.
    EXPECT_EQ(Opt_Encode(QStringLiteral("a\rb\nc")), QStringLiteral("a\rb\nc"));
}

TEST(OptionsEncoding, StrictToInt)
{
    EXPECT_EQ(StrictToInt(QStringLiteral("0")), 0);
    EXPECT_EQ(StrictToInt(QStringLiteral("+5")), 5);
    EXPECT_EQ(StrictToInt(QStringLiteral("-2147483648")), -2147483647 - 1);
    EXPECT_EQ(StrictToInt(QStringLiteral("2147483648")), std::nullopt);
    EXPECT_EQ(StrictToInt(QStringLiteral("-")), std::nullopt);
    EXPECT_EQ(StrictToInt(QStringLiteral(" 5")), std::nullopt);
    EXPECT_EQ(StrictToInt(QStringLiteral("1.5")), std::nullopt);
}

} // namespace
