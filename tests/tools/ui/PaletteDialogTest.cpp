#include "TestSupport.h"

#include "tools/ColourPicker.h"
#include "tools/ui/PaletteDialog.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <memory>

using testing_support::IsolatedTest;

namespace {

QString Web(TColor c) { return ColorToWeb(c, false); }

class PaletteDialogTest : public IsolatedTest {
protected:
    void SetUp() override
    {
        IsolatedTest::SetUp();
        dialog_ = std::make_unique<TPALETTE_DIALOG>();
    }
    void TearDown() override
    {
        dialog_.reset();
        IsolatedTest::TearDown();
    }
    // The picker as a caller shows it, but without blocking.
    void open(TColor start)
    {
        dialog_->prepare(start);
        dialog_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog_.get()));
    }
    // A mouse event at a point of the screen, delivered to the widget.
    static void mouse(QWidget* w, QEvent::Type type, const QPoint& global)
    {
        const bool press = type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick;
        const bool release = type == QEvent::MouseButtonRelease;
        QMouseEvent e(type, QPointF(w->mapFromGlobal(global)), QPointF(global),
                      press || release ? Qt::LeftButton : Qt::NoButton,
                      release ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    }
    static QPoint at(QWidget* w, int x, int y) { return w->mapToGlobal(QPoint(x, y)); }

    std::unique_ptr<TPALETTE_DIALOG> dialog_;
};

