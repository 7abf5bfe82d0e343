#pragma once
// The editor, painting its view as Qt's plain control paints it when asked:
// for comparing the editor's own paint with Qt's, pixel for pixel.
#include "editor/ui/KRichEdit.h"

#include <QImage>
#include <QPaintEvent>
#include <QTextBlock>

class PaintedEdit : public TKRichEdit {
public:
    bool qtPaint = false;
    int caretInContext() const { return getPaintContext().cursorPosition; }
    QRect row(const QTextBlock& b) const { return blockBoundingGeometry(b).translated(contentOffset()).toRect(); }
    // The view rendered by the editor, or by Qt's control.
    QImage render(bool qt)
    {
        qtPaint = qt;
        QImage image(viewport()->size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::black);
        viewport()->render(&image);
        qtPaint = false;
        return image;
    }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        if (qtPaint)
            QPlainTextEdit::paintEvent(event);
        else
            TKRichEdit::paintEvent(event);
    }
};
