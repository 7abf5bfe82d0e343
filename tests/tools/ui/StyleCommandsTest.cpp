#include "FormTest.h"

#include "app/Globals.h"
#include "app/Install.h"
#include "editor/Undo.h"
#include "store/OptionItems.h"
#include "store/OptionsStore.h"
#include "tools/ColourPicker.h"
#include "tools/ui/NumberDialog.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QToolButton>
#include <utility>

using testing_support::WriteBytes;

namespace {

class StyleCommandsTest : public testing_support::FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        WriteBytes(programFolder() + QStringLiteral("Program.ZEL"),
                   "[HELPLOG]1\r\n[UNDOCOUNT]999\r\n[LOADLASTFILE]0\r\n[CL3TO6]0\r\n");
        Opt_WriteFileText(opt::StyleHelp, DefaultSectionItems(opt::StyleHelp).join(QStringLiteral("---")),
                          QStringLiteral("---"));
    }
    // The main window with the text; "[...]" marks the selection, "|" the caret.
    TForm1& startWith(const QString& marked)
    {
        TForm1& f = start();
        ResetOptions();
        setMarked(marked);
        f.pickColour = [this](TColor startColour, TColor* picked) {
            starts_ << startColour;
            if (!colour_)
                return false;
            *picked = *colour_;
            return true;
        };
        return f;
    }
    void setMarked(const QString& marked)
    {
        QString text = marked;
        const int start = int(text.indexOf(QRegularExpression(QStringLiteral("[\\[|]"))));
        const bool selection = text[start] == u'[';
        text.remove(start, 1);
        const int end = selection ? int(text.indexOf(u']')) : start;
        if (selection)
            text.remove(end, 1);
        LoadingText = false;
        form_->Memo1->setText(text);
        form_->Memo1->setSelStart(start);
        form_->Memo1->setSelLength(end - start);
        UndoReset();
        UndoSnapshot();
    }
    QString marked() const
    {
        QString text = form_->Memo1->text();
        const int start = form_->Memo1->selStart();
        const int length = form_->Memo1->selLength();
        if (length == 0)
            return text.insert(start, u'|');
        return text.insert(start + length, u']').insert(start, u'[');
    }
    // A value entry of the reference by its captions, the pop-up built.
    QAction* valueEntry(const QString& group, const QString& property, const QString& value)
    {
        form_->STYLEBUT->click();
        form_->STYLEPOPUP->hide();
        const QStringList path = {group, property, value};
        QMenu* menu = form_->STYLEPOPUP;
        for (int i = 0; i < 3 && menu; ++i) {
            QMenu* in = std::exchange(menu, nullptr);
            for (QAction* a : in->actions())
                if (a->text() == path[i]) {
                    if (i == 2)
                        return a;
                    menu = a->menu();
                    break;
                }
        }
        return nullptr;
    }

    std::optional<TColor> colour_;
    QList<TColor> starts_;
};

TEST_F(StyleCommandsTest, TheButtonBuildsTheReferenceFromStyleHelpOncePerRun)
{
    Opt_ClearFile(opt::StyleHelp, false);
    TForm1& f = startWith(QStringLiteral("|"));
    EXPECT_TRUE(f.STYLEBUT->isEnabled());
    EXPECT_EQ(f.STYLEBUT->toolTip(), QStringLiteral("Мини-справочник по CSS"));
    const auto visibleEntries = [this] {
        QStringList captions;
        for (QAction* a : form_->STYLEPOPUP->actions())
            if (a->isVisible())
                captions << a->text();
        return captions;
    };
    // An empty section builds nothing, and the next click reads it again.
    f.STYLEBUT->click();
    EXPECT_TRUE(visibleEntries().isEmpty());
    Opt_WriteFileText(opt::StyleHelp, DefaultSectionItems(opt::StyleHelp).join(QStringLiteral("---")),
                      QStringLiteral("---"));
    f.STYLEBUT->click();
    f.STYLEBUT->click();
    f.STYLEPOPUP->hide();
    EXPECT_EQ(visibleEntries().size(), 6);

    // Edited by hand: the menu changes with the next run.
    WriteBytes(programFolder() + QStringLiteral("StyleHelp.ZEL"), "[=early]\r\n[Мой]\r\n[=lost]\r\n[-gap]\r\n[=2px]\r\n");
    f.STYLEBUT->click();
    f.STYLEPOPUP->hide();
    EXPECT_EQ(visibleEntries().size(), 6);
    TForm1& next = startWith(QStringLiteral("|"));
    QAction* gap = valueEntry(QStringLiteral("Мой"), QStringLiteral("gap"), QStringLiteral("2px"));
    EXPECT_EQ(visibleEntries(), QStringList({"Мой"}));
    ASSERT_NE(gap, nullptr);
    gap->trigger();
    EXPECT_EQ(next.Memo1->text(), QStringLiteral("gap:2px;"));
}

