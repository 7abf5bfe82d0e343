#include "TestSupport.h"

#include "editor/MemoryTextModel.h"
#include "platform/Codecs.h"
#include "platform/Folders.h"
#include "platform/Registry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <functional>
#include <unistd.h>

using namespace platform;
using testing_support::IsolatedTest;
using testing_support::ReadBytes;

namespace {

TEST(Codecs, EveryWindows1251ByteRoundTrips)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    const QString text = DecodeCp1251(all);
    ASSERT_EQ(text.size(), 256);
    bool lossless = false;
    EXPECT_EQ(EncodeCp1251(text, &lossless), all);
    EXPECT_TRUE(lossless);
    EXPECT_EQ(DecodeCp1251("\xC0\xFF\xA8\xB8\xB9\x88"), QStringLiteral("АяЁё№€"));
}

TEST(Codecs, CharactersOutsideTheCodePageAreReported)
{
    bool lossless = true;
    EXPECT_EQ(EncodeCp1251(QStringLiteral("a→b😀"), &lossless), QByteArray("a?b?"));
    EXPECT_FALSE(lossless);
    EXPECT_FALSE(FitsCp1251(QStringLiteral("ζ")));
    EXPECT_TRUE(FitsCp1251(QStringLiteral("Съешь «ещё»")));
    EXPECT_EQ(Cp1251Code(QChar(u'я')), 0xFF);
    EXPECT_EQ(Cp1251Code(QChar(u'→')), -1);
}

TEST(Codecs, Utf8ValidityAndLenientDecoding)
{
    EXPECT_TRUE(IsValidUtf8("plain"));
    EXPECT_TRUE(IsValidUtf8("\xD0\x9F\xF0\x9F\x98\x80"));
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));         // overlong
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));     // surrogate
    EXPECT_FALSE(IsValidUtf8("\xD0"));             // cut short
    EXPECT_FALSE(IsValidUtf8("\xCF\xF0\xE8"));     // Windows-1251 text
    // Invalid bytes become raw-byte characters that both encoders write back
    // as themselves; valid sequences stay UTF-8.
    qsizetype invalid = 0;
    EXPECT_EQ(DecodeUtf8Lenient("\xD0\x9F + \xCF", &invalid), QStringLiteral("П + ") + RawByteChar(0xCF));
    EXPECT_EQ(invalid, 1);
    EXPECT_EQ(EncodeUtf8(DecodeUtf8Lenient("\xFF\xFE\xD0\x9F\xC0\xAF")), QByteArray("\xFF\xFE\xD0\x9F\xC0\xAF"));
    EXPECT_EQ(EncodeCp1251(DecodeUtf8Lenient("\xFF\xD0\x9F")), QByteArray("\xFF\xCF"));
    // A surrogate pair whose low half looks like a raw byte is a character.
    EXPECT_EQ(EncodeUtf8(QString::fromUcs4(U"\U00010080")), QByteArray("\xF0\x90\x82\x80"));
    EXPECT_EQ(DecodeUtf8Lenient("\xF0\x9F\x98\x80"), QStringLiteral("😀"));
    // Byte order marks are kept wherever they stand, so a save writes them back.
    EXPECT_EQ(DecodeUtf8Lenient("\xEF\xBB\xBF\xEF\xBB\xBFpp"), QStringLiteral("\uFEFF\uFEFFpp"));
    EXPECT_EQ(DecodeUtf8Lenient("\xFF\xEF\xBB\xBF" "a"), RawByteChar(0xFF) + QStringLiteral("\uFEFFa"));
    EXPECT_EQ(EncodeUtf8(DecodeUtf8Lenient("\xEF\xBB\xBF<p>")), QByteArray("\xEF\xBB\xBF<p>"));
}

