#include "FormTest.h"

#include "app/Globals.h"
#include "editor/CaretContext.h"
#include "editor/Undo.h"
#include "store/OptionItems.h"
#include "store/OptionsStore.h"
#include "tools/ColourPicker.h"
#include "tools/ui/PaletteDialog.h"

#include <QAction>
#include <QMenu>

using testing_support::WriteBytes;

namespace {

class ColourCommandsTest : public testing_support::FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        WriteBytes(programFolder() + QStringLiteral("Program.ZEL"), "[HELPLOG]1\r\n[UNDOCOUNT]999\r\n[LOADLASTFILE]0\r\n[CL3TO6]0\r\n");
    }
    // The main window with the text, the picker answered by `answer`.
    TForm1& startWith(const QString& text)
    {
        TForm1& f = start();
        ResetOptions();
        Opt_ClearFile(opt::RColors, false);
        LoadingText = false;
        f.Memo1->setText(text);
        UndoReset();
        UndoSnapshot();
        f.pickColour = [this](TColor startColour, TColor* picked) {
            starts_ << startColour;
            if (!answer_)
                return false;
            *picked = *answer_;
            return true;
        };
        return f;
    }
    void select(int start, int length)
    {
        form_->Memo1->setSelStart(start);
        form_->Memo1->setSelLength(length);
    }
    void setShortColours(bool on)
    {
        Opt_SelectFile(opt::Program);
        Opt_Write(opt::CL3TO6, on ? QStringLiteral("1") : QStringLiteral("0"));
    }
    QStringList colourEntries() const
    {
        QStringList names;
        for (QAction* a : form_->MENU_RCLR->actions())
            if (a->objectName().contains(QStringLiteral("_COLOR_")))
                names << a->objectName() + QLatin1Char('=') + a->text().left(7);
        return names;
    }

    std::optional<TColor> answer_;
    QList<TColor> starts_;
};

TEST_F(ColourCommandsTest, ChangeAtTheCaretReplacesTheCodeAsOneStep)
{
    TForm1& f = startWith(QStringLiteral("a { color: #ff0000; }"));
    select(13, 0);
    answer_ = RgbColour(0x11, 0x22, 0x33);
    f.COLOR_CHANGE();
    ASSERT_EQ(starts_.size(), 1);
    EXPECT_EQ(starts_[0], RgbColour(255, 0, 0));
    EXPECT_EQ(f.Memo1->text(), QStringLiteral("a { color: #112233; }"));
    EXPECT_EQ(f.Memo1->selStart(), 11);
    EXPECT_EQ(f.Memo1->selLength(), 7);

    // The short form when the option allows it.
    setShortColours(true);
    answer_ = RgbColour(0xAA, 0xBB, 0xCC);
    f.COLOR_CHANGE();
    EXPECT_EQ(f.Memo1->text(), QStringLiteral("a { color: #ABC; }"));
    f.MENU_UNDOClick();
    EXPECT_EQ(f.Memo1->text(), QStringLiteral("a { color: #112233; }"));

    // Cancelled: the code stays, selected.
    answer_.reset();
    select(12, 0);
    f.COLOR_CHANGE();
    EXPECT_EQ(f.Memo1->text(), QStringLiteral("a { color: #112233; }"));
    EXPECT_EQ(f.Memo1->selText(), QStringLiteral("#112233"));

    // Off any code: no picker.
    select(1, 0);
    f.COLOR_CHANGE();
    EXPECT_EQ(starts_.size(), 3);
}

TEST_F(ColourCommandsTest, MenuListsDocumentAndRecentColours)
{
    TForm1& f = startWith(QStringLiteral("<p style=\"color:#abc\">x</p>\r\n<font color=#102030>y</font> #fff"));
    SaveRecentColor(RgbColour(0, 0, 255));
    SaveRecentColor(RgbColour(255, 0, 0));
    select(0, 0);
    f.MENU_RCLRClick();
    EXPECT_TRUE(f.MENU_CREATECOLOR->isEnabled());
    EXPECT_FALSE(f.MENU_CHANGECOLOR->isEnabled());
    // Document colours newest first below their heading, then the recent ones.
    EXPECT_EQ(colourEntries(), (QStringList{"DOC_COLOR_2=#FFFFFF", "DOC_COLOR_1=#102030", "DOC_COLOR_0=#AABBCC",
                                            "RECENT_COLOR_0=#FF0000", "RECENT_COLOR_1=#0000FF"}));
    auto* red = f.MENU_RCLR->findChild<QAction*>(QStringLiteral("RECENT_COLOR_0"));
    EXPECT_EQ(red->text(), ColourEntryCaption(QStringLiteral("#FF0000")));
    EXPECT_FALSE(red->icon().isNull());

    // Opened again with the caret on a code: "Изменить" instead, entries not doubled.
    select(18, 0);
    f.MENU_RCLRClick();
    EXPECT_FALSE(f.MENU_CREATECOLOR->isEnabled());
    EXPECT_TRUE(f.MENU_CHANGECOLOR->isEnabled());
    EXPECT_EQ(colourEntries().size(), 5);

    // An entry swaps the code under the caret...
    f.MENU_RCLR->findChild<QAction*>(QStringLiteral("RECENT_COLOR_1"))->trigger();
    EXPECT_TRUE(f.Memo1->text().startsWith(QStringLiteral("<p style=\"color:#00F\">")));
    // ...or, elsewhere, is inserted and selected (short with CL3TO6).
    setShortColours(true);
    select(0, 0);
    f.RECENT_CLRClick(ColourEntryCaption(QStringLiteral("#FFFFFF")));
    EXPECT_EQ(f.Memo1->selText(), QStringLiteral("#FFF"));
    EXPECT_EQ(f.Memo1->selStart(), 0);
}

TEST_F(ColourCommandsTest, CreateInsertsACodeAndPicksItInOneStep)
{
    TForm1& f = startWith(QStringLiteral("color: ;"));
    select(7, 0);
    answer_ = RgbColour(0x12, 0x34, 0x56);
    f.MENU_CREATECOLORClick();
    EXPECT_EQ(starts_.value(0), RgbColour(0, 0, 0));
    EXPECT_EQ(f.Memo1->text(), QStringLiteral("color: #123456;"));
    EXPECT_EQ(f.Memo1->selText(), QStringLiteral("#123456"));
    f.MENU_UNDOClick();
    EXPECT_EQ(f.Memo1->text(), QStringLiteral("color: ;"));

    // Cancelled: "#000000" stays.
    answer_.reset();
    select(7, 0);
    f.MENU_CREATECOLORClick();
    EXPECT_EQ(f.Memo1->text(), QStringLiteral("color: #000000;"));

    // "color: выбор цвета" in the pop-up.
    f.Memo1->setText(QStringLiteral("p{}"));
    select(2, 0);
    answer_ = RgbColour(0, 0x80, 0);
    f.MENU_RGBSEL->trigger();
    EXPECT_EQ(f.Memo1->text(), QStringLiteral("p{color:#008000;}"));
    EXPECT_TRUE(f.MENU_STYLE->menuAction()->isEnabled());
}

TEST_F(ColourCommandsTest, ThePickerIsTheProgramsOwn)
{
    TForm1& f = start();
    ASSERT_NE(f.PALETTE_DIALOG, nullptr);
    EXPECT_EQ(f.PALETTE_DIALOG->objectName(), QStringLiteral("PALETTE_DIALOG"));
    EXPECT_EQ(f.PALETTE_DIALOG->parentWidget(), &f);
}

} // namespace
