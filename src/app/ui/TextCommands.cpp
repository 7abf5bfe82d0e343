// The commands that change the text in place: the editor pop-up's clipboard,
// case, layout and line entries, the main menu "Символы" and the floating
// tag tool panel shown after a mouse selection.
#include "app/ui/MainWindow.h"

#include "app/Documents.h"
#include "app/Globals.h"
#include "app/ui/WaitMessage.h"
#include "editor/CaretContext.h"
#include "editor/EditorState.h"
#include "editor/TextTransforms.h"
#include "editor/Undo.h"
#include "editor/ui/KRichEdit.h"
#include "platform/Codecs.h"
#include "platform/Prompts.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFrame>
#include <QHBoxLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QToolBar>
#include <QToolButton>

namespace {

// A tool picture: the glyph drawn on a 16 × 16 square.
QIcon glyphIcon(const QString& glyph, const QFont& font)
{
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setPen(Qt::black);
    if (glyph.isEmpty()) {
        // Copy: two sheets, one over the other.
        p.setBrush(Qt::white);
        p.drawRect(2, 2, 8, 9);
        p.drawRect(6, 5, 8, 9);
        return QIcon(pm);
    }
    p.setFont(font);
    p.drawText(pm.rect(), Qt::AlignCenter, glyph);
    return QIcon(pm);
}

} // namespace

