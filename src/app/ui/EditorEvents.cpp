// The main window's side of the editor: its events, the caret report, the
// message log, the pop-up menu and Undo.
#include "app/Globals.h"
#include "app/ui/MainWindow.h"
#include "app/ui/CompletionCommands.h"
#include "editor/CaretContext.h"
#include "editor/EditorLogic.h"
#include "editor/EditorState.h"
#include "editor/Undo.h"
#include "editor/ui/KRichEdit.h"
#include "editor/ui/MarkerBar.h"
#include "html/TagChecker.h"
#include "html/ui/FindReplaceDialog.h"
#include "html/ui/TagNavigator.h"
#include "store/OptionItems.h"
#include "store/OptionsStore.h"
#include "store/Utilities.h"

#include <algorithm>
#include <QAction>
#include <QFontMetrics>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextEdit>
#include <QTime>
#include <QToolBar>
#include <QToolButton>

namespace {

TMarkerBar* markerBar(QWidget* vertbar) { return static_cast<TMarkerBar*>(vertbar); }

// The line's text up to the selection start, its last kilobyte at most.
// Keywords and patterns are short, never hold a line break and are matched
// at the end, so this is all of the text they can match (and no copy of a
// line of megabytes at each key).
QString textBeforeSelStart(const TextModel& m)
{
    constexpr int kReach = 1024;
    const int start = m.selStart();
    const int from = std::max(m.lineStart(m.lineAt(start)), start - kReach);
    return m.textPart(from, start - from);
}

} // namespace

QToolButton* TForm1::addToolButton(const QString& name, const QString& text, const QString& hint)
{
    auto* b = new QToolButton(MAINTOOLBAR);
    b->setObjectName(name);
    b->setText(text);
    b->setToolTip(hint);
    b->setAutoRaise(true);
    MAINTOOLBAR->addWidget(b);
    return b;
}

