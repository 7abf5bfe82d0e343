#include "app/StartUp.h"
#include <algorithm>

#include "store/ColourNotation.h"
#include "store/OptionItems.h"
#include "store/OptionsStore.h"
#include "store/Utilities.h"

#include <QFileInfo>

StartDocument ResolveStartDocument(const QStringList& args)
{
    StartDocument d;
    if (args.isEmpty() || !QFileInfo(args[0]).isFile())
        return d;
    d.kind = FileExtension(args[0]).toUpper() == QStringLiteral("MHT") ? StartDocument::Kind::Archive
                                                                        : StartDocument::Kind::Page;
    d.path = LongPathName(args[0]);
    if (d.kind == StartDocument::Kind::Archive)
        return d;
    if (args.size() >= 3 && args[2].left(9) == QStringLiteral("PARENTDOC"))
        d.parentDocument = LongPathName(args[2].mid(9));
    if (args.size() >= 2 && args[1].left(6) == QStringLiteral("PARENT")) {
        d.fromParent = true;
        d.parentWindow = ExtractNumber(args[1].mid(6)).toLongLong();
    }
    return d;
}

WindowPlacement FitPlacement(const WindowPlacement& p, const QRect& desktop)
{
    if (desktop.isEmpty())
        return p;
    WindowPlacement f = p;
    f.width = std::clamp(p.width, std::min(200, desktop.width()), desktop.width());
    f.height = std::clamp(p.height, std::min(150, desktop.height()), desktop.height());
    f.left = std::clamp(p.left, desktop.left(), desktop.left() + desktop.width() - f.width);
    f.top = std::clamp(p.top, desktop.top(), desktop.top() + desktop.height() - f.height);
    return f;
}

WindowPlacement ReadWindowPlacement()
{
    WindowPlacement p;
    Opt_SelectFile(opt::Program);
    p.left = Opt_ReadInt(opt::LEFT, p.left).value_or(p.left);
    p.top = Opt_ReadInt(opt::TOP, p.top).value_or(p.top);
    p.width = Opt_ReadInt(opt::WIDTH, p.width).value_or(p.width);
    p.height = Opt_ReadInt(opt::HEIGHT, p.height).value_or(p.height);
    p.maximized = Opt_ReadStr(opt::WINDOWSTATE) == opt::StateMaximized;
    return p;
}

void StoreWindowPlacement(WindowShow state, const WindowPlacement& normal)
{
    Opt_SelectFile(opt::Program);
    switch (state) {
    case WindowShow::Normal:
        Opt_Write(opt::LEFT, QString::number(normal.left));
        Opt_Write(opt::TOP, QString::number(normal.top));
        Opt_Write(opt::WIDTH, QString::number(normal.width));
        Opt_Write(opt::HEIGHT, QString::number(normal.height));
        Opt_Write(opt::WINDOWSTATE, opt::StateNormal);
        break;
    case WindowShow::Maximized:
        Opt_Write(opt::WINDOWSTATE, opt::StateMaximized);
        break;
    case WindowShow::Minimized:
        break;
    }
}

EditorAppearance ReadEditorAppearance()
{
    EditorAppearance a;
    Opt_SelectFile(opt::Program);
    bool ok = false;
    const int colour = TextToColor(Opt_ReadStr(opt::BACKGROUNDCOLOR), &ok);
    if (ok)
        a.background = colour;
    const QString font = Opt_ReadStr(opt::FONT);
    if (!font.isEmpty())
        a.fontName = font;
    a.fontSize = Opt_ReadInt(opt::FONTSIZE, a.fontSize).value_or(a.fontSize);
    if (a.fontSize <= 0)
        a.fontSize = 10;
    a.fontSize = std::clamp(a.fontSize, 5, 100);
    a.wrapOnlyVertical = ParseBool(Opt_ReadStr(opt::SCROLL_ONLYVERTICAL));
    a.showTagsMenu = ParseBool(Opt_ReadStr(opt::SHOWTEGSTEMPLATES));
    a.showLog = ParseBool(Opt_ReadStr(opt::HELPLOG));
    a.doubleQuotes = ParseBool(Opt_ReadStr(opt::QUOTES2));
    a.closeTags = Opt_ReadStr(opt::EDIT_CLOSETAGS) != QLatin1String("0");
    a.completion = Opt_ReadStr(opt::EDIT_COMPLETION) != QLatin1String("0");
    a.abbreviations = Opt_ReadStr(opt::EDIT_ABBREVIATIONS) != QLatin1String("0");
    return a;
}

QString ClockText(int hour, int minute)
{
    return QString::number(hour) + u':' + QStringLiteral("%1").arg(minute, 2, 10, QLatin1Char('0'))
        + QStringLiteral("        ");
}

