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
    QTest::addColumn<qint64>("back"); // how long before the right edge the point lies
    QTest::addColumn<bool>("dark");

    QTest::newRow("1 min, light, 15 s back") << 60000LL << 15000LL << false;
    QTest::newRow("15 min, dark, 10 min back") << 900000LL << 600000LL << true;
    QTest::newRow("5 min, dark, at the edge") << 300000LL << 0LL << true;
}

void TestStripChart::pointInItsColumn()
{
    QFETCH(qint64, span);
    QFETCH(qint64, back);
    QFETCH(bool, dark);
    StripChart chart;
    QPalette palette;
    palette.setColor(QPalette::Window, dark ? QColor(30, 30, 30) : Qt::white);
    palette.setColor(QPalette::WindowText, dark ? Qt::white : Qt::black);
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    chart.setPalette(palette);
    chart.resize(400, 160);
    chart.setSpanMs(span);
    const qint64 end = 1700000000000;
    chart.setEndTime(end);
    chart.addPoint(0, end - back, -80);
    chart.addPoint(1, end - span - 1000, -60); // out of the span: never drawn
    QImage image(chart.size(), QImage::Format_RGB32);
    chart.render(&image);

    // The series must stand out from the background in either scheme.
    QVERIFY(qAbs(chart.seriesColor(0).lightness() - palette.color(QPalette::Base).lightness())
            > 60);
    const QRect area = chart.plotArea();
    QList<int> painted;
    for (int x = area.left(); x <= area.right(); ++x)
        for (int y = area.top(); y <= area.bottom(); ++y) {
            QVERIFY(image.pixel(x, y) != chart.seriesColor(1).rgb());
            if (image.pixel(x, y) == chart.seriesColor(0).rgb() && !painted.contains(x))
                painted.append(x);
        }
    const int column = qMin(area.right(), area.left() + int((span - back) * area.width() / span));
    QVERIFY(!painted.isEmpty());
    QCOMPARE(painted.first(), column);
    QVERIFY(painted.last() - painted.first() < 3);
}

QTEST_MAIN(TestStripChart)
#include "tst_stripchart.moc"