void TForm1::buildToolBar()
{
    buildDocumentButtons();
    // Each button arrives disabled; the command it starts enables it.
    QToolButton** buttons[] = {&TABLEBUT, &STYLEBUT, &FONTBUT, &ABUT, &SWFBUT, &IMGBUT, &COMMENTBUT};
    const char* names[] = {"TABLEBUT", "STYLEBUT", "FONTBUT", "ABUT", "SWFBUT", "IMGBUT", "COMMENTBUT"};
    const char* labels[] = {"Табл", "CSS", "Шрифт", "A", "Flash", "Img", "<!--"};
    const auto hints = ToolButtonHints();
    for (int i = 0; i < 7; ++i) {
        const QString name = QString::fromLatin1(names[i]);
        *buttons[i] = addToolButton(name, QString::fromUtf8(labels[i]), hints.value(name));
        (*buttons[i])->setEnabled(false);
    }

    // The tag check: the first fault goes to the log in red with its
    // character selected; a clean page says so.
    MAINTOOLBAR->addSeparator();
    // The tag tree: built only from a page that passes the check.
    HTMLNAVIG = new THTMLNAVIG(Memo1, [this] { markerBar(VERTBAR)->HighlightCaretPos(); }, this);
    NAVBUT = addToolButton(QStringLiteral("NAVBUT"), QStringLiteral("Теги"), QStringLiteral("Навигация по тегам"));
    connect(NAVBUT, &QToolButton::clicked, this, [this] {
        if (!::CHECK_TAGS(Memo1->text()).passed) {
            HELPLOG_Write(QStringLiteral("Дерево в навигации по тегам не может быть построено из-за ошибок в коде"), true);
            return;
        }
        HTMLNAVIG->ShowNavigation();
    });
    auto* check = CHECKBUT = addToolButton(QStringLiteral("CHECKBUT"), QStringLiteral("Проверка"), QStringLiteral("Проверить синтаксис кода"));

    // The preview button; its click, the preview entries and the outside
    // browsers' entries are wired in PreviewCommands and BrowserCommands.
    VIEWBUT = addToolButton(QStringLiteral("VIEWBUT"), QStringLiteral("Просмотр"), QStringLiteral("Просмотр страницы"));
    VIEWBUT->setPopupMode(QToolButton::InstantPopup);
    PopupMenu1 = new QMenu(VIEWBUT);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    MENU_PROGBROWSER_VIEW = PopupMenu1->addAction(QStringLiteral("Просмотр в браузере редактора"));
    MENU_PROGBROWSER_VIEW->setObjectName(QStringLiteral("MENU_PROGBROWSER_VIEW"));
    MENU_PROGBROWSER_VIEW->setShortcut(Qt::Key_F9);
    MENU_PROGBROWSER_VIEW->setShortcutContext(Qt::WidgetShortcut); // the key is MENU_FF9's
    MENU_PROGBROWSER_VIEW->setEnabled(false);
    PopupMenu1->addSeparator();
    MENU_CHECKCODE = PopupMenu1->addAction(QStringLiteral("Проверять исходник"));
    MENU_CHECKCODE->setObjectName(QStringLiteral("MENU_CHECKCODE"));
    MENU_CHECKCODE->setCheckable(true);
    MENU_CHECKCODE->setChecked(CHECK_HTML);
    VIEWBUT->setMenu(PopupMenu1);
    connect(PopupMenu1, &QMenu::aboutToShow, this, &TForm1::PopupMenu1Popup);
    connect(MENU_CHECKCODE, &QAction::triggered, this, &TForm1::MENU_CHECKCODEClick);

    // Find and replace: the button shows the dialog, its drop-down also finds next.
    auto* finder = new TFINDREPLACE(Memo1, this);
    auto* search = addToolButton(QStringLiteral("ToolButton5"), QStringLiteral("Поиск"), QStringLiteral("Поиск или замена в документе"));
    search->setPopupMode(QToolButton::MenuButtonPopup);
    auto* searchMenu = new QMenu(search);
    searchMenu->setObjectName(QStringLiteral("SEARCHMENU"));
    QAction* n30 = searchMenu->addAction(QStringLiteral("Найти или заменить"));
    n30->setObjectName(QStringLiteral("N30"));
    QAction* next = searchMenu->addAction(QStringLiteral("Найти далее"));
    next->setObjectName(QStringLiteral("MENU_SEARCH_NEXT"));
    next->setShortcut(Qt::Key_F3);
    next->setShortcutContext(Qt::WidgetShortcut); // the key itself is SEARCHHOT's
    search->setMenu(searchMenu);
    auto* hot = new QAction(QStringLiteral("Найти далее"), this);
    hot->setObjectName(QStringLiteral("SEARCHHOT"));
    hot->setShortcut(Qt::Key_F3);
    addAction(hot);
    connect(search, &QToolButton::clicked, finder, &TFINDREPLACE::showCentred);
    connect(n30, &QAction::triggered, finder, &TFINDREPLACE::showCentred);
    connect(next, &QAction::triggered, finder, &TFINDREPLACE::SearchHot);
    connect(hot, &QAction::triggered, finder, &TFINDREPLACE::SearchHot);

    connect(check, &QToolButton::clicked, this, [this] {
        QString message;
        if (CheckTagsInModel(*Memo1, &message))
            HELPLOG_Write(kTagCheckPassedMessage.toString(), false);
        else
            HELPLOG_Write(message, true);
        Memo1->setFocus();
    });
}

void TForm1::PopupMenu1Popup() { MENU_CHECKCODE->setChecked(CHECK_HTML); }

void TForm1::MENU_CHECKCODEClick()
{
    CHECK_HTML = !CHECK_HTML;
    MENU_CHECKCODE->setChecked(CHECK_HTML);
}

