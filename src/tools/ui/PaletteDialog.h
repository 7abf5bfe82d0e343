#pragma once
// The colour picker "Prismato Palette": a borderless, always-on-top window
// with the hue strip, the saturation/brightness square, the numeric fields,
// the colour text field and six preset colours. The model lives in
// ColourPickerState; this window paints it and passes the user's actions on.
//
// Use: pick(start, &result) shows it modally and tells whether OK was pressed.
// The same in steps (for modeless use and tests): prepare(start), show(),
// then read state().PickConfirmed and state().PickedColour after it closed.
#include "tools/ColourPicker.h"

#include <QColor>
#include <QDialog>
#include <QImage>
#include <QPoint>
#include <QWidget>

class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;

// A picture of the picker: a filled swatch, an image, or one of the drawn
// shapes (arrows, thumbs, title, close box). Reports presses, drags, clicks
// and double clicks; a double click counts as a click followed by a double
// click, never as two clicks and a double click.
class PalettePicture : public QWidget {
    Q_OBJECT

public:
    enum class Shape {
        Swatch,     // the colour inside a one-pixel dark frame
        Plain,      // the colour edge to edge
        Image,      // the image, unscaled
        ArrowUp,
        ArrowDown,
        ArrowLeft,
        ArrowRight,
        ThumbHorizontal, // a thumb dragged up and down
        ThumbVertical,   // a thumb dragged left and right
        Marker,          // the small pointer at the hue strip
        Shadow,          // a dark outline
        Title,
        Bottom,
        Close,
        Copy,
        Mode,
    };

    PalettePicture(Shape shape, const QString& name, QWidget* parent);

    void setColour(const QColor& colour);
    QColor colour() const { return colour_; }
    void setImage(const QImage& image);
    const QImage& image() const { return image_; }

Q_SIGNALS:
    void pressed(const QPoint& global);
    void moved(const QPoint& global);
    void released(const QPoint& global);
    void clicked();
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    Shape shape_;
    QColor colour_ = Qt::white;
    QImage image_;
    bool dragging_ = false;
    bool afterDoubleClick_ = false;
};

class TPALETTE_DIALOG : public QDialog {
    Q_OBJECT

public:
    explicit TPALETTE_DIALOG(QWidget* parent = nullptr);

    // The whole protocol: StartColour := start, IMPORT_COLOR (start, true),
    // shown modally. *result (when given) receives PickedColour: the picked
    // colour after OK, the start colour otherwise. Returns PickConfirmed.
    bool pick(TColor start, TColor* result);
    // pick() without showing: StartColour := start, IMPORT_COLOR (start, true).
    void prepare(TColor start);
    // Sets hue and point to a colour and repaints (see ColourPickerState).
    void IMPORT_COLOR(TColor colour, bool showAsStart);

    ColourPickerState& state() { return state_; }
    const ColourPickerState& state() const { return state_; }

    // The buttons' commands.
    void OK_BUTClick();
    void CLOSEBUTTONClick();
    // The closing by Esc or the window system: as CLOSEBUTTON.
    void reject() override;

    PalettePicture* TITLE = nullptr;
    PalettePicture* BOTTOM = nullptr;
    PalettePicture* CLOSEBUTTON = nullptr;

    PalettePicture* HUE_CANVAS = nullptr;
    QWidget* HUE_SELECTOR = nullptr;
    PalettePicture* HUE_COLORFRAME = nullptr;
    PalettePicture* HUE_UP = nullptr;
    PalettePicture* HUE_DOWN = nullptr;
    PalettePicture* HUE_MARKER = nullptr;

    PalettePicture* PALETTE_CANVAS = nullptr;
    PalettePicture* COLOR_SHADOW = nullptr;
    QWidget* COLOR_SELECTOR = nullptr;
    PalettePicture* COLOR_COLORFRAME = nullptr;
    PalettePicture* LIG_UP = nullptr;
    PalettePicture* LIG_DOWN = nullptr;
    PalettePicture* SAT_UP = nullptr;
    PalettePicture* SAT_DOWN = nullptr;
    PalettePicture* LIG_SELECTOR = nullptr;
    PalettePicture* SAT_SELECTOR = nullptr;
    PalettePicture* COLOR_MAX = nullptr;
    PalettePicture* COLOR_DESAT = nullptr;
    PalettePicture* COLOR_MAXSAT = nullptr;

    QLineEdit* R_INPUT = nullptr;
    QLineEdit* G_INPUT = nullptr;
    QLineEdit* B_INPUT = nullptr;
    QLineEdit* HUE_INPUT = nullptr;
    QLineEdit* SAT_INPUT = nullptr;
    QLineEdit* LIG_INPUT = nullptr;
    QLineEdit* WEB_COLOR = nullptr;

    PalettePicture* COLOR_IMPORTED = nullptr;
    PalettePicture* COLOR_NEW = nullptr;
    // Fuchsia, blue, aqua, lime, yellow, red.
    PalettePicture* PRESET_FUCHSIA = nullptr;
    PalettePicture* PRESET_BLUE = nullptr;
    PalettePicture* PRESET_AQUA = nullptr;
    PalettePicture* PRESET_LIME = nullptr;
    PalettePicture* PRESET_YELLOW = nullptr;
    PalettePicture* PRESET_RED = nullptr;

    PalettePicture* Image3 = nullptr; // copy to the clipboard
    PalettePicture* Image4 = nullptr; // display mode
    QMenu* WEBCOLORMODE_POPUP = nullptr;
    QPushButton* OK_BUT = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void buildHueStrip();
    void buildSquare();
    void buildFields();
    void buildModeMenu();
    PalettePicture* preset(const QString& name, TColor colour, int top);

    // Repaints everything that shows the state and fills the fields.
    void refresh();
    void moveHue(int hue);
    void placePoint(int saturation, int lightness);
    void placeSelectors();
    void widenHueSelector(bool wide);

    void rgbEnter();
    void webEnter();
    void copyWebColour();
    void chooseMode(ColourDisplayMode mode);

    // Moves the mouse cursor; left out on the windowless test platforms.
    static void warpCursor(const QPoint& global);
    static void nudgeCursor(int dx, int dy);
    QRect squareOnScreen() const;

    ColourPickerState state_;
    int squareHue_ = -1; // hue of the square's current picture
    bool updating_ = false;

    QPoint titleOffset_;
    QPoint frameOffset_;  // press position inside COLOR_COLORFRAME
    QPoint thumbPress_;   // press position on a thumb
    int thumbStart_ = 0;  // lightness or saturation at that press
};