void TForm1::buildTextCommands()
{
    // The pop-up's entries stand between "Отмена" and the path entry, and
    // "<br>" after it.
    const auto entry = [this](const char* name, const QString& caption, QMenu* menu, QAction* before) {
        auto* a = new QAction(caption, menu);
        a->setObjectName(QString::fromLatin1(name));
        menu->insertAction(before, a);
        return a;
    };
    const auto separator = [this](const char* name) {
        QAction* s = EDITOR_POPUP->insertSeparator(MENU_SELECTPATH);
        s->setObjectName(QString::fromLatin1(name));
    };
    const auto submenu = [this](const char* name, const QString& caption) {
        auto* m = new QMenu(caption, EDITOR_POPUP);
        m->setObjectName(QString::fromLatin1(name));
        m->menuAction()->setObjectName(QString::fromLatin1(name) + QStringLiteral("_ACTION"));
        EDITOR_POPUP->insertMenu(MENU_SELECTPATH, m);
        return m;
    };
    separator("N3");
    MENU_COPY = entry("MENU_COPY", QStringLiteral("Копировать"), EDITOR_POPUP, MENU_SELECTPATH);
    MENU_COPY->setShortcut(QKeySequence::Copy);
    MENU_CUT = entry("MENU_CUT", QStringLiteral("Вырезать"), EDITOR_POPUP, MENU_SELECTPATH);
    MENU_CUT->setShortcut(QKeySequence::Cut);
    MENU_PASTE = entry("MENU_PASTE", QStringLiteral("Вставить"), EDITOR_POPUP, MENU_SELECTPATH);
    MENU_PASTE->setShortcut(QKeySequence::Paste);
    MENU_SELALL = entry("MENU_SELALL", QStringLiteral("Выделить всё"), EDITOR_POPUP, MENU_SELECTPATH);
    MENU_SELALL->setShortcut(QKeySequence::SelectAll);
    // The keys themselves come from the editor (OnClipboardKey).
    for (QAction* a : {MENU_COPY, MENU_CUT, MENU_PASTE, MENU_SELALL})
        a->setShortcutContext(Qt::WidgetShortcut);
    MENU_UPPERCASE = entry("MENU_UPPERCASE", QStringLiteral("В верхний регистр    A"), EDITOR_POPUP, MENU_SELECTPATH);
    MENU_LOWERCASE = entry("MENU_LOWERCASE", QStringLiteral("В нижний регистр    a"), EDITOR_POPUP, MENU_SELECTPATH);
    MENU_TRANSTOENG = entry("MENU_TRANSTOENG", QStringLiteral("Преобразовать в латинский"), EDITOR_POPUP, MENU_SELECTPATH);
    MENU_TRANSTORUS = entry("MENU_TRANSTORUS", QStringLiteral("Преобразовать в русский"), EDITOR_POPUP, MENU_SELECTPATH);
    MENU_DOCSTRINGS = submenu("MENU_DOCSTRINGS", QStringLiteral("Строки документа"));
    MENU_SAVESELECTED = entry("MENU_SAVESELECTED", QStringLiteral("Сохранить выделенное в файл"), MENU_DOCSTRINGS, nullptr);
    MENU_DELNOMEANSTR = entry("MENU_DELNOMEANSTR", QStringLiteral("Удалить строки без значимых символов"), MENU_DOCSTRINGS, nullptr);
    N26 = entry("N26", QStringLiteral("Удалить пробелы и отступы в началах строк"), MENU_DOCSTRINGS, nullptr);
    N31 = entry("N31", QStringLiteral("Удалить повторяющиеся пробелы"), MENU_DOCSTRINGS, nullptr);
    br1 = entry("br1", QStringLiteral("Добавить <br> в концах строк"), MENU_DOCSTRINGS, nullptr);
    MENU_OPTIMIZECODE = entry("MENU_OPTIMIZECODE", QStringLiteral("Перестроить для лучшего восприятия"), MENU_DOCSTRINGS, nullptr);
    N1 = entry("N1", QStringLiteral("Преобразовать текст в одну строку"), MENU_DOCSTRINGS, nullptr);
    separator("N9");
    // Filled by the class and the colour commands.
    N22 = submenu("N22", QStringLiteral("Стиль и класс"));
    MENU_STYLE = submenu("MENU_STYLE", QStringLiteral("Вставить в стиль"));
    // Its first entry; the element commands run it.
    MENU_CREATEBG = MENU_STYLE->addAction(QStringLiteral("background:URL( выбор на диске );"));
    MENU_CREATEBG->setObjectName(QStringLiteral("MENU_CREATEBG"));
    separator("N4");
    MENU_BR = EDITOR_POPUP->addAction(QStringLiteral("<br>"));
    MENU_BR->setObjectName(QStringLiteral("MENU_BR"));
    MENU_BR->setShortcut(QKeySequence(QStringLiteral("Ctrl+B")));
    addAction(MENU_BR);

    connect(Memo1, &TKRichEdit::OnClipboardKey, this, [this](QKeySequence::StandardKey k) {
        if (k == QKeySequence::Copy)
            MENU_COPYClick();
        else if (k == QKeySequence::Cut)
            MENU_CUTClick();
        else if (k == QKeySequence::Paste)
            MENU_PASTEClick();
        else
            MENU_SELALLClick();
    });
    connect(MENU_COPY, &QAction::triggered, this, &TForm1::MENU_COPYClick);
    connect(MENU_CUT, &QAction::triggered, this, &TForm1::MENU_CUTClick);
    connect(MENU_PASTE, &QAction::triggered, this, &TForm1::MENU_PASTEClick);
    connect(MENU_SELALL, &QAction::triggered, this, &TForm1::MENU_SELALLClick);
    const auto convert = [this](QAction* a, SelectionConversion c) {
        connect(a, &QAction::triggered, this, [this, c] { ConvertSelection(*Memo1, c); });
    };
    convert(MENU_UPPERCASE, SelectionConversion::Upper);
    convert(MENU_LOWERCASE, SelectionConversion::Lower);
    convert(MENU_TRANSTOENG, SelectionConversion::ToLatinLayout);
    convert(MENU_TRANSTORUS, SelectionConversion::ToRussianLayout);
    connect(MENU_SAVESELECTED, &QAction::triggered, this, &TForm1::MENU_SAVESELECTEDClick);
    connect(MENU_DELNOMEANSTR, &QAction::triggered, this, [this] { DeleteMeaninglessLines(*Memo1); });
    connect(N26, &QAction::triggered, this, [this] { TrimLineStarts(*Memo1); });
    connect(N31, &QAction::triggered, this, [this] { SquashBlanks(*Memo1); });
    connect(br1, &QAction::triggered, this, [this] { AddBreakTagsAtLineEnds(*Memo1); });
    connect(N1, &QAction::triggered, this, [this] { JoinIntoOneLine(*Memo1); });
    connect(MENU_OPTIMIZECODE, &QAction::triggered, this, [this] {
        TWAITMESSAGE wait(this);
        RelayoutDocument(*Memo1);
    });
    connect(MENU_BR, &QAction::triggered, this, [this] { InsertBreakTag(*Memo1); });

    buildSymbolsMenu();
    buildTagToolPanel();
}

