// The font style dialog over the main window. A recording browser stands
// in for the sample everywhere but in the one test with the real engine.
#include "FormTest.h"

#include "app/Globals.h"
#include "editor/Undo.h"
#include "preview/ui/PageBrowser.h"
#include "tools/ui/FontDialog.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFontDatabase>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>

using testing_support::WriteBytes;

namespace {

// Keeps what it was given to show.
class RecordingBrowser : public PageBrowser {
public:
    explicit RecordingBrowser(QWidget* parent)
        : PageBrowser(parent)
        , view_(new QLabel(parent))
    {
    }
    QWidget* widget() override { return view_; }
    void navigate(const QUrl&) override {}
    void loadHtml(const QString& html, const QUrl& base) override
    {
        pages << html;
        bases << base;
    }
    void back() override {}
    void forward() override {}
    void reload() override {}
    QUrl location() const override { return {}; }
    QString title() const override { return {}; }
    int scrollTop() const override { return 0; }
    void scrollTo(int, int) override {}
    QImage pagePicture() override { return {}; }
    void evaluate(const QString&, const std::function<void(const QVariant&)>&) override {}

    QStringList pages;
    QList<QUrl> bases;

private:
    QLabel* view_;
};

class FontDialogTest : public testing_support::FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        WriteBytes(programFolder() + QStringLiteral("Program.ZEL"), "[HELPLOG]1\r\n[UNDOCOUNT]999\r\n[LOADLASTFILE]0\r\n");
        TFONTFORM::SampleBrowserForTests = [this](QWidget* parent) { return browser_ = new RecordingBrowser(parent); };
    }
    void TearDown() override
    {
        TFONTFORM::SampleBrowserForTests = nullptr;
        FormTest::TearDown();
    }
    // The main window with the text and the selection, the dialog open.
    TFONTFORM& openWith(const QString& text, int selStart, int selLength, const QStringList& args = {})
    {
        TForm1& f = start(args);
        LoadingText = false;
        f.Memo1->setText(text);
        f.Memo1->setSelStart(selStart);
        f.Memo1->setSelLength(selLength);
        UndoReset();
        UndoSnapshot();
        f.FONTBUT->click();
        return *f.FONTFORM;
    }
    QString lastSample() const { return browser_ && !browser_->pages.isEmpty() ? browser_->pages.back() : QString(); }

    RecordingBrowser* browser_ = nullptr;
};

