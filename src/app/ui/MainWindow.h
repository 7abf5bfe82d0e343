#pragma once
// The main window: owns the editor, the message log, the marker bar, the
// status bar, the menus and the tool bar, and runs the start and close of
// the program's window life.
#include "app/Documents.h"
#include "app/StartUp.h"
#include "editor/MessageLog.h"
#include "store/ColourNotation.h"

#include <QFont>
#include <QMainWindow>
#include <QStringList>
#include <functional>

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QSplitter;
class QStatusBar;
class PageBrowser;
class QTextEdit;
class QTimer;
class QToolBar;
class QToolButton;
class TKRichEdit;
class THTMLNAVIG;
class TMACROSFORM;
class TMRED;
class TPALETTE_DIALOG;
class TDOCUMENT_PROPERTIES;
class TCLASSNAME;
class TNEWPAGE;
class QComboBox;
class TBROWSFORM;
class TURL_ASSIGN;
class TABOUTFORM;
class TRESVIEWER;
class TNUM_INSERT;
class TFONTFORM;
class TCOMMENTFORM;
class TIMGDROP;
class TSWFFORM;
class TSETTINGS;
class TagPairHighlight;
struct BackupResult;
class RecoveryKeeper;
struct RecoveryCopy;

namespace Ui {
class TForm1;
}

class TForm1 : public QMainWindow {
    Q_OBJECT

public:
    // args: the command-line arguments without the program name.
    explicit TForm1(const QStringList& args, QWidget* parent = nullptr);
    ~TForm1() override;

