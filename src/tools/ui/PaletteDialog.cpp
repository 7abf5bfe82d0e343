#include "tools/ui/PaletteDialog.h"

#include "platform/Prompts.h"

#include <QAction>
#include <QActionGroup>
#include <QClipboard>
#include <QCursor>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScreen>

#include <algorithm>

namespace {

// Window layout.
constexpr int WindowWidth = 467;
constexpr int WindowHeight = 429;
constexpr QPoint SquareAt(8, 43);
constexpr QPoint StripAt(337, 43);
constexpr int StripWidth = 29;
constexpr int HueSelectorLeft = 303;
constexpr int HueSelectorWidth = 34, HueSelectorWideWidth = 50;
constexpr int HueSelectorHeight = 35;
constexpr int HueFrameWidth = 16, HueFrameWideWidth = 32;
constexpr int FieldsLeft = 390;
constexpr int PresetsLeft = 440;

QColor ToQColor(TColor colour)
{
    const TColor rgb = ColorToRGB(colour);
    return QColor(RedOf(rgb), GreenOf(rgb), BlueOf(rgb));
}

void DrawArrow(QPainter& p, const QRectF& r, qreal angle)
{
    p.fillRect(r, QColor(0xF0, 0xF0, 0xF0));
    p.setPen(QColor(0x80, 0x80, 0x80));
    p.drawRect(r.adjusted(0, 0, -1, -1));
    p.save();
    p.translate(r.center());
    p.rotate(angle);
    QPainterPath tri;
    tri.moveTo(0, -3.5);
    tri.lineTo(4, 2.5);
    tri.lineTo(-4, 2.5);
    tri.closeSubpath();
    p.fillPath(tri, Qt::black);
    p.restore();
}

} // namespace

// ---------------------------------------------------------------------------

PalettePicture::PalettePicture(Shape shape, const QString& name, QWidget* parent)
    : QWidget(parent), shape_(shape)
{
    setObjectName(name);
}

void PalettePicture::setColour(const QColor& colour)
{
    if (colour_ == colour)
        return;
    colour_ = colour;
    update();
}

void PalettePicture::setImage(const QImage& image)
{
    image_ = image;
    update();
}

void PalettePicture::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QRectF r = rect();
    const QRect inner = rect().adjusted(0, 0, -1, -1);
    switch (shape_) {
    case Shape::Swatch:
        p.fillRect(r, colour_);
        p.setPen(QColor(0x40, 0x40, 0x40));
        p.drawRect(inner);
        break;
    case Shape::Plain:
        p.fillRect(r, colour_);
        break;
    case Shape::Image:
        p.drawImage(0, 0, image_);
        break;
    case Shape::ArrowUp:
        DrawArrow(p, r, 0);
        break;
    case Shape::ArrowRight:
        DrawArrow(p, r, 90);
        break;
    case Shape::ArrowDown:
        DrawArrow(p, r, 180);
        break;
    case Shape::ArrowLeft:
        DrawArrow(p, r, 270);
        break;
    case Shape::ThumbHorizontal:
    case Shape::ThumbVertical:
        p.fillRect(r, QColor(0x50, 0x50, 0x50));
        p.setPen(Qt::white);
        if (shape_ == Shape::ThumbHorizontal)
            p.drawLine(2, height() / 2, width() - 3, height() / 2);
        else
            p.drawLine(width() / 2, 2, width() / 2, height() - 3);
        break;
    case Shape::Marker: {
        QPainterPath tri;
        tri.moveTo(0, 0);
        tri.lineTo(width(), height() / 2.0);
        tri.lineTo(0, height());
        tri.closeSubpath();
        p.fillPath(tri, Qt::black);
        break;
    }
    case Shape::Shadow:
        p.setPen(QColor(0, 0, 0, 110));
        p.drawRect(inner);
        break;
    case Shape::Title: {
        QLinearGradient g(0, 0, 0, height());
        g.setColorAt(0, QColor(0x5A, 0x5A, 0x6E));
        g.setColorAt(1, QColor(0x2E, 0x2E, 0x3A));
        p.fillRect(r, g);
        p.setPen(Qt::white);
        QFont f = font();
        f.setBold(true);
        p.setFont(f);
        p.drawText(rect().adjusted(10, 0, -30, 0), Qt::AlignVCenter | Qt::AlignLeft, window()->windowTitle());
        break;
    }
    case Shape::Bottom:
        p.fillRect(r, QColor(0x2E, 0x2E, 0x3A));
        break;
    case Shape::Close:
        p.fillRect(r, QColor(0xC0, 0x30, 0x30));
        p.setPen(QPen(Qt::white, 2));
        p.drawLine(QPointF(5, 5), QPointF(width() - 5, height() - 5));
        p.drawLine(QPointF(width() - 5, 5), QPointF(5, height() - 5));
        break;
    case Shape::Copy:
        p.setPen(QColor(0x40, 0x40, 0x40));
        p.setBrush(Qt::white);
        p.drawRect(QRect(1, 1, width() - 6, height() - 6));
        p.drawRect(QRect(4, 4, width() - 6, height() - 6));
        break;
    case Shape::Mode:
        p.setPen(QColor(0x40, 0x40, 0x40));
        p.setBrush(QColor(0xE0, 0xE0, 0xE0));
        p.drawRect(inner);
        p.setBrush(Qt::black);
        for (int i = 0; i < 3; ++i)
            p.drawEllipse(QPointF(width() / 2.0, 4 + i * (height() - 8) / 2.0), 1.3, 1.3);
        break;
    }
}

