#include "app/content_scroller.h"

#include <QCoreApplication>
#include <QStyle>
#include <QWheelEvent>

#include <cstdlib>

namespace korvane::app {

ScrollLayout computeScrollLayout(QSize client, QSize frame, int bar)
{
    ScrollLayout out;
    int width = client.width();
    int height = client.height();
    out.showHorizontal = frame.width() > width;
    if (out.showHorizontal)
        height -= bar;
    out.showVertical = frame.height() > height;
    if (out.showVertical) {
        width -= bar;
        if (!out.showHorizontal && frame.width() > width) {
            out.showHorizontal = true;
            height -= bar;
        }
    }
    if (out.showHorizontal) {
        out.horizontal = QRect(0, height, width, bar);
        out.horizontalMax = frame.width() - width;
    }
    if (out.showVertical) {
        out.vertical = QRect(width, 0, bar, height);
        out.verticalMax = frame.height() - height;
    }
    if (out.showHorizontal && out.showVertical)
        out.corner = QRect(width, height, bar, bar);
    return out;
}

int smallChange(int maximum) { return std::abs(maximum / 16) + 1; }
int largeChange(int maximum) { return std::abs(maximum / 4) + 1; }

ContentArea::ContentArea(QWidget* parent)
    : QWidget(parent)
    , m_frame(new QWidget(this))
    , m_hsc(new QScrollBar(Qt::Horizontal, this))
    , m_vsc(new QScrollBar(Qt::Vertical, this))
    , m_corner(new QFrame(this))
{
    m_frame->setObjectName("Frame1");
    m_hsc->setObjectName("hscMain");
    m_vsc->setObjectName("vscMain");
    m_corner->setObjectName("fraRtBt");
    m_corner->setAutoFillBackground(true);
    for (QScrollBar* bar : { m_hsc, m_vsc })
        bar->setContextMenuPolicy(Qt::PreventContextMenu);
    m_hsc->hide();
    m_vsc->hide();
    m_corner->hide();
    connect(m_hsc, &QScrollBar::valueChanged, this, [this](int v) { m_frame->move(-v, m_frame->y()); });
    connect(m_vsc, &QScrollBar::valueChanged, this, [this](int v) { m_frame->move(m_frame->x(), -v); });
}

void ContentArea::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    updateBars();
}

void ContentArea::wheelEvent(QWheelEvent* event)
{
    // A sideways wheel moves the horizontal bar, any other the vertical one; a bar that is not
    // shown keeps the content where it is.
    const QPoint delta = event->angleDelta();
    QScrollBar* bar = std::abs(delta.x()) > std::abs(delta.y()) ? m_hsc : m_vsc;
    if (bar->isVisible())
        QCoreApplication::sendEvent(bar, event);
    else
        event->ignore();
}

void ContentArea::updateBars()
{
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const ScrollLayout layout = computeScrollLayout(size(), m_frame->size(), bar);
    const auto place = [](QScrollBar* sb, bool show, const QRect& rect, int maximum) {
        sb->setVisible(show);
        if (!show) {
            sb->setValue(0);
            return;
        }
        sb->setGeometry(rect);
        sb->setRange(0, maximum);
        sb->setSingleStep(smallChange(maximum));
        sb->setPageStep(largeChange(maximum));
        sb->raise();
    };
    place(m_hsc, layout.showHorizontal, layout.horizontal, layout.horizontalMax);
    place(m_vsc, layout.showVertical, layout.vertical, layout.verticalMax);
    if (!layout.showHorizontal)
        m_frame->move(0, m_frame->y());
    if (!layout.showVertical)
        m_frame->move(m_frame->x(), 0);
    m_corner->setVisible(!layout.corner.isEmpty());
    if (!layout.corner.isEmpty()) {
        m_corner->setGeometry(layout.corner);
        m_corner->raise();
    }
}

} // namespace korvane::app