TEST_F(PaletteDialogTest, WindowAndNamedParts)
{
    EXPECT_EQ(dialog_->objectName(), "PALETTE_DIALOG");
    EXPECT_EQ(dialog_->windowTitle(), "Prismato Palette");
    EXPECT_EQ(dialog_->size(), QSize(467, 429));
    EXPECT_TRUE(dialog_->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(dialog_->windowFlags() & Qt::WindowStaysOnTopHint);
    for (const char* name : {"HUE_CANVAS", "HUE_SELECTOR", "HUE_COLORFRAME", "HUE_UP", "HUE_DOWN", "PALETTE_CANVAS",
                             "COLOR_SELECTOR", "COLOR_COLORFRAME", "LIG_UP", "LIG_DOWN", "SAT_UP", "SAT_DOWN",
                             "LIG_SELECTOR", "SAT_SELECTOR", "COLOR_MAX", "COLOR_DESAT", "COLOR_MAXSAT",
                             "COLOR_SHADOW", "R_INPUT", "G_INPUT", "B_INPUT", "HUE_INPUT", "SAT_INPUT", "LIG_INPUT",
                             "WEB_COLOR", "COLOR_IMPORTED", "COLOR_NEW", "Image3", "Image4", "WEBCOLORMODE_POPUP",
                             "OK_BUT", "CLOSEBUTTON"})
        EXPECT_NE(dialog_->findChild<QObject*>(QLatin1String(name)), nullptr) << name;
    EXPECT_EQ(dialog_->HUE_CANVAS->geometry(), QRect(337, 43, 29, 361));
    EXPECT_EQ(dialog_->PALETTE_CANVAS->geometry(), QRect(8, 43, 256, 256));
    EXPECT_EQ(dialog_->OK_BUT->text(), "OK");
    // The strip: row r shows hue 360 - r.
    const QImage& strip = dialog_->HUE_CANVAS->image();
    EXPECT_EQ(strip.pixelColor(5, 360), QColor(255, 0, 0));
    EXPECT_EQ(strip.pixelColor(5, 120), QColor(0, 0, 255));
    EXPECT_EQ(strip.pixelColor(5, 330), QColor(255, 127, 0));
}

TEST_F(PaletteDialogTest, OkReturnsTheColourOrTheSquaresPixelAndRemembersIt)
{
    open(RgbColour(128, 128, 128));
    EXPECT_EQ(dialog_->COLOR_IMPORTED->colour(), QColor(128, 128, 128));
    EXPECT_EQ(dialog_->HUE_INPUT->text(), "300");
    EXPECT_EQ(dialog_->LIG_INPUT->text(), "50");
    // The point sits at (saturation 0, lightness 127).
    EXPECT_EQ(dialog_->COLOR_SELECTOR->pos(), QPoint(8, 43 + 128));
    EXPECT_EQ(dialog_->COLOR_SHADOW->pos(), QPoint(7, 42 + 128));
    QTest::mouseClick(dialog_->OK_BUT, Qt::LeftButton);
    EXPECT_FALSE(dialog_->isVisible());
    EXPECT_TRUE(dialog_->state().PickConfirmed);
    // Nothing changed: the colour given, not the point's pixel.
    EXPECT_EQ(Web(dialog_->state().PickedColour), "#808080");
    EXPECT_EQ(RecentColours(), QStringList({"#808080"}));

    // One step of lightness: the point's pixel.
    open(RgbColour(128, 128, 128));
    QTest::mouseClick(dialog_->LIG_UP, Qt::LeftButton);
    QTest::mouseClick(dialog_->OK_BUT, Qt::LeftButton);
    EXPECT_EQ(Web(dialog_->state().PickedColour), "#808080"); // 128 of 255
    EXPECT_EQ(dialog_->state().lightness(), 128);
    EXPECT_EQ(RecentColours(), QStringList({"#808080"}));

    open(TColor(0x00EAEEE8));
    QTest::mouseClick(dialog_->OK_BUT, Qt::LeftButton);
    EXPECT_EQ(dialog_->state().PickedColour, TColor(0x00EAEEE8));
    EXPECT_EQ(RecentColours(), QStringList({"#E8EEEA", "#808080"}));

    // Shown again: not confirmed until OK.
    open(RgbColour(255, 0, 0));
    EXPECT_FALSE(dialog_->state().PickConfirmed);
    EXPECT_EQ(dialog_->HUE_SELECTOR->y() + dialog_->HUE_SELECTOR->height() / 2, 43 + 360); // strip bottom
    QTest::mouseClick(dialog_->OK_BUT, Qt::LeftButton);
    EXPECT_EQ(Web(dialog_->state().PickedColour), "#FF0000");
    EXPECT_EQ(RecentColours(), QStringList({"#FF0000", "#E8EEEA", "#808080"}));
}

TEST_F(PaletteDialogTest, CloseButtonRestoresTheStartColour)
{
    open(RgbColour(255, 0, 0));
    QTest::mouseClick(dialog_->PRESET_BLUE, Qt::LeftButton);
    EXPECT_EQ(dialog_->state().PickedColour, RgbColour(0, 0, 255));
    EXPECT_EQ(dialog_->HUE_INPUT->text(), "240");
    EXPECT_EQ(dialog_->COLOR_IMPORTED->colour(), QColor(255, 0, 0)); // a preset is no start colour
    QTest::mouseClick(dialog_->CLOSEBUTTON, Qt::LeftButton);
    EXPECT_FALSE(dialog_->isVisible());
    EXPECT_FALSE(dialog_->state().PickConfirmed);
    EXPECT_EQ(dialog_->state().PickedColour, RgbColour(255, 0, 0));
    EXPECT_TRUE(RecentColours().isEmpty());

    // Esc closes the same way.
    open(RgbColour(0, 255, 0));
    QTest::mouseClick(dialog_->PRESET_YELLOW, Qt::LeftButton);
    QTest::keyClick(dialog_.get(), Qt::Key_Escape);
    EXPECT_FALSE(dialog_->isVisible());
    EXPECT_EQ(dialog_->state().PickedColour, RgbColour(0, 255, 0));
}

TEST_F(PaletteDialogTest, EnterInRgbFields)
{
    open(RgbColour(0, 0, 255));
    auto enter = [this](QLineEdit* field, const QString& text) {
        field->setText(text);
        QTest::keyClick(field, Qt::Key_Return);
    };
    enter(dialog_->R_INPUT, "256");
    enter(dialog_->G_INPUT, "12a");
    ASSERT_EQ(prompts_.count("message"), 2);
    EXPECT_EQ(prompts_.shown[0].text, RgbRangeMessage);
    EXPECT_EQ(prompts_.shown[1].text, RgbDigitsMessage);
    dialog_->G_INPUT->setText("0");
    enter(dialog_->B_INPUT, "");
    ASSERT_EQ(prompts_.count("message"), 3);
    EXPECT_EQ(prompts_.shown[2].text, RgbRangeMessage);
    // The picker kept its state, and Enter did not close it.
    EXPECT_TRUE(dialog_->isVisible());
    EXPECT_EQ(dialog_->HUE_INPUT->text(), "240");
    EXPECT_EQ(dialog_->state().PickedColour, RgbColour(0, 0, 255));

    dialog_->R_INPUT->setText("255");
    dialog_->G_INPUT->setText("128");
    enter(dialog_->B_INPUT, "0");
    EXPECT_EQ(prompts_.count("message"), 3);
    EXPECT_EQ(dialog_->HUE_INPUT->text(), "30");
    EXPECT_EQ(dialog_->G_INPUT->text(), "127");
    EXPECT_EQ(dialog_->WEB_COLOR->text(), "#FF7F00");
    EXPECT_EQ(dialog_->COLOR_NEW->colour(), QColor(255, 127, 0));
    EXPECT_TRUE(dialog_->isVisible());

    // Typing in H does nothing.
    enter(dialog_->HUE_INPUT, "100");
    EXPECT_EQ(dialog_->state().hue(), 30);
}

TEST_F(PaletteDialogTest, ModeMenuCopyAndColourText)
{
    open(RgbColour(255, 255, 255));
    EXPECT_EQ(dialog_->WEB_COLOR->text(), "#FFF");
    QTest::mouseClick(dialog_->Image4, Qt::LeftButton);
    EXPECT_TRUE(dialog_->WEBCOLORMODE_POPUP->isVisible());
    const QList<QAction*> actions = dialog_->WEBCOLORMODE_POPUP->actions();
    ASSERT_EQ(actions.size(), 6);
    EXPECT_EQ(actions[0]->text(), "Change color display mode:");
    EXPECT_FALSE(actions[0]->isEnabled());
    actions[1]->trigger(); // "Web: #000000"
    dialog_->WEBCOLORMODE_POPUP->hide();
    EXPECT_EQ(dialog_->WEB_COLOR->text(), "#FFFFFF");
    actions[3]->trigger(); // "Hex: 0x000000"
    EXPECT_EQ(dialog_->WEB_COLOR->text(), "0xFFFFFF");
    actions[5]->trigger(); // "System: clRed, clBlue"
    EXPECT_EQ(dialog_->WEB_COLOR->text(), "clWhite");

    QTest::mouseClick(dialog_->Image3, Qt::LeftButton);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "clWhite");

    dialog_->WEB_COLOR->setText("clAqua");
    QTest::keyClick(dialog_->WEB_COLOR, Qt::Key_Return);
    EXPECT_EQ(dialog_->HUE_INPUT->text(), "180");
    EXPECT_EQ(dialog_->WEB_COLOR->text(), "clAqua");
    dialog_->WEB_COLOR->setText("clNowhere");
    QTest::keyClick(dialog_->WEB_COLOR, Qt::Key_Return);
    ASSERT_EQ(prompts_.count("message"), 1);
    EXPECT_EQ(prompts_.shown[0].text, SysColourMessage);
    EXPECT_EQ(dialog_->HUE_INPUT->text(), "180");
    EXPECT_TRUE(dialog_->isVisible());
}