void PalettePicture::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    dragging_ = true;
    Q_EMIT pressed(event->globalPosition().toPoint());
}

void PalettePicture::mouseMoveEvent(QMouseEvent* event)
{
    if (dragging_ && (event->buttons() & Qt::LeftButton))
        Q_EMIT moved(event->globalPosition().toPoint());
}

void PalettePicture::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !dragging_)
        return;
    dragging_ = false;
    Q_EMIT released(event->globalPosition().toPoint());
    const bool inside = rect().contains(event->position().toPoint());
    if (afterDoubleClick_) {
        afterDoubleClick_ = false;
        return;
    }
    if (inside)
        Q_EMIT clicked();
}

void PalettePicture::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    dragging_ = true;
    afterDoubleClick_ = true;
    Q_EMIT doubleClicked();
}

// ---------------------------------------------------------------------------

TPALETTE_DIALOG::TPALETTE_DIALOG(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("PALETTE_DIALOG"));
    setWindowTitle(QStringLiteral("Prismato Palette"));
    setFixedSize(WindowWidth, WindowHeight);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    setAutoFillBackground(true);

    TITLE = new PalettePicture(PalettePicture::Shape::Title, QStringLiteral("TITLE"), this);
    TITLE->setGeometry(1, 1, 465, 30);
    connect(TITLE, &PalettePicture::pressed, this, [this](const QPoint& g) { titleOffset_ = g - pos(); });
    connect(TITLE, &PalettePicture::moved, this, [this](const QPoint& g) { move(g - titleOffset_); });
    CLOSEBUTTON = new PalettePicture(PalettePicture::Shape::Close, QStringLiteral("CLOSEBUTTON"), this);
    CLOSEBUTTON->setGeometry(445, 7, 18, 18);
    connect(CLOSEBUTTON, &PalettePicture::clicked, this, &TPALETTE_DIALOG::CLOSEBUTTONClick);
    BOTTOM = new PalettePicture(PalettePicture::Shape::Bottom, QStringLiteral("BOTTOM"), this);
    BOTTOM->setGeometry(1, 420, 465, 8);

    buildSquare();
    buildHueStrip();
    buildFields();
    buildModeMenu();

    OK_BUT = new QPushButton(QStringLiteral("OK"), this);
    OK_BUT->setObjectName(QStringLiteral("OK_BUT"));
    OK_BUT->setGeometry(376, 380, 82, 26);
    // Enter belongs to the fields, not to a default button.
    OK_BUT->setAutoDefault(false);
    OK_BUT->setDefault(false);
    connect(OK_BUT, &QPushButton::clicked, this, &TPALETTE_DIALOG::OK_BUTClick);

    // As at creation: the top of the strip (hue 360), the square's top-left.
    moveHue(MaxHue);
    placePoint(0, 255);
}

