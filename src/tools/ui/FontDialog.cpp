#include "tools/ui/FontDialog.h"
#include "platform/ui/DialogPlacement.h"

#include "editor/TextModel.h"
#include "editor/Undo.h"
#include "html/DocumentResources.h"
#include "preview/ui/PageBrowser.h"
#include "store/ui/QtColour.h"
#include "ui_FontDialog.h"

#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScreen>
#include <QSignalBlocker>
#include <QUrl>

std::function<PageBrowser*(QWidget*)> TFONTFORM::SampleBrowserForTests;


TFONTFORM::TFONTFORM(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint)
    , ui(new Ui::TFONTFORM)
{
    ui->setupUi(this);
    setObjectName(QStringLiteral("FONTFORM"));
    setWindowModality(Qt::ApplicationModal);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    ui->VIEWAREA->setFixedHeight(170);
    // A long style wraps in the label instead of widening the dialog.
    ui->STYLELABEL->setFixedHeight(ui->STYLELABEL->fontMetrics().lineSpacing() * 3);

    SHORT = ui->SHORT;
    FONTNAME = ui->FONTNAME;
    _CFONTSIZE = ui->_CFONTSIZE;
    _FONTSIZE = ui->_FONTSIZE;
    _UFONTSIZE = ui->_UFONTSIZE;
    _COLOR = ui->_COLOR;
    FONTCOLOR = ui->FONTCOLOR;
    _SCOLOR = ui->_SCOLOR;
    STRCOLOR = ui->STRCOLOR;
    _CLINEHEIGHT = ui->_CLINEHEIGHT;
    _LINEHEIGHT = ui->_LINEHEIGHT;
    _ULINEHEIGHT = ui->_ULINEHEIGHT;
    _ITALIC = ui->_ITALIC;
    _BOLD = ui->_BOLD;
    _CLSPACING = ui->_CLSPACING;
    _LSPACING = ui->_LSPACING;
    _ULSPACING = ui->_ULSPACING;
    _UNDERLINE = ui->_UNDERLINE;
    _CROSS = ui->_CROSS;
    _CWSPACING = ui->_CWSPACING;
    _WSPACING = ui->_WSPACING;
    _UWSPACING = ui->_UWSPACING;
    _OVERLINE = ui->_OVERLINE;
    _CAPITALIZE = ui->_CAPITALIZE;
    _UPPERCASE = ui->_UPPERCASE;
    _LOWERCASE = ui->_LOWERCASE;
    _SMALLCAPS = ui->_SMALLCAPS;
    _NOWRAP = ui->_NOWRAP;
    _TOSTYLE = ui->_TOSTYLE;
    _NEWSTYLE = ui->_NEWSTYLE;
    _NEWFONT = ui->_NEWFONT;
    _NEWDIV = ui->_NEWDIV;
    _TODOC = ui->_TODOC;
    _TOBUF = ui->_TOBUF;
    PARENTFONT = ui->PARENTFONT;
    STYLELABEL = ui->STYLELABEL;
    Button1 = ui->Button1;

    for (QComboBox* box : {FONTNAME, PARENTFONT}) {
        box->addItem(DefaultFontText);
        // Choosing an entry or emptying the text updates; typing a name
        // does not, leaving the box does (OK reads the controls anyway).
        connect(box, &QComboBox::activated, this, &TFONTFORM::_UPDATE);
        connect(box, &QComboBox::editTextChanged, this, [this](const QString& text) {
            if (text.isEmpty())
                _UPDATE();
        });
        connect(box->lineEdit(), &QLineEdit::editingFinished, this, [this, box] { fontBoxLeft(box); });
    }
    for (QCheckBox* box : {SHORT, _BOLD, _ITALIC, _CROSS, _UNDERLINE, _OVERLINE, _SMALLCAPS, _NOWRAP, _COLOR, _SCOLOR,
                           _CFONTSIZE, _CLINEHEIGHT, _CLSPACING, _CWSPACING})
        connect(box, &QCheckBox::clicked, this, &TFONTFORM::_UPDATE);
    for (QCheckBox* box : {_CAPITALIZE, _UPPERCASE, _LOWERCASE})
        connect(box, &QCheckBox::clicked, this, [this, box] { transformClick(box); });
    for (QComboBox* box : {_UFONTSIZE, _ULINEHEIGHT, _ULSPACING, _UWSPACING})
        connect(box, &QComboBox::currentIndexChanged, this, &TFONTFORM::_UPDATE);
    for (QSpinBox* box : {_FONTSIZE, _LINEHEIGHT, _LSPACING, _WSPACING})
        connect(box, &QSpinBox::textChanged, this, [this](const QString& text) {
            if (!text.isEmpty())
                _UPDATE();
        });
    FONTCOLOR->installEventFilter(this);
    STRCOLOR->installEventFilter(this);
    connect(Button1, &QPushButton::clicked, this, &TFONTFORM::Button1Click);
    paintSwatches();
}

TFONTFORM::~TFONTFORM() { delete ui; }

void TFONTFORM::showFor(TextModel* editor, const QString& currentClass, const QString& documentFileName)
{
    editor_ = editor;
    currentClass_ = currentClass;
    documentFolder_ = DocumentFolderOf(documentFileName);
    fillFontLists();
    // The document's style sheets serve the sample of a class only.
    linkBlock_ = currentClass.isEmpty() || !editor ? QString() : FontLinkBlock(documentFileName, editor->text());
    makeSampleBrowser();
    _UPDATE();
    platform::ShowCentredOnDesktop(this);
}

