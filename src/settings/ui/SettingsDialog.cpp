#include "settings/ui/SettingsDialog.h"

#include "app/Globals.h"
#include "editor/Undo.h"
#include "editor/ui/KRichEdit.h"
#include "platform/Prompts.h"
#include "platform/ui/ProgramIcon.h"
#include "settings/Settings.h"
#include "settings/ShellIntegration.h"
#include "store/OptionItems.h"
#include "store/OptionsStore.h"
#include "store/ui/QtColour.h"
#include "ui_SettingsDialog.h"

#include <QCheckBox>
#include <QFontComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>

#include <utility>

TSETTINGS::TSETTINGS(TKRichEdit* editor, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint)
    , ui(new Ui::TSETTINGS)
    , editor_(editor)
{
    ui->setupUi(this);
    setObjectName(QStringLiteral("SETTINGS"));
    setWindowModality(Qt::ApplicationModal);
    ICN = ui->ICN;
    Button1 = ui->Button1;
    PageControl1 = ui->PageControl1;
    SCROLL_ONLYVERTICAL = ui->SCROLL_ONLYVERTICAL;
    DISABLEUNDO = ui->DISABLEUNDO;
    DOUBLEQUOTES = ui->DOUBLEQUOTES;
    CL3TO6 = ui->CL3TO6;
    UNDOCOUNT = ui->UNDOCOUNT;
    MESLIST = ui->MESLIST;
    FONTLIST = ui->FONTLIST;
    Button3 = ui->Button3;
    FONTSIZE = ui->FONTSIZE;
    BCCOL = ui->BCCOL;
    BCPICK = ui->BCPICK;
    Button4 = ui->Button4;
    MEMFONT = ui->MEMFONT;
    LOADLASTFILE = ui->LOADLASTFILE;
    RECENTLEN = ui->RECENTLEN;
    RESERVE = ui->RESERVE;
    Button6 = ui->Button6;
    CHECK_HTML = ui->CHECK_HTML;
    SYSBROWSPATH = ui->SYSBROWSPATH;
    Button5 = ui->Button5;
    INSERTTOSYSMENU = ui->INSERTTOSYSMENU;
    EDIT_CLOSETAGS = ui->EDIT_CLOSETAGS;
    EDIT_COMPLETION = ui->EDIT_COMPLETION;
    EDIT_ABBREVIATIONS = ui->EDIT_ABBREVIATIONS;

    // Enter in a field applies the field and nothing else: no button is a
    // default that Enter would press.
    for (QPushButton* b : findChildren<QPushButton*>()) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }
    // Each field is named by its caption, for the keyboard and for screen readers.
    const std::pair<QLabel*, QWidget*> captions[] = {
        {ui->UNDOCOUNT_LABEL, UNDOCOUNT}, {ui->FONTLIST_LABEL, FONTLIST}, {ui->FONTSIZE_LABEL, FONTSIZE},
        {ui->BCCOL_LABEL, BCCOL},         {ui->RECENTLEN_LABEL, RECENTLEN}, {ui->SYSBROWSPATH_LABEL, SYSBROWSPATH},
    };
    for (const auto& [label, field] : captions) {
        label->setBuddy(field);
        field->setAccessibleName(label->text());
    }
    // The buttons keep their captions as names; what they act on is their description.
    Button3->setAccessibleDescription(QStringLiteral("Шрифт редактора: Microsoft Sans Serif"));
    BCPICK->setAccessibleDescription(QStringLiteral("Выбрать фон редактора в палитре"));
    Button4->setAccessibleDescription(QStringLiteral("Фон редактора по умолчанию"));
    Button6->setAccessibleDescription(QStringLiteral("Очистить список недавних документов"));
    Button5->setAccessibleDescription(QStringLiteral("Выбрать внешний браузер"));
    // The undo depth acts when the number is entered (Enter, the arrows, leaving
    // the field): typing "100" must not drop steps down to 10 on the way.
    UNDOCOUNT->setKeyboardTracking(false);
    PageControl1->setAccessibleName(windowTitle());
    ui->SYSMENU_NOTE->setAccessibleName(ui->SYSMENU_NOTE->text().simplified());

    ICN->setPixmap(QPixmap::fromImage(platform::PaintProgramIcon(96)));
    // The installed screen fonts (the combo box lists them itself).
    FONTLIST->setFontFilters(QFontComboBox::ScalableFonts | QFontComboBox::NonScalableFonts);

    connect(Button1, &QPushButton::clicked, this, &TSETTINGS::Button1Click);
    connect(FONTLIST, &QFontComboBox::textActivated, this, &TSETTINGS::FONTLISTChange);
    connect(FONTSIZE, &QSpinBox::valueChanged, this, &TSETTINGS::FONTSIZEChange);
    connect(Button3, &QPushButton::clicked, this, &TSETTINGS::Button3Click);
    connect(BCPICK, &QPushButton::clicked, this, &TSETTINGS::BCPICKClick);
    connect(Button4, &QPushButton::clicked, this, &TSETTINGS::Button4Click);
    connect(UNDOCOUNT, &QSpinBox::valueChanged, this, &TSETTINGS::UNDOCOUNTChange);
    connect(Button6, &QPushButton::clicked, this, &TSETTINGS::Button6Click);
    connect(Button5, &QPushButton::clicked, this, &TSETTINGS::Button5Click);
    // The boxes act on toggled, so a screen reader's "toggle" does what a
    // click does; what the dialog itself sets (loading) acts on nothing.
    connect(SCROLL_ONLYVERTICAL, &QCheckBox::toggled, this, [this] {
        if (!loading_)
            SCROLL_ONLYVERTICALClick();
    });
    connect(INSERTTOSYSMENU, &QCheckBox::toggled, this, [this] {
        if (!loading_)
            INSERTTOSYSMENUClick();
    });
    connect(CHECK_HTML, &QCheckBox::toggled, this, [this](bool on) {
        ::CHECK_HTML = on;
        if (checkHtmlChanged)
            checkHtmlChanged(on);
    });
}