void TPALETTE_DIALOG::buildHueStrip()
{
    HUE_CANVAS = new PalettePicture(PalettePicture::Shape::Image, QStringLiteral("HUE_CANVAS"), this);
    HUE_CANVAS->setGeometry(StripAt.x(), StripAt.y(), StripWidth, MaxHue + 1);
    QImage strip(StripWidth, MaxHue + 1, QImage::Format_RGB32);
    for (int hue = 0; hue <= MaxHue; ++hue) {
        const QRgb colour = ToQColor(HueStripColour(hue)).rgb();
        auto* row = reinterpret_cast<QRgb*>(strip.scanLine(MaxHue - hue));
        std::fill(row, row + StripWidth, colour);
    }
    HUE_CANVAS->setImage(strip);

    HUE_SELECTOR = new QWidget(this);
    HUE_SELECTOR->setObjectName(QStringLiteral("HUE_SELECTOR"));
    HUE_SELECTOR->setGeometry(HueSelectorLeft, StripAt.y(), HueSelectorWidth, HueSelectorHeight);
    HUE_COLORFRAME = new PalettePicture(PalettePicture::Shape::Swatch, QStringLiteral("HUE_COLORFRAME"), HUE_SELECTOR);
    HUE_UP = new PalettePicture(PalettePicture::Shape::ArrowUp, QStringLiteral("HUE_UP"), HUE_SELECTOR);
    HUE_DOWN = new PalettePicture(PalettePicture::Shape::ArrowDown, QStringLiteral("HUE_DOWN"), HUE_SELECTOR);
    HUE_MARKER = new PalettePicture(PalettePicture::Shape::Marker, QStringLiteral("HUE_MARKER"), HUE_SELECTOR);
    widenHueSelector(false);

    connect(HUE_COLORFRAME, &PalettePicture::pressed, this, [this](const QPoint& g) {
        warpCursor(QPoint(g.x(), HUE_SELECTOR->mapToGlobal(QPoint(0, HueSelectorHeight / 2)).y()));
        widenHueSelector(true);
    });
    connect(HUE_COLORFRAME, &PalettePicture::moved, this, [this](const QPoint& g) {
        moveHue(HUE_CANVAS->mapToGlobal(QPoint(0, 0)).y() + MaxHue - g.y());
    });
    connect(HUE_COLORFRAME, &PalettePicture::released, this, [this](const QPoint&) { widenHueSelector(false); });

    auto up = [this] {
        if (state_.hueUp())
            nudgeCursor(0, -1);
        refresh();
    };
    auto down = [this] {
        if (state_.hueDown())
            nudgeCursor(0, 1);
        refresh();
    };
    connect(HUE_UP, &PalettePicture::clicked, this, up);
    connect(HUE_UP, &PalettePicture::doubleClicked, this, up);
    connect(HUE_DOWN, &PalettePicture::clicked, this, down);
    connect(HUE_DOWN, &PalettePicture::doubleClicked, this, down);
}

void TPALETTE_DIALOG::widenHueSelector(bool wide)
{
    const int frame = wide ? HueFrameWideWidth : HueFrameWidth;
    HUE_SELECTOR->resize(wide ? HueSelectorWideWidth : HueSelectorWidth, HueSelectorHeight);
    HUE_COLORFRAME->setGeometry(0, 0, frame, 38);
    HUE_UP->setGeometry(frame, 0, 15, 15);
    HUE_DOWN->setGeometry(frame, 20, 15, 15);
    HUE_MARKER->setGeometry(frame + 15, HueSelectorHeight / 2 - 3, 3, 7);
}