TEST_F(FontDialogTest, OpensWithEveryControlAtItsDefault)
{
    TForm1& f = start();
    EXPECT_TRUE(f.FONTBUT->isEnabled());
    EXPECT_EQ(browser_, nullptr); // no browser before the first showing
    f.FONTBUT->click();
    TFONTFORM* d = f.FONTFORM;
    ASSERT_TRUE(d->isVisible());
    EXPECT_EQ(d->objectName(), QStringLiteral("FONTFORM"));
    EXPECT_EQ(d->windowTitle(), QStringLiteral("Шрифт"));
    EXPECT_EQ(d->windowModality(), Qt::ApplicationModal);

    const struct {
        const char* name;
        const char* caption;
        bool checked;
    } boxes[] = {
        {"SHORT", "Сокращенная запись стиля", true}, {"_CFONTSIZE", "Размер", false},
        {"_COLOR", "Цвет букв", false}, {"_SCOLOR", "Фон строки", false},
        {"_CLINEHEIGHT", "Высота строки", false}, {"_ITALIC", "Курсив", false},
        {"_BOLD", "Жирный", false}, {"_CLSPACING", "Между символами", false},
        {"_UNDERLINE", "Подчеркнутый", false}, {"_CROSS", "Зачеркнутый", false},
        {"_CWSPACING", "Между словами", false}, {"_OVERLINE", "Надчеркнутый", false},
        {"_CAPITALIZE", "Каждое слово с большой буквы", false}, {"_UPPERCASE", "Все буквы большие", false},
        {"_LOWERCASE", "Все буквы малые", false}, {"_SMALLCAPS", "Малые буквы по виду как большие", false},
        {"_NOWRAP", "Не переносить на новую строку", false},
    };
    for (const auto& b : boxes) {
        const auto* box = d->findChild<QCheckBox*>(QString::fromLatin1(b.name));
        ASSERT_NE(box, nullptr) << b.name;
        EXPECT_EQ(box->text(), QString::fromUtf8(b.caption)) << b.name;
        EXPECT_EQ(box->isChecked(), b.checked) << b.name;
    }
    const struct {
        const char* name;
        const char* caption;
        bool checked;
    } radios[] = {
        {"_TOSTYLE", "Вставить в стиль", true}, {"_NEWSTYLE", "style=''", false},
        {"_NEWFONT", "<font style=''></font>", false}, {"_NEWDIV", "<div style=''></div>", false},
        {"_TODOC", "В документ", true}, {"_TOBUF", "В буфер обмена", false},
    };
    for (const auto& r : radios) {
        const auto* radio = d->findChild<QRadioButton*>(QString::fromLatin1(r.name));
        ASSERT_NE(radio, nullptr) << r.name;
        EXPECT_EQ(radio->text(), QString::fromUtf8(r.caption)) << r.name;
        EXPECT_EQ(radio->isChecked(), r.checked) << r.name;
    }
    const QStringList units = {"px", "pt", "mm", "cm", "pc", "in", "em", "ex"};
    const struct {
        QSpinBox* spin;
        int value;
        QComboBox* unit;
        bool emptyFirst;
    } numbers[] = {
        {d->_FONTSIZE, 13, d->_UFONTSIZE, false},
        {d->_LINEHEIGHT, 18, d->_ULINEHEIGHT, false},
        {d->_LSPACING, 0, d->_ULSPACING, true},
        {d->_WSPACING, 0, d->_UWSPACING, true},
    };
    for (const auto& n : numbers) {
        EXPECT_EQ(n.spin->value(), n.value) << n.spin->objectName().toStdString();
        EXPECT_EQ(n.spin->minimum(), 0);
        EXPECT_EQ(n.spin->maximum(), 1000);
        QStringList items;
        for (int i = 0; i < n.unit->count(); ++i)
            items << n.unit->itemText(i);
        EXPECT_EQ(items, n.emptyFirst ? QStringList{QString()} + units : units) << n.unit->objectName().toStdString();
        EXPECT_EQ(n.unit->currentIndex(), 0);
    }
    // Families a page can name: no foundry, each once.
    const QStringList families = PageFontFamilies(QFontDatabase::families());
    EXPECT_FALSE(families.isEmpty());
    for (const QString& family : families) {
        EXPECT_FALSE(family.contains(u'[')) << family.toStdString();
        EXPECT_EQ(families.count(family), 1) << family.toStdString();
    }
    for (QComboBox* fonts : {d->FONTNAME, d->PARENTFONT}) {
        EXPECT_TRUE(fonts->isEditable());
        EXPECT_EQ(fonts->maxVisibleItems(), 30);
        EXPECT_EQ(fonts->currentText(), QStringLiteral("По умолчанию"));
        QStringList items;
        for (int i = 0; i < fonts->count(); ++i)
            items << fonts->itemText(i);
        EXPECT_EQ(items, QStringList{QStringLiteral("По умолчанию")} + families);
    }
    EXPECT_EQ(d->FontColour, 0xFFFFFF);
    EXPECT_EQ(d->StrColour, 0xFFFFFF);
    EXPECT_EQ(d->Button1->text(), QStringLiteral("OK"));

    // The empty style, shown at once in the label and the sample.
    EXPECT_EQ(d->styleText(), QString());
    EXPECT_EQ(d->STYLELABEL->text(), QStringLiteral("  style= {  } "));
    ASSERT_NE(browser_, nullptr);
    EXPECT_EQ(d->VIEW, browser_);
    EXPECT_EQ(lastSample(), d->samplePage());
    EXPECT_TRUE(lastSample().contains(QStringLiteral("<font style=''>Пример строки")));
}

