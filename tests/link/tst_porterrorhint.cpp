#include "link/porterrorhint.h"

#include <QtTest>

class TestPortErrorHint : public QObject
{
    Q_OBJECT

private slots:
    void busyOrRefused_data();
    void busyOrRefused();
};

void TestPortErrorHint::busyOrRefused_data()
{
    QTest::addColumn<QSerialPort::SerialPortError>("error");
    QTest::addColumn<bool>("accessRefused");
    QTest::addColumn<QString>("holder");
    QTest::addColumn<QString>("advice");

    QTest::newRow("refused by permissions") << QSerialPort::PermissionError << true << ""
                                            << "dialout";
    QTest::newRow("held by a program /proc names")
            << QSerialPort::PermissionError << false << "minicom"
            << "minicom";
    QTest::newRow("held, holder unseen") << QSerialPort::PermissionError << false << ""
                                         << "busy";
    QTest::newRow("held while also refused") << QSerialPort::PermissionError << true << "screen"
                                             << "screen";
    QTest::newRow("no such device") << QSerialPort::DeviceNotFoundError << true << ""
                                    << "";
    QTest::newRow("already open") << QSerialPort::OpenError << false << "screen"
                                  << "";
}

void TestPortErrorHint::busyOrRefused()
{
    QFETCH(QSerialPort::SerialPortError, error);
    QFETCH(bool, accessRefused);
    QFETCH(QString, holder);
    QFETCH(QString, advice);

    constexpr qint64 holderPid = 4242;
    QList<PortErrorHint::Holder> holders;
    if (!holder.isEmpty())
        holders.append({holderPid, holder});
    const QString base = QStringLiteral("Не удалось открыть порт: /dev/ttyUSB0.\nПо причине: x");
    const QString message = PortErrorHint::withHint(error, base, accessRefused, holders);

    if (advice.isEmpty()) {
        QCOMPARE(message, base);
        return;
    }
    QVERIFY(message.startsWith(base + QLatin1Char('\n')));
    const QString hint = message.mid(base.size() + 1);
    QVERIFY(!hint.contains(QLatin1Char('\n')));
    QCOMPARE(hint.contains(QStringLiteral("dialout")), advice == QLatin1String("dialout"));
    if (!holder.isEmpty())
        QVERIFY(hint.contains(holder) && hint.contains(QString::number(holderPid)));
}

QTEST_MAIN(TestPortErrorHint)
#include "tst_porterrorhint.moc"