void TForm1::buildSymbolsMenu()
{
    MENU_SIMBOLS = menuBar()->addMenu(QStringLiteral("Символы"));
    MENU_SIMBOLS->setObjectName(QStringLiteral("MENU_SIMBOLS"));
    MENU_SIMBOLS->menuAction()->setObjectName(QStringLiteral("MENU_SIMBOLS_ACTION"));
    for (const SymbolEntry& e : SymbolEntries()) {
        if (QLatin1String(e.name) == QLatin1String("-")) {
            MENU_SIMBOLS->addSeparator();
            continue;
        }
        QAction* a = MENU_SIMBOLS->addAction(e.caption);
        a->setObjectName(QString::fromLatin1(e.name));
        if (e.inserted.isEmpty())
            continue; // a heading: does nothing
        const QString text = e.inserted;
        connect(a, &QAction::triggered, this, [this, text] { InsertWithUndo(*Memo1, text); });
    }
}

void TForm1::buildTagToolPanel()
{
    TXTOOLS = new QFrame(this);
    TXTOOLS->setObjectName(QStringLiteral("TXTOOLS"));
    TXTOOLS->setFrameShape(QFrame::StyledPanel);
    TXTOOLS->setAutoFillBackground(true);
    TXTOOLS->setFixedSize(315, 31);
    auto* bar = new QToolBar(TXTOOLS);
    bar->setIconSize(QSize(16, 16));
    auto* layout = new QHBoxLayout(TXTOOLS);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->addWidget(bar);
    QFont bold = font();
    bold.setBold(true);
    QFont small = font();
    small.setPixelSize(9);
    struct Tool {
        const char* name;
        const char* glyph;
        const QFont* font;
        const char* open;
        const char* close;
    };
    const Tool tools[] = {
        {"ToolButton12", "", &bold, nullptr, nullptr},
        {"ToolButton15", "✂", &bold, nullptr, nullptr},
        {"ToolButton14", "✕", &bold, nullptr, nullptr},
        {"ToolButton16", "F", &bold, nullptr, nullptr},
        {"ToolButton1", "B", &bold, "<b>", "</b>"},
        {"ToolButton7", "I", &bold, "<i>", "</i>"},
        {"ToolButton8", "U", &bold, "<u>", "</u>"},
        {"ToolButton9", "S", &bold, "<s>", "</s>"},
        {"ToolButton10", "x²", &small, "<sup>", "</sup>"},
        {"ToolButton11", "x₂", &small, "<sub>", "</sub>"},
        {"ToolButton13", "«»", &bold, "&laquo;", "&raquo;"},
    };
    for (const Tool& t : tools) {
        auto* b = new QToolButton(bar);
        b->setObjectName(QString::fromLatin1(t.name));
        b->setIcon(glyphIcon(QString::fromUtf8(t.glyph), *t.font));
        b->setToolButtonStyle(Qt::ToolButtonIconOnly);
        b->setFocusPolicy(Qt::NoFocus);
        bar->addWidget(b);
        std::function<void()> action;
        const QString name = b->objectName();
        if (t.open) {
            const QString open = QString::fromUtf8(t.open);
            const QString close = QString::fromUtf8(t.close);
            action = [this, open, close] { TextStyle(*Memo1, open, close, -1); };
        } else if (name == QLatin1String("ToolButton12")) {
            action = [this] { MENU_COPYClick(); };
        } else if (name == QLatin1String("ToolButton15")) {
            action = [this] { MENU_CUTClick(); };
        } else if (name == QLatin1String("ToolButton14")) {
            action = [this] {
                UndoSnapshot();
                Memo1->setSelText(QString());
                UndoCommit();
            };
        } else {
            action = [this] { FONTBUTClick(); }; // ToolButton16: the font style dialog
        }
        connect(b, &QToolButton::clicked, this, [this, action] {
            if (action)
                action();
            TXTOOLS->hide();
        });
    }
    TXTOOLS->hide();
}