TEST_F(FontDialogTest, ControlsRebuildTheStyleAsTheyChange)
{
    TFONTFORM& d = openWith(QStringLiteral("x"), 0, 0);
    using Step = std::function<void(TFONTFORM&)>;
    // Each step acts on the dialog as left by the previous ones.
    const struct {
        const char* what;
        Step step;
        const char* style;
    } steps[] = {
        {"bold alone gives the shorthand", [](TFONTFORM& d) { d._BOLD->click(); }, "font:bold;"},
        {"size", [](TFONTFORM& d) { d._CFONTSIZE->click(); }, "font:bold 13px;"},
        {"line height joins the size", [](TFONTFORM& d) { d._CLINEHEIGHT->click(); }, "font:bold 13px/18px;"},
        {"a typed name waits", [](TFONTFORM& d) {
             d.FONTNAME->lineEdit()->selectAll();
             QTest::keyClicks(d.FONTNAME->lineEdit(), QStringLiteral("Arial"));
         },
         "font:bold 13px/18px;"},
        {"leaving the name takes it", [](TFONTFORM& d) { Q_EMIT d.FONTNAME->lineEdit()->editingFinished(); },
         "font:bold 13px/18px Arial;"},
        {"long notation", [](TFONTFORM& d) { d.SHORT->click(); },
         "font-weight:bold;font-size:13px;line-height:18px;font-family:Arial;"},
        {"a unit", [](TFONTFORM& d) { d._UFONTSIZE->setCurrentText(QStringLiteral("pt")); },
         "font-weight:bold;font-size:13pt;line-height:18px;font-family:Arial;"},
        {"a number", [](TFONTFORM& d) { d._FONTSIZE->setValue(20); },
         "font-weight:bold;font-size:20pt;line-height:18px;font-family:Arial;"},
        {"back to short, size off: line height and family apart", [](TFONTFORM& d) {
             d.SHORT->click();
             d._CFONTSIZE->click();
         },
         "font:bold;font-family:Arial;line-height:18px;"},
        {"capitalize", [](TFONTFORM& d) { d._CAPITALIZE->click(); },
         "font:bold;font-family:Arial;line-height:18px;text-transform:capitalize;"},
        {"uppercase unchecks capitalize", [](TFONTFORM& d) { d._UPPERCASE->click(); },
         "font:bold;font-family:Arial;line-height:18px;text-transform:uppercase;"},
        {"an emptied name updates at once", [](TFONTFORM& d) { d.FONTNAME->setEditText(QString()); },
         "font:bold;line-height:18px;text-transform:uppercase;"},
    };
    for (const auto& s : steps) {
        s.step(d);
        EXPECT_EQ(d.styleText(), QString::fromUtf8(s.style)) << s.what;
        EXPECT_EQ(d.STYLELABEL->text(), QStringLiteral("  style= { ") + QString::fromUtf8(s.style) + QStringLiteral(" } "))
            << s.what;
        EXPECT_TRUE(lastSample().contains(QStringLiteral("style='") + QString::fromUtf8(s.style) + QStringLiteral("'>")))
            << s.what;
    }
    EXPECT_FALSE(d._CAPITALIZE->isChecked());
    // Left blank, the name is the default again.
    Q_EMIT d.FONTNAME->lineEdit()->editingFinished();
    EXPECT_EQ(d.FONTNAME->currentText(), QStringLiteral("По умолчанию"));
}

TEST_F(FontDialogTest, SwatchesAskThePickerAndCheckTheirBoxes)
{
    TFONTFORM& d = openWith(QStringLiteral("x"), 0, 0);
    QList<TColor> starts;
    std::optional<TColor> answer = 0x0000FF; // red
    form_->pickColour = [&](TColor start, TColor* picked) {
        starts << start;
        if (answer)
            *picked = *answer;
        return answer.has_value();
    };
    QTest::mouseClick(d.FONTCOLOR, Qt::LeftButton);
    EXPECT_TRUE(d._COLOR->isChecked());
    EXPECT_EQ(d.styleText(), QStringLiteral("color:#F00;"));
    answer.reset(); // cancelled: the swatch keeps its colour, the box is checked
    QTest::mouseClick(d.STRCOLOR, Qt::LeftButton);
    EXPECT_TRUE(d._SCOLOR->isChecked());
    EXPECT_EQ(d.styleText(), QStringLiteral("color:#F00;background:#FFF;"));
    EXPECT_EQ(starts, (QList<TColor>{0xFFFFFF, 0xFFFFFF}));
    d.SHORT->click();
    EXPECT_EQ(d.styleText(), QStringLiteral("color:#FF0000;background-color:#FFFFFF;"));
}

