#pragma once
// The line numbers: a narrow gutter inside the editor's frame, left of its
// text (so between the marker bar VERTBAR and the text). It takes the
// editor's font, follows its scrolling and puts each number on the line's
// own baseline; its width grows with the number of digits.
#include <QList>
#include <QWidget>

class TKRichEdit;

class TLineNumbers : public QWidget {
    Q_OBJECT

public:
    explicit TLineNumbers(TKRichEdit* editor);

    // The width the numbers need: the widest number and a little room.
    int widthNeeded() const;
    int widthFor(int lines) const;
    // A text of that many lines needs another width than the one shown.
    bool widensFor(int lines) const;
    // Before a whole new text goes in: the width its lines will need, set
    // while the document is still small, so the new text is laid out once
    // (a change of the margins lays out every line again).
    void prepareFor(int lines);
    // The numbers painted now, each with the top of its line in the
    // gutter's coordinates (the same as in the editor's viewport).
    struct Shown {
        int number;
        int top;
    };
    QList<Shown> shownNumbers() const;
    // The font or the background changed: new width, painted again.
    void appearanceChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void placeBesideText();
    void placeFor(int lines);

    TKRichEdit* editor_;
    int digits_ = 0;
};
