#include "pagekit/colorscheme.h"

#include <QPalette>
#include <QtTest>

class TestColorScheme : public QObject
{
    Q_OBJECT

private slots:
    void paletteDecides_data();
    void paletteDecides();
};

void TestColorScheme::paletteDecides_data()
{
    QTest::addColumn<QColor>("window");
    QTest::addColumn<QColor>("text");
    QTest::addColumn<int>("scheme");

    QTest::newRow("light window, dark text") << QColor(Qt::white) << QColor(Qt::black) << 1;
    QTest::newRow("dark window, light text") << QColor(30, 30, 30) << QColor(230, 230, 230) << 2;
    QTest::newRow("same lightness counts as light") << QColor(Qt::gray) << QColor(Qt::gray) << 1;
}

void TestColorScheme::paletteDecides()
{
    QFETCH(QColor, window);
    QFETCH(QColor, text);
    QFETCH(int, scheme);

    QPalette palette;
    palette.setColor(QPalette::Window, window);
    palette.setColor(QPalette::WindowText, text);
    QCOMPARE(int(ColorScheme::fromPalette(palette)), scheme);
}

QTEST_MAIN(TestColorScheme)
#include "tst_colorscheme.moc"
