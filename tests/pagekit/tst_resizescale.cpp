#include "pagekit/resizescale.h"

#include <QtTest>

class TestResizeScale : public QObject
{
    Q_OBJECT

private slots:
    void factor_data();
    void factor();
    void scaledProductsTruncate_data();
    void scaledProductsTruncate();
};

void TestResizeScale::factor_data()
{
    QTest::addColumn<int>("actual");
    QTest::addColumn<int>("reference");
    QTest::addColumn<bool>("rounded");
    QTest::addColumn<double>("expected");

    QTest::newRow("reference size") << 905 << 905 << true << 1.0;
    QTest::newRow("wider, rounded to hundredths") << 1000 << 905 << true << 1.1;
    QTest::newRow("wider, unrounded") << 1000 << 905 << false << 1000.0 / 905.0;
    QTest::newRow("narrower") << 800 << 905 << true << 0.88;
    // 1 + 9/200 = 1.045 must go up, half away from zero.
    QTest::newRow("half goes up") << 209 << 200 << true << 1.05;
    QTest::newRow("half below one goes down") << 191 << 200 << true << 0.96;
    QTest::newRow("height") << 700 << 582 << true << 1.2;
}

void TestResizeScale::factor()
{
    QFETCH(int, actual);
    QFETCH(int, reference);
    QFETCH(bool, rounded);
    QFETCH(double, expected);

    const auto rounding = rounded ? ResizeScale::Rounding::Hundredths : ResizeScale::Rounding::None;
    QCOMPARE(ResizeScale::factor(actual, reference, rounding), expected);
}

void TestResizeScale::scaledProductsTruncate_data()
{
    QTest::addColumn<QSize>("actual");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("expectedX");
    QTest::addColumn<int>("expectedY");

    QTest::newRow("reference keeps values") << QSize(905, 582) << 871 << 871 << 871;
    // 1.1 * 871 = 958.1 and 1.2 * 871 = 1045.2, both truncated.
    QTest::newRow("larger page") << QSize(1000, 700) << 871 << 958 << 1045;
    // 0.88 * 181 = 159.28; 0.9 * 181 = 162.9 truncates to 162.
    QTest::newRow("smaller page") << QSize(800, 524) << 181 << 159 << 162;
    // 1.15 * 20 is 23 exactly, though binary floating point lands just below.
    QTest::newRow("exact product not cut short") << QSize(1041, 582) << 20 << 23 << 20;
}

void TestResizeScale::scaledProductsTruncate()
{
    QFETCH(QSize, actual);
    QFETCH(int, value);
    QFETCH(int, expectedX);
    QFETCH(int, expectedY);

    const ResizeScale scale(QSize(905, 582), actual);
    QCOMPARE(scale.x(value), expectedX);
    QCOMPARE(scale.y(value), expectedY);
}

QTEST_MAIN(TestResizeScale)
#include "tst_resizescale.moc"
