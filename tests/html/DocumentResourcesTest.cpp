#include "TestSupport.h"
#include "app/ImportExport.h"
#include "html/DocumentResources.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString RowValue(const DocumentProperties& p, const QString& name)
{
    for (const PropertyRow& r : p.rows)
        if (r.name == name)
            return r.value;
    return QStringLiteral("<missing>");
}

QStringList RowNames(const DocumentProperties& p)
{
    QStringList names;
    for (const PropertyRow& r : p.rows)
        names << r.name;
    return names;
}

// A lookup that knows a few files and records what was asked.
struct FakeFiles {
    QMap<QString, qint64> sizes;
    QStringList asked;
    ResourceSizeLookup lookup()
    {
        return [this](const QString& path) -> std::optional<qint64> {
            asked << path;
            if (sizes.contains(path))
                return sizes.value(path);
            return std::nullopt;
        };
    }
};

TEST(DocumentResourcesScan, QuotedUnquotedAndUrlReferences)
{
    const QString page = QStringLiteral("<img src=\"a b.gif\" alt='x'><a href=page.html>go</a>\r\n"
                                        "<div style=\"background:url(img/bg.png)\"></div>"
                                        "<img src=a.gif alt=b.png>");
    EXPECT_EQ(DocumentResources(page), QStringList({"a b.gif", "page.html", "img/bg.png", "a.gif", "b.png"}));
}

TEST(DocumentResourcesScan, EachTextOnceInOrderOfFirstOccurrence)
{
    // The tail of an earlier entry is a different text and is listed.
    const QString page = QStringLiteral("<img src=x/a.gif><img src=\"x/a.gif\"><img src=a.gif><img src=X/A.GIF>");
    EXPECT_EQ(DocumentResources(page), QStringList({"x/a.gif", "a.gif", "X/A.GIF"}));
}

TEST(DocumentResourcesScan, OnlyKnownExtensionsAndClosedValues)
{
    EXPECT_TRUE(DocumentResources(QStringLiteral("<embed src=song.wav><a href=folder><a href=noext.>")).isEmpty());
    EXPECT_EQ(DocumentResources(QStringLiteral("<embed src=song.vaw>")), QStringList({"song.vaw"}));
    EXPECT_EQ(DocumentResources(QStringLiteral("<img src=Pic.JpEg><a href=arc.7zip><a href=s.3DS>")),
              QStringList({"Pic.JpEg", "arc.7zip", "s.3DS"}));
    // Still open at the end of the text: not listed.
    EXPECT_TRUE(DocumentResources(QStringLiteral("<img src=\"open.gif")).isEmpty());
    EXPECT_TRUE(DocumentResources(QStringLiteral("<img src=open.gif")).isEmpty());
    EXPECT_TRUE(DocumentResources(QString()).isEmpty());
}

TEST(DocumentResourcesScan, QuotedValuesKeepBlanksTabsAndLineBreaks)
{
    EXPECT_EQ(DocumentResources(QStringLiteral("<img src=\"my\tpic\r\nx.gif\">")), QStringList({"my\tpic\r\nx.gif"}));
    // Apostrophes quote as well as double quotes.
    EXPECT_EQ(DocumentResources(QStringLiteral("<img src='a b.gif'>")), QStringList({"a b.gif"}));
    // A quote in the middle would glue two pieces into a text the page does
    // not hold: such a reference is not listed.
    EXPECT_EQ(DocumentResources(QStringLiteral("<img src=x\"y\".gif><img src=\"it's.gif\"><img src=ok.gif>")),
              QStringList({"ok.gif"}));
    // "<" and ">" end a reference even inside quotes.
    EXPECT_EQ(DocumentResources(QStringLiteral("<a href=\"x.html>y z.css\">")), QStringList({"x.html"}));
}

TEST(DocumentResourcesExtensions, AllFiftyThree)
{
    const QStringList known = QStringList({"HTM", "HTML", "MHT", "MHTML", "EXE", "DLL", "RES", "TXT", "PSD", "PDF", "CPT",
                                 "CDR", "DOC", "DOCX", "FLA", "SWF", "RAR", "ZIP", "TAR", "7ZIP", "7Z", "CAB", "GZ",
                                 "ACE", "JAR", "VAW", "WMA", "MP3", "MP4", "MPEG4", "MP2", "OGG", "MID", "INF", "INI",
                                 "CUR", "PAS", "DCU", "PHP", "SHTML", "DHTML", "PHTML", "MAX", "3DS", "CSS", "JS",
                                 "BMP", "JPG", "JPEG", "GIF", "TIFF", "PNG", "ICO"});
    ASSERT_EQ(known.size(), 53);
    for (const QString& e : known) {
        EXPECT_TRUE(HasResourceExtension(QStringLiteral("f.") + e.toLower())) << e.toStdString();
        EXPECT_TRUE(HasResourceExtension(QStringLiteral("f.") + e)) << e.toStdString();
    }
    for (const char* e : {"WAV", "TIF", "SVG", "HTMLX", ""})
        EXPECT_FALSE(HasResourceExtension(QStringLiteral("f.") + QString::fromLatin1(e))) << e;
    EXPECT_FALSE(HasResourceExtension(QStringLiteral("GIF")));
}

