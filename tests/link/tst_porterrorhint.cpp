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
    QTest::addColumn<bool>("refused");
    QTest::addColumn<QString>("holder");

    QTest::newRow("permission") << QSerialPort::PermissionError << true << true << "";
    QTest::newRow("held by a program")
            << QSerialPort::PermissionError << true << false << "minicom";
    QTest::newRow("held, holder unseen") << QSerialPort::PermissionError << true << false << "";
    QTest::newRow("no such device") << QSerialPort::DeviceNotFoundError << false << true << "";
    QTest::newRow("already open") << QSerialPort::OpenError << false << false << "screen";
}

void TestPortErrorHint::onlyPermissionErrorsGetTheHint()
{
    QFETCH(QSerialPort::SerialPortError, error);
    QFETCH(bool, hinted);
    QFETCH(bool, refused);
    QFETCH(QString, holder);

    constexpr qint64 pid = 4242;
    QList<PortErrorHint::Holder> holders;
    if (!holder.isEmpty())
        holders.append({pid, holder});
    const QString base = QStringLiteral("Не удалось открыть порт: /dev/ttyUSB0.\nПо причине: x");
    const QString message = PortErrorHint::withHint(error, base, refused, holders);

    if (!hinted) {
        QCOMPARE(message, base);
        return;
    }
    QVERIFY(message.startsWith(base + QLatin1Char('\n')));
    const QString hint = message.mid(base.size() + 1);
    QVERIFY(!hint.contains(QLatin1Char('\n')));
    QCOMPARE(hint.contains(QStringLiteral("dialout")), refused && holder.isEmpty());
    QCOMPARE(hint.contains(holder) && hint.contains(QString::number(pid)), !holder.isEmpty());
}

QTEST_MAIN(TestPortErrorHint)
#include "tst_porterrorhint.moc"
