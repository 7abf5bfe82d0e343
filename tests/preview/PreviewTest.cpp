#include "TestSupport.h"

#include "preview/Preview.h"
#include "store/OptionItems.h"
#include "store/OptionsStore.h"

using testing_support::IsolatedTest;

namespace {

TEST(Preview, BrowserPlaceForEachSize)
{
    const QRect client(0, 0, 1920, 1000);
    const struct {
        PreviewSize size;
        int monitor;
        QRect expected;
    } rows[] = {
        {PreviewSize::None, 1920, client},
        {PreviewSize::S1280, 1920, QRect(1920 / 2 - 1272 / 2, 0, 1272, 924)},
        {PreviewSize::S1024, 1280, QRect(640 - 508, 0, 1016, 668)},
        {PreviewSize::S800, 1025, QRect(512 - 396, 0, 792, 500)}, // integer halves
        {PreviewSize::S1024, 900, QRect(0, 0, 1016, 668)},         // never left of the window
    };
    for (const auto& r : rows)
        EXPECT_EQ(PreviewBrowserRect(r.size, client, r.monitor), r.expected) << int(r.size) << " on " << r.monitor;

    // An entry is offered only on a wider monitor than its size.
    EXPECT_FALSE(PreviewSizeOffered(PreviewSize::S1280, 1280));
    EXPECT_TRUE(PreviewSizeOffered(PreviewSize::S1280, 1281));
    EXPECT_FALSE(PreviewSizeOffered(PreviewSize::S1024, 1024));
    EXPECT_TRUE(PreviewSizeOffered(PreviewSize::S800, 1024));
    EXPECT_TRUE(PreviewSizeOffered(PreviewSize::None, 640));
}

TEST(Preview, LabelsAddressesAndPictures)
{
    EXPECT_EQ(HelpAddress(QStringLiteral("/opt/my apps/veltmark")), QStringLiteral("res:///opt/my%20apps/veltmark/INDEX.HTML"));
    EXPECT_EQ(HelpAddress(QStringLiteral("/usr/bin/veltmark"), QStringLiteral("docprop")), QStringLiteral("res:///usr/bin/veltmark/INDEX.HTML#docprop"));
    EXPECT_EQ(TempCopyPath(QStringLiteral("/site/index.html")), QStringLiteral("/site/temp_index.html"));

    EXPECT_EQ(AddressCaption(QString(), QStringLiteral("file:///a.html")), QStringLiteral("file:///a.html"));
    EXPECT_EQ(AddressCaption(QString(), QStringLiteral("about:blank")), QStringLiteral("..."));
    EXPECT_EQ(AddressCaption(QString(), QString()), QStringLiteral("..."));
    EXPECT_EQ(AddressCaption(QStringLiteral("Справка"), QStringLiteral("res:///x")), QStringLiteral("Справка"));
    EXPECT_EQ(StatusCaption(QString(), QStringLiteral("Готово")), QString());
    EXPECT_EQ(StatusCaption(QString(), QStringLiteral("http://a/")), QStringLiteral("http://a/"));
    EXPECT_EQ(StatusCaption(QStringLiteral("Справка"), QStringLiteral("http://a/")), QString());

    EXPECT_TRUE(RestoresScroll(0, QStringLiteral("file:///a.html")));
    EXPECT_TRUE(RestoresScroll(500, QStringLiteral("file:///a.html")));
    EXPECT_FALSE(RestoresScroll(500, QStringLiteral("file:///a.html#top")));
    EXPECT_FALSE(RestoresScroll(-1, QStringLiteral("file:///a.html")));

    EXPECT_TRUE(PictureIsJpeg(QStringLiteral("/p/shot.jpg")));
    EXPECT_TRUE(PictureIsJpeg(QStringLiteral("/p/shot.JpG")));
    EXPECT_FALSE(PictureIsJpeg(QStringLiteral("/p/shot.jpeg")));
    EXPECT_FALSE(PictureIsJpeg(QStringLiteral("/p/shot.bmp")));
}

class PreviewAddresses : public IsolatedTest {};

TEST_F(PreviewAddresses, AssignedUrlOrTheCopy)
{
    const QString page = QStringLiteral("/site/a.html");
    EXPECT_EQ(PreviewAddressOf(page).address, QStringLiteral("/site/temp_a.html"));
    EXPECT_FALSE(PreviewAddressOf(page).assigned);

    Opt_SelectFile(opt::UrlAssigns);
    Opt_Write(page, QStringLiteral("http://localhost:8080/a.html"));
    const PreviewAddress a = PreviewAddressOf(page);
    EXPECT_TRUE(a.assigned);
    EXPECT_FALSE(a.needsSave);
    EXPECT_EQ(a.address, QStringLiteral("http://localhost:8080/a.html"));

    // An empty assignment: the document itself, after a save.
    Opt_SelectFile(opt::UrlAssigns);
    Opt_Write(page, QString());
    EXPECT_TRUE(PreviewAddressOf(page).needsSave);
    EXPECT_EQ(PreviewAddressOf(page).address, page);
}

} // namespace
