#include "app/ui/MainWindow.h"

#include "app/Globals.h"
#include "app/RecentDocuments.h"
#include "editor/Undo.h"
#include "editor/ui/KRichEdit.h"
#include "platform/Prompts.h"
#include "platform/ui/InstanceLink.h"
#include "store/ColourNotation.h"
#include "store/ui/QtColour.h"
#include "settings/ui/SettingsDialog.h"
#include "ui_MainWindow.h"

#include <QGuiApplication>
#include <QScreen>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QTextEdit>
#include <QTime>
#include <QTimer>
#include <QToolBar>
#include <algorithm>

// The window's pictures live in the static library's resources.
static void initPictures() { Q_INIT_RESOURCE(pictures); }

namespace {

// One line of the menu table: a menu (no parent) or an entry of one.
struct MenuItem {
    const char* name;
    const char* parent; // empty for a top-level menu
    const char* caption;
    const char* shortcut;
    bool enabled;
};

// The main menu. Entries of commands that are not built yet are absent;
// each command brings its own lines. The name "-" is a separator.
constexpr MenuItem kMainMenu[] = {
    {"N13", "", "Файл", "", true},
    {"NEWDOC", "N13", "Новый", "", true},
    {"MENU_NEWEMPTY", "NEWDOC", "Пустой документ", "", true},
    {"MENU_NEWPAGE", "NEWDOC", "Web-страница", "", true},
    {"N7", "N13", "Открыть ...", "Ctrl+O", true},
    {"N8", "N13", "Открыть в буфер обмена ...", "", true},
    {"RECENT_MENU", "N13", "Недавние документы", "", true},
    {"RECENT_ACTITEM", "RECENT_MENU", "", "", true},
    {"-", "N13", "", "", true},
    {"N16", "N13", "Сохранить", "Ctrl+S", true},
    {"N14", "N13", "Сохранить как ...", "", true},
    {"MENU_IMPORT", "N13", "Импорт ...", "", true},
    {"MENU_EXPORT", "N13", "Экспорт ...", "", true},
    {"MENU_DOC_PROP", "N13", "Свойства документа", "", true},
    {"N37", "N13", "Кодировка", "", true},
    {"ENC_1251", "N37", "Windows-1251, обычный текст", "", true},
    {"ENC_UTF8", "N37", "UTF-8", "", true},
    {"MENU_RESERVES", "N13", "Резервные копии", "", true},
    {"MENU_RESERVCOPY", "MENU_RESERVES", "Сохранить в папке документа", "", true},
    {"MENU_RESERVCUR", "MENU_RESERVES", "Сохранить в резерв", "", true},
    {"MMENU_UNSAVED", "MENU_RESERVES", "Открыть резерв", "", true},
    {"MENU_CLEARRESERVE", "MENU_RESERVES", "Очистить весь резерв", "", true},
    {"-", "N13", "", "", true},
    {"MENU_EXIT", "N13", "Выход", "Alt+X", true},
    {"MENU_TAGS", "", "Теги", "", true},
    {"MENU_TAGS_NONE", "MENU_TAGS", "Редактор шаблонов тегов не входит в программу", "", false},
};

} // namespace

namespace {

// The screens' available area together.
QRect desktopArea()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableVirtualGeometry() : QRect();
}

} // namespace

TForm1::TForm1(const QStringList& args, QWidget* parent)
    : QMainWindow(parent)
    , ui(new Ui::TForm1)
    , args_(args)
{
    initPictures();
    ui->setupUi(this);
    Memo1 = ui->Memo1;
    HELPLOG = ui->HELPLOG;
    CLOSELOG = ui->CLOSELOG;
    VERTBAR = ui->VERTBAR;
    STATUS = ui->STATUS;
    MAINTOOLBAR = ui->MAINTOOLBAR;
    TIME_TIMER = new QTimer(this);
    TIME_TIMER->setObjectName(QStringLiteral("TIME_TIMER"));
    TIME_TIMER->setInterval(1000);
    connect(TIME_TIMER, &QTimer::timeout, this, &TForm1::TIME_TIMERTimer);
    buildMenus();
    buildToolBar();
    buildEditorPopup();
    buildCaretContext();
    buildTextCommands();
    buildColourMenu();
    buildDocumentTools();
    buildNewPageWizard();
    buildPreviewEntries();
    buildLivePreviewEntry();
    buildBrowserEntries();
    buildHelpMenu();
    buildAboutEntry();
    buildStyleReference();
    buildFontDialog();
    buildElementDialogs();
    buildSettings();
    buildStatusBar();
    wireEditor();
    buildAbbreviations();
    buildDocumentStatus();
    buildPictures();
    FormCreate();
}