TEST_F(StyleCommandsTest, EachValuePutsItsDeclarationAtTheCaretAsOneUndoStep)
{
    const struct {
        const char* group;
        const char* property;
        const char* value;
        const char* before;
        const char* path;       // the path chooser's answer
        std::optional<TColor> colour; // the picker's answer
        const char* after;
        int pickerAsked;
    } cases[] = {
        {"Отображение", "display", "block", "a{[x]}", "", {}, "a{display:block;|}", 0},
        {"Расположение", "margin", "множество_параметров", "a{|}", "", {}, "a{margin:|;}", 0},
        {"Фон", "background-image", "выбор_пути", "a{|}", "", {}, "a{background-image:URL(|);}", 0},
        {"Фон", "background-image", "выбор_пути", "a{[x]}", "pics/my bg.png", {}, "a{background-image:URL(pics/my%20bg.png);|}", 0},
        // Two properties "color", one in each group, each with its own value;
        // the picker selects the code it opens on.
        {"Отображение", "color", "выбор_цвета", "a{[x]}", "", {}, "a{color:[#000];}", 1},
        {"Текст и шрифт", "color", "выбор_цвета", "a{|}", "", RgbColour(0x11, 0x22, 0x33), "a{color:[#112233];}", 1},
    };
    for (const auto& c : cases) {
        const QString before = QString::fromUtf8(c.before);
        TForm1& f = startWith(before);
        colour_ = c.colour;
        starts_.clear();
        if (*c.path)
            prompts_.fileNames.push_back(programFolder() + QString::fromUtf8(c.path));
        QAction* entry = valueEntry(QString::fromUtf8(c.group), QString::fromUtf8(c.property), QString::fromUtf8(c.value));
        ASSERT_NE(entry, nullptr) << c.property;
        entry->trigger();
        EXPECT_EQ(marked(), QString::fromUtf8(c.after)) << c.value;
        EXPECT_EQ(starts_.size(), c.pickerAsked) << c.value;
        if (c.pickerAsked) {
            EXPECT_EQ(starts_.value(0), RgbColour(0, 0, 0));
        }
        EXPECT_EQ(Undo().count(), 1) << c.value;
        f.MENU_UNDOClick();
        EXPECT_EQ(marked(), before) << c.value;
    }
}

TEST_F(StyleCommandsTest, TheFontValueAsksForTheFontDialogInPlaceOfTheSelection)
{
    TForm1& f = startWith(QStringLiteral("a{[x]}"));
    QStringList asked;
    f.askFontStyle = [&] { asked << marked(); };
    QAction* font = valueEntry(QStringLiteral("Текст и шрифт"), QStringLiteral("font"), QStringLiteral("выбор_шрифта"));
    ASSERT_NE(font, nullptr);
    font->trigger();
    EXPECT_EQ(asked, QStringList({"a{|}"}));
    EXPECT_EQ(marked(), QStringLiteral("a{|}"));
    f.MENU_UNDOClick();
    EXPECT_EQ(marked(), QStringLiteral("a{[x]}"));
}

TEST_F(StyleCommandsTest, NumbersGoInOnlyWhenTheNumberDialogTakesThem)
{
    TForm1& f = startWith(QStringLiteral("a{|}"));
    TNUM_INSERT* d = f.NUM_INSERT;
    QAction* width = valueEntry(QStringLiteral("Расположение"), QStringLiteral("width"), QStringLiteral("численное_значение"));
    ASSERT_NE(width, nullptr);
    width->trigger();
    ASSERT_TRUE(d->isVisible());
    EXPECT_EQ(d->windowTitle(), QStringLiteral("width:"));
    const struct {
        const char* entry;
        const char* notice;
    } refused[] = {
        {"", "Введите число"},
        {"1.5", "Неверное численное значение"},
        {"5-", "Неверное численное значение"},
        {"-", "Неверное численное значение"},
    };
    for (const auto& r : refused) {
        d->CNT->setText(QString::fromUtf8(r.entry));
        d->OKBUT->click();
        EXPECT_TRUE(d->isVisible()) << r.entry;
        EXPECT_EQ(prompts_.shown.back().text, QString::fromUtf8(r.notice)) << r.entry;
    }
    d->CNT->setText(QStringLiteral("100"));
    d->UNITS->setCurrentText(QStringLiteral("px"));
    d->OKBUT->click();
    EXPECT_FALSE(d->isVisible());
    EXPECT_EQ(marked(), QStringLiteral("a{width:100px;|}"));
    EXPECT_EQ(Undo().count(), 1);
    // Shown again: the number is cleared, the unit kept; closed, nothing.
    width->trigger();
    EXPECT_TRUE(d->CNT->text().isEmpty());
    EXPECT_EQ(d->UNITS->currentText(), QStringLiteral("px"));
    d->CNT->setText(QStringLiteral("5"));
    d->reject();
    EXPECT_EQ(marked(), QStringLiteral("a{width:100px;|}"));

    // The pop-up's own entry: closing keeps the selection, a number replaces it.
    EXPECT_TRUE(f.MENU_STYLE->actions().contains(f.MENU_NUMINSRT));
    EXPECT_EQ(f.MENU_NUMINSRT->text(), QStringLiteral("Число с единицами измерения"));
    setMarked(QStringLiteral("a:[x];"));
    f.MENU_NUMINSRT->trigger();
    EXPECT_EQ(d->windowTitle(), QStringLiteral("Численное значение"));
    d->reject();
    EXPECT_EQ(marked(), QStringLiteral("a:[x];"));
    f.MENU_NUMINSRT->trigger();
    d->CNT->setText(QStringLiteral("-5"));
    d->UNITS->setCurrentText(QStringLiteral("em"));
    d->OKBUT->click();
    EXPECT_EQ(marked(), QStringLiteral("a:-5em|;"));
    // A number too long for any integer goes in as typed.
    f.MENU_NUMINSRT->trigger();
    d->CNT->setText(QStringLiteral("123456789012345678901234567890"));
    d->UNITS->setCurrentText(QString());
    d->OKBUT->click();
    EXPECT_EQ(marked(), QStringLiteral("a:-5em123456789012345678901234567890|;"));
}

} // namespace
