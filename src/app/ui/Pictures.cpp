// The pictures of the main window: the icon theme chosen at start-up and the
// picture of every tool button and of the menu entries that have one.
#include "app/ui/Pictures.h"

#include "app/ui/MainWindow.h"

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>

void UseIconTheme()
{
    QStringList paths = QIcon::themeSearchPaths();
    for (const QString& dir : {QStringLiteral("/usr/share/icons"), QStringLiteral("/usr/local/share/icons")})
        if (!paths.contains(dir) && QDir(dir).exists())
            paths << dir;
    QIcon::setThemeSearchPaths(paths);
    // A desktop theme that names the common actions plainly stays; one that
    // has them only as symbolic pictures (or none at all, offscreen) gives way.
    const QString theme = QString::fromLatin1(kProgramIconTheme);
    QIcon::setFallbackThemeName(QString());
    if (QIcon::themeName().isEmpty() || !QIcon::hasThemeIcon(QStringLiteral("document-open"))
        || !QIcon::hasThemeIcon(QStringLiteral("edit-find")))
        QIcon::setThemeName(theme);
    QIcon::setFallbackThemeName(theme);
}

QIcon ProgramPicture(const QString& themeName, const QString& own)
{
    const QIcon fallback = own.isEmpty() ? QIcon() : QIcon(QStringLiteral(":/pictures/%1.svg").arg(own));
    return themeName.isEmpty() ? fallback : QIcon::fromTheme(themeName, fallback);
}

namespace {

// The picture of a component: its object name, the theme's name for the
// action, the program's own picture.
struct Picture {
    const char* component;
    const char* theme;
    const char* own;
};

// The main tool bar: a picture on every button, the theme's where it has one.
constexpr Picture kToolBarPictures[] = {
    {"CONTFOLDER", "document-open-folder", "folder"},
    {"TABLEBUT", "", "table"},
    {"STYLEBUT", "", "css"},
    {"FONTBUT", "preferences-desktop-font", "font"},
    {"ABUT", "insert-link", "link"},
    {"SWFBUT", "", "flash"},
    {"IMGBUT", "insert-image", "image"},
    {"COMMENTBUT", "", "comment"},
    {"NAVBUT", "", "tagtree"},
    {"CHECKBUT", "", "check"},
    {"VIEWBUT", "document-preview", "preview"},
    {"ToolButton5", "edit-find", "find"},
    {"SpeedButton1", "view-refresh", "refresh"},
};

// Menu entries: the theme's picture alone, or the tool button's they share.
constexpr Picture kMenuPictures[] = {
    {"NEWDOC_ACTION", "document-new", ""},
    {"MENU_NEWEMPTY", "text-plain", ""},
    {"MENU_NEWPAGE", "text-html", ""},
    {"N7", "document-open", ""},
    {"RECENT_MENU_ACTION", "document-open-recent", ""},
    {"N16", "document-save", ""},
    {"MENU_RESERVES_ACTION", "document-save-all", ""},
    {"N14", "document-save-as", ""},
    {"MENU_IMPORT", "document-import", ""},
    {"MENU_EXPORT", "document-export", ""},
    {"MENU_DOC_PROP", "document-properties", ""},
    {"MENU_EXIT", "application-exit", ""},
    {"MENU_UNDO", "edit-undo", ""},
    {"MENU_REDO", "edit-redo", ""},
    {"MENU_COPY", "edit-copy", ""},
    {"MENU_CUT", "edit-cut", ""},
    {"MENU_PASTE", "edit-paste", ""},
    {"MENU_SELALL", "edit-select-all", ""},
    {"MENU_SELECTPATH", "document-open-folder", "folder"},
    {"MENU_RGBSEL", "color-picker", ""},
    {"N30", "edit-find", "find"},
    {"MENU_SEARCH_NEXT", "go-down-search", ""},
    {"MENU_PROGBROWSER_VIEW", "document-preview", "preview"},
    {"MENU_HELP", "help-contents", ""},
    {"MENU_ABOUT", "help-about", ""},
};

QString latin(const char* s) { return QString::fromLatin1(s); }

} // namespace

void TForm1::buildPictures()
{
    const QSize size(22, 22);
    MAINTOOLBAR->setIconSize(size);
    for (const Picture& p : kToolBarPictures) {
        if (auto* b = MAINTOOLBAR->findChild<QToolButton*>(latin(p.component))) {
            b->setIcon(ProgramPicture(latin(p.theme), latin(p.own)));
            b->setIconSize(size);
            b->setToolButtonStyle(Qt::ToolButtonIconOnly);
        }
    }
    for (const Picture& p : kMenuPictures)
        if (auto* a = findChild<QAction*>(latin(p.component)))
            a->setIcon(ProgramPicture(latin(p.theme), latin(p.own)));
}
