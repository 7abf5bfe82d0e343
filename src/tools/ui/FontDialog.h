#pragma once
// "Шрифт": the declarations of a text style put together from check boxes,
// spin boxes, font lists and two colour swatches, with a live sample in the
// program's browser, then put into the document (one undo step) or onto the
// clipboard. Application-modal without a loop of its own: OK does the work
// and closes it. Its settings last for the run.
#include "store/ColourNotation.h"
#include "tools/FontStyle.h"

#include <QDialog>
#include <functional>

class PageBrowser;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;
class TextModel;

namespace Ui {
class TFONTFORM;
}

class TFONTFORM : public QDialog {
    Q_OBJECT

public:
    explicit TFONTFORM(QWidget* parent = nullptr);
    ~TFONTFORM() override;

    QCheckBox* SHORT = nullptr;
    QComboBox* FONTNAME = nullptr;
    QCheckBox* _CFONTSIZE = nullptr;
    QSpinBox* _FONTSIZE = nullptr;
    QComboBox* _UFONTSIZE = nullptr;
    QCheckBox* _COLOR = nullptr;
    QFrame* FONTCOLOR = nullptr;
    QCheckBox* _SCOLOR = nullptr;
    QFrame* STRCOLOR = nullptr;
    QCheckBox* _CLINEHEIGHT = nullptr;
    QSpinBox* _LINEHEIGHT = nullptr;
    QComboBox* _ULINEHEIGHT = nullptr;
    QCheckBox* _ITALIC = nullptr;
    QCheckBox* _BOLD = nullptr;
    QCheckBox* _CLSPACING = nullptr;
    QSpinBox* _LSPACING = nullptr;
    QComboBox* _ULSPACING = nullptr;
    QCheckBox* _UNDERLINE = nullptr;
    QCheckBox* _CROSS = nullptr;
    QCheckBox* _CWSPACING = nullptr;
    QSpinBox* _WSPACING = nullptr;
    QComboBox* _UWSPACING = nullptr;
    QCheckBox* _OVERLINE = nullptr;
    QCheckBox* _CAPITALIZE = nullptr;
    QCheckBox* _UPPERCASE = nullptr;
    QCheckBox* _LOWERCASE = nullptr;
    QCheckBox* _SMALLCAPS = nullptr;
    QCheckBox* _NOWRAP = nullptr;
    QRadioButton* _TOSTYLE = nullptr;
    QRadioButton* _NEWSTYLE = nullptr;
    QRadioButton* _NEWFONT = nullptr;
    QRadioButton* _NEWDIV = nullptr;
    QRadioButton* _TODOC = nullptr;
    QRadioButton* _TOBUF = nullptr;
    QComboBox* PARENTFONT = nullptr;
    PageBrowser* VIEW = nullptr; // made with the first showing; null when the engine is missing
    QLabel* STYLELABEL = nullptr;
    QPushButton* Button1 = nullptr; // "OK"

    // The swatches' colours.
    TColor FontColour = 0xFFFFFF;
    TColor StrColour = 0xFFFFFF;

    // The colour picker (start colour; true with the picked one when confirmed).
    std::function<bool(TColor start, TColor* picked)> pickColour;
    // When set, makes the sample's browser instead of the web engine.
    static std::function<PageBrowser*(QWidget* parent)> SampleBrowserForTests;

    // Shows the dialog over the editor's document: its selection is what a
    // new element wraps; currentClass and the document's style sheets go
    // into the element and the sample.
    void showFor(TextModel* editor, const QString& currentClass, const QString& documentFileName);

    // The controls as the style text reads them.
    FontStyleControls controls() const;
    // Rebuilds the style text, the sample and STYLELABEL.
    void _UPDATE();

    const QString& styleText() const { return style_; }
    const QString& samplePage() const { return sample_; }
    const QString& linkBlock() const { return linkBlock_; }

    void FONTCOLORClick();
    void STRCOLORClick();
    void Button1Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fillFontLists();
    void makeSampleBrowser();
    void paintSwatches();
    void transformClick(QCheckBox* box);
    void fontBoxLeft(QComboBox* box);

    Ui::TFONTFORM* ui;
    TextModel* editor_ = nullptr;
    QString currentClass_;
    QString documentFolder_;
    QString style_;
    QString sample_;
    QString linkBlock_;
    bool browserTried_ = false;
};
