#include "app/catalogue.h"
#include "link/porterrorhint.h"

#include <QTranslator>
#include <QtTest>

class TestPortErrorHint : public QObject
{
    Q_OBJECT

private slots:
    void onlyPermissionErrorsGetTheHint_data();
    void onlyPermissionErrorsGetTheHint();
};

void TestPortErrorHint::onlyPermissionErrorsGetTheHint_data()
{
    QTest::addColumn<QSerialPort::SerialPortError>("error");
    QTest::addColumn<bool>("english");
    QTest::addColumn<bool>("hinted");

    QTest::newRow("permission") << QSerialPort::PermissionError << false << true;
    QTest::newRow("permission in English") << QSerialPort::PermissionError << true << true;
    QTest::newRow("no such device") << QSerialPort::DeviceNotFoundError << false << false;
    QTest::newRow("already open") << QSerialPort::OpenError << false << false;
    QTest::newRow("no error") << QSerialPort::NoError << false << false;
}

void TestPortErrorHint::onlyPermissionErrorsGetTheHint()
{
    QFETCH(QSerialPort::SerialPortError, error);
    QFETCH(bool, english);
    QFETCH(bool, hinted);

    QTranslator translator;
    if (english)
        QVERIFY(Catalogue::installFor(QStringLiteral("en_US"), translator));
    const QString base = QStringLiteral("Не удалось открыть порт: /dev/ttyUSB0.\nПо причине: x");
    const QString message = PortErrorHint::withHint(error, base);
    QCoreApplication::removeTranslator(&translator);

    if (!hinted) {
        QCOMPARE(message, base);
        return;
    }
    QVERIFY(message.startsWith(base + QLatin1Char('\n')));
    const QString hint = message.mid(base.size() + 1);
    QVERIFY(!hint.contains(QLatin1Char('\n')));
    QVERIFY(hint.contains(QStringLiteral("dialout")));
    QCOMPARE(hint.startsWith(QStringLiteral("No access")), english);
}

QTEST_MAIN(TestPortErrorHint)
#include "tst_porterrorhint.moc"
