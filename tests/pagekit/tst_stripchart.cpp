#include "pagekit/stripchart.h"

#include <QtTest>

class TestStripChart : public QObject
{
    Q_OBJECT

private slots:
    void pointInItsColumn_data();
    void pointInItsColumn();
};

void TestStripChart::pointInItsColumn_data()
{
    QTest::addColumn<qint64>("span");
    QTest::addColumn<qint64>("back"); // before the right edge
    QTest::addColumn<QColor>("window");
    QTest::newRow("1 min, light, 15 s back") << 60000LL << 15000LL << QColor(Qt::white);
    QTest::newRow("15 min, dark, at the edge") << 900000LL << 0LL << QColor(30, 30, 30);
}

// Painted in the column its time maps to, in a colour that stands out in either scheme;
// a point before the span is not drawn.
void TestStripChart::pointInItsColumn()
{
    QFETCH(qint64, span);
    QFETCH(qint64, back);
    QFETCH(QColor, window);
    StripChart chart;
    chart.setPalette(QPalette(window, window));
    chart.resize(400, 160);
    chart.setSpanMs(span);
    chart.addPoint(0, -back, -80);
    chart.addPoint(1, -span - 1000, -60);
    QImage image(chart.size(), QImage::Format_RGB32);
    chart.render(&image);
    QVERIFY(qAbs(chart.seriesColor(0).lightness() - window.lightness()) > 60);
    const QRect area = chart.plotArea();
    QList<int> painted;
    for (int x = area.left(); x <= area.right(); ++x)
        for (int y = area.top(); y <= area.bottom(); ++y) {
            QVERIFY(image.pixel(x, y) != chart.seriesColor(1).rgb());
            if (image.pixel(x, y) == chart.seriesColor(0).rgb() && !painted.contains(x))
                painted.append(x);
        }
    const int column = area.left() + int((span - back) * area.width() / span);
    QCOMPARE(painted.value(0), qMin(area.right(), column));
    QVERIFY(painted.size() <= 2); // a mark, not a smear
}

QTEST_MAIN(TestStripChart)
#include "tst_stripchart.moc"
