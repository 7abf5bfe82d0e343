#pragma once
// The font style dialog's text: the CSS declarations rebuilt from the
// dialog's controls, the sample page and the label that show them, the
// links to the document's style sheets for the sample, and what OK puts
// into the document or onto the clipboard. No windows here.
#include "store/ColourNotation.h"

#include <QString>
#include <QStringList>

// The font lists' first entry; it, like a blank text, means no family.
inline const QString DefaultFontText = QStringLiteral("По умолчанию");

// The font lists' entries from the installed families as the font database
// names them: each family a page can name, without the " [foundry]" the
// database adds to tell makers apart, once (case aside, the first spelling
// kept), sorted without regard to case.
QStringList PageFontFamilies(const QStringList& installed);

// The controls as the style text reads them. Spin boxes are given by their
// texts: size and spacings count a text that is not a number as 0, the line
// height is taken as typed.
struct FontStyleControls {
    bool shortNotation = true;          // SHORT
    QString fontName = DefaultFontText; // FONTNAME
    bool fontSizeOn = false;            // _CFONTSIZE
    QString fontSize = QStringLiteral("13");
    QString fontSizeUnit = QStringLiteral("px");
    bool colourOn = false; // _COLOR
    TColor colour = 0xFFFFFF;
    bool backgroundOn = false; // _SCOLOR
    TColor background = 0xFFFFFF;
    bool lineHeightOn = false; // _CLINEHEIGHT
    QString lineHeight = QStringLiteral("18");
    QString lineHeightUnit = QStringLiteral("px");
    bool italic = false;
    bool bold = false;
    bool letterSpacingOn = false; // _CLSPACING
    QString letterSpacing = QStringLiteral("0");
    QString letterSpacingUnit;
    bool underline = false;
    bool lineThrough = false; // _CROSS
    bool wordSpacingOn = false; // _CWSPACING
    QString wordSpacing = QStringLiteral("0");
    QString wordSpacingUnit;
    bool overline = false;
    bool capitalize = false;
    bool uppercase = false;
    bool lowercase = false;
    bool smallCaps = false;
    bool noWrap = false;
    QString parentFont = DefaultFontText; // PARENTFONT, the sample only
};

struct FontStyle {
    QString style;         // what OK produces
    QString previewFamily; // "font-family:" + parent font + ";" or empty
};

FontStyle BuildFontStyle(const FontStyleControls& c);

// "class=" + class + " " when a class is chosen, else empty.
QString FontClassPart(const QString& currentClass);

// The sample page in the browser. The style text and the preview family go
// into the page with &, <, >, " and ' written as entities, so the browser
// reads back exactly the style text and nothing of it can end the
// attribute; the head forbids scripts.
QString FontSamplePage(const QString& linkBlock, const QString& currentClass, const FontStyle& style);

// STYLELABEL's text.
QString FontStyleLabel(const QString& currentClass, const QString& style);

// The sample's links to the style sheets among the document's resources
// (extension CSS in any letter case), one line with CR LF each, addressed
// from the document's folder. Empty for a document without a folder.
QString FontLinkBlock(const QString& documentFileName, const QString& documentText);

// What OK produces ("Что создать").
enum class FontOutput { ToStyle, NewStyle, NewFont, NewDiv };

// inner: the editor's selected text for the document, empty for the clipboard.
QString FontResult(FontOutput output, const QString& style, const QString& currentClass, const QString& inner);