    // Components, named as their objects.
    TKRichEdit* Memo1 = nullptr;
    QTextEdit* HELPLOG = nullptr;
    QLabel* CLOSELOG = nullptr;
    QWidget* VERTBAR = nullptr;
    QStatusBar* STATUS = nullptr;
    QToolBar* MAINTOOLBAR = nullptr;
    QTimer* TIME_TIMER = nullptr;
    QMenu* N13 = nullptr;       // "Файл"
    QAction* MENU_EXIT = nullptr;
    QMenu* NEWDOC = nullptr;          // "Новый"
    QAction* MENU_NEWEMPTY = nullptr; // "Пустой документ"
    QAction* N7 = nullptr;            // "Открыть ..." (Ctrl+O)
    QAction* N14 = nullptr;           // "Сохранить как ..."
    QAction* N16 = nullptr;           // "Сохранить" (Ctrl+S)
    QMenu* N37 = nullptr;             // "Кодировка"
    QAction* ENC_1251 = nullptr;      // "Windows-1251, обычный текст"
    QAction* ENC_UTF8 = nullptr;      // "UTF-8"
    QAction* N8 = nullptr;            // "Открыть в буфер обмена ..."
    QAction* MENU_IMPORT = nullptr;   // "Импорт ..."
    QAction* MENU_EXPORT = nullptr;   // "Экспорт ..."
    QMenu* RECENT_MENU = nullptr;     // "Недавние документы"
    QAction* RECENT_ACTITEM = nullptr; // hidden template of the recent entries
    QMenu* MENU_RESERVES = nullptr;   // "Резервные копии"
    QAction* MENU_RESERVCOPY = nullptr;   // "Сохранить в папке документа"
    QAction* MENU_RESERVCUR = nullptr;    // "Сохранить в резерв"
    QAction* MMENU_UNSAVED = nullptr;     // "Открыть резерв"
    QAction* MENU_CLEARRESERVE = nullptr; // "Очистить весь резерв"
    QMenu* MENU_TAGS = nullptr; // "Теги"
    QMenu* EDITOR_POPUP = nullptr;
    QAction* MENU_UNDO = nullptr;     // "Отмена" (Ctrl+Z)
    QAction* MENU_REDO = nullptr;     // "Повторить" (Ctrl+Y, Ctrl+Shift+Z)
    QAction* MENU_FF9 = nullptr;      // hidden: F9, preview in the program's browser
    QAction* MENU_CtrlF9 = nullptr;   // hidden: F10, preview in the external browser
    QAction* MENU_SELECTPATH = nullptr; // "Выбрать путь на диске ..." (Ctrl+Alt+P)
    QAction* MENU_COPY = nullptr;       // "Копировать"
    QAction* MENU_CUT = nullptr;        // "Вырезать"
    QAction* MENU_PASTE = nullptr;      // "Вставить"
    QAction* MENU_SELALL = nullptr;     // "Выделить всё"
    QAction* MENU_UPPERCASE = nullptr;
    QAction* MENU_LOWERCASE = nullptr;
    QAction* MENU_TRANSTOENG = nullptr; // "Преобразовать в латинский"
    QAction* MENU_TRANSTORUS = nullptr; // "Преобразовать в русский"
    QMenu* MENU_DOCSTRINGS = nullptr;   // "Строки документа"
    QAction* MENU_SAVESELECTED = nullptr;
    QAction* MENU_DELNOMEANSTR = nullptr;
    QAction* N26 = nullptr;             // blanks at line starts
    QAction* N31 = nullptr;             // repeated blanks
    QAction* br1 = nullptr;             // "<br>" at line ends
    QAction* MENU_OPTIMIZECODE = nullptr;
    QAction* N1 = nullptr;              // into one line
    QMenu* N22 = nullptr;               // "Стиль и класс"
    QMenu* MENU_STYLE = nullptr;        // "Вставить в стиль"
    QAction* MENU_BR = nullptr;         // "<br>" (Ctrl+B)
    QMenu* MENU_SIMBOLS = nullptr;      // "Символы"
    QFrame* TXTOOLS = nullptr;          // the floating tag tool panel
    QMenu* MENU_RCLR = nullptr;         // "Цвет"
    QAction* MENU_CREATECOLOR = nullptr; // "Создать"
    QAction* MENU_CHANGECOLOR = nullptr; // "Изменить"
    QAction* MENU_DOCCLRCAPT = nullptr;  // heading "Цвета документа"
    QAction* MENU_RECENTCLRCAPT = nullptr; // heading "Недавно использованные"
    QAction* RECENT_CLR = nullptr;       // hidden template of the colour entries
    QAction* MENU_RGBSEL = nullptr;      // "color: выбор цвета"
    TPALETTE_DIALOG* PALETTE_DIALOG = nullptr; // the colour picker
    QAction* MENU_DOC_PROP = nullptr;    // "Свойства документа"
    QAction* MENU_NEWPAGE = nullptr;     // "Новый" / "Web-страница"
    TNEWPAGE* NEWPAGE = nullptr;         // the new page wizard
    TDOCUMENT_PROPERTIES* DOCUMENT_PROPERTIES = nullptr;
    QComboBox* CLASSESSEL = nullptr;     // the class selector
    QToolButton* SpeedButton1 = nullptr; // refills the class selector
    // The class chosen in the selector (Latin letters only), or empty.
    QString CurrentClass;
    TCLASSNAME* CLASSNAME = nullptr;     // the class name dialog
    QAction* MENU_STYLE2CLASS = nullptr; // "Преобразовать стиль в класс"
    QAction* MENU_STYLESEL = nullptr;    // "Выбрать имя класса"
    // Asks for a class name offering the document's classes ("error" for the
    // style text "error"). Tests answer it instead of the dialog.
    std::function<QString(const QString& styleText, const QStringList& names)> askClassName;
    static std::function<QString(const QString& styleText, const QStringList& names)> ClassNameForTests;
    // Shows the picker for a start colour; true with the picked colour when
    // confirmed. Tests answer it instead of the window.
    std::function<bool(TColor start, TColor* picked)> pickColour;
    // When set, main windows made afterwards answer the picker with it.
    static std::function<bool(TColor start, TColor* picked)> PickerForTests;
    // The colour swatch shown for 500 ms after a click on a colour code.
    QFrame* COLORDISP = nullptr;
    QFrame* COLORRECT = nullptr;
    QTimer* COLORTIMER = nullptr;
    // Tool buttons whose hints the typing hints quote.
    QToolButton* TABLEBUT = nullptr;
    QToolButton* STYLEBUT = nullptr;
    QToolButton* FONTBUT = nullptr;
    QToolButton* ABUT = nullptr;
    QToolButton* SWFBUT = nullptr;
    QToolButton* IMGBUT = nullptr;
    QToolButton* COMMENTBUT = nullptr;
    // The document's tool buttons.
    QToolButton* CONTFOLDER = nullptr; // "Открыть папку документа"
    QToolButton* NAVBUT = nullptr;     // "Навигация по тегам"
    QToolButton* CHECKBUT = nullptr;   // "Проверить синтаксис кода"
    QToolButton* VIEWBUT = nullptr;    // "Просмотр страницы", with PopupMenu1
    QMenu* PopupMenu1 = nullptr;
    THTMLNAVIG* HTMLNAVIG = nullptr;  // the tag navigation window
    QAction* MENU_PROGBROWSER_VIEW = nullptr; // "Просмотр в браузере редактора"
    QAction* MENU_CHECKCODE = nullptr;        // "Проверять исходник"
    QMenu* MACROS = nullptr;            // "Заготовки"
    QAction* MACROS_ADD = nullptr;      // "Добавить ..."
    QAction* MAKR_CRSEL = nullptr;      // "Создать из выделенного"
    QAction* MACROS_INSERT = nullptr;   // "Управление заготовками ..."
    QAction* MACROS_ACTITEM = nullptr;  // hidden template of the snippet entries
    TMACROSFORM* MACROSFORM = nullptr;  // the snippet manager
    TMRED* MRED = nullptr;              // the snippet editor