TEST_F(FontDialogTest, OkPutsItsFormIntoTheDocumentAsOneStepOrOntoTheClipboard)
{
    const struct {
        const char* what;
        const char* output; // the radio button
        bool bold;
        const char* currentClass;
        bool toClipboard;
        const char* text;   // "слово" selected
        const char* result; // the editor's text afterwards, or the clipboard
    } rows[] = {
        {"empty style as an attribute", "_NEWSTYLE", false, "", false, "<p слово>", "<p style=''>"},
        {"into a style", "_TOSTYLE", true, "", false, "style='слово'", "style='font:bold;'"},
        {"font wraps the selection", "_NEWFONT", true, "", false, "a слово b", "a <font style='font:bold;'>слово</font> b"},
        {"font without a selection", "_NEWFONT", true, "", false, "a  b", "a <font style='font:bold;'></font> b"},
        {"div with the current class", "_NEWDIV", true, "menu", false, "a слово b",
         "a <div class=menu style='font:bold;'>слово</div> b"},
        {"clipboard: nothing between the tags", "_NEWFONT", true, "menu", true, "a слово b",
         "<font class=menu style='font:bold;'></font>"},
        {"clipboard: the attribute", "_NEWSTYLE", true, "", true, "a слово b", "style='font:bold;'"},
    };
    for (const auto& r : rows) {
        const QString text = QString::fromUtf8(r.text);
        const int at = int(text.indexOf(QStringLiteral("слово")));
        // A fresh window for each row: the dialog keeps its settings.
        TForm1& f = start();
        f.CLASSESSEL->setEditText(QString::fromUtf8(r.currentClass));
        LoadingText = false;
        f.Memo1->setText(text);
        f.Memo1->setSelStart(at >= 0 ? at : 2);
        f.Memo1->setSelLength(at >= 0 ? 5 : 0);
        UndoReset();
        UndoSnapshot();
        f.FONTBUT->click();
        TFONTFORM& d = *f.FONTFORM;
        QApplication::clipboard()->setText(QStringLiteral("before"));
        if (r.bold)
            d._BOLD->click();
        d.findChild<QRadioButton*>(QString::fromLatin1(r.output))->click();
        (r.toClipboard ? d._TOBUF : d._TODOC)->click();
        EXPECT_EQ(form_->Memo1->text(), text) << r.what; // nothing before OK
        d.Button1->click();
        EXPECT_FALSE(d.isVisible()) << r.what;
        if (r.toClipboard) {
            EXPECT_EQ(QApplication::clipboard()->text(), QString::fromUtf8(r.result)) << r.what;
            EXPECT_EQ(form_->Memo1->text(), text) << r.what;
            EXPECT_FALSE(form_->MENU_UNDO->isEnabled()) << r.what;
        } else {
            EXPECT_EQ(form_->Memo1->text(), QString::fromUtf8(r.result)) << r.what;
            EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("before")) << r.what;
            form_->MENU_UNDOClick();
            EXPECT_EQ(form_->Memo1->text(), text) << r.what;
        }
        form_.reset();
    }
}

TEST_F(FontDialogTest, TypedMarkupStaysOutOfTheSampleAndTheEditorUntilOk)
{
    TFONTFORM& d = openWith(QStringLiteral("ab"), 1, 0);
    QCoreApplication::sendPostedEvents();
    const int width = d.width();
    const QString name = QStringLiteral("x'><script>alert(1)</script>") + QString(200, u'W');
    d.FONTNAME->setEditText(name);
    Q_EMIT d.FONTNAME->lineEdit()->editingFinished();
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(d.width(), width); // the label wraps the long style
    EXPECT_EQ(d.styleText(), QStringLiteral("font-family:") + name + QStringLiteral(";"));
    EXPECT_FALSE(lastSample().contains(QStringLiteral("<script"), Qt::CaseInsensitive));
    EXPECT_TRUE(lastSample().contains(QStringLiteral("content=\"script-src 'none'\"")));
    EXPECT_EQ(d.STYLELABEL->textFormat(), Qt::PlainText);
    EXPECT_EQ(form_->Memo1->text(), QStringLiteral("ab"));
    d.Button1->click();
    EXPECT_EQ(form_->Memo1->text(), QStringLiteral("afont-family:") + name + QStringLiteral(";b"));
}