void TForm1::buildEditorPopup()
{
    EDITOR_POPUP = new QMenu(this);
    EDITOR_POPUP->setObjectName(QStringLiteral("EDITOR_POPUP"));
    MENU_UNDO = EDITOR_POPUP->addAction(QStringLiteral("Отмена"));
    MENU_UNDO->setObjectName(QStringLiteral("MENU_UNDO"));
    // Shown in the menu; the key itself is taken by the editor, so it keeps
    // working while the entry is hidden.
    MENU_UNDO->setShortcut(QKeySequence::Undo);
    MENU_UNDO->setShortcutContext(Qt::WidgetShortcut);
    MENU_UNDO->setEnabled(false);
    connect(MENU_UNDO, &QAction::triggered, this, &TForm1::MENU_UNDOClick);
    connect(Memo1, &TKRichEdit::OnUndoKey, this, &TForm1::MENU_UNDOClick);
    // Takes back an Undo; the keys too are the editor's.
    MENU_REDO = EDITOR_POPUP->addAction(QStringLiteral("Повторить"));
    MENU_REDO->setObjectName(QStringLiteral("MENU_REDO"));
    MENU_REDO->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    MENU_REDO->setShortcutContext(Qt::WidgetShortcut);
    MENU_REDO->setEnabled(false);
    connect(MENU_REDO, &QAction::triggered, this, &TForm1::MENU_REDOClick);
    connect(Memo1, &TKRichEdit::OnRedoKey, this, &TForm1::MENU_REDOClick);
    connect(Memo1, &QWidget::customContextMenuRequested, this, &TForm1::EDITOR_POPUPPopup);

    // Hidden entries that only give hot keys; their previews come later.
    MENU_FF9 = new QAction(QStringLiteral("Просмотр в браузере редактора"), this);
    MENU_FF9->setObjectName(QStringLiteral("MENU_FF9"));
    MENU_FF9->setShortcut(Qt::Key_F9);
    MENU_CtrlF9 = new QAction(QStringLiteral("Просмотр во внешнем браузере"), this);
    MENU_CtrlF9->setObjectName(QStringLiteral("MENU_CtrlF9"));
    MENU_CtrlF9->setShortcut(Qt::Key_F10);
    for (QAction* a : {MENU_FF9, MENU_CtrlF9}) {
        a->setEnabled(false);
        addAction(a);
    }
}

void TForm1::EDITOR_POPUPPopup(const QPoint& pos)
{
    Opt_SelectFile(opt::Program);
    MENU_UNDO->setVisible(!ParseBool(Opt_ReadStr(opt::DISABLEUNDO)));
    MENU_REDO->setVisible(MENU_UNDO->isVisible());
    EDITOR_POPUPEnabling();
    EDITOR_POPUP->popup(Memo1->viewport()->mapToGlobal(pos));
}

void TForm1::wireEditor()
{
    connect(Memo1, &TKRichEdit::OnKeyDown, this, &TForm1::Memo1xKeyDown);
    connect(Memo1, &TKRichEdit::OnKeyUp, this, &TForm1::Memo1xKeyUp);
    connect(Memo1, &TKRichEdit::OnMouseDown, this, &TForm1::Memo1xMouseDown);
    connect(Memo1, &TKRichEdit::OnMouseUp, this, &TForm1::Memo1xMouseUp);
    // A load's own changes do not mark the document; the first edit that is
    // not a load ends the loading time at once, so text typed in the second
    // after opening is never taken for part of the page.
    connect(Memo1, &TKRichEdit::OnTextChange, this, [this] {
        if (!Memo1->settingText())
            LoadingText = false;
    });
    connect(Memo1, &QPlainTextEdit::textChanged, this, &TForm1::Memo1Change);
    connect(Memo1, &TKRichEdit::OnScroll, this, &TForm1::Memo1Scroll);
    buildTagPairCommands();
    CLOSELOG->installEventFilter(this);
    TMarkerBar* bar = markerBar(VERTBAR);
    bar->setEditor(Memo1);
    bar->setLogWriter([this](const QString& m, bool e) { HELPLOG_Write(m, e); });
    bar->setLastEditorState([] { return std::pair<int, int>(Editor().LastLineCount, Editor().LastCaretLine); });
    // The history outlives the window: its reports reach only a live one.
    Undo().onAvailableChanged = [self = QPointer<TForm1>(this)](bool available) {
        if (self && self->MENU_UNDO)
            self->MENU_UNDO->setEnabled(available);
    };
    Undo().onRedoAvailableChanged = [self = QPointer<TForm1>(this)](bool available) {
        if (self && self->MENU_REDO)
            self->MENU_REDO->setEnabled(available);
    };
    // The completion list rides on the editor's key path.
    InstallCompletion(this);
}