TSETTINGS::~TSETTINGS() { delete ui; }

void TSETTINGS::BuildSettings()
{
    // Loading sets the controls only: nothing of it acts on the editor.
    loading_ = true;
    const ProgramSettings s = LoadSettings();
    LOADLASTFILE->setChecked(s.loadLastFile);
    DISABLEUNDO->setChecked(s.disableUndo);
    DOUBLEQUOTES->setChecked(s.doubleQuotes);
    SCROLL_ONLYVERTICAL->setChecked(s.wrapOnlyVertical);
    RESERVE->setChecked(s.reserve);
    CL3TO6->setChecked(s.shortColours);
    RECENTLEN->setValue(s.recentLength);
    FONTLIST->setEditText(s.fontName);
    FONTSIZE->setValue(s.fontSize);
    UNDOCOUNT->setValue(s.undoCount);
    setSwatch(s.background);
    SYSBROWSPATH->setText(s.browserPath);
    INSERTTOSYSMENU->setChecked(ShellIntegrationOn());
    MESLIST->setChecked(s.showLog);
    CHECK_HTML->setChecked(::CHECK_HTML);
    EDIT_CLOSETAGS->setChecked(s.closeTags);
    EDIT_COMPLETION->setChecked(s.completion);
    EDIT_ABBREVIATIONS->setChecked(s.abbreviations);
    loading_ = false;
}

void TSETTINGS::showSettings()
{
    BuildSettings();
    PageControl1->setCurrentIndex(0);
    adjustSize();
    setFixedSize(sizeHint());
    if (QWidget* p = parentWidget())
        move(p->geometry().center() - rect().center());
    show();
    raise();
    activateWindow();
}