void TPALETTE_DIALOG::buildSquare()
{
    PALETTE_CANVAS = new PalettePicture(PalettePicture::Shape::Image, QStringLiteral("PALETTE_CANVAS"), this);
    PALETTE_CANVAS->setGeometry(SquareAt.x(), SquareAt.y(), SquareSize, SquareSize);

    COLOR_SHADOW = new PalettePicture(PalettePicture::Shape::Shadow, QStringLiteral("COLOR_SHADOW"), this);
    COLOR_SHADOW->resize(58, 58);
    COLOR_SELECTOR = new QWidget(this);
    COLOR_SELECTOR->setObjectName(QStringLiteral("COLOR_SELECTOR"));
    COLOR_SELECTOR->resize(74, 74);

    using Shape = PalettePicture::Shape;
    auto make = [this](Shape shape, const char* name, int x, int y, int w, int h) {
        auto* p = new PalettePicture(shape, QLatin1String(name), COLOR_SELECTOR);
        p->setGeometry(x, y, w, h);
        return p;
    };
    // The panel's top-left pixel is the chosen point, the frame's corner.
    COLOR_COLORFRAME = make(Shape::Swatch, "COLOR_COLORFRAME", 0, 0, 56, 56);
    LIG_UP = make(Shape::ArrowUp, "LIG_UP", 59, 0, 15, 15);
    LIG_SELECTOR = make(Shape::ThumbHorizontal, "LIG_SELECTOR", 59, 25, 15, 6);
    LIG_DOWN = make(Shape::ArrowDown, "LIG_DOWN", 59, 41, 15, 15);
    SAT_DOWN = make(Shape::ArrowLeft, "SAT_DOWN", 0, 59, 15, 15);
    SAT_SELECTOR = make(Shape::ThumbVertical, "SAT_SELECTOR", 25, 59, 6, 15);
    SAT_UP = make(Shape::ArrowRight, "SAT_UP", 41, 59, 15, 15);
    COLOR_MAX = make(Shape::Swatch, "COLOR_MAX", 59, 59, 15, 7);
    COLOR_DESAT = make(Shape::Swatch, "COLOR_DESAT", 59, 67, 7, 7);
    COLOR_MAXSAT = make(Shape::Swatch, "COLOR_MAXSAT", 67, 67, 7, 7);

    connect(COLOR_COLORFRAME, &PalettePicture::pressed, this, [this](const QPoint& g) {
        frameOffset_ = COLOR_COLORFRAME->mapFromGlobal(g);
        warpCursor(COLOR_SELECTOR->mapToGlobal(QPoint(0, 0)));
        COLOR_COLORFRAME->setCursor(Qt::BlankCursor);
    });
    connect(COLOR_COLORFRAME, &PalettePicture::moved, this, [this](const QPoint& g) {
        const QRect square = squareOnScreen();
        const QPoint inside(std::clamp(g.x(), square.left(), square.right()),
                            std::clamp(g.y(), square.top(), square.bottom()));
        if (inside != g)
            warpCursor(inside);
        placePoint(inside.x() - square.left(), square.top() + 255 - inside.y());
    });
    connect(COLOR_COLORFRAME, &PalettePicture::released, this, [this](const QPoint&) {
        warpCursor(COLOR_SELECTOR->mapToGlobal(QPoint(0, 0)) + frameOffset_);
        COLOR_COLORFRAME->unsetCursor();
    });

    auto step = [this](bool (ColourPickerState::*move)(), int dx, int dy) {
        return [this, move, dx, dy] {
            if ((state_.*move)())
                nudgeCursor(dx, dy);
            placeSelectors();
            refresh();
        };
    };
    const struct {
        PalettePicture* arrow;
        bool (ColourPickerState::*move)();
        int dx, dy;
    } arrows[] = {
        {LIG_UP, &ColourPickerState::lightnessUp, 0, -1},
        {LIG_DOWN, &ColourPickerState::lightnessDown, 0, 1},
        {SAT_UP, &ColourPickerState::saturationUp, 1, 0},
        {SAT_DOWN, &ColourPickerState::saturationDown, -1, 0},
    };
    for (const auto& a : arrows) {
        connect(a.arrow, &PalettePicture::clicked, this, step(a.move, a.dx, a.dy));
        connect(a.arrow, &PalettePicture::doubleClicked, this, step(a.move, a.dx, a.dy));
    }

    connect(LIG_SELECTOR, &PalettePicture::pressed, this, [this](const QPoint& g) {
        thumbPress_ = g;
        thumbStart_ = state_.lightness();
    });
    connect(LIG_SELECTOR, &PalettePicture::moved, this, [this](const QPoint& g) {
        placePoint(state_.saturation(), thumbStart_ + (thumbPress_.y() - g.y()));
    });
    connect(SAT_SELECTOR, &PalettePicture::pressed, this, [this](const QPoint& g) {
        thumbPress_ = g;
        thumbStart_ = state_.saturation();
    });
    connect(SAT_SELECTOR, &PalettePicture::moved, this, [this](const QPoint& g) {
        placePoint(thumbStart_ + (g.x() - thumbPress_.x()), state_.lightness());
    });
}