void TForm1::Memo1xKeyDown(int key, Qt::KeyboardModifiers, quint32 nativeKey)
{
    const int code = WindowsKeyCode(key, nativeKey);
    if (code == 27) {
        close();
        return;
    }
    if (code == 17)
        Editor().CtrlHeld = true;
    if (code == 18)
        Editor().AltHeld = true;
    TXTOOLS->hide();
}

void TForm1::Memo1xKeyUp(int key, Qt::KeyboardModifiers modifiers, quint32 nativeKey)
{
    const int code = WindowsKeyCode(key, nativeKey);
    // Typing hints: only the characters just before the caret matter.
    if (const auto hint = TypingHintAt(textBeforeSelStart(*Memo1), -1)) {
        QString buttonHint;
        if (!hint->button.isEmpty())
            if (auto* b = findChild<QToolButton*>(hint->button))
                buttonHint = b->toolTip();
        HELPLOG_Write(TypingHintMessage(*hint, buttonHint), false);
    }
    // Modifier release.
    if (code == 17)
        Editor().CtrlHeld = false;
    if (code == 18)
        Editor().AltHeld = false;
    // Keyboard interception after STYLE=, CLASS= and COLOR:.
    if (UseDoubleQuotes && InterceptKey(code)) {
        switch (InterceptAt(textBeforeSelStart(*Memo1), -1)) {
        case Intercept::Style:
            Memo1->setSelLength(0);
            Memo1->setSelText(QStringLiteral("''"));
            Memo1->setSelLength(0);
            Memo1->setSelStart(Memo1->selStart() - 1);
            HELPLOG_Write(QStringLiteral("Введены кавычки для параметра STYLE"), false);
            break;
        case Intercept::Class:
            HELPLOG_Write(QStringLiteral("Выбор имени класса из всех классов в документе и внешних CSS-таблицах"), false);
            UndoSnapshot();
            Memo1->setSelText(ChooseClassName());
            UndoCommit();
            break;
        case Intercept::Color: {
            HELPLOG_Write(QStringLiteral("Палитра выбора цвета появляется автоматически при вводе ...color:"), false);
            UndoSnapshot();
            Memo1->setSelText(QStringLiteral("#000;"));
            Memo1->setSelStart(Memo1->selStart() - 2);
            COLOR_CHANGE();
            Memo1->setSelStart(Memo1->selStart() + Memo1->selLength() + 1);
            UndoCommit();
            break;
        }
        case Intercept::None:
            break;
        }
    }
    // Undo bookkeeping.
    Editor().LastSelStart = Memo1->selStart();
    const bool arrow = code >= 37 && code <= 40;
    const bool undoKey = code == 90 && (Editor().CtrlHeld || (modifiers & Qt::ControlModifier));
    if (!arrow && !undoKey)
        UndoCommit();
    UndoSnapshot();
}

void TForm1::Memo1xMouseDown(QPoint, Qt::MouseButton)
{
    CARETINFO();
    Editor().ClickCaretPos = Memo1->selStart();
    TXTOOLS->hide();
}

void TForm1::Memo1xMouseUp(QPoint pos, Qt::MouseButton)
{
    Editor().LastSelStart = Memo1->selStart();
    CARETINFO();
    if (Editor().CtrlHeld) {
        if (IF_COLOR(*Memo1, std::nullopt, true))
            showSwatch(pos);
        if (!IF_IMAGE_undercursor(false)) {
            if (!IF_PATH_UNDERCURSOR(true).isEmpty())
                Editor().CtrlHeld = false;
            else
                IF_COMMENT();
        }
    } else {
        if (IF_COLOR(*Memo1, std::nullopt, false)) {
            HELPLOG_Write(QStringLiteral("Кликните по появившемуся образцу цвета для редактирования цвета в палитре. "
                                         "Ctrl + клик - выделение всего кода цвета"),
                false);
            showSwatch(pos);
        }
        if (IF_IMAGE_undercursor(true))
            HELPLOG_Write(QStringLiteral("Кликните удерживая Ctrl для отображения ресурса, удерживая Alt - для открытия папки ресурса"), false);
    }
    if (Memo1->selStart() != Undo().baseSelStart())
        UndoCommit();
    UndoSnapshot();
    IF_PATH_UNDERCURSOR(false);
    Memo1Change();
    showTagToolPanel(pos);
}