TEST_F(PaletteDialogTest, DraggingThePointAndTheHue)
{
    open(RgbColour(255, 0, 0));
    QWidget* square = dialog_->PALETTE_CANVAS;
    PalettePicture* frame = dialog_->COLOR_COLORFRAME;
    mouse(frame, QEvent::MouseButtonPress, at(frame, 20, 20));
    mouse(frame, QEvent::MouseMove, at(square, 100, 55));
    EXPECT_EQ(dialog_->state().saturation(), 100);
    EXPECT_EQ(dialog_->state().lightness(), 200);
    EXPECT_EQ(dialog_->COLOR_SELECTOR->pos(), QPoint(8 + 100, 43 + 55));
    const QColor expected = static_cast<PalettePicture*>(square)->image().pixelColor(100, 55);
    EXPECT_EQ(frame->colour(), expected);
    EXPECT_EQ(dialog_->R_INPUT->text(), QString::number(expected.red()));
    // Outside the square the point stays on its nearest edge.
    mouse(frame, QEvent::MouseMove, at(square, -40, 400));
    EXPECT_EQ(dialog_->state().saturation(), 0);
    EXPECT_EQ(dialog_->state().lightness(), 0);
    mouse(frame, QEvent::MouseButtonRelease, at(square, -40, 400));
    EXPECT_EQ(Web(dialog_->state().PickedColour), "#000000");
    mouse(frame, QEvent::MouseMove, at(square, 255, 0)); // no button: no drag
    EXPECT_EQ(dialog_->state().lightness(), 0);

    // The hue: the strip's row under the cursor; the selector widens meanwhile.
    PalettePicture* hueFrame = dialog_->HUE_COLORFRAME;
    mouse(hueFrame, QEvent::MouseButtonPress, at(hueFrame, 5, 10));
    EXPECT_EQ(dialog_->HUE_SELECTOR->width(), 50);
    mouse(hueFrame, QEvent::MouseMove, at(dialog_->HUE_CANVAS, 10, 360 - 240));
    EXPECT_EQ(dialog_->state().hue(), 240);
    EXPECT_EQ(dialog_->HUE_INPUT->text(), "240");
    EXPECT_EQ(static_cast<PalettePicture*>(square)->image().pixelColor(255, 0), QColor(0, 0, 255));
    mouse(hueFrame, QEvent::MouseMove, at(dialog_->HUE_CANVAS, 10, -30));
    EXPECT_EQ(dialog_->state().hue(), 360);
    mouse(hueFrame, QEvent::MouseButtonRelease, at(dialog_->HUE_CANVAS, 10, -30));
    EXPECT_EQ(dialog_->HUE_SELECTOR->width(), 34);
    EXPECT_EQ(dialog_->HUE_COLORFRAME->width(), 16);

    // Thumbs: relative to the press.
    dialog_->IMPORT_COLOR(RgbColour(0, 0, 255), false);
    PalettePicture* lig = dialog_->LIG_SELECTOR;
    mouse(lig, QEvent::MouseButtonPress, at(lig, 2, 2));
    mouse(lig, QEvent::MouseMove, at(lig, 2, 2) + QPoint(0, 30));
    EXPECT_EQ(dialog_->state().lightness(), 225);
    mouse(lig, QEvent::MouseButtonRelease, at(lig, 2, 2));
    PalettePicture* sat = dialog_->SAT_SELECTOR;
    mouse(sat, QEvent::MouseButtonPress, at(sat, 2, 2));
    mouse(sat, QEvent::MouseMove, at(sat, 2, 2) + QPoint(-55, 0));
    EXPECT_EQ(dialog_->state().saturation(), 200);
    mouse(sat, QEvent::MouseButtonRelease, at(sat, 2, 2));
}

