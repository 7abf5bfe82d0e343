// The sizes the preview window's browser takes for help and for previews,
// also when the window manager resizes the window after it has shown.
#include "FormTest.h"

#include "app/Globals.h"
#include "preview/ui/BrowserWindow.h"
#include "preview/ui/PageBrowser.h"

#include <QAction>
#include <QTest>

using testing_support::WriteBytes;

namespace {

class PreviewCommandsTest : public testing_support::FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        WriteBytes(programFolder() + QStringLiteral("Program.ZEL"), "[HELPLOG]1\r\n[LOADLASTFILE]0\r\n");
    }
    // The browser's place after the window is resized to size, as a window
    // manager does once the window is on screen.
    static QRect afterLateResize(TBROWSFORM* window, const QSize& size)
    {
        window->resize(size);
        QCoreApplication::processEvents();
        return window->browser()->widget()->geometry();
    }
};

TEST_F(PreviewCommandsTest, HelpFillsTheWindowWhateverSizeIsChosen)
{
    const QString page = programFolder() + QStringLiteral("a.html");
    WriteBytes(page, "<html><body><p>x</p></body></html>\r\n");
    TForm1& form = start({page});
    LoadingText = false;
    TBROWSFORM* window = form.browserWindow();
    if (!window->browser())
        GTEST_SKIP() << "no web engine";
    QWidget* area = window->browser()->widget()->parentWidget();
    const struct {
        PreviewSize size;
        QSize viewport;
    } rows[] = {{PreviewSize::S800, {792, 500}}, {PreviewSize::S1024, {1016, 668}}, {PreviewSize::None, {}}};
    for (const auto& row : rows) {
        SCOPED_TRACE(int(row.size));
        window->Size = row.size;
        form.ShowHELP();
        ASSERT_TRUE(window->isVisible());
        EXPECT_EQ(window->browser()->widget()->geometry(), area->rect());

        for (const QSize late : {QSize(1200, 900), QSize(1100, 850)}) {
            const QRect placed = afterLateResize(window, late);
            EXPECT_EQ(placed, area->rect()) << placed.width() << " x " << placed.height();
            EXPECT_EQ(placed.width(), window->width());
        }
        window->close();
        EXPECT_EQ(window->Size, row.size); // kept for the next preview

        // The preview after it keeps the chosen size through a late resize.
        form.MENU_PROGBROWSER_VIEW->trigger();
        ASSERT_TRUE(window->isVisible());
        const QRect placed = afterLateResize(window, QSize(1200, 900));
        EXPECT_EQ(placed.size(), row.size == PreviewSize::None ? area->size() : row.viewport);
        window->close();
    }
}

} // namespace