void TForm1::Memo1Change()
{
    if (!LoadingText)
        DocModified = true;
    const int lines = Memo1->lineCount();
    // An undo replaces the whole text and leaves the caret at its start for
    // a moment: the markers follow it once it is back (MENU_UNDOClick).
    if (lines != Editor().LastLineCount && !Editor().RestoringText)
        markerBar(VERTBAR)->MarkersRemake(false);
    Editor().LastLineCount = lines;
    Editor().LastCaretLine = Memo1->caretPos().line;
    HELPLOG_Write(QStringLiteral("[CHANGES_AFTER_ERROR]"), false);
}

void TForm1::Memo1Scroll()
{
    if (TXTOOLS)
        TXTOOLS->hide();
    markerBar(VERTBAR)->Memo1Scroll();
}

void TForm1::CARETINFO() { setStatusPanel(1, CARETINFO_Text(*Memo1)); }

void TForm1::HELPLOG_Write(const QString& message, bool isError)
{
    const int revision = log_.revision();
    log_.write(message, isError, QTime::currentTime());
    if (log_.revision() != revision) {
        renderLog();
        showLogLineInStatus();
    }
}

void TForm1::renderLog()
{
    HELPLOG->clear();
    QTextCursor c(HELPLOG->document());
    for (int i = 0; i < log_.count(); ++i) {
        QTextCharFormat f;
        f.setFontWeight(QFont::Bold);
        f.setForeground(log_.line(i).error ? QColor(255, 0, 0) : QColor(0, 0, 0));
        if (i > 0)
            c.insertBlock();
        c.insertText(log_.lineText(i), f);
    }
    HELPLOG->moveCursor(QTextCursor::Start);
    HELPLOG->verticalScrollBar()->setValue(0);
}

void TForm1::hideLog()
{
    HELPLOG->hide();
    CLOSELOG->hide();
}

void TForm1::CLOSELOGClick()
{
    Opt_SelectFile(opt::Program);
    Opt_Write(opt::HELPLOG, QStringLiteral("0"));
    hideLog();
    markerBar(VERTBAR)->MarkersRemake(true);
}

namespace {

// Undo and redo: one step of the history, then the caret line into view.
void historyStep(TForm1& f, void (*step)())
{
    // The change event places markers by the caret line alone, which cannot
    // tell where the step put lines back: the markers follow the range it
    // replaced.
    TMarkerBar* bar = markerBar(f.VERTBAR);
    Editor().RestoringText = true;
    step();
    Editor().RestoringText = false;
    const UndoHistory::Replacement& r = Undo().lastReplacement();
    bar->FollowReplacement(r.offset, r.removed, r.added);
    TKRichEdit* memo = f.Memo1;
    // The next edit's shift starts from the caret the step put back.
    Editor().LastCaretLine = memo->caretPos().line;
    // Bring the caret line to the top of the view and the caret into the
    // middle horizontally, measured with the editor's own font.
    const QFontMetrics fm(memo->font());
    const CaretPos caret = memo->caretPos();
    const int h = TKRichEdit::LineHeight > 0 ? TKRichEdit::LineHeight : fm.height();
    const int w = fm.horizontalAdvance(memo->line(caret.line).left(caret.column));
    // The scroll bar counts lines: the caret line goes to the top, without the
    // 16-bit position that would wrap on long documents.
    memo->verticalScrollBar()->setValue(caret.line * h / std::max(1, h));
    memo->scrollHorizontalTo(std::max(0, w - memo->viewport()->width() / 2));
    bar->HighlightCaretPos();
    memo->viewport()->update();
}

} // namespace

void TForm1::MENU_UNDOClick() { historyStep(*this, UndoRestore); }

void TForm1::MENU_REDOClick() { historyStep(*this, UndoRedo); }