TForm1::~TForm1()
{
    platform::StopListening();
    delete ui;
}

void TForm1::buildMenus()
{
    QHash<QString, QMenu*> menus;
    for (const MenuItem& m : kMainMenu) {
        const QString name = QString::fromUtf8(m.name);
        const QString caption = QString::fromUtf8(m.caption);
        if (*m.parent == '\0') {
            QMenu* menu = menuBar()->addMenu(caption);
            menu->setObjectName(name);
            menu->menuAction()->setObjectName(name + QStringLiteral("_ACTION"));
            menus.insert(name, menu);
            continue;
        }
        QMenu* parentMenu = menus.value(QString::fromUtf8(m.parent));
        if (name == QLatin1String("-")) {
            parentMenu->addSeparator();
            continue;
        }
        // An entry that other entries name as their parent is a submenu.
        if (std::any_of(std::begin(kMainMenu), std::end(kMainMenu), [&](const MenuItem& c) { return name == QString::fromUtf8(c.parent); })) {
            QMenu* sub = parentMenu->addMenu(caption);
            sub->setObjectName(name);
            sub->menuAction()->setObjectName(name + QStringLiteral("_ACTION"));
            sub->menuAction()->setEnabled(m.enabled);
            menus.insert(name, sub);
            continue;
        }
        QAction* a = parentMenu->addAction(caption);
        a->setObjectName(name);
        a->setEnabled(m.enabled);
        if (*m.shortcut)
            a->setShortcut(QKeySequence(QString::fromUtf8(m.shortcut)));
    }
    N13 = menus.value(QStringLiteral("N13"));
    MENU_TAGS = menus.value(QStringLiteral("MENU_TAGS"));
    MENU_EXIT = findChild<QAction*>(QStringLiteral("MENU_EXIT"));
    connect(MENU_EXIT, &QAction::triggered, this, &QWidget::close);
    wireDocumentCommands();
    buildReopenEncodingCommands();
    wireImportExport();
    buildSnippetMenu();
}

void TForm1::buildStatusBar()
{
    // Hints 400 px, caret report up to 500 px, clock 50 px at the right edge,
    // so the clock stays in view on a narrow window.
    for (int i = 0; i < 3; ++i) {
        auto* l = new QLabel(STATUS);
        l->setObjectName(QStringLiteral("STATUS_PANEL%1").arg(i));
        l->setFrameShape(QFrame::StyledPanel);
        l->setFrameShadow(QFrame::Sunken);
        panels_ << l;
    }
    panels_[0]->setFixedWidth(400);
    panels_[1]->setMinimumWidth(50);
    panels_[1]->setMaximumWidth(500);
    panels_[2]->setFixedWidth(50);
    panels_[2]->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    STATUS->addWidget(panels_[0]);
    STATUS->addWidget(panels_[1], 1);
    STATUS->addPermanentWidget(panels_[2]);
    STATUS->setSizeGripEnabled(true);
}

QString TForm1::statusPanel(int i) const { return panels_.value(i) ? panels_[i]->text() : QString(); }

void TForm1::setStatusPanel(int i, const QString& text)
{
    // A log line shown in panel 0 gives way to a text, not to a clearing.
    if (i == 0 && STATUS_FLASH && STATUS_FLASH->isActive()) {
        hintAfterMessage_ = text;
        if (!text.isEmpty())
            endStatusMessage();
        return;
    }
    if (QLabel* l = panels_.value(i))
        l->setText(text);
}

void TForm1::setAppTitle(const QString& title) { appTitle_ = title; }

