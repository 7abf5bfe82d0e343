#include "TestSupport.h"

#include "app/StartUp.h"
#include "app/plain/Switches.h"
#include "store/OptionItems.h"
#include "store/OptionsStore.h"

using testing_support::IsolatedTest;
using testing_support::ReadBytes;
using testing_support::WriteBytes;

namespace {

class StartUpTest : public IsolatedTest {
protected:
    void program(const QByteArray& content) { WriteBytes(programFolder() + QStringLiteral("Program.ZEL"), content); }
    QByteArray programBytes() const { return ReadBytes(programFolder() + QStringLiteral("Program.ZEL")); }
};

TEST_F(StartUpTest, StartDocumentFromTheArguments)
{
    const QString page = programFolder() + QStringLiteral("page.html");
    const QString archive = programFolder() + QStringLiteral("saved.MhT");
    const QString mhtml = programFolder() + QStringLiteral("saved.mhtml");
    WriteBytes(page, "x");
    WriteBytes(archive, "x");
    WriteBytes(mhtml, "x");

    EXPECT_EQ(ResolveStartDocument({}).kind, StartDocument::Kind::None);
    EXPECT_EQ(ResolveStartDocument({programFolder() + QStringLiteral("missing.html")}).kind, StartDocument::Kind::None);
    EXPECT_EQ(ResolveStartDocument({programFolder()}).kind, StartDocument::Kind::None);

    const StartDocument plain = ResolveStartDocument({page});
    EXPECT_EQ(plain.kind, StartDocument::Kind::Page);
    EXPECT_EQ(plain.path, page);
    EXPECT_FALSE(plain.fromParent);
    EXPECT_EQ(plain.parentWindow, 0);

    EXPECT_EQ(ResolveStartDocument({archive}).kind, StartDocument::Kind::Archive);
    EXPECT_EQ(ResolveStartDocument({mhtml}).kind, StartDocument::Kind::Page);

    const StartDocument child = ResolveStartDocument({page, QStringLiteral("PARENT 4711x"), QStringLiteral("PARENTDOC/site/index.html")});
    EXPECT_TRUE(child.fromParent);
    EXPECT_EQ(child.parentWindow, 4711);
    EXPECT_EQ(child.parentDocument, QStringLiteral("/site/index.html"));

    // The prefixes are exact.
    const StartDocument odd = ResolveStartDocument({page, QStringLiteral("parent12"), QStringLiteral("parentdoc/x")});
    EXPECT_FALSE(odd.fromParent);
    EXPECT_EQ(odd.parentDocument, QString());
}

TEST_F(StartUpTest, PlacementDefaultsAndExactMaximisedState)
{
    program("[LEFT]10\r\n[TOP]abc\r\n[HEIGHT]500\r\n[WINDOWSTATE]maximized\r\n");
    WindowPlacement p = ReadWindowPlacement();
    EXPECT_EQ(p, (WindowPlacement{10, 0, 747, 500, false}));
    program("[WINDOWSTATE]MAXIMIZED\r\n");
    EXPECT_TRUE(ReadWindowPlacement().maximized);
}

TEST(StartUpPlacement, StoredNumbersAreBroughtOntoTheDesktop)
{
    const QRect desktop(0, 0, 1920, 1080);
    const struct {
        WindowPlacement stored;
        WindowPlacement fitted;
    } rows[] = {
        {{10, 20, 747, 617, false}, {10, 20, 747, 617, false}},
        {{-5000, 99999, 32767, 16777215, true}, {0, 0, 1920, 1080, true}},
        {{1800, 1000, 747, 617, false}, {1920 - 747, 1080 - 617, 747, 617, false}},
        {{100, 100, 0, -3, false}, {100, 100, 200, 150, false}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(FitPlacement(row.stored, desktop), row.fitted);
    EXPECT_EQ(FitPlacement(rows[1].stored, QRect()), rows[1].stored); // no screen known: as stored
}

TEST_F(StartUpTest, PlacementIsStoredByWindowState)
{
    program("[LEFT]1\r\n[TOP]2\r\n[WIDTH]700\r\n[HEIGHT]650\r\n[WINDOWSTATE]NORMAL\r\n[FONT]X\r\n");
    StoreWindowPlacement(WindowShow::Minimized, {50, 60, 800, 700, false});
    EXPECT_EQ(programBytes(), QByteArray("[LEFT]1\r\n[TOP]2\r\n[WIDTH]700\r\n[HEIGHT]650\r\n[WINDOWSTATE]NORMAL\r\n[FONT]X\r\n"));
    StoreWindowPlacement(WindowShow::Maximized, {50, 60, 800, 700, false});
    EXPECT_EQ(programBytes(), QByteArray("[LEFT]1\r\n[TOP]2\r\n[WIDTH]700\r\n[HEIGHT]650\r\n[WINDOWSTATE]MAXIMIZED\r\n[FONT]X\r\n"));
    StoreWindowPlacement(WindowShow::Normal, {50, -60, 800, 700, false});
    EXPECT_EQ(programBytes(), QByteArray("[LEFT]50\r\n[TOP]-60\r\n[WIDTH]800\r\n[HEIGHT]700\r\n[WINDOWSTATE]NORMAL\r\n[FONT]X\r\n"));
}

TEST_F(StartUpTest, EditorAppearance)
{
    program("[BACKGROUNDCOLOR]$00EAEEE8\r\n[FONT]DejaVu Sans Mono\r\n[FONTSIZE]12\r\n[2QUOTES]1\r\n[SCROLL_ONLYVERTICAL]yes\r\n");
    EditorAppearance a = ReadEditorAppearance();
    EXPECT_EQ(a.background, 0x00EAEEE8);
    EXPECT_EQ(a.fontName, QStringLiteral("DejaVu Sans Mono"));
    EXPECT_EQ(a.fontSize, 12);
    EXPECT_TRUE(a.doubleQuotes);
    EXPECT_TRUE(a.wrapOnlyVertical);
    // A font size the settings would not accept is brought within 5..100.
    for (const auto& [stored, used] : {std::pair{"2147483647", 100}, {"3", 5}, {"0", 10}, {"abc", 10}}) {
        program(QByteArray("[FONTSIZE]") + stored + "\r\n");
        EXPECT_EQ(ReadEditorAppearance().fontSize, used) << stored;
    }
    // Absent switches are off.
    EXPECT_FALSE(a.showLog);
    EXPECT_FALSE(a.showTagsMenu);

    program("[BACKGROUNDCOLOR]clWhite\r\n[FONTSIZE]big\r\n[HELPLOG]1\r\n[SHOWTEGSTEMPLATES]T\r\n");
    a = ReadEditorAppearance();
    EXPECT_EQ(a.background, 0x00FFFFFF);
    EXPECT_EQ(a.fontSize, 10);
    EXPECT_TRUE(a.showLog);
    EXPECT_TRUE(a.showTagsMenu);

    program("[BACKGROUNDCOLOR]not a colour\r\n");
    EXPECT_EQ(ReadEditorAppearance().background, 0x00EAEEE8);
}

TEST(StartUpText, ClockAndCommandLine)
{
    EXPECT_EQ(ClockText(9, 5), QStringLiteral("9:05        "));
    EXPECT_EQ(ClockText(23, 59), QStringLiteral("23:59        "));
    EXPECT_EQ(VersionText(), "Veltmark 1.2.0.0");
    EXPECT_NE(std::string_view(CommandLineHelp()).find("PARENTDOC"), std::string_view::npos);
}

} // namespace
