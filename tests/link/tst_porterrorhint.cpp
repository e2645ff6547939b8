#include "link/porterrorhint.h"

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
    QTest::addColumn<bool>("hinted");

    QTest::newRow("permission") << QSerialPort::PermissionError << true;
    QTest::newRow("no such device") << QSerialPort::DeviceNotFoundError << false;
    QTest::newRow("already open") << QSerialPort::OpenError << false;
}

void TestPortErrorHint::onlyPermissionErrorsGetTheHint()
{
    QFETCH(QSerialPort::SerialPortError, error);
    QFETCH(bool, hinted);

    const QString base = QStringLiteral("Не удалось открыть порт: /dev/ttyUSB0.\nПо причине: x");
    const QString message = PortErrorHint::withHint(error, base);

    if (!hinted) {
        QCOMPARE(message, base);
        return;
    }
    QVERIFY(message.startsWith(base + QLatin1Char('\n')));
    const QString hint = message.mid(base.size() + 1);
    QVERIFY(!hint.contains(QLatin1Char('\n')));
    QVERIFY(hint.contains(QStringLiteral("dialout")));
}

QTEST_MAIN(TestPortErrorHint)
#include "tst_porterrorhint.moc"
