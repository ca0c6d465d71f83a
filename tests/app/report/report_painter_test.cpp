#include "app/fonts.h"
#include "app/report/report_painter.h"

#include <QFontInfo>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QtTest>

using korvane::app::paintReportPage;
using korvane::app::prnt1;
using korvane::app::reportFont;
using korvane::app::reportLineUnit;
using korvane::report::ReportPage;

namespace {

constexpr double kMetresPerInch = 0.0254;

// A white image whose pixels are `dpi` to the inch.
QImage sheet(int width, int height, int dpi)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(dpi / kMetresPerInch));
    image.setDotsPerMeterY(qRound(dpi / kMetresPerInch));
    image.fill(Qt::white);
    return image;
}

QRect inkOf(const QImage& image)
{
    QRect ink;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128) ink |= QRect(x, y, 1, 1);
    return ink;
}

} // namespace

class ReportPainterTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { korvane::app::installFontSubstitutions(); }

    void aSongFaceStandsInForTheReportFont()
    {
        QCOMPARE(QFontInfo(reportFont(9)).family(), QString("AR PL UMing CN"));
        QVERIFY(QFontInfo(reportFont(9, true)).bold());
    }

    void lineUnitIsMeasuredInTheReportFont_data()
    {
        QTest::addColumn<int>("dpi");
        for (const int dpi : { 96, 300, 600, 1200, 1440 })
            QTest::addRow("%d dpi", dpi) << dpi;
    }

    void lineUnitIsMeasuredInTheReportFont()
    {
        QFETCH(int, dpi);
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setResolution(dpi);
        QCOMPARE(reportLineUnit(printer), 180);
        QCOMPARE(reportLineUnit(sheet(8, 8, dpi)), 180);
    }

    // (x, y) is the text's top-left corner, as a top-aligned text box places it.
    void textIsPlacedByItsTopLeftCorner()
    {
        QImage placed = sheet(600, 400, 1440);
        QImage boxed = sheet(600, 400, 1440);
        {
            QPainter painter(&placed);
            painter.setFont(reportFont(9));
            prnt1(painter, 150, 100, QStringLiteral("信道 Tavi"));
        }
        {
            QPainter painter(&boxed);
            painter.setFont(reportFont(9));
            painter.drawText(QRectF(150, 100, 450, 300), Qt::AlignLeft | Qt::AlignTop, QStringLiteral("信道 Tavi"));
        }
        const QRect ink = inkOf(placed);
        QVERIFY(!ink.isEmpty());
        QCOMPARE(inkOf(boxed), ink);
        QVERIFY2(ink.top() >= 100 && ink.top() < 100 + 40, qPrintable(QString::number(ink.top())));
        QVERIFY2(ink.left() >= 150 && ink.left() < 150 + 40, qPrintable(QString::number(ink.left())));
    }

    // At 720 dpi one device pixel is two twips; the painter is not scaled, so a 9 pt text is as
    // tall as 9 pt on the device and the rules are 3 device pixels wide.
    void twipsMapToDevicePixelsWithRulesThreePixelsWide()
    {
        ReportPage page;
        page.lines.push_back({ 200, 400, 1800, 400 }); // device row 200
        page.lines.push_back({ 1000, 200, 1000, 1800 }); // device column 500
        page.texts.push_back({ 300, 1000, 9, true, "Narrow" });
        QImage image = sheet(1000, 1000, 720);
        {
            QPainter painter(&image);
            paintReportPage(painter, page);
        }
        int darkRows = 0;
        for (int y = 190; y < 210; ++y)
            darkRows += qGray(image.pixel(300, y)) < 128 ? 1 : 0;
        QCOMPARE(darkRows, 3);
        QVERIFY(qGray(image.pixel(101, 200)) < 128 && qGray(image.pixel(899, 200)) < 128);
        QVERIFY(qGray(image.pixel(98, 200)) > 128 && qGray(image.pixel(902, 200)) > 128);
        int darkColumns = 0;
        for (int x = 490; x < 510; ++x)
            darkColumns += qGray(image.pixel(x, 150)) < 128 ? 1 : 0;
        QCOMPARE(darkColumns, 3);

        const QRect ink = inkOf(image.copy(0, 450, 480, 550)).translated(0, 450);
        QVERIFY2(ink.left() >= 150 && ink.left() < 160, qPrintable(QString::number(ink.left())));
        QVERIFY2(ink.top() >= 500 && ink.top() < 530, qPrintable(QString::number(ink.top())));
        // Capitals of a 9 pt Song face stand about two thirds of the 90-pixel em high.
        QVERIFY2(ink.height() > 45 && ink.height() < 90, qPrintable(QString::number(ink.height())));
    }
};

QTEST_MAIN(ReportPainterTest)
#include "report_painter_test.moc"