void TForm1::applyAppearance(const EditorAppearance& a, bool atShow)
{
    if (!atShow) {
        QPalette p = Memo1->palette();
        p.setColor(QPalette::Base, ToQColor(a.background));
        p.setColor(QPalette::Text, Qt::black);
        Memo1->setPalette(p);
        UseDoubleQuotes = a.doubleQuotes;
        TypingCloseTags = a.closeTags;
        TypingCompletion = a.completion;
        TypingAbbreviations = a.abbreviations;
        if (!a.showLog)
            hideLog();
        return;
    }
    if (a.wrapOnlyVertical) {
        Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    }
    MENU_TAGS->menuAction()->setVisible(a.showTagsMenu);
    QFont f = Memo1->font();
    f.setFamily(a.fontName);
    f.setPointSize(a.fontSize);
    Memo1->setFont(f);
    Memo1->measureLineHeight();
}

void TForm1::FormCreate()
{
    // Dropped files are accepted; what they do belongs to the document commands.
    setAcceptDrops(true);
    ParentWindow = 0;
    DocEncoding = 1;

    const WindowPlacement p = FitPlacement(ReadWindowPlacement(), desktopArea());
    move(p.left, p.top);
    resize(p.width, p.height);
    if (p.maximized)
        setWindowState(windowState() | Qt::WindowMaximized);

    applyAppearance(ReadEditorAppearance(), false);
    LoadingText = true;
    InitProgramFolders();
    UndoInit(Memo1);
    UndoReset();

    // The application-wide hint handler: panel 0 follows the hint of the
    // control under the mouse.
    qApp->installEventFilter(this);
}

void TForm1::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (shown_)
        return;
    shown_ = true;
    FormShow();
}

void TForm1::FormShow()
{
    LoadingText = true;
    startDocument_ = ResolveStartDocument(args_);
    if (startDocument_.kind == StartDocument::Kind::Page) {
        ParentDocument = startDocument_.parentDocument;
        ParentWindow = startDocument_.fromParent ? startDocument_.parentWindow : 0;
    }
    openStartDocument();
    // In every case:
    DocModified = false;
    UndoSnapshot();
    applyAppearance(ReadEditorAppearance(), true);
    // The dialog's boxes are the switches some commands read: filled at
    // every start, whatever the command line named.
    SETTINGS->BuildSettings();
    DoctypeDependent();
    TIME_TIMER->start();
    startRecovery();
}

void TForm1::TIME_TIMERTimer()
{
    const QTime now = QTime::currentTime();
    setStatusPanel(2, ClockText(now.hour(), now.minute()));
    LoadingText = false;
}

void TForm1::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    Memo1->viewport()->update();
}

bool TForm1::FormCloseQuery()
{
    if (DocModified && Memo1->text().size() > 1 && !SAVE_ON_EXIT())
        return false;
    WindowShow state = WindowShow::Normal;
    if (isMinimized())
        state = WindowShow::Minimized;
    else if (isMaximized())
        state = WindowShow::Maximized;
    StoreWindowPlacement(state, FitPlacement({pos().x(), pos().y(), width(), height(), false}, desktopArea()));
    UndoReset();
    const QString scratch = ScratchDocumentPath();
    if (QFile::exists(scratch))
        QFile::remove(scratch);
    return true;
}

void TForm1::FormClose()
{
    setAcceptDrops(false);
    UndoReset();
    // Started from another editor for this document: give its window back.
    if (ParentWindow != 0 && platform::IsLiveWindow(ParentWindow)) {
        showMinimized();
        if (!ParentDocument.isEmpty())
            AddToRecent_Opening(ParentDocument);
        platform::RestoreWindow(ParentWindow);
    }
    qApp->removeEventFilter(this);
}

void TForm1::closeEvent(QCloseEvent* event)
{
    if (closing_ || !FormCloseQuery()) {
        event->ignore();
        return;
    }
    closing_ = true;
    FormClose();
    event->accept();
}

bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == CLOSELOG && event->type() == QEvent::MouseButtonRelease) {
        CLOSELOGClick();
        return true;
    }
    if ((watched == COLORDISP || watched == COLORRECT) && event->type() == QEvent::MouseButtonRelease) {
        COLOR_CHANGE();
        return true;
    }
    if (event->type() == QEvent::Enter && watched->isWidgetType()) {
        QString hint;
        for (auto* w = static_cast<QWidget*>(watched); w && hint.isEmpty(); w = w->parentWidget()) {
            hint = w->toolTip();
            if (w->isWindow())
                break;
        }
        showHint(hint);
    }
    return QMainWindow::eventFilter(watched, event);
}
