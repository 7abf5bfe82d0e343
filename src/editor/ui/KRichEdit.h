#pragma once
// The main editor control. The document's blocks are its lines; offsets seen
// through TextModel count every block separator as two characters (CR LF),
// so an offset equals an index into text(). A document position p in block
// number b is offset p + b.
#include "editor/TextModel.h"

#include <QElapsedTimer>
#include <QKeySequence>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <optional>

enum class ColouringKind;
class TEditorDocumentLayout;
class TLongLineGeometry;
class TLineNumbers;
class TSyntaxColouring;

// The control's own scrolling rules: the view moves in whole lines; Page Up
// and Page Down scroll ten lines without moving the caret; the wheel scrolls
// three; the middle button does nothing. Nothing scrolls while LineHeight is
// 0. OnScroll fires after every vertical scroll.
//
// The key and mouse signals fire after the control's standard handling of
// the event (Page Up/Down have no key-down signal, as they never reach it).
class TKRichEdit : public QPlainTextEdit, public TextModel {
    Q_OBJECT

public:
    explicit TKRichEdit(QWidget* parent = nullptr);
    ~TKRichEdit() override;

    // Height in pixels of one line; 0 until measured.
    static int LineHeight;
    // Measures LineHeight from the control's font: the height of "AbCdMАБВГ".
    void measureLineHeight();

    // A vertical thumb position in pixels: snapped to a multiple of
    // LineHeight (ties to even), then the view scrolls there.
    void scrollToThumb(int position);
    void ScrollLinesUp(int n);
    void ScrollLinesDown(int n);
    // Horizontal position in pixels.
    void scrollHorizontalTo(int position);

    QString text() const override;
    void setText(const QString& text) override;
    // True while setText() puts a whole text in: its changes are a load, not
    // an edit.
    bool settingText() const { return settingText_; }
    // Length of text(): characters plus two for every block separator.
    int textLength() const override;
    QString textPart(int offset, int length) const override;
    // The document's own characters in [position, position + length), U+2029
    // between lines.
    QString documentPart(int position, int length) const;

    int lineCount() const override;
    QString line(int i) const override;
    void setLine(int i, const QString& text) override;
    int lineStart(int i) const override;
    int lineAt(int offset) const override;

    int selStart() const override;
    int selLength() const override;
    void setSelStart(int offset) override;
    void setSelLength(int length) override;
    void setSelText(const QString& text) override;
    QString selText() const override;

    CaretPos caretPos() const override;
    int firstVisibleLine() const override;

    // The caret's rectangle and making it seen, as the plain control's, also
    // on a long line whose geometry follows its edits (see
    // TEditorDocumentLayout::geometry), which Qt's own would place at the
    // line's start.
    QRect cursorRect() const;
    QRect cursorRect(const QTextCursor& cursor) const;
    QTextCursor cursorForPosition(const QPoint& pos) const;
    void ensureCursorVisible();
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