    // ---- The preview window and the help page (app/ui/PreviewCommands.cpp) ----
    TBROWSFORM* BROWSFORM = nullptr;    // made on the first preview or help
    QMenu* N24 = nullptr;               // "Браузер с меньшим разрешением"
    QAction* MENU_IMNO = nullptr;       // "Нет"
    QAction* MENU_IM1280 = nullptr;     // "1280 x 1024"
    QAction* MENU_IM1024 = nullptr;     // "1024 x 768"
    QAction* MENU_IM800 = nullptr;      // "800 x 600"
    QMenu* HELPMENU = nullptr;          // "Справка"
    QAction* MENU_HELP = nullptr;       // "Работа с редактором"
    // The preview window, made when first needed.
    TBROWSFORM* browserWindow();
    void MENU_PROGBROWSER_VIEWClick();
    void N24Click();
    // The help page, scrolled to the anchor when one is given.
    void ShowHELP(const QString& anchor = QString());
    // ---- The live preview pane (app/ui/LivePreviewCommands.cpp) ----
    QAction* MENU_LIVEPREVIEW = nullptr; // "Живой просмотр" (F12)
    QSplitter* LIVESPLIT = nullptr;      // the editor and the pane, made with the pane
    QWidget* LIVEPANE = nullptr;         // the pane: the page, or LIVENOTE
    QLabel* LIVENOTE = nullptr;          // why no page is shown
    void showLivePreview(bool on, bool remember);
    // Shows the editor's text now (the pause timer calls it).
    void refreshLivePreview();
    // The document was replaced or saved.
    void liveDocumentChanged();
    // Outlines the element at the caret in the pane (its timer calls it).
    void outlineLiveElement();
    // A Ctrl+click in the pane at a point of its page: the caret to that element.
    void liveClickAt(const QPoint& point);
    // ---- Closing and matching tags (app/ui/TagPairCommands.cpp) ----
    QAction* MENU_PAIRTAG = nullptr;     // "Перейти к парному тегу" (Ctrl+M)
    TagPairHighlight* TAGPAIRS = nullptr; // the pair at the caret, highlighted
    void buildTagPairCommands();
    void MENU_PAIRTAGClick();
    // The tag check over the editor text: on a fault its message goes to the
    // log in red and the character is selected. True when the page passes.
    bool CHECK_TAGS();

    // ---- Outside browsers and preview URLs (app/ui/BrowserCommands.cpp) ----
    QAction* MENU_SYSBROWSER_VIEW = nullptr; // "Просмотр во внешнем браузере" (F10)
    QAction* MENU_IEVIEW = nullptr;          // "• Internet Explorer"
    QAction* MENU_OPERAVIEW = nullptr;       // "• Opera"
    QAction* MENU_FOXVIEW = nullptr;         // "• Mozilla Firefox"
    QAction* MENU_URLASSIGN = nullptr;       // "Назначить URL для просмотра ..."
    TURL_ASSIGN* URL_ASSIGN = nullptr;
    void MENU_SYSBROWSER_VIEWClick();
    void MENU_IEVIEWClick();
    void MENU_OPERAVIEWClick();
    void MENU_FOXVIEWClick();
    void MENU_URLASSIGNClick();

