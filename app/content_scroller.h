#pragma once
// Scrolls the content frame `Frame1` with the window's own scroll bars `hscMain` and `vscMain`
// when the window is smaller than the frame; `fraRtBt` covers the corner where both bars meet.
// The wheel anywhere over the frame moves the bars as it does over them.

#include <QFrame>
#include <QRect>
#include <QScrollBar>
#include <QWidget>

namespace korvane::app {

struct ScrollLayout {
    bool showHorizontal = false;
    bool showVertical = false;
    QRect horizontal;
    QRect vertical;
    QRect corner; // empty unless both bars show
    int horizontalMax = 0;
    int verticalMax = 0;
};

// Which bars show and where, for a client area and a frame of these sizes.
ScrollLayout computeScrollLayout(QSize client, QSize frame, int barThickness);
// |max / 16| + 1 and |max / 4| + 1, with integer division.
int smallChange(int maximum);
int largeChange(int maximum);

class ContentArea : public QWidget {
    Q_OBJECT
public:
    explicit ContentArea(QWidget* parent = nullptr);

    QWidget* frame() const { return m_frame; }
    QScrollBar* horizontalBar() const { return m_hsc; }
    QScrollBar* verticalBar() const { return m_vsc; }
    QFrame* corner() const { return m_corner; }
    void updateBars();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    QWidget* m_frame;
    QScrollBar* m_hsc;
    QScrollBar* m_vsc;
    QFrame* m_corner;
};

} // namespace korvane::app