    // The syntax colouring and the line numbers, for display only: neither
    // changes the text, its offsets or the undo history. Both follow the
    // editor's font (setFont) and background (the palette's Base colour) by
    // themselves; appearanceChanged() redoes them for any other change.
    TSyntaxColouring* colouring() const { return colouring_; }
    TLineNumbers* lineNumbers() const { return lineNumbers_; }
    // The text as setText() put it while no edit has changed it (shared, no
    // copy); null after an edit.
    QString keptText() const { return setTextKept_ ? setText_ : QString(); }
    void setColouringKind(ColouringKind kind);
    void appearanceChanged();
    // Room left of the text for the line numbers.
    void setGutterWidth(int width);

Q_SIGNALS:
    void OnScroll(QObject* sender);
    // Ctrl+Z: the program's own undo (the control's is off).
    void OnUndoKey();
    // Ctrl+Y and Ctrl+Shift+Z: the program's own redo.
    void OnRedoKey();
    // After every change of the text, the changed range as offsets (see
    // TextModel::setChangeListener): never narrower than the real change.
    void OnTextChange(int offset, int removed, int added);
    // Copy, cut, paste and select-all keys: the program's own commands, so
    // that they are undo steps like the menu's.
    void OnClipboardKey(QKeySequence::StandardKey command);
    void OnKeyDown(int key, Qt::KeyboardModifiers modifiers, quint32 nativeKey);
    void OnKeyUp(int key, Qt::KeyboardModifiers modifiers, quint32 nativeKey);
    void OnMouseDown(QPoint pos, Qt::MouseButton button);
    void OnMouseUp(QPoint pos, Qt::MouseButton button);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    // The key's own handling.
    void keyPress(QKeyEvent* event);
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // Paints the lines in view (KRichEditPaint.cpp).
    void paintEvent(QPaintEvent* event) override;

private:
    void scrollLines(int delta);
    TEditorDocumentLayout* editorLayout() const;
    // The long line whose geometry follows its edits, when the caret is on
    // it; null otherwise.
    const TLongLineGeometry* followedCaretLine() const;
    // The caret's rectangle at a position on a followed line; none when the
    // position's line is not followed.
    std::optional<QRect> followedCaretRect(int position) const;
    // The caret's x on such a line, from the line's start.
    qreal followedCaretX(const TLongLineGeometry& geometry) const;
    // Whether a block's line lies wholly in view.
    bool lineInView(const QTextBlock& block) const;
    // Qt's own handling of the caret needs Qt's layout of its line.
    void layOutFollowedLine();
    // After a key typed on a followed line: the caret is seen, the view
    // scrolled as little as it takes from where it was (horizontalBefore).
    void showCaretTyped(int horizontalBefore);
    // A plain key typed on a followed line, with no selection: Backspace
    // and Delete take one character away without Qt's search of the whole
    // line for the character's bounds (its characters stand alone).
    bool deleteOnFollowedLine(const QKeyEvent* event);
    // Text typed on a followed line in view, with no selection, is put in
    // here: Qt's control would look for the caret's line on the line's new
    // text (itemizing all of it) to place and show the caret.
    bool typeOnFollowedLine(const QKeyEvent* event);
    // A change made here: Qt's search of the line is skipped while the
    // cursor is placed (inside one edit of the document), and the caret is
    // reported moved as the control reports it.
    void editFollowedLine(QTextCursor& cursor, int from, int to, const QString& text);
    // When a key was last typed on a followed line: the caret shows for a
    // moment after, as the control shows it after a key.
    QElapsedTimer typed_;
    bool caretShownAfterTyping() const;
    // The control's x of its cursor is from before such typing.
    bool caretXStale_ = false;
    // When the last double click came: a triple click's time runs.
    QElapsedTimer doubleClicked_;
    // The caret's blink on a followed line, which the editor keeps itself.
    bool followedCaretOn_ = true;
    bool followedCaretShown() const;
    // A key that types (text, Backspace, Delete, Return) is being handled:
    // the caret's moves are the typing's own.
    bool typing_ = false;
    friend class TLineNumbers;
    void attachDisplayAids();
    TSyntaxColouring* colouring_ = nullptr;
    TLineNumbers* lineNumbers_ = nullptr;
    // Before setText's new text: the gutter's width for its line count.
    void prepareLineNumbers(int lines);
    // The document's contentsChange in offsets.
    void reportDocumentChange(int position, int removed, int added);
    // textLength() after the last reported change.
    int reportedLength_ = 0;
    // The text as setText() put it, CR LF separated, until the next change:
    // read back without a pass over the document.
    QString setText_;
    bool setTextKept_ = false;
    bool settingText_ = false;
    // Offset of a block's first character.
    static int blockOffset(const QTextBlock& block);
    // Block that holds the offset (clamped to the text).
    QTextBlock blockAtOffset(qint64 offset) const;
    // Document position of an offset; one between CR and LF lands at the
    // end of its line.
    int toPosition(qint64 offset) const;
    int toOffset(int position) const;
};