    // ---- About box and resource viewer (app/ui/HelpCommands.cpp) ----
    QAction* MENU_ABOUT = nullptr;      // "О программе"
    TABOUTFORM* ABOUTFORM = nullptr;
    TRESVIEWER* RESVIEWER = nullptr;    // made on the first image shown
    void MENU_ABOUTClick();
    // Shows an image or Flash file in the resource viewer.
    void IMGSHOW(const QString& path);

    // ---- CSS reference and number dialog (app/ui/StyleCommands.cpp) ----
    TNUM_INSERT* NUM_INSERT = nullptr;
    void buildStyleReference();
    QMenu* STYLEPOPUP = nullptr;      // the reference, filled from StyleHelp
    QAction* STVAL = nullptr;         // hidden: its handler is every value's
    QAction* MENU_NUMINSRT = nullptr; // "Число с единицами измерения"
    // Fills STYLEPOPUP from StyleHelp once per run; an empty section fills
    // nothing and is read again at the next click.
    void STYLEHELPClick();
    // STYLEBUT: the reference at the mouse pointer.
    void STYLEBUTClick();
    // A value entry chosen: its declaration at the caret as one undo step,
    // or first the question the value stands for.
    void STVALClick(QAction* entry);
    // A number with its unit in place of the selection.
    void MENU_NUMINSRTClick();
    // Shows the font style dialog for the reference's font value.
    std::function<void()> askFontStyle;
    bool StyleHelpBuilt = false;

    // ---- Font style dialog (app/ui/FontCommands.cpp) ----
    TFONTFORM* FONTFORM = nullptr;
    void buildFontDialog();
    // FONTBUT's command, also the tag tool panel's font button and the CSS
    // reference's font value: shows "Шрифт" (application-modal, without a
    // loop of its own) over the editor's selection, the current class and
    // the document's style sheets. Its OK writes into the editor itself.
    void FONTBUTClick();

    // ---- Element insertion dialogs (app/ui/ElementCommands.cpp) ----
    TCOMMENTFORM* COMMENTFORM = nullptr;
    TIMGDROP* IMGDROP = nullptr;
    TSWFFORM* SWFFORM = nullptr;
    // "background:URL( выбор на диске );" in the pop-up's "Вставить в стиль".
    QAction* MENU_CREATEBG = nullptr;
    void buildElementDialogs();
    // The comment dialog, with the comment handed over in CommentText.
    void COMMENTBUTClick();
    // Link, table, image and background in place of the selection, with the
    // current class where the element takes one; one undo step each.
    void ABUTClick();
    void TABLEBUTClick();
    void IMGBUTClick();
    void MENU_CREATEBGClick();
    void SWFBUTClick();

    // ---- Abbreviations on Tab and Ctrl+E (app/ui/AbbreviationCommands.cpp) ----
    void buildAbbreviations();
    // Expands the abbreviation before the caret (with Ctrl+E also the
    // selected text); true when the key is used up: expanded, or a fault
    // written to the log. With tab, false leaves the key to insert its tab.
    bool ExpandAbbreviationAtCaret(bool tab);

    // ---- Settings dialog (app/ui/SettingsCommands.cpp) ----
    QAction* N32 = nullptr;          // "Настройки"
    TSETTINGS* SETTINGS = nullptr;   // "Настройки программы"
    void buildSettings();
    void N32Click();

    // ---- Recovery copies of unsaved text (app/ui/RecoveryCommands.cpp) ----
    RecoveryKeeper* RECOVERY = nullptr; // made at the first showing
    // Each copy left by an instance that is gone: Yes opens it, No moves it
    // into the reserve copies.
    void offerRecoveryCopies();
    // A recovered text as the document, modified.
    void openRecoveredText(const RecoveryCopy& copy);

    // ---- Pictures and the status bar's document state (app/ui/Pictures.cpp, app/ui/StatusCommands.cpp) ----
    QToolButton* STATUS_ENCODING = nullptr; // "Windows-1251" / "UTF-8"; a click opens "Кодировка"
    QLabel* STATUS_LINEENDS = nullptr;      // "CRLF" / "LF"
    QTimer* STATUS_FLASH = nullptr;         // ends a log line shown in panel 0
    // The encoding and line ends of the document into the status bar.
    void showDocumentState();