PalettePicture* TPALETTE_DIALOG::preset(const QString& name, TColor colour, int top)
{
    auto* p = new PalettePicture(PalettePicture::Shape::Swatch, name, this);
    p->setGeometry(PresetsLeft, top, 19, 19);
    p->setColour(ToQColor(colour));
    connect(p, &PalettePicture::clicked, this, [this, colour] { IMPORT_COLOR(colour, false); });
    return p;
}

void TPALETTE_DIALOG::buildFields()
{
    COLOR_IMPORTED = new PalettePicture(PalettePicture::Shape::Swatch, QStringLiteral("COLOR_IMPORTED"), this);
    COLOR_IMPORTED->setGeometry(378, 43, 56, 56);
    COLOR_NEW = new PalettePicture(PalettePicture::Shape::Swatch, QStringLiteral("COLOR_NEW"), COLOR_IMPORTED);
    COLOR_NEW->setGeometry(17, 17, 39, 39);

    auto field = [this](const char* name, const char* caption, int top, int width) {
        auto* label = new QLabel(QLatin1String(caption), this);
        label->setGeometry(FieldsLeft - 14, top, 12, 20);
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QLatin1String(name));
        edit->setGeometry(FieldsLeft, top, width, 20);
        return edit;
    };
    HUE_INPUT = field("HUE_INPUT", "H", 110, 41);
    SAT_INPUT = field("SAT_INPUT", "S", 133, 41);
    LIG_INPUT = field("LIG_INPUT", "L", 156, 41);
    R_INPUT = field("R_INPUT", "R", 187, 41);
    G_INPUT = field("G_INPUT", "G", 210, 41);
    B_INPUT = field("B_INPUT", "B", 233, 41);
    WEB_COLOR = new QLineEdit(this);
    WEB_COLOR->setObjectName(QStringLiteral("WEB_COLOR"));
    WEB_COLOR->setGeometry(FieldsLeft - 14, 266, 63, 20);
    for (QLineEdit* rgb : {R_INPUT, G_INPUT, B_INPUT})
        connect(rgb, &QLineEdit::returnPressed, this, &TPALETTE_DIALOG::rgbEnter);
    connect(WEB_COLOR, &QLineEdit::returnPressed, this, &TPALETTE_DIALOG::webEnter);

    PRESET_FUCHSIA = preset(QStringLiteral("PRESET_FUCHSIA"), RgbColour(255, 0, 255), 110);
    PRESET_BLUE = preset(QStringLiteral("PRESET_BLUE"), RgbColour(0, 0, 255), 133);
    PRESET_AQUA = preset(QStringLiteral("PRESET_AQUA"), RgbColour(0, 255, 255), 156);
    PRESET_LIME = preset(QStringLiteral("PRESET_LIME"), RgbColour(0, 255, 0), 187);
    PRESET_YELLOW = preset(QStringLiteral("PRESET_YELLOW"), RgbColour(255, 255, 0), 210);
    PRESET_RED = preset(QStringLiteral("PRESET_RED"), RgbColour(255, 0, 0), 233);

    Image3 = new PalettePicture(PalettePicture::Shape::Copy, QStringLiteral("Image3"), this);
    Image3->setGeometry(FieldsLeft - 14, 292, 16, 16);
    Image3->setToolTip(QStringLiteral("Copy to clipboard"));
    connect(Image3, &PalettePicture::clicked, this, &TPALETTE_DIALOG::copyWebColour);
    Image4 = new PalettePicture(PalettePicture::Shape::Mode, QStringLiteral("Image4"), this);
    Image4->setGeometry(FieldsLeft + 6, 292, 16, 16);
    Image4->setToolTip(QStringLiteral("Change color display mode"));
    connect(Image4, &PalettePicture::clicked, this, [this] { WEBCOLORMODE_POPUP->popup(QCursor::pos()); });
}

