#pragma once
// The marker bar VERTBAR left of the editor: a click toggles a bright marker
// on the line beside it, a right click opens MARKMENU (clear, go to a
// marker); markers follow scrolling and edits, and the pointer INS blinks at
// the caret line after a jump.
#include "editor/MarkerLines.h"

#include <QWidget>
#include <functional>

class QAction;
class QLabel;
class QMenu;
class QTimer;
class TKRichEdit;

class TMarkerBar : public QWidget {
    Q_OBJECT

public:
    explicit TMarkerBar(QWidget* parent = nullptr);

    // The editor beside the bar, and where its hints go.
    void setEditor(TKRichEdit* editor) { editor_ = editor; }
    void setLogWriter(std::function<void(const QString&, bool)> log) { log_ = std::move(log); }
    // The line count and caret line the editor's change event stored last.
    void setLastEditorState(std::function<std::pair<int, int>()> state) { lastState_ = std::move(state); }

    const MarkerLines& markerLines() const { return markers_; }

    void Mark(int line);
    void MarkersRemake(bool force);
    // The editor's text was replaced as a whole: the markers follow it.
    void FollowText(const QString& before, const QString& after);
    // The same from the range a step of the history replaced.
    void FollowReplacement(int offset, const QString& removed, int added);
    // The editor scrolled: every picture to its line, hidden out of view.
    void Memo1Scroll();
    void HighlightCaretPos();
    void MARKERS_CLEARClick();
    void GOTOMARKClick(const QString& caption);

    QMenu* MARKMENU = nullptr;
    QMenu* GOTOMARKS = nullptr;
    QAction* MARKERS_CLEAR = nullptr;
    QWidget* INS = nullptr;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    // The window was resized: the markers follow.
    void resizeEvent(QResizeEvent* event) override;

private:
    int viewportTop() const;
    int lineTop(int line) const;
    int markerTop(int line) const;
    int lineAtY(int y) const;
    int firstVisible() const;
    QLabel* picture(int line) const;
    void createPicture(int line);
    void destroyPictures();
    void GOTOMARKSPopup();

    TKRichEdit* editor_ = nullptr;
    std::function<void(const QString&, bool)> log_;
    std::function<std::pair<int, int>()> lastState_;
    MarkerLines markers_;
    QTimer* blink_ = nullptr;
    int blinksLeft_ = 0;
};