void TFONTFORM::fillFontLists()
{
    const QStringList families = PageFontFamilies(QFontDatabase::families());
    for (QComboBox* box : {FONTNAME, PARENTFONT}) {
        const QSignalBlocker quiet(box);
        const QString text = box->currentText();
        box->clear();
        box->addItem(DefaultFontText);
        box->addItems(families);
        const int at = box->findText(text, Qt::MatchFixedString | Qt::MatchCaseSensitive);
        if (at >= 0)
            box->setCurrentIndex(at);
        box->setEditText(text);
    }
}

void TFONTFORM::makeSampleBrowser()
{
    if (browserTried_)
        return;
    browserTried_ = true;
    QString error;
    VIEW = SampleBrowserForTests ? SampleBrowserForTests(ui->VIEWAREA) : CreatePageBrowser(ui->VIEWAREA, &error, BrowserKind::ProgramPages);
    if (!VIEW) {
        // No sample, the style text is built all the same.
        auto* why = new QLabel(error, ui->VIEWAREA);
        why->setObjectName(QStringLiteral("VIEWERROR"));
        why->setTextFormat(Qt::PlainText);
        why->setWordWrap(true);
        ui->VIEW_LAYOUT->addWidget(why);
        return;
    }
    VIEW->setObjectName(QStringLiteral("VIEW"));
    VIEW->widget()->setObjectName(QStringLiteral("VIEW"));
    ui->VIEW_LAYOUT->addWidget(VIEW->widget());
}

FontStyleControls TFONTFORM::controls() const
{
    FontStyleControls c;
    c.shortNotation = SHORT->isChecked();
    c.fontName = FONTNAME->currentText();
    c.fontSizeOn = _CFONTSIZE->isChecked();
    c.fontSize = _FONTSIZE->text();
    c.fontSizeUnit = _UFONTSIZE->currentText();
    c.colourOn = _COLOR->isChecked();
    c.colour = FontColour;
    c.backgroundOn = _SCOLOR->isChecked();
    c.background = StrColour;
    c.lineHeightOn = _CLINEHEIGHT->isChecked();
    c.lineHeight = _LINEHEIGHT->text();
    c.lineHeightUnit = _ULINEHEIGHT->currentText();
    c.italic = _ITALIC->isChecked();
    c.bold = _BOLD->isChecked();
    c.letterSpacingOn = _CLSPACING->isChecked();
    c.letterSpacing = _LSPACING->text();
    c.letterSpacingUnit = _ULSPACING->currentText();
    c.underline = _UNDERLINE->isChecked();
    c.lineThrough = _CROSS->isChecked();
    c.wordSpacingOn = _CWSPACING->isChecked();
    c.wordSpacing = _WSPACING->text();
    c.wordSpacingUnit = _UWSPACING->currentText();
    c.overline = _OVERLINE->isChecked();
    c.capitalize = _CAPITALIZE->isChecked();
    c.uppercase = _UPPERCASE->isChecked();
    c.lowercase = _LOWERCASE->isChecked();
    c.smallCaps = _SMALLCAPS->isChecked();
    c.noWrap = _NOWRAP->isChecked();
    c.parentFont = PARENTFONT->currentText();
    return c;
}

void TFONTFORM::_UPDATE()
{
    const FontStyle s = BuildFontStyle(controls());
    style_ = s.style;
    sample_ = FontSamplePage(linkBlock_, currentClass_, s);
    if (VIEW)
        VIEW->loadHtml(sample_, documentFolder_.isEmpty() ? QUrl() : QUrl::fromLocalFile(documentFolder_));
    STYLELABEL->setText(FontStyleLabel(currentClass_, style_));
}

void TFONTFORM::fontBoxLeft(QComboBox* box)
{
    if (box->currentText().trimmed().isEmpty()) {
        const QSignalBlocker quiet(box);
        box->setEditText(DefaultFontText);
    }
    _UPDATE();
}

void TFONTFORM::transformClick(QCheckBox* box)
{
    if (box->isChecked())
        for (QCheckBox* other : {_CAPITALIZE, _UPPERCASE, _LOWERCASE})
            if (other != box)
                other->setChecked(false);
    _UPDATE();
}

void TFONTFORM::paintSwatches()
{
    for (auto [swatch, colour] : {std::pair{FONTCOLOR, FontColour}, std::pair{STRCOLOR, StrColour}}) {
        QPalette p = swatch->palette();
        p.setColor(QPalette::Window, ToQColor(colour));
        swatch->setPalette(p);
    }
}

void TFONTFORM::FONTCOLORClick()
{
    _COLOR->setChecked(true);
    TColor picked = FontColour;
    if (pickColour && pickColour(FontColour, &picked))
        FontColour = picked;
    paintSwatches();
    _UPDATE();
}

void TFONTFORM::STRCOLORClick()
{
    _SCOLOR->setChecked(true);
    TColor picked = StrColour;
    if (pickColour && pickColour(StrColour, &picked))
        StrColour = picked;
    paintSwatches();
    _UPDATE();
}

bool TFONTFORM::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == FONTCOLOR) {
            FONTCOLORClick();
            return true;
        }
        if (watched == STRCOLOR) {
            STRCOLORClick();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TFONTFORM::Button1Click()
{
    // The controls as they stand, a font name typed last included.
    style_ = BuildFontStyle(controls()).style;
    const FontOutput output = _NEWSTYLE->isChecked() ? FontOutput::NewStyle
        : _NEWFONT->isChecked()                      ? FontOutput::NewFont
        : _NEWDIV->isChecked()                       ? FontOutput::NewDiv
                                                     : FontOutput::ToStyle;
    if (_TOBUF->isChecked()) {
        QApplication::clipboard()->setText(FontResult(output, style_, currentClass_, QString()));
    } else if (editor_) {
        UndoSnapshot();
        editor_->setSelText(FontResult(output, style_, currentClass_, editor_->selText()));
        UndoCommit();
    }
    close();
}
