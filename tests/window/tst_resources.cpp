#include <QFile>
#include <QImage>
#include <QtTest>

class TestResources : public QObject
{
    Q_OBJECT

private slots:
    void everyPictureIsEmbedded_data();
    void everyPictureIsEmbedded();
    void variantsDiffer_data();
    void variantsDiffer();
    void catalogueIsEmbedded();
};

void TestResources::everyPictureIsEmbedded_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QSize>("size");

    QTest::newRow("window icon") << ":/Icon/Icon.png" << QSize();
    QTest::newRow("window icon ico") << ":/Icon/Icon.ico" << QSize();
    QTest::newRow("wait icon") << ":/Icon/WaitIcon.svg" << QSize();
    for (const QString &language : {QStringLiteral("RU"), QStringLiteral("EN")}) {
        for (const QString &suffix : {QString(), QStringLiteral("_w")}) {
            const QString logo = QStringLiteral(":/Logo/Logo%1%2.png").arg(language, suffix);
            QTest::newRow(qPrintable(logo)) << logo << QSize(141, 121);
            const QString about = QStringLiteral(":/Logo/ImageDev%1%2.png").arg(language, suffix);
            QTest::newRow(qPrintable(about)) << about << QSize(141, 242);
        }
    }
    for (const char *name :
         {"Refresh", "HidePwd", "ShowPwd", "AboutDev", "LeftSlide", "RightSlide", "SendToGW"}) {
        for (const char *suffix : {"", "_w"}) {
            const QString path = QStringLiteral(":/Pictures/%1%2.png")
                                         .arg(QLatin1String(name), QLatin1String(suffix));
            QTest::newRow(qPrintable(path)) << path << QSize();
        }
    }
}

void TestResources::everyPictureIsEmbedded()
{
    QFETCH(QString, path);
    QFETCH(QSize, size);

    QVERIFY2(QFile::exists(path), qPrintable(path));
    const QImage image(path);
    QVERIFY2(!image.isNull(), qPrintable(path));
    if (size.isValid())
        QCOMPARE(image.size(), size);
}

void TestResources::variantsDiffer_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");

    QTest::newRow("logo languages") << ":/Logo/LogoRU.png"
                                    << ":/Logo/LogoEN.png";
    QTest::newRow("dark logo languages") << ":/Logo/LogoRU_w.png"
                                         << ":/Logo/LogoEN_w.png";
    QTest::newRow("about languages") << ":/Logo/ImageDevRU.png"
                                     << ":/Logo/ImageDevEN.png";
    QTest::newRow("logo schemes") << ":/Logo/LogoRU.png"
                                  << ":/Logo/LogoRU_w.png";
    QTest::newRow("picture schemes") << ":/Pictures/Refresh.png"
                                     << ":/Pictures/Refresh_w.png";
}

void TestResources::variantsDiffer()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    const QImage a = QImage(first).convertToFormat(QImage::Format_ARGB32);
    const QImage b = QImage(second).convertToFormat(QImage::Format_ARGB32);
    QVERIFY(!a.isNull() && !b.isNull());
    QVERIFY(a != b);
}

void TestResources::catalogueIsEmbedded()
{
    QFile catalogue(QStringLiteral(":/i18n/Kelvane.qm"));
    QVERIFY(catalogue.open(QIODevice::ReadOnly));
    QVERIFY(catalogue.size() > 0);
}

QTEST_MAIN(TestResources)
#include "tst_resources.moc"