void TSETTINGS::Button1Click()
{
    ProgramSettings s;
    s.recentLength = RECENTLEN->value();
    s.fontName = FONTLIST->currentText();
    s.fontSize = FONTSIZE->value();
    s.undoCount = UNDOCOUNT->value();
    s.loadLastFile = LOADLASTFILE->isChecked();
    s.disableUndo = DISABLEUNDO->isChecked();
    s.reserve = RESERVE->isChecked();
    s.shortColours = CL3TO6->isChecked();
    s.browserPath = SYSBROWSPATH->text();
    s.doubleQuotes = DOUBLEQUOTES->isChecked();
    s.wrapOnlyVertical = SCROLL_ONLYVERTICAL->isChecked();
    s.closeTags = EDIT_CLOSETAGS->isChecked();
    s.completion = EDIT_COMPLETION->isChecked();
    s.abbreviations = EDIT_ABBREVIATIONS->isChecked();
    const StoreResult r = StoreSettings(s);
    if (!r.reserveFolderOk && logWrite)
        logWrite(QStringLiteral("Не удалось ") + (s.reserve ? QStringLiteral("создать") : QStringLiteral("удалить"))
                     + QStringLiteral(" папку резервных копий ") + BackupFolder,
                 true);
    UseDoubleQuotes = s.doubleQuotes;
    ApplyTypingSwitches(s);
    if (editor_) {
        editor_->setLineWrapMode(s.wrapOnlyVertical ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
        editor_->setHorizontalScrollBarPolicy(s.wrapOnlyVertical ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
    }
    const bool shown = logVisible && logVisible();
    if (MESLIST->isChecked() != shown) {
        Opt_SelectFile(opt::Program);
        Opt_Write(opt::HELPLOG, MESLIST->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
        if (showLog)
            showLog(MESLIST->isChecked());
    }
    accept();
}

void TSETTINGS::setEditorFont(const QString& family, int size)
{
    if (!editor_)
        return;
    QFont f = editor_->font();
    if (!family.isEmpty())
        f.setFamily(family);
    f.setPointSize(size);
    editor_->setFont(f);
    GetFontHeight();
}

void TSETTINGS::GetFontHeight()
{
    if (!editor_)
        return;
    MEMFONT->setFont(editor_->font());
    editor_->measureLineHeight();
    editor_->viewport()->update();
    if (lineHeightChanged)
        lineHeightChanged();
}

void TSETTINGS::FONTLISTChange()
{
    if (!loading_)
        setEditorFont(FONTLIST->currentText(), FONTSIZE->value());
}

void TSETTINGS::FONTSIZEChange()
{
    if (!loading_ && !FONTSIZE->text().isEmpty() && editor_)
        setEditorFont(QString(), FONTSIZE->value());
}

void TSETTINGS::Button3Click()
{
    loading_ = true;
    FONTLIST->setEditText(DefaultFontName());
    loading_ = false;
    setEditorFont(DefaultFontName(), FONTSIZE->value());
}

void TSETTINGS::setSwatch(TColor colour)
{
    QPalette p = BCCOL->palette();
    p.setColor(QPalette::Window, ToQColor(colour));
    BCCOL->setPalette(p);
    BCCOL->setProperty("colour", QVariant::fromValue(int(colour)));
}

void TSETTINGS::applyBackground(TColor colour)
{
    if (editor_) {
        QPalette p = editor_->palette();
        p.setColor(QPalette::Base, ToQColor(colour));
        editor_->setPalette(p);
    }
    setSwatch(colour);
}

void TSETTINGS::BCPICKClick()
{
    const TColor start = editor_ ? FromQColor(editor_->palette().color(QPalette::Base)) : DefaultBackground;
    TColor picked = start;
    if (!pickColour || !pickColour(start, &picked))
        return;
    applyBackground(picked);
    StoreBackground(picked);
}

void TSETTINGS::Button4Click()
{
    Opt_SelectFile(opt::Program);
    Opt_Write(opt::BACKGROUNDCOLOR, DefaultBackgroundText());
    applyBackground(DefaultBackground);
}

void TSETTINGS::UNDOCOUNTChange()
{
    if (!loading_ && !UNDOCOUNT->text().isEmpty())
        Undo().trimTo(UNDOCOUNT->value());
}

void TSETTINGS::Button6Click() { Opt_ClearFile(opt::Recent, false); }

void TSETTINGS::Button5Click()
{
    platform::FileDialogRequest r;
    r.title = QStringLiteral("Выбор браузера");
#ifdef Q_OS_WIN
    r.filter = QStringLiteral("Браузер, EXE|*.exe");
#else
    // Programs here carry no extension.
    r.filter = QStringLiteral("Браузер|*");
    r.folder = QStringLiteral("/usr/bin");
#endif
    const QString path = platform::prompts().openFile(r);
    if (!path.isEmpty())
        SYSBROWSPATH->setText(path);
}

void TSETTINGS::SCROLL_ONLYVERTICALClick()
{
    if (clearMarkers)
        clearMarkers();
    if (logWrite)
        logWrite(QStringLiteral("Если текст не уходит за рамки редактора, метки на панели меток могут быть отображены неверно"), false);
}

void TSETTINGS::INSERTTOSYSMENUClick()
{
    QString error;
    const bool ok = INSERTTOSYSMENU->isChecked() ? AddShellIntegration(&error) : RemoveShellIntegration(&error);
    if (!ok)
        platform::prompts().message(QStringLiteral("Настройки программы"), error, platform::Severity::Warning);
    // The box shows what really is.
    const bool wasLoading = loading_;
    loading_ = true;
    INSERTTOSYSMENU->setChecked(ShellIntegrationOn());
    loading_ = wasLoading;
}
