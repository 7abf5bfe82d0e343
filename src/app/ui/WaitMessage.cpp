#include "app/ui/WaitMessage.h"

#include <QApplication>
#include <QLabel>

TWAITMESSAGE::TWAITMESSAGE(QWidget* over)
    : window_(std::make_unique<QLabel>(QStringLiteral("Подождите..."), nullptr, Qt::FramelessWindowHint | Qt::Tool))
{
    window_->setObjectName(QStringLiteral("TWAITMESSAGE"));
    window_->setAlignment(Qt::AlignCenter);
    window_->setFrameShape(QFrame::Box);
    window_->setMargin(16);
    window_->adjustSize();
    if (over)
        window_->move(over->geometry().center() - window_->rect().center());
    window_->show();
    // Painted at once: the step that follows keeps the event loop busy.
    window_->repaint();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

TWAITMESSAGE::~TWAITMESSAGE() = default;
