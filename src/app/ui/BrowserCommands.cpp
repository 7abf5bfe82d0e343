// The preview button's entries for outside browsers (F10, the user's browser
// of SYSBROWSPATH, Internet Explorer, Opera, Mozilla Firefox) and the
// preview URL assignment. Outside browsers show the document's file as last
// saved, or the URL assigned to it.
#include "app/Globals.h"
#include "app/ui/MainWindow.h"
#include "platform/Shell.h"
#include "preview/ExternalBrowsers.h"
#include "preview/Preview.h"
#include "preview/ui/UrlAssignDialog.h"
#include "store/OptionItems.h"
#include "store/OptionsStore.h"
#include "store/Utilities.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>

namespace {

QString notStartedMessage(const QString& program)
{
    return QStringLiteral("Не удалось запустить браузер ") + program;
}

QString notOpenedMessage(const QString& path)
{
    return QStringLiteral("Не удалось открыть документ программой, назначенной для него в системе: ") + path;
}

QString notSavedMessage(const QString& path)
{
    return QStringLiteral("Внешний браузер показывает документ с диска, а он ещё не сохранён: ") + path;
}

// The tag check before an outside preview, when "Проверять исходник" is on.
bool passesCheck(TForm1& form) { return !CHECK_HTML || form.CHECK_TAGS(); }

// The address for an outside browser; empty (with a message in the log)
// when there is nothing on disk to show.
QString outsideAddress(TForm1& form)
{
    const QString address = OutsidePreviewAddress(CurrentFileName);
    if (address == CurrentFileName && !QFileInfo(CurrentFileName).isFile()) {
        form.HELPLOG_Write(notSavedMessage(CurrentFileName), true);
        return {};
    }
    return address;
}

// Starts a browser with the address as its only argument.
void startBrowser(TForm1& form, const QString& program, const QString& folder)
{
    const QString address = outsideAddress(form);
    if (address.isEmpty())
        return;
    if (!platform::Shell().start(program, {address}, folder))
        form.HELPLOG_Write(notStartedMessage(program), true);
}

} // namespace

void TForm1::buildBrowserEntries()
{
    const auto entry = [this](const char* name, const QString& caption) {
        auto* a = new QAction(caption, PopupMenu1);
        a->setObjectName(QString::fromLatin1(name));
        PopupMenu1->insertAction(MENU_CHECKCODE, a);
        return a;
    };
    MENU_SYSBROWSER_VIEW = entry("MENU_SYSBROWSER_VIEW", QStringLiteral("Просмотр во внешнем браузере"));
    MENU_SYSBROWSER_VIEW->setShortcut(Qt::Key_F10);
    MENU_SYSBROWSER_VIEW->setShortcutContext(Qt::WidgetShortcut); // the key is MENU_CtrlF9's
    MENU_IEVIEW = entry("MENU_IEVIEW", kIeCaption);
    MENU_OPERAVIEW = entry("MENU_OPERAVIEW", kOperaCaption);
    MENU_FOXVIEW = entry("MENU_FOXVIEW", kFirefoxCaption);
    MENU_URLASSIGN = entry("MENU_URLASSIGN", QStringLiteral("Назначить URL для просмотра ..."));
    MENU_URLASSIGN->setCheckable(true);
    PopupMenu1->insertSeparator(MENU_CHECKCODE);
    URL_ASSIGN = new TURL_ASSIGN(this);

    connect(MENU_SYSBROWSER_VIEW, &QAction::triggered, this, &TForm1::MENU_SYSBROWSER_VIEWClick);
    MENU_CtrlF9->setEnabled(true);
    connect(MENU_CtrlF9, &QAction::triggered, this, &TForm1::MENU_SYSBROWSER_VIEWClick);
    connect(MENU_IEVIEW, &QAction::triggered, this, &TForm1::MENU_IEVIEWClick);
    connect(MENU_OPERAVIEW, &QAction::triggered, this, &TForm1::MENU_OPERAVIEWClick);
    connect(MENU_FOXVIEW, &QAction::triggered, this, &TForm1::MENU_FOXVIEWClick);
    connect(MENU_URLASSIGN, &QAction::triggered, this, &TForm1::MENU_URLASSIGNClick);
    connect(PopupMenu1, &QMenu::aboutToShow, this, &TForm1::PopupMenu1BrowserEntries, Qt::UniqueConnection);
}

void TForm1::PopupMenu1BrowserEntries()
{
    MENU_URLASSIGN->setChecked(AssignedUrl(CurrentFileName).has_value());
    const BrowserLookup lookup = CurrentBrowserLookup();
    const struct {
        QAction* action;
        BrowserEntry entry;
        const QString& caption; // when not found
    } rows[] = {
        {MENU_IEVIEW, InternetExplorerEntry(lookup), kIeCaption},
        {MENU_OPERAVIEW, OperaEntry(lookup), kOperaCaption},
        {MENU_FOXVIEW, FirefoxEntry(lookup), kFirefoxCaption},
    };
    for (const auto& row : rows) {
        row.action->setEnabled(row.entry.found);
        row.action->setText(row.entry.found ? row.entry.caption : row.caption);
    }
}

void TForm1::MENU_SYSBROWSER_VIEWClick()
{
    if (!passesCheck(*this))
        return;
    Opt_SelectFile(opt::Program);
    const QString browser = Opt_ReadStr(opt::SYSBROWSPATH);
    if (!browser.isEmpty() && QFileInfo(browser).isFile()) {
        startBrowser(*this, browser, QFileInfo(browser).absolutePath());
        return;
    }
    // The desktop's handler opens the file itself, even when a URL is assigned.
    if (!QFileInfo(CurrentFileName).isFile()) {
        HELPLOG_Write(notSavedMessage(CurrentFileName), true);
        return;
    }
    if (!ShellOpen(CurrentFileName))
        HELPLOG_Write(notOpenedMessage(CurrentFileName), true);
}

void TForm1::MENU_IEVIEWClick()
{
    if (passesCheck(*this))
        startBrowser(*this, IeProgramName, QString());
}

void TForm1::MENU_OPERAVIEWClick()
{
    const BrowserEntry opera = OperaEntry(CurrentBrowserLookup());
    if (opera.found && passesCheck(*this))
        startBrowser(*this, opera.program, opera.folder);
}

void TForm1::MENU_FOXVIEWClick()
{
    const BrowserEntry firefox = FirefoxEntry(CurrentBrowserLookup());
    if (firefox.found && passesCheck(*this))
        startBrowser(*this, firefox.program, firefox.folder);
}

void TForm1::MENU_URLASSIGNClick()
{
    // The check mark tells whether the document has a URL, not a toggle.
    MENU_URLASSIGN->setChecked(AssignedUrl(CurrentFileName).has_value());
    URL_ASSIGN->showFor(CurrentFileName);
}
