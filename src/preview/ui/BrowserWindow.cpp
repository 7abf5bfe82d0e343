#include "preview/ui/BrowserWindow.h"

#include "preview/ui/PageBrowser.h"
#include "platform/Prompts.h"
#include "ui_BrowserWindow.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QEventLoop>
#include <QTimer>
#include <QFile>
#include <QImageWriter>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QStyle>

// The built-in help page and its picture, served to the browser.
static void initHelpResource() { Q_INIT_RESOURCE(help); }

namespace {

// The camera picture of SHOT.
QPixmap cameraPicture()
{
    QPixmap p(16, 16);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(QPen(QColor(60, 60, 60), 1));
    g.setBrush(QColor(90, 90, 95));
    g.drawRoundedRect(QRectF(0.5, 4.5, 15, 10), 2, 2);
    g.drawRect(QRectF(4.5, 2.5, 5, 2));
    g.setBrush(QColor(170, 200, 235));
    g.drawEllipse(QRectF(4.5, 6.5, 7, 7));
    return p;
}

} // namespace

TBROWSFORM::TBROWSFORM(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
    , ui(new Ui::TBROWSFORM)
{
    initHelpResource();
    ui->setupUi(this);
    BRMENU = ui->BRMENU;
    BACK = ui->BACK;
    FORWD = ui->FORWD;
    REFRESHER = ui->REFRESHER;
    URLCAP = ui->URLCAP;
    STATUS = ui->STATUS;
    SHOT = ui->SHOT;
    area_ = ui->BROWSERAREA;
    setWindowModality(Qt::ApplicationModal);
    BACK->setIcon(style()->standardIcon(QStyle::SP_ArrowBack));
    FORWD->setIcon(style()->standardIcon(QStyle::SP_ArrowForward));
    REFRESHER->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
    SHOT->setPixmap(cameraPicture());
    BACK->hide();
    FORWD->hide();
    SHOT->hide();
    for (QWidget* w : {static_cast<QWidget*>(URLCAP), static_cast<QWidget*>(STATUS), static_cast<QWidget*>(SHOT)})
        w->installEventFilter(this);

    MENU_CLOSE = new QAction(QStringLiteral("Закрыть браузер ESC"), this);
    MENU_CLOSE->setObjectName(QStringLiteral("MENU_CLOSE"));
    MENU_CLOSE->setShortcut(Qt::Key_Escape);
    N21 = new QAction(QStringLiteral("Закрыть браузер F9"), this);
    N21->setObjectName(QStringLiteral("N21"));
    N21->setShortcut(Qt::Key_F9);
    for (QAction* a : {MENU_CLOSE, N21}) {
        a->setShortcutContext(Qt::WindowShortcut);
        addAction(a);
        connect(a, &QAction::triggered, this, &QWidget::close);
    }
}

TBROWSFORM::~TBROWSFORM() { delete ui; }

PageBrowser* TBROWSFORM::browser(QString* error)
{
    if (browser_)
        return browser_;
    browser_ = CreatePageBrowser(area_, error);
    if (!browser_)
        return nullptr;
    connect(browser_, &PageBrowser::titleChanged, this, &QWidget::setWindowTitle);
    connect(browser_, &PageBrowser::downloadComplete, this, [this] {
        URLCAP->setText(AddressCaption(HelpMode, browser_->location().toString()));
    });
    connect(browser_, &PageBrowser::statusTextChanged, this, [this](const QString& text) {
        STATUS->setText(StatusCaption(HelpMode, text));
    });
    connect(browser_, &PageBrowser::commandStateChanged, this, [this](bool canGoBack, bool canGoForward) {
        BACK->setEnabled(canGoBack);
        BACK->setVisible(canGoBack);
        FORWD->setEnabled(canGoForward);
        FORWD->setVisible(canGoForward);
    });
    connect(browser_, &PageBrowser::navigationStarting, SHOT, &QWidget::hide);
    connect(browser_, &PageBrowser::documentComplete, this, &TBROWSFORM::documentComplete);
    connect(BACK, &QToolButton::clicked, browser_, &PageBrowser::back);
    connect(FORWD, &QToolButton::clicked, browser_, &PageBrowser::forward);
    connect(REFRESHER, &QToolButton::clicked, browser_, &PageBrowser::reload);
    return browser_;
}

bool TBROWSFORM::showPage(const QUrl& url, const QString& tempCopy, const QString& pictureFolder)
{
    tempCopy_ = tempCopy;
    pictureFolder_ = pictureFolder;
    shownSize_ = Size;
    QString error;
    PageBrowser* b = browser(&error);
    if (!b) {
        if (!tempCopy_.isEmpty())
            QFile::remove(tempCopy_);
        platform::prompts().message(QString(), error, platform::Severity::Error);
        return false;
    }
    setWindowTitle(QString());
    STATUS->clear();
    // Maximised; the work area's size too, for a desktop without a window
    // manager to maximise it.
    if (const QScreen* screen = parentWidget() ? parentWidget()->screen() : this->screen())
        setGeometry(screen->availableGeometry());
    showMaximized();
    placeBrowser();
    b->widget()->show();
    b->navigate(url);
    raise();
    activateWindow();
    return true;
}

void TBROWSFORM::placeBrowser()
{
    if (!browser_)
        return;
    const QScreen* screen = parentWidget() ? parentWidget()->screen() : this->screen();
    const int monitorWidth = screen ? screen->geometry().width() : width();
    browser_->widget()->setGeometry(PreviewBrowserRect(shownSize_, area_->rect(), monitorWidth));
}

void TBROWSFORM::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    placeBrowser();
}

void TBROWSFORM::documentComplete()
{
    SHOT->show();
    if (RestoresScroll(ScrollMemory, browser_->location().toString()))
        browser_->scrollTo(0, ScrollMemory);
}

void TBROWSFORM::closeEvent(QCloseEvent* event)
{
    // The offset is read before the page is blanked.
    if (browser_) {
        ScrollMemory = browser_->scrollTop();
        // Blanked before the window goes, so nothing of the page plays on;
        // waited for, so the next showing cannot be overtaken by the blank.
        QEventLoop blanked;
        connect(browser_, &PageBrowser::documentComplete, &blanked, &QEventLoop::quit);
        QTimer::singleShot(2000, &blanked, &QEventLoop::quit);
        browser_->loadHtml(QString());
        blanked.exec(QEventLoop::ExcludeUserInputEvents);
    }
    if (!tempCopy_.isEmpty() && QFile::exists(tempCopy_))
        QFile::remove(tempCopy_);
    event->accept();
}

bool TBROWSFORM::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == URLCAP || watched == STATUS) {
            QApplication::clipboard()->setText(URLCAP->text());
            return true;
        }
        if (watched == SHOT) {
            SHOTClick();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TBROWSFORM::SHOTClick()
{
    platform::FileDialogRequest r;
    r.filter = QStringLiteral("Jpeg|*.jpg|BMP|*.bmp");
    r.defaultExt = QStringLiteral("*.jpg");
    r.folder = pictureFolder_;
    const QString path = platform::prompts().saveFile(r);
    if (!path.isEmpty())
        PageToIMG(path);
}

void TBROWSFORM::PageToIMG(const QString& path)
{
    if (!browser_)
        return;
    const QImage picture = browser_->pagePicture();
    if (picture.isNull())
        return;
    if (PictureIsJpeg(path)) {
        QImageWriter w(path, "jpeg");
        w.setQuality(100);
        w.write(picture.convertToFormat(QImage::Format_RGB32));
    } else {
        QImageWriter w(path, "bmp");
        w.write(picture.convertToFormat(QImage::Format_RGB32));
    }
}
