#include "app/report/report_painter.h"

#include "app/twips.h"

#include <QFontMetricsF>
#include <QLineF>
#include <QPaintDevice>
#include <QPainter>
#include <QPen>
#include <QRawFont>
#include <QtEndian>

#include <optional>

namespace korvane::app {

namespace {

constexpr double kTwipsPerInch = 1440.0;

QPointF toDevice(const QPaintDevice& device, int x, int y)
{
    return { x * device.logicalDpiX() / kTwipsPerInch, y * device.logicalDpiY() / kTwipsPerInch };
}

// The height of a line of the face as its designer drew it, in ems: typographic ascender to
// descender. A Song face sets its characters on the em square, so this is one em; the ascent and
// descent the platform lays lines out with add room above and below that differs from face to
// face (about 5 % for the usual substitute), and hinting makes it differ with the resolution.
std::optional<double> designedLineHeight(const QRawFont& font)
{
    const QByteArray head = font.fontTable("head");
    const QByteArray os2 = font.fontTable("OS/2");
    if (head.size() < 20 || os2.size() < 72) return std::nullopt;
    const int unitsPerEm = qFromBigEndian<quint16>(head.constData() + 18);
    const int ascender = qFromBigEndian<qint16>(os2.constData() + 68);
    const int descender = qFromBigEndian<qint16>(os2.constData() + 70);
    if (unitsPerEm <= 0 || ascender - descender <= 0) return std::nullopt;
    return static_cast<double>(ascender - descender) / unitsPerEm;
}

} // namespace

QFont reportFont(int size, bool emphasis)
{
    QFont font(QString::fromUtf8(report::kReportFont.data(), static_cast<qsizetype>(report::kReportFont.size())));
    font.setPointSize(size);
    font.setBold(emphasis);
    return font;
}

int reportLineUnit(const QPaintDevice& device)
{
    const QFont font = reportFont(report::kLineUnitFontSize);
    const double dpi = device.logicalDpiY();
    // A face without typographic metrics falls back on the platform's line height.
    double pixels = QFontMetricsF(font, &device).height();
    if (const auto ems = designedLineHeight(QRawFont::fromFont(font))) pixels = *ems * font.pointSizeF() * dpi / 72.0;
    return static_cast<int>(roundHalfEven(pixels * kTwipsPerInch / dpi));
}

void prnt1(QPainter& painter, int x, int y, const QString& text)
{
    const QPaintDevice& device = *painter.device();
    const QFontMetricsF metrics(painter.font(), &device);
    painter.drawText(toDevice(device, x, y) + QPointF(0, metrics.ascent()), text);
}

void paintReportPage(QPainter& painter, const report::ReportPage& page)
{
    const QPaintDevice& device = *painter.device();
    QPen rule(Qt::black);
    rule.setWidth(report::kRuleWidth);
    painter.setPen(rule);
    for (const report::PageLine& line : page.lines)
        painter.drawLine(QLineF(toDevice(device, line.x1, line.y1), toDevice(device, line.x2, line.y2)));
    for (const report::PageText& text : page.texts) {
        painter.setFont(reportFont(text.size, text.emphasis));
        prnt1(painter, text.x, text.y, QString::fromStdString(text.text));
    }
}

} // namespace korvane::app