// The one-pass decoders give the text of decoding and then making every
// line break CR LF; pages long enough for the sixteen-byte steps, with the
// break, a Cyrillic letter or a stray byte on either side of a step's edge.
TEST(Codecs, DecodingWithLineBreaksInOnePass)
{
    const QByteArray sixteen("0123456789abcdef");
    const QByteArray cases[] = {
        "", "\r", "\n", "\r\n", "\n\r", "a\rb\nc\r\nd\r", "\r\r\n\n",
        sixteen + "\r\n" + sixteen, sixteen.left(15) + "\r\n" + sixteen, sixteen.left(15) + "\xD0\x9F" + sixteen,
        sixteen + sixteen.left(15) + "\r", sixteen + "\xC0" + sixteen + "\xF0\x9F\x98\x80" + sixteen,
        sixteen.left(14) + "\xE2\x82\xAC" + sixteen + "\xE2\x82", sixteen + "\x01\x7F\x1F\t" + sixteen,
        "\xEF\xBB\xBF" + sixteen + "\xFF\xFE\x80\xC2", sixteen + "\xD0" "\r\n" "\x9F",
    };
    for (const QByteArray& bytes : cases) {
        EXPECT_EQ(DecodeUtf8LenientCrLf(bytes), WithLineBreaks(DecodeUtf8Lenient(bytes), u"\r\n")) << bytes.toHex().constData();
        EXPECT_EQ(DecodeCp1251CrLf(bytes), WithLineBreaks(DecodeCp1251(bytes), u"\r\n")) << bytes.toHex().constData();
    }
}

class RegistryTest : public IsolatedTest {};

TEST_F(RegistryTest, KeysAndNamesIgnoreCase)
{
    Registry reg;
    ASSERT_TRUE(reg.writeString(RegRoot::LocalMachine, QStringLiteral("SOFTWARE\\Veltmark"), QStringLiteral("Path"), QStringLiteral("/opt/v")));
    EXPECT_EQ(reg.readString(RegRoot::LocalMachine, QStringLiteral("Software\\Veltmark"), QStringLiteral("PATH")), QStringLiteral("/opt/v"));
    EXPECT_EQ(reg.readString(RegRoot::ClassesRoot, QStringLiteral("Software\\Veltmark"), QStringLiteral("Path")), std::nullopt);
    EXPECT_EQ(reg.readString(RegRoot::LocalMachine, QStringLiteral("Software\\Veltmark"), QString()), std::nullopt);
    // Writing under another spelling changes the same value.
    reg.writeString(RegRoot::LocalMachine, QStringLiteral("software\\VELTMARK"), QStringLiteral("path"), QStringLiteral("/usr/v"));
    EXPECT_EQ(reg.readString(RegRoot::LocalMachine, QStringLiteral("SOFTWARE\\Veltmark"), QStringLiteral("Path")), QStringLiteral("/usr/v"));
    EXPECT_EQ(reg.subKeys(RegRoot::LocalMachine, QStringLiteral("software")), QStringList({"Veltmark"}));
}

TEST_F(RegistryTest, DeleteKeyTakesItsSubkeys)
{
    Registry reg;
    reg.writeString(RegRoot::ClassesRoot, QStringLiteral("htmlfile\\shell\\edit\\command"), QString(), QStringLiteral("x"));
    reg.writeString(RegRoot::ClassesRoot, QStringLiteral("htmlfile\\shell\\editor"), QString(), QStringLiteral("y"));
    EXPECT_TRUE(reg.keyExists(RegRoot::ClassesRoot, QStringLiteral("HTMLFILE\\Shell")));
    EXPECT_TRUE(reg.deleteKey(RegRoot::ClassesRoot, QStringLiteral("HtmlFile\\shell\\EDIT")));
    EXPECT_FALSE(reg.keyExists(RegRoot::ClassesRoot, QStringLiteral("htmlfile\\shell\\edit\\command")));
    // A key that merely starts with the same letters stays.
    EXPECT_EQ(reg.readString(RegRoot::ClassesRoot, QStringLiteral("htmlfile\\shell\\editor"), QString()), QStringLiteral("y"));
    EXPECT_FALSE(reg.deleteKey(RegRoot::ClassesRoot, QStringLiteral("nothing")));
}