void TPALETTE_DIALOG::buildModeMenu()
{
    WEBCOLORMODE_POPUP = new QMenu(this);
    WEBCOLORMODE_POPUP->setObjectName(QStringLiteral("WEBCOLORMODE_POPUP"));
    QAction* heading = WEBCOLORMODE_POPUP->addAction(QStringLiteral("Change color display mode:"));
    heading->setEnabled(false);
    auto* group = new QActionGroup(WEBCOLORMODE_POPUP);
    const struct {
        const char* name;
        const char* caption;
        ColourDisplayMode mode;
    } entries[] = {
        {"MODE_WEB", "Web: #000000", ColourDisplayMode::WEB},
        {"MODE_WEBSHORTSUPPORT", "Web: #000", ColourDisplayMode::WEBSHORTSUPPORT},
        {"MODE_HEX", "Hex: 0x000000", ColourDisplayMode::HEX},
        {"MODE_SYS", "System: $00000000", ColourDisplayMode::SYS},
        {"MODE_SYSIDENTSUPPORT", "System: clRed, clBlue", ColourDisplayMode::SYSIDENTSUPPORT},
    };
    for (const auto& e : entries) {
        QAction* a = WEBCOLORMODE_POPUP->addAction(QString::fromUtf8(e.caption));
        a->setObjectName(QLatin1String(e.name));
        a->setCheckable(true);
        a->setChecked(e.mode == state_.displayMode());
        group->addAction(a);
        const ColourDisplayMode mode = e.mode;
        connect(a, &QAction::triggered, this, [this, mode] { chooseMode(mode); });
    }
}

bool TPALETTE_DIALOG::pick(TColor start, TColor* result)
{
    prepare(start);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    exec();
    if (result)
        *result = state_.PickedColour;
    return state_.PickConfirmed;
}

void TPALETTE_DIALOG::prepare(TColor start)
{
    state_.StartColour = start;
    IMPORT_COLOR(start, true);
}

void TPALETTE_DIALOG::IMPORT_COLOR(TColor colour, bool showAsStart)
{
    state_.IMPORT_COLOR(colour, showAsStart);
    placeSelectors();
    refresh();
}

void TPALETTE_DIALOG::OK_BUTClick()
{
    state_.update();
    refresh();
    state_.PickConfirmed = true;
    SaveRecentColor(state_.PickedColour);
    accept();
}

void TPALETTE_DIALOG::CLOSEBUTTONClick() { reject(); }

void TPALETTE_DIALOG::reject()
{
    state_.PickedColour = state_.StartColour;
    QDialog::reject();
}

void TPALETTE_DIALOG::showEvent(QShowEvent* event)
{
    state_.PickConfirmed = false;
    QDialog::showEvent(event);
}