TEST(DocumentPropertiesRows, HtmlPageWithOneExistingResource)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString folder = dir.path() + QStringLiteral("/my site/");
    ASSERT_TRUE(QDir().mkpath(folder));
    QFile gif(folder + QStringLiteral("a b.gif"));
    ASSERT_TRUE(gif.open(QIODevice::WriteOnly));
    gif.write(QByteArray(3000, 'x'));
    gif.close();

    const QString file = folder + QStringLiteral("index.html");
    const QString text = QStringLiteral("<html>\r\n<img src=\"a b.gif\"><img src=missing.png>\r\n"
                                        "<img src=a%20b.gif><a href=http://x.org/y.html>y</a></html>");
    const DocumentProperties p = ComputeDocumentProperties(file, text, 3, std::nullopt, {}, QLocale::c());
    EXPECT_EQ(p.resources, QStringList({"a b.gif", "missing.png", "a%20b.gif", "http://x.org/y.html"}));
    EXPECT_EQ(p.resourceBytes, 3000);
    EXPECT_EQ(RowNames(p), QStringList({"Формат документа", "Файл", "URL просмотра", "Размер", "Строк",
                              "Экспорт в \"Сжатый HTML\"", "Вес ресурсов", "Загрузка через 56K модем"}));
    EXPECT_EQ(RowValue(p, QStringLiteral("Формат документа")), QStringLiteral("Веб-страница"));
    EXPECT_EQ(RowValue(p, QStringLiteral("Файл")), file);
    EXPECT_EQ(RowValue(p, QStringLiteral("URL просмотра")),
              QStringLiteral("file://") + dir.path().replace(u' ', QStringLiteral("%20"))
                  + QStringLiteral("/my%20site/temp_index.html"));
    EXPECT_EQ(RowValue(p, QStringLiteral("Строк")), QStringLiteral("3"));
    EXPECT_EQ(RowValue(p, QStringLiteral("Вес ресурсов")), QStringLiteral("2 kb"));
    const QString compress = RowValue(p, QStringLiteral("Экспорт в \"Сжатый HTML\""));
    // The same figure the export leaves.
    EXPECT_EQ(compress, QStringLiteral("возможность сжать на ") + CompressionFigure + QStringLiteral(" %"));
    EXPECT_NE(CompressionFigure, QStringLiteral("---"));
}

TEST(DocumentPropertiesRows, SizeFigureAndModemTime)
{
    FakeFiles files;
    files.sizes.insert(QStringLiteral("C:\\site\\a.gif"), 48000);
    QString text = QStringLiteral("<img src=a.gif>");
    text += QString(9600 - text.size(), u'x');
    const DocumentProperties p =
        ComputeDocumentProperties(QStringLiteral("C:\\site\\index.html"), text, 1, std::nullopt, files.lookup(),
                                  QLocale(QLocale::Russian, QLocale::Russia));
    EXPECT_EQ(files.asked, QStringList({"C:\\site\\a.gif"}));
    EXPECT_EQ(RowValue(p, QStringLiteral("URL просмотра")), QStringLiteral("file:///C:/site/temp_index.html"));
    EXPECT_EQ(RowValue(p, QStringLiteral("Загрузка через 56K модем")),
              QStringLiteral("2 секунд страница, 12 секунд со всеми ресурсами при хорошей связи"));
    EXPECT_EQ(RowValue(p, QStringLiteral("Вес ресурсов")), QStringLiteral("46 kb"));
    // 9600 / 1024 = 9.375 -> "9.38" with the Russian separator.
    EXPECT_EQ(RowValue(p, QStringLiteral("Размер")), QStringLiteral("9,38 килобайт   (9600 символов)"));

    const QLocale ru(QLocale::Russian, QLocale::Russia);
    EXPECT_EQ(KilobytesFigure(3072, ru), QStringLiteral("3,"));
    EXPECT_EQ(KilobytesFigure(12800, ru), QStringLiteral("12,5"));
    EXPECT_EQ(KilobytesFigure(12800, QLocale::c()), QStringLiteral("12.5"));
    EXPECT_EQ(KilobytesFigure(0, QLocale::c()), QStringLiteral("0."));
    // CR LF counts two.
    const DocumentProperties two = ComputeDocumentProperties(QStringLiteral("/a.txt"), QStringLiteral("a\r\nb"), 2,
                                                             std::nullopt, files.lookup(), QLocale::c());
    EXPECT_EQ(RowValue(two, QStringLiteral("Размер")), QStringLiteral("0. килобайт   (4 символов)"));
}