TEST_F(FontDialogTest, SampleLinksTheDocumentsStyleSheetsForAClass)
{
    const QString folder = programFolder() + QStringLiteral("my site/");
    QDir().mkpath(folder);
    const QString page = folder + QStringLiteral("page.html");
    WriteBytes(page, "<html><head><link rel=stylesheet href=css/site.css></head><body>x</body></html>\r\n");
    TForm1& f = start({page});
    LoadingText = false;
    f.FONTBUT->click();
    EXPECT_EQ(f.FONTFORM->linkBlock(), QString()); // no class, no sheets
    EXPECT_TRUE(lastSample().startsWith(QStringLiteral("<HTML><HEAD><meta http-equiv=\"Content-Security-Policy\" "
                                                       "content=\"script-src 'none'\"></HEAD><BODY><font style=''>")));
    f.FONTFORM->close();

    f.CLASSESSEL->setEditText(QStringLiteral("menu"));
    f.FONTBUT->click();
    const QString link = QStringLiteral("<link rel=stylesheet type=\"text/css\" href=file://")
        + QString(folder).replace(u' ', QStringLiteral("%20")) + QStringLiteral("css/site.css>\r\n");
    EXPECT_EQ(f.FONTFORM->linkBlock(), link);
    EXPECT_TRUE(lastSample().contains(link + QStringLiteral("</HEAD><BODY><font class=menu style=''>")));
    EXPECT_EQ(browser_->bases.back(), QUrl::fromLocalFile(folder));
    EXPECT_EQ(f.FONTFORM->STYLELABEL->text(), QStringLiteral(" class=menu  style= {  } "));
}

TEST_F(FontDialogTest, TagToolPanelFontButtonOpensTheDialog)
{
    TForm1& f = start();
    auto* button = f.TXTOOLS->findChild<QToolButton*>(QStringLiteral("ToolButton16"));
    ASSERT_NE(button, nullptr);
    EXPECT_TRUE(button->isEnabled());
    f.TXTOOLS->show();
    button->click();
    EXPECT_TRUE(f.FONTFORM->isVisible());
    EXPECT_FALSE(f.TXTOOLS->isVisible());
}

// The one test with the web engine: the sample is on show, and markup typed
// as a font name is the style's text, not the page's.
TEST_F(FontDialogTest, TheEngineShowsTheSample)
{
    TFONTFORM::SampleBrowserForTests = nullptr;
    TForm1& f = start();
    f.FONTFORM->FONTNAME->setEditText(QStringLiteral("x'><script>document.title='injected'</script>"));
    f.FONTFORM->SHORT->setChecked(false); // today's engines refuse a shorthand without size and family
    f.FONTBUT->click();
    PageBrowser* view = f.FONTFORM->VIEW;
    ASSERT_NE(view, nullptr) << f.FONTFORM->findChild<QLabel*>(QStringLiteral("VIEWERROR"))->text().toStdString();
    QSignalSpy loaded(view, &PageBrowser::documentComplete);
    f.FONTFORM->_BOLD->click();
    ASSERT_TRUE(loaded.wait(30000) || !loaded.isEmpty());
    QVariant shown;
    bool answered = false;
    const auto ask = [&](const QString& script) {
        answered = false;
        view->evaluate(script, [&](const QVariant& v) {
            shown = v;
            answered = true;
        });
        return QTest::qWaitFor([&] { return answered; }, 30000);
    };
    // The last page loaded is the bold one.
    EXPECT_TRUE(QTest::qWaitFor([&] {
        return ask(QStringLiteral("document.body.innerText + '|' + document.querySelector('font').style.fontWeight"))
            && shown.toString().startsWith(QStringLiteral("Пример строки - таким будет текст"))
            && shown.toString().endsWith(QStringLiteral("|bold"));
    }, 30000)) << shown.toString().toStdString();
    ASSERT_TRUE(ask(QStringLiteral("document.title + '|' + document.scripts.length")));
    EXPECT_EQ(shown.toString(), QStringLiteral("|0"));
    f.FONTFORM->close();
}

} // namespace
