#include "tools/NewPage.h"

#include <QStringList>

QString CleanPageField(const QString& text, bool isPath)
{
    QString t = text.trimmed();
    t.remove(u'<');
    t.remove(u'>');
    if (isPath)
        t.replace(u'\\', u'/');
    return t;
}

QString NewPageText(const NewPageFields& f)
{
    QStringList lines = {
        QStringLiteral("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">"),
        QStringLiteral("<HTML>"),
        QStringLiteral("<HEAD>"),
        QStringLiteral("<title>") + CleanPageField(f.title) + QStringLiteral("</title>"),
    };
    const QString charset = f.charset != CharsetPlaceholder ? CleanPageField(f.charset) : QStringLiteral("windows-1251");
    lines << QStringLiteral("<META http-equiv=Content-Type content=\"text/html; charset=") + charset + QStringLiteral("\">");
    const auto meta = [&lines](const QString& element, const QString& name, const QString& value) {
        const QString v = CleanPageField(value);
        if (!v.isEmpty())
            lines << QStringLiteral("<%1 name=\"%2\" content=\"%3\">").arg(element, name, v);
    };
    meta(QStringLiteral("META"), QStringLiteral("description"), f.description);
    meta(QStringLiteral("meta"), QStringLiteral("keywords"), f.keywords);
    meta(QStringLiteral("META"), QStringLiteral("author"), f.author);
    static const QStringList icons = {QStringLiteral("favicon.ico"), QStringLiteral("favicon.png"), QStringLiteral("favicon.gif")};
    static const QStringList types = {QStringLiteral("image/icon"), QStringLiteral("image/png"), QStringLiteral("image/gif")};
    const int icon = int(icons.indexOf(f.icon));
    if (icon >= 0)
        lines << QStringLiteral("<link rel=\"shortcut icon\" href=\"%1\" type=\"%2\">").arg(icons[icon], types[icon]);
    const QString css = CleanPageField(f.cssPath, true);
    if (!css.isEmpty())
        lines << QStringLiteral("<link rel=stylesheet type=\"text/css\" href=\"") + css + QStringLiteral("\">");
    lines << QStringLiteral("<BODY>") << QString();
    if (f.makeTable)
        lines << QStringLiteral("<TABLE>") << QStringLiteral("<TR>") << QStringLiteral("<TD>") << QStringLiteral("</TD>")
              << QStringLiteral("</TR>") << QStringLiteral("</TABLE>");
    lines << QString() << QStringLiteral("</BODY>") << QStringLiteral("</HTML>");
    return lines.join(QStringLiteral("\r\n"));
}
