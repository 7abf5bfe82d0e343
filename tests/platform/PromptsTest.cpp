#include "platform/Prompts.h"

#include <gtest/gtest.h>

using namespace platform;

namespace {

TEST(FileDialogSuffix, FollowsTheChosenFilterOrElseTheDefaultExtension)
{
    const QString saveAs = QStringLiteral("HTML|*.html;*.htm*|CSS|*.css|PHP|*.php;*.php*;*phtml;|Все файлы|*.*");
    const QString exported = QStringLiteral("Сжатый HTML|*.htm*;*.html|Сжатый CSS|*.css");
    const struct {
        QString filter;
        QString defaultExt;
        int chosen;
        QString suffix;
    } cases[] = {
        {saveAs, QStringLiteral("*.html"), 1, QStringLiteral("html")},
        {saveAs, QStringLiteral("*.html"), 2, QStringLiteral("css")},
        {saveAs, QStringLiteral("*.html"), 3, QStringLiteral("php")},
        {saveAs, QStringLiteral("*.html"), 4, QStringLiteral("html")}, // "*.*" names no extension
        {saveAs, QStringLiteral("*.html"), 9, QStringLiteral("html")}, // no such filter
        {exported, QStringLiteral("*.html"), 1, QStringLiteral("html")}, // "*.htm*" names none either
        {exported, QStringLiteral("*.html"), 2, QStringLiteral("css")},
        {QString(), QStringLiteral("*.html;*htm"), 0, QStringLiteral("html")},
        {QString(), QStringLiteral("html"), 0, QStringLiteral("html")},
        {QString(), QStringLiteral(".txt"), 0, QStringLiteral("txt")},
        {QStringLiteral("Все файлы|*.*"), QStringLiteral("*.*"), 1, QString()},
        {QStringLiteral("Все файлы|*.*"), QString(), 1, QString()},
    };
    for (const auto& c : cases) {
        FileDialogRequest r;
        r.filter = c.filter;
        r.defaultExt = c.defaultExt;
        EXPECT_EQ(DialogDefaultSuffix(r, c.chosen), c.suffix) << c.filter.toStdString() << " " << c.chosen;
    }
}

} // namespace