TEST_F(PaletteDialogTest, ArrowsStepOncePerClick)
{
    open(RgbColour(0, 0, 255)); // hue 240, point (255, 255)
    QTest::mouseClick(dialog_->HUE_UP, Qt::LeftButton);
    EXPECT_EQ(dialog_->state().hue(), 241);
    // A double click as the system delivers it: press, release, double
    // click, release; it steps twice.
    QWidget* down = dialog_->HUE_DOWN;
    for (QEvent::Type t : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick,
                           QEvent::MouseButtonRelease})
        mouse(down, t, at(down, 5, 5));
    EXPECT_EQ(dialog_->state().hue(), 239);
    QTest::mouseClick(dialog_->LIG_UP, Qt::LeftButton); // at the top already
    EXPECT_EQ(dialog_->state().lightness(), 255);
    QTest::mouseClick(dialog_->LIG_DOWN, Qt::LeftButton);
    QTest::mouseClick(dialog_->SAT_DOWN, Qt::LeftButton);
    EXPECT_EQ(dialog_->state().lightness(), 254);
    EXPECT_EQ(dialog_->state().saturation(), 254);
    EXPECT_EQ(dialog_->COLOR_SELECTOR->pos(), QPoint(8 + 254, 43 + 1));
}

} // namespace
