// The preview in the program's own browser (F9, the preview button, the
// smaller screen sizes) and the help page.
#include "app/Documents.h"
#include "app/Globals.h"
#include "app/ui/MainWindow.h"
#include "editor/ui/KRichEdit.h"
#include "html/TagChecker.h"
#include "preview/Preview.h"
#include "preview/ui/BrowserWindow.h"
#include "store/Utilities.h"

#include <QAction>
#include <QActionGroup>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QToolButton>

namespace {

const QString kHelpMode = QStringLiteral("Справка");

QString tempCopyWriteFailed(const QString& error)
{
    return QStringLiteral("Страница не показана: не удалось записать её копию для просмотра рядом с документом.\n") + error;
}

} // namespace

void TForm1::buildPreviewEntries()
{
    // The button's click previews; its arrow opens the drop-down.
    VIEWBUT->setPopupMode(QToolButton::MenuButtonPopup);
    connect(VIEWBUT, &QToolButton::clicked, this, &TForm1::MENU_PROGBROWSER_VIEWClick);
    MENU_PROGBROWSER_VIEW->setEnabled(true);
    connect(MENU_PROGBROWSER_VIEW, &QAction::triggered, this, &TForm1::MENU_PROGBROWSER_VIEWClick);
    MENU_FF9->setEnabled(true);
    connect(MENU_FF9, &QAction::triggered, this, &TForm1::MENU_PROGBROWSER_VIEWClick);

    N24 = new QMenu(QStringLiteral("Браузер с меньшим разрешением"), PopupMenu1);
    N24->setObjectName(QStringLiteral("N24"));
    const QList<QAction*> entries = PopupMenu1->actions();
    const int after = int(entries.indexOf(MENU_PROGBROWSER_VIEW)) + 1;
    PopupMenu1->insertMenu(after < entries.size() ? entries.at(after) : nullptr, N24);
    auto* sizes = new QActionGroup(N24);
    const struct {
        QAction** entry;
        const char* name;
        const char* caption;
        PreviewSize size;
    } rows[] = {
        {&MENU_IMNO, "MENU_IMNO", "Нет", PreviewSize::None},
        {&MENU_IM1280, "MENU_IM1280", "1280 x 1024", PreviewSize::S1280},
        {&MENU_IM1024, "MENU_IM1024", "1024 x 768", PreviewSize::S1024},
        {&MENU_IM800, "MENU_IM800", "800 x 600", PreviewSize::S800},
    };
    for (const auto& row : rows) {
        QAction* a = N24->addAction(QString::fromUtf8(row.caption));
        a->setObjectName(QString::fromLatin1(row.name));
        a->setCheckable(true);
        sizes->addAction(a);
        *row.entry = a;
        const PreviewSize size = row.size;
        connect(a, &QAction::triggered, this, [this, size] {
            browserWindow()->Size = size;
            MENU_PROGBROWSER_VIEWClick();
        });
    }
    MENU_IMNO->setChecked(true);
    connect(N24, &QMenu::aboutToShow, this, &TForm1::N24Click);
}

void TForm1::buildHelpMenu()
{
    HELPMENU = menuBar()->addMenu(QStringLiteral("Справка"));
    HELPMENU->setObjectName(QStringLiteral("HELPMENU"));
    MENU_HELP = HELPMENU->addAction(QStringLiteral("Работа с редактором"));
    MENU_HELP->setObjectName(QStringLiteral("MENU_HELP"));
    connect(MENU_HELP, &QAction::triggered, this, [this] { ShowHELP(); });
}

TBROWSFORM* TForm1::browserWindow()
{
    if (!BROWSFORM)
        BROWSFORM = new TBROWSFORM(this);
    return BROWSFORM;
}

void TForm1::N24Click()
{
    const int monitorWidth = screen() ? screen()->geometry().width() : 0;
    const PreviewSize current = BROWSFORM ? BROWSFORM->Size : PreviewSize::None;
    const std::pair<QAction*, PreviewSize> entries[] = {
        {MENU_IMNO, PreviewSize::None}, {MENU_IM1280, PreviewSize::S1280}, {MENU_IM1024, PreviewSize::S1024}, {MENU_IM800, PreviewSize::S800}};
    for (const auto& [entry, size] : entries) {
        entry->setEnabled(PreviewSizeOffered(size, monitorWidth));
        entry->setChecked(size == current);
    }
}

bool TForm1::CHECK_TAGS()
{
    QString message;
    if (CheckTagsInModel(*Memo1, &message))
        return true;
    HELPLOG_Write(message, true);
    return false;
}

void TForm1::MENU_PROGBROWSER_VIEWClick()
{
    TBROWSFORM* window = browserWindow();
    window->HelpMode.clear();
    PreviewAddress address = PreviewAddressOf(CurrentFileName);
    if (!CurrentIsHTML()) {
        ShowNotice(NotHtmlMessage);
        return;
    }
    if (address.needsSave) {
        SaveFile();
        address.address = CurrentFileName;
    }
    if (CHECK_HTML && !CHECK_TAGS())
        return;
    const QString tempCopy = TempCopyPath(CurrentFileName);
    if (!address.assigned) {
        QString error;
        if (!DocSave(tempCopy, Memo1->text(), DocEncoding, DocLineEnds, &error)) {
            HELPLOG_Write(tempCopyWriteFailed(error), true);
            platform::prompts().message(QString(), tempCopyWriteFailed(error), platform::Severity::Warning);
            return;
        }
    }
    const QUrl url = address.assigned && !address.needsSave ? QUrl::fromUserInput(address.address) : QUrl::fromLocalFile(address.address);
    window->showPage(url, tempCopy, QFileInfo(CurrentFileName).absolutePath());
}

void TForm1::ShowHELP(const QString& anchor)
{
    TBROWSFORM* window = browserWindow();
    window->ScrollMemory = -1;
    const PreviewSize size = window->Size;
    window->Size = PreviewSize::None;
    window->HelpMode = kHelpMode;
    window->showPage(QUrl(HelpAddress(QCoreApplication::applicationFilePath(), anchor)),
                     CurrentFileName.isEmpty() ? QString() : TempCopyPath(CurrentFileName), QFileInfo(CurrentFileName).absolutePath());
    // The chosen size stays for the next preview.
    window->Size = size;
}