    // Writes one line to the message log, red for an error.
    void HELPLOG_Write(const QString& message, bool isError);
    const MessageLog& messageLog() const { return log_; }
    // The caret report in status panel 1.
    void CARETINFO();
    // Undo the last step and bring the caret line into view.
    void MENU_UNDOClick();
    void MENU_REDOClick();
    // Hides the message log for good (HELPLOG = 0).
    void CLOSELOGClick();
    // The colour picker for the code under the caret.
    void COLOR_CHANGE();
    // The "Цвет" menu opens: its colour entries are rebuilt.
    void MENU_RCLRClick();
    // A colour entry (by its caption) chosen: swapped in or inserted.
    void RECENT_CLRClick(const QString& caption);
    void MENU_CREATECOLORClick();
    void MENU_RGBSELClick();
    // The class selector's list: "Нет класса", then the document's classes.
    void SpeedButton1Click();
    void CLASSESSELChange(const QString& text);
    // "Стиль и класс" opens: which of its two entries applies at the caret.
    void N22Click();
    void MENU_STYLE2CLASSClick();
    void MENU_STYLESELClick();
    // Inserts a relative path chosen in the path dialog.
    void MENU_SELECTPATHClick();
    // The clipboard commands of the editor pop-up (and of their keys).
    void MENU_COPYClick();
    void MENU_CUTClick();
    void MENU_PASTEClick();
    void MENU_SELALLClick();
    void MENU_SAVESELECTEDClick();
    // The pop-up opens: the entries that need a selection.
    void EDITOR_POPUPEnabling();

    QString statusPanel(int i) const;
    void setStatusPanel(int i, const QString& text);

    // The application's title (the notice window's caption).
    const QString& appTitle() const { return appTitle_; }

    // The document named on the command line, as resolved at start.
    const StartDocument& startDocument() const { return startDocument_; }

    // The clock tick: the time into panel 2, and loading is over.
    void TIME_TIMERTimer();