void TForm1::showTagToolPanel(QPoint editorPos)
{
    if (Memo1->selLength() == 0) {
        TXTOOLS->hide();
        return;
    }
    const QPoint mouse = Memo1->viewport()->mapTo(this, editorPos);
    TXTOOLS->move(ToolPanelPosition(mouse, width(), TXTOOLS->size()));
    TXTOOLS->show();
    TXTOOLS->raise();
}

void TForm1::EDITOR_POPUPEnabling()
{
    const bool selected = Memo1->selLength() > 0;
    for (QAction* a : {MENU_UPPERCASE, MENU_LOWERCASE, MENU_COPY, MENU_CUT, MENU_SAVESELECTED, MENU_TRANSTOENG, MENU_TRANSTORUS})
        a->setEnabled(selected);
}

void TForm1::MENU_COPYClick()
{
    QApplication::clipboard()->setText(Memo1->selText());
    HELPLOG_Write(QStringLiteral("Для копирования части кода на новое место без использования буфера обмена, "
                                 "удерживайте Ctrl и тяните мышкой выделенный код, после отпуска мыши код скопируется"),
                  false);
}

void TForm1::MENU_CUTClick()
{
    UndoSnapshot();
    QApplication::clipboard()->setText(Memo1->selText());
    Memo1->setSelText(QString());
    UndoCommit();
    HELPLOG_Write(QStringLiteral("Для перемещения части кода на новое место без использования буфера обмена, "
                                 "тяните мышкой выделенный код, после отпуска мыши код переместится"),
                  false);
}

void TForm1::MENU_PASTEClick()
{
    UndoSnapshot();
    Memo1->setSelText(QApplication::clipboard()->text());
    IF_COLOR(*Memo1, std::nullopt, true);
    UndoCommit();
}

void TForm1::MENU_SELALLClick()
{
    UndoSnapshot();
    Memo1->setSelStart(0);
    Memo1->setSelLength(int(Memo1->text().size()));
    UndoCommit();
}

void TForm1::MENU_SAVESELECTEDClick()
{
    platform::FileDialogRequest r = SaveDialogRequest();
    r.folder = dialogFolder();
    const QString path = platform::prompts().saveFile(r);
    if (path.isEmpty())
        return;
    const QString text = SelectionFileText(Memo1->selText());
    // In the document's own charset; a selection Windows-1251 cannot hold
    // goes out as UTF-8 rather than with question marks.
    const bool utf8 = DocEncoding == EncodingUtf8 || !platform::FitsCp1251(text);
    QString error;
    if (!WriteFileAtomically(path, utf8 ? platform::EncodeUtf8(text) : platform::EncodeCp1251(text), &error)) {
        HELPLOG_Write(error, true);
        platform::prompts().message(QString(), error, platform::Severity::Error);
        return;
    }
    if (utf8 && DocEncoding != EncodingUtf8)
        HELPLOG_Write(QStringLiteral("Выделенное сохранено в кодировке UTF-8: в нём есть символы, которых нет в Windows-1251"), false);
}