void TPALETTE_DIALOG::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    QPainter p(this);
    p.setPen(QColor(0x2E, 0x2E, 0x3A));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void TPALETTE_DIALOG::moveHue(int hue)
{
    state_.setHue(hue);
    placeSelectors();
    refresh();
}

void TPALETTE_DIALOG::placePoint(int saturation, int lightness)
{
    state_.setPoint(saturation, lightness);
    placeSelectors();
    refresh();
}

void TPALETTE_DIALOG::placeSelectors()
{
    HUE_SELECTOR->move(HueSelectorLeft, StripAt.y() - state_.hue() - HueSelectorHeight / 2 + MaxHue);
    const QPoint point = SquareAt + QPoint(state_.saturation(), 255 - state_.lightness());
    COLOR_SELECTOR->move(point);
    COLOR_SHADOW->move(point - QPoint(1, 1));
}

void TPALETTE_DIALOG::refresh()
{
    updating_ = true;
    if (squareHue_ != state_.hue()) {
        QImage square(SquareSize, SquareSize, QImage::Format_RGB32);
        FillSquare(state_.hueColour(), reinterpret_cast<quint32*>(square.bits()), square.bytesPerLine() / 4);
        PALETTE_CANVAS->setImage(square);
        squareHue_ = state_.hue();
    }
    const QColor point = ToQColor(state_.pointColour());
    COLOR_COLORFRAME->setColour(point);
    COLOR_NEW->setColour(point);
    COLOR_MAX->setColour(ToQColor(state_.hueColour()));
    COLOR_DESAT->setColour(ToQColor(state_.rowDesaturated()));
    COLOR_MAXSAT->setColour(ToQColor(state_.rowSaturated()));
    HUE_COLORFRAME->setColour(ToQColor(state_.hueColour()));
    COLOR_IMPORTED->setColour(ToQColor(state_.importedColour()));

    const PickerFields f = state_.fields();
    HUE_INPUT->setText(f.hue);
    SAT_INPUT->setText(f.saturation);
    LIG_INPUT->setText(f.lightness);
    R_INPUT->setText(f.red);
    G_INPUT->setText(f.green);
    B_INPUT->setText(f.blue);
    WEB_COLOR->setText(f.web);
    updating_ = false;
}

void TPALETTE_DIALOG::rgbEnter()
{
    if (updating_)
        return;
    if (std::optional<QString> fault = state_.rgbInput(R_INPUT->text(), G_INPUT->text(), B_INPUT->text())) {
        platform::prompts().message(QString(), *fault, platform::Severity::Warning);
        return;
    }
    placeSelectors();
    refresh();
}

void TPALETTE_DIALOG::webEnter()
{
    if (updating_)
        return;
    if (std::optional<QString> fault = state_.webColourInput(WEB_COLOR->text())) {
        platform::prompts().message(QString(), *fault, platform::Severity::Warning);
        return;
    }
    placeSelectors();
    refresh();
}

void TPALETTE_DIALOG::copyWebColour()
{
    if (QClipboard* clipboard = QGuiApplication::clipboard())
        clipboard->setText(WEB_COLOR->text());
}

void TPALETTE_DIALOG::chooseMode(ColourDisplayMode mode)
{
    state_.setDisplayMode(mode);
    refresh();
}

QRect TPALETTE_DIALOG::squareOnScreen() const
{
    return QRect(PALETTE_CANVAS->mapToGlobal(QPoint(0, 0)), QSize(SquareSize, SquareSize));
}

void TPALETTE_DIALOG::warpCursor(const QPoint& global)
{
    const QString platformName = QGuiApplication::platformName();
    if (platformName == QLatin1String("offscreen") || platformName == QLatin1String("minimal"))
        return;
    QCursor::setPos(global);
}

void TPALETTE_DIALOG::nudgeCursor(int dx, int dy) { warpCursor(QCursor::pos() + QPoint(dx, dy)); }