TEST(DocumentPropertiesRows, ExportRowsFollowTheFormat)
{
    FakeFiles files;
    auto rows = [&](const char* name, const QString& text) {
        return ComputeDocumentProperties(QString::fromUtf8(name), text, 1, std::nullopt, files.lookup(),
                                         QLocale::c());
    };
    const QString html = QStringLiteral("Экспорт в \"Сжатый HTML\"");
    const QString css = QStringLiteral("Экспорт в \"Сжатый CSS\"");

    const DocumentProperties sheet = rows("/w/style.css", QStringLiteral("a  {  color : red ;  }"));
    EXPECT_TRUE(RowNames(sheet).contains(css));
    EXPECT_FALSE(RowNames(sheet).contains(html));
    EXPECT_EQ(RowValue(sheet, css), QStringLiteral("возможность сжать на ") + CompressionFigure + QStringLiteral(" %"));
    EXPECT_EQ(RowValue(sheet, QStringLiteral("Формат документа")), QStringLiteral("Каскадная таблица стилей"));

    EXPECT_EQ(RowValue(rows("/w/empty.CSS", QString()), css), QStringLiteral("возможность сжать на --- %"));
    EXPECT_EQ(RowValue(rows("/w/e.htm", QString()), html), QStringLiteral("возможность сжать на --- %"));

    const DocumentProperties js = rows("/w/app.js", QStringLiteral("var a = 1;"));
    EXPECT_FALSE(RowNames(js).contains(css));
    EXPECT_FALSE(RowNames(js).contains(html));
    EXPECT_EQ(RowNames(js).size(), 7);

    EXPECT_EQ(DocumentFormatName(QStringLiteral("/w/app.js")), QStringLiteral("Внешний JavaScript"));
    EXPECT_EQ(DocumentFormatName(QStringLiteral("/w/readme.TXT")), QStringLiteral("Текст"));
    EXPECT_EQ(DocumentFormatName(QStringLiteral("/w/page.mht")),
              QStringLiteral("Web-архив MHT. Для работы как с html, сделайте импорт"));
    EXPECT_EQ(DocumentFormatName(QStringLiteral("/w/page.php")),
              QStringLiteral("PHP - формат не поддерживается редактором и может отобразиться неверно"));
    // The extension of the file name, not of a dotted folder.
    EXPECT_EQ(DocumentFormatName(QStringLiteral("/w.html/Makefile")),
              QStringLiteral(" - формат не поддерживается редактором и может отобразиться неверно"));
}

TEST(DocumentPropertiesRows, AssignedPreviewAddressAndNoFolder)
{
    EXPECT_EQ(PreviewAddressRow(QStringLiteral("/w/a.html"), QStringLiteral("http://localhost/my page\\x.html")),
              QStringLiteral("http://localhost/my%20page/x.html"));
    EXPECT_EQ(PreviewAddressRow(QStringLiteral("/w/a b.html"), std::nullopt),
              QStringLiteral("file:///w/temp_a%20b.html"));

    // Without a folder no file is looked at (nothing relative to the
    // working folder is counted).
    FakeFiles files;
    const DocumentProperties p = ComputeDocumentProperties(QStringLiteral("a.html"), QStringLiteral("<img src=a.gif>"),
                                                           1, std::nullopt, files.lookup(), QLocale::c());
    EXPECT_TRUE(files.asked.isEmpty());
    EXPECT_EQ(p.resources, QStringList({"a.gif"}));
    EXPECT_EQ(p.resourceBytes, 0);
}

TEST(ResourceFolder, DoubleClickResolution)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString folder = dir.path() + QStringLiteral("/");
    ASSERT_TRUE(QDir().mkpath(folder + QStringLiteral("img sub/deep")));

    EXPECT_EQ(ResourceFolderToOpen(folder, QStringLiteral("img%20sub/a.gif")), folder + QStringLiteral("img sub/"));
    EXPECT_EQ(ResourceFolderToOpen(folder, QStringLiteral("img%20sub\\deep\\a.gif")),
              folder + QStringLiteral("img sub/deep/"));
    EXPECT_EQ(ResourceFolderToOpen(folder, QStringLiteral("a.gif")), folder);
    EXPECT_EQ(ResourceFolderToOpen(folder, QStringLiteral("nope/a.gif")), QString());
    EXPECT_EQ(ResourceFolderToOpen(folder, QStringLiteral("http://x.org/i/a.gif")), QString());
    EXPECT_EQ(ResourceFolderToOpen(folder, QString()), QString());
    EXPECT_EQ(ResourceFolderToOpen(QString(), QStringLiteral("a.gif")), QString());

    EXPECT_EQ(ResourceHint(QString(19, u'a')), QString());
    EXPECT_EQ(ResourceHint(QString(20, u'a')), QString(20, u'a'));
}

} // namespace
