// The resource viewer's page as the viewer's browser lays it out.
#include "TestSupport.h"

#include "html/ResourceViewer.h"
#include "html/ui/ResourceViewer.h"
#include "preview/ui/PageBrowser.h"

#include <QImage>
#include <QSignalSpy>
#include <QTest>
#include <memory>

namespace {

class ResourceViewerLayout : public testing_support::IsolatedTest {};

// The page fills the viewer's client area without scroll bars, whatever the
// picture's size, and a picture that fits sits in a 600 x 600 cell.
TEST_F(ResourceViewerLayout, NoScrollBarsAndTheCellOfThePage)
{
    const struct {
        QSize picture;
        bool fits;
    } rows[] = {{{123, 45}, true}, {{590, 590}, true}, {{900, 800}, false}};
    const QSize client = TRESVIEWER().size();
    ASSERT_EQ(client, QSize(600, 617));
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.picture.width() << " x " << row.picture.height());
        QImage picture(row.picture, QImage::Format_RGB32);
        picture.fill(Qt::darkGreen);
        const QString file = programFolder() + QStringLiteral("p%1.png").arg(row.picture.width());
        ASSERT_TRUE(picture.save(file));
        // A browser of the viewer's size, on the same rules as the viewer's
        // page: the folder's origin.
        QWidget host;
        host.resize(client);
        PageBrowser* b = CreatePageBrowser(&host);
        ASSERT_NE(b, nullptr);
        b->widget()->setGeometry(QRect(QPoint(0, 0), client));
        host.show();
        QSignalSpy loaded(b, &PageBrowser::documentComplete);
        b->loadHtml(ResourceViewerPage(file), QUrl::fromLocalFile(programFolder()));
        ASSERT_TRUE(loaded.wait(30000) || !loaded.isEmpty());
        const auto value = std::make_shared<QString>();
        const QString expected = QStringLiteral("%1 x %2").arg(row.picture.width()).arg(row.picture.height());
        QTest::qWaitFor([&] {
            b->evaluate(QStringLiteral("var c = document.getElementsByTagName('TD')[1];"
                                       "[FINP.value, visualViewport.width, visualViewport.height, innerWidth, innerHeight,"
                                       " getComputedStyle(c).width, c.getBoundingClientRect().height].join(';')"),
                        [value](const QVariant& v) { *value = v.toString(); });
            QTest::qWait(50);
            return value->startsWith(expected + u';');
        }, 30000);
        const QStringList got = value->split(u';');
        ASSERT_EQ(got.size(), 7) << value->toStdString();
        EXPECT_EQ(got[0], expected);
        // The visual viewport leaves out scroll bars.
        EXPECT_EQ(got[1].toDouble(), client.width());
        EXPECT_EQ(got[2].toDouble(), client.height());
        EXPECT_EQ(got[3].toInt(), client.width());
        EXPECT_EQ(got[4].toInt(), client.height());
        if (row.fits) {
            EXPECT_EQ(got[5].toStdString(), "600px");
            EXPECT_EQ(got[6].toDouble(), 600.0);
        }
    }
}

} // namespace