TEST_F(RegistryTest, StoredInOneFileUnderTheSystemRoot)
{
    Registry reg;
    reg.writeString(RegRoot::ClassesRoot, QStringLiteral(".ZEL"), QString(), QStringLiteral("OstrabendOptionsFile"));
    EXPECT_EQ(reg.filePath(), sysRoot() + QStringLiteral("registry.json"));
    EXPECT_TRUE(ReadBytes(reg.filePath()).contains("OstrabendOptionsFile"));
    // A damaged file reads as empty and is replaced whole by the next write.
    testing_support::WriteBytes(reg.filePath(), "{ not json");
    EXPECT_EQ(reg.readString(RegRoot::ClassesRoot, QStringLiteral(".ZEL"), QString()), std::nullopt);
    EXPECT_TRUE(reg.writeString(RegRoot::ClassesRoot, QStringLiteral(".ZEL"), QString(), QStringLiteral("v")));
    EXPECT_EQ(reg.readString(RegRoot::ClassesRoot, QStringLiteral(".zel"), QString()), QStringLiteral("v"));
}

TEST_F(RegistryTest, FoldersHonourTheOverrides)
{
    EXPECT_EQ(ProgramFolderPath(), programFolder());
    EXPECT_EQ(SysRootPath(), sysRoot());
    EXPECT_EQ(WindowsFolderPath(), sysRoot() + QStringLiteral("Windows/"));
    EXPECT_TRUE(QFileInfo(WindowsFolderPath()).isDir());
}

TEST(ProgramFolder, ExecutableFolderWhoseSectionsCannotBeWrittenGivesWayToTheDataFolder)
{
    QTemporaryDir dir;
    const QByteArray oldData = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", (dir.path() + QStringLiteral("/data")).toUtf8());
    const QString data = dir.path() + QStringLiteral("/data/veltmark/");
    struct Case {
        const char* name;
        std::function<void(const QString& folder)> make;
        bool keeps;
    } cases[] = {
        {"empty", [](const QString&) {}, true},
        {"writable sections", [](const QString& f) { testing_support::WriteBytes(f + QStringLiteral("Program.ZEL"), "[A]1\r\n"); }, true},
        // No one can write a section that is a folder, root neither.
        {"a section that is a folder",
         [](const QString& f) {
             testing_support::WriteBytes(f + QStringLiteral("Recent.ZEL"), "[x]/a.html\r\n");
             QDir().mkpath(f + QStringLiteral("Program.ZEL"));
         },
         false},
        // Root may write a read-only file, so only others lose the folder.
        {"a read-only section",
         [](const QString& f) {
             testing_support::WriteBytes(f + QStringLiteral("Recent.ZEL"), "[x]/a.html\r\n");
             QFile::setPermissions(f + QStringLiteral("Recent.ZEL"), QFileDevice::ReadOwner);
         },
         geteuid() == 0},
    };
    for (const Case& c : cases) {
        const QString folder = dir.path() + u'/' + QLatin1String(c.name) + u'/';
        QDir().mkpath(folder);
        QDir(data).removeRecursively();
        c.make(folder);
        const QString chosen = ChooseProgramFolder(folder);
        EXPECT_EQ(chosen, c.keeps ? folder : data) << c.name;
        // The settings found go on in the data folder, writable there.
        if (!c.keeps) {
            EXPECT_EQ(ReadBytes(data + QStringLiteral("Recent.ZEL")), QByteArray("[x]/a.html\r\n")) << c.name;
            EXPECT_TRUE(QFileInfo(data + QStringLiteral("Recent.ZEL")).isWritable()) << c.name;
        }
    }
    qputenv("XDG_DATA_HOME", oldData);
}

} // namespace