    // The document commands of the "Файл" menu.
    void NEWDOCClick();
    // The new page wizard: a new scratch document, then the wizard's page.
    void MENU_NEWPAGEClick();
    void OpenFile();
    void SaveFile();
    SaveResult SaveAs();
    void N37Click();
    void ENC_1251Click();
    void ENC_UTF8Click();
    void OpToClipBoard();
    void MENU_IMPORTClick();
    void MENU_EXPORTClick();
    // The "Файл" menu opens: the entries that need a document on disk.
    void N13Click();
    // The recent submenu opens: its entries are rebuilt from Recent.
    void RECENT_MENUClick();
    // A recent entry (by its name "RECENT_ITEM_" + position) chosen.
    void RECENT_ACTITEMClick(const QString& entryName);
    // The "Заготовки" menu opens: its snippet entries are rebuilt.
    void MACROSClick();
    // A snippet entry (by its name "MACROS_ITEM_" + index) chosen.
    void MACROS_ACTITEMClick(const QString& entryName);
    void MENU_RESERVCOPYClick();
    void MENU_RESERVCURClick();
    void MMENU_UNSAVEDClick();
    void MENU_CLEARRESERVEClick();
    void CONTFOLDERClick();
    // The HTML-only tool buttons follow the document's kind.
    void DoctypeDependent();
    // The preview button's drop-down opens; "Проверять исходник" toggles the check.
    void PopupMenu1Popup();
    void MENU_CHECKCODEClick();
    // The save question over the editor text; true means "go on".
    bool SAVE_ON_EXIT();
    // The open-from-disk steps shared by the open command, the start and a
    // dropped document. False (with a message) when the file cannot be read.
    bool openDocument(const QString& path);
    // Reads the document's file again in the given encoding (after the save question).
    bool reopenInEncoding(int encoding);
    // Where the file dialogs start: the document's folder; for the scratch
    // document, the folder last used (the home folder at first).
    QString dialogFolder() const;

Q_SIGNALS:
    // The live pane shows the editor's text as it is now (loaded, or its
    // body or style put into the page shown).
    void livePreviewShown();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void FormCreate();
    void FormShow();
    bool FormCloseQuery();
    void FormClose();
    void startRecovery();
    void buildMenus();
    void wireDocumentCommands();
    void buildReopenEncodingCommands();
    void wireImportExport();
    void buildSnippetMenu();
    void buildTextCommands();
    void buildColourMenu();
    void buildDocumentTools();
    void buildNewPageWizard();
    void startScratchDocument();
    void putNewPage(const QString& page, const QString& pageFile);
    void buildSymbolsMenu();
    void buildTagToolPanel();
    // After a mouse-up: the tag tool panel above the pointer, or hidden
    // without a selection.
    void showTagToolPanel(QPoint editorPos);
    void importText(const QString& path);
    void importArchive(const QString& path);
    void openStartDocument();
    void showDocumentTitles();
    void updateContainingFolder();
    void reportBackup(const BackupResult& result);
    LogWriter logWriter();
    void buildStatusBar();
    void buildDocumentStatus();
    void buildPictures();
    // While the log is hidden its newest line shows in panel 0 for a few
    // seconds, red for an error; hints wait until it ends.
    void showLogLineInStatus();
    void endStatusMessage();
    void showHint(const QString& hint);
    // On a narrow window the first panel yields room to the caret report.
    void fitStatusPanels();
    // The preview button's drop-down: the preview entries (PreviewCommands),
    // the outside browsers' entries (BrowserCommands); the help menu and the
    // About box (PreviewCommands, HelpCommands).
    void buildPreviewEntries();
    void buildLivePreviewEntry();
    PageBrowser* livePage_ = nullptr;
    QTimer* liveTimer_ = nullptr;
    QString liveShown_; // the text (or "url:" address) the pane shows
    int liveScroll_ = 0;
    QTimer* liveOutlineTimer_ = nullptr;
    QString livePagePath_;   // the last page shown from the editor's text
    QStringList liveLinks_;  // the files it refers to, by absolute path
    void buildBrowserEntries();
    void PopupMenu1BrowserEntries(); // on opening: captions and enabling
    void buildHelpMenu();
    void buildAboutEntry();
    void applyAppearance(const EditorAppearance& a, bool atShow);
    void setAppTitle(const QString& title);
    void buildToolBar();
    void buildDocumentButtons();
    // A tool button at the end of the tool bar, named as its object.
    QToolButton* addToolButton(const QString& name, const QString& text, const QString& hint);
    void buildEditorPopup();
    void wireEditor();
    void renderLog();
    void hideLog();
    void EDITOR_POPUPPopup(const QPoint& pos);

    // The editor's events.
    void Memo1xKeyDown(int key, Qt::KeyboardModifiers modifiers, quint32 nativeKey);
    void Memo1xKeyUp(int key, Qt::KeyboardModifiers modifiers, quint32 nativeKey);
    void Memo1xMouseDown(QPoint pos, Qt::MouseButton button);
    void Memo1xMouseUp(QPoint pos, Qt::MouseButton button);
    void Memo1Change();
    void Memo1Scroll();
    // The class name dialog over the document's classes (typing "class=").
    QString ChooseClassName();

    // What a click finds at the caret.
    void buildCaretContext();
    bool IF_IMAGE_undercursor(bool statusOnly);
    QString IF_PATH_UNDERCURSOR(bool act);
    void IF_COMMENT();
    void showSwatch(QPoint mouse);
    void COLORTIMERTimer();
    QString ImgPathDialog();
    void openInNewInstance(const QString& path);
    void restoreFromChild();

    MessageLog log_;

    Ui::TForm1* ui;
    QList<QLabel*> panels_;
    QStringList args_;
    StartDocument startDocument_;
    QString appTitle_ = QStringLiteral("Veltmark");
    QString openDialogFileName_; // the open dialog's file name
    QString lastFolder_;         // of the last document opened or saved
    bool shown_ = false;
    // A caret report is due at the next turn of the event loop.
    bool caretReportDue_ = false;
    // Widths fitStatusPanels measured last, for the font they were measured
    // in: the panels are fitted again at every key.
    struct CaretReportWidths {
        QFont font;
        int sample = -1;
        QString text;
        int textWidth = 0;
    } caretReportWidths_;
    bool closing_ = false;
    QString hintAfterMessage_; // panel 0's text once the shown log line ends
};
