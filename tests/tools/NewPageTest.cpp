#include "tools/NewPage.h"

#include <gtest/gtest.h>

namespace {

NewPageFields empty()
{
    NewPageFields f;
    f.icon = IconPlaceholder;
    f.charset = CharsetPlaceholder;
    return f;
}

TEST(NewPage, EmptyFormGivesTheBarePage)
{
    EXPECT_EQ(NewPageText(empty()),
              QStringLiteral("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">\r\n<HTML>\r\n<HEAD>\r\n"
                             "<title></title>\r\n"
                             "<META http-equiv=Content-Type content=\"text/html; charset=windows-1251\">\r\n"
                             "<BODY>\r\n\r\n\r\n</BODY>\r\n</HTML>"));
}

TEST(NewPage, FieldsAreCleanedAndPlacedInOrder)
{
    NewPageFields f = empty();
    f.title = QStringLiteral("  <Моя страница>  ");
    f.description = QStringLiteral("О <b>нас</b>");
    f.keywords = QStringLiteral("a, b");
    f.author = QStringLiteral("Я");
    f.cssPath = QStringLiteral(" css\\main style.css ");
    f.icon = QStringLiteral("favicon.png");
    f.charset = QStringLiteral("UTF-8");
    f.makeTable = true;
    EXPECT_EQ(NewPageText(f),
              QStringLiteral("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">\r\n<HTML>\r\n<HEAD>\r\n"
                             "<title>Моя страница</title>\r\n"
                             "<META http-equiv=Content-Type content=\"text/html; charset=UTF-8\">\r\n"
                             "<META name=\"description\" content=\"О bнас/b\">\r\n"
                             "<meta name=\"keywords\" content=\"a, b\">\r\n"
                             "<META name=\"author\" content=\"Я\">\r\n"
                             "<link rel=\"shortcut icon\" href=\"favicon.png\" type=\"image/png\">\r\n"
                             "<link rel=stylesheet type=\"text/css\" href=\"css/main style.css\">\r\n"
                             "<BODY>\r\n\r\n<TABLE>\r\n<TR>\r\n<TD>\r\n</TD>\r\n</TR>\r\n</TABLE>\r\n\r\n</BODY>\r\n</HTML>"));
    // Only the three listed icon names give a link.
    f.icon = QStringLiteral("icon.png");
    EXPECT_FALSE(NewPageText(f).contains(QStringLiteral("shortcut icon")));
    f.icon = QStringLiteral("favicon.ico");
    EXPECT_TRUE(NewPageText(f).contains(QStringLiteral("href=\"favicon.ico\" type=\"image/icon\"")));
}

} // namespace
