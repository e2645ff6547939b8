#include "window/portchooser.h"

#include <QComboBox>
#include <QtTest>

class TestPortChooser : public QObject
{
    Q_OBJECT

private slots:
    void preselection_data();
    void preselection();
};

void TestPortChooser::preselection_data()
{
    QTest::addColumn<QStringList>("ports");
    QTest::addColumn<QString>("remembered");
    QTest::addColumn<QString>("chosen");

    const QString link = SerialAdapters::emulatorLinkPath();
    QTest::newRow("remembered adapter") << QStringList{"ttyUSB0", "ttyUSB1"} << "/dev/ttyUSB1"
                                        << "/dev/ttyUSB1";
    QTest::newRow("only USB adapter") << QStringList{"ttyS0", "ttyUSB0"} << "/dev/ttyUSB5"
                                      << "/dev/ttyUSB0";
    QTest::newRow("only the emulator's link") << QStringList{"ttyS0", link} << "COM-1" << link;
    QTest::newRow("two candidates") << QStringList{"ttyACM0", link} << "COM-1"
                                    << "";
    QTest::newRow("built-in port alone") << QStringList{"ttyS0"} << ""
                                         << "";
}

// As in the window: the list is filled, then the remembered choice is made.
void TestPortChooser::preselection()
{
    QFETCH(QStringList, ports);
    QFETCH(QString, remembered);
    QFETCH(QString, chosen);

    QList<SerialAdapter> adapters;
    for (const QString &port : std::as_const(ports))
        adapters.append(port.startsWith('/') ? SerialAdapters::fromPath(port)
                                             : SerialAdapter{"/dev/" + port, port, {}, {}, {}, {}});
    QComboBox box;
    box.setEditable(true);
    PortChooser chooser(&box, nullptr, [&adapters] { return adapters; });
    chooser.refresh();
    chooser.choose(remembered);
    QCOMPARE(chooser.chosen().path, chosen);

    // A chosen adapter that goes is waited for, poll after poll, not replaced by the
    // one left.
    adapters.removeIf([&chosen](const SerialAdapter &a) { return a.systemLocation == chosen; });
    chooser.refresh();
    chooser.refresh();
    QVERIFY(chosen.isEmpty() || chooser.chosen().path.isEmpty());
}

QTEST_MAIN(TestPortChooser)
#include "tst_portchooser.moc"
