#include "link/serialadapters.h"

#include "emulator/pseudoterminal.h"

#include <QtTest>

#include <unistd.h>

Q_DECLARE_METATYPE(SerialAdapter)

class TestSerialAdapters : public QObject
{
    Q_OBJECT

private slots:
    void namedAndFoundAgain_data();
    void namedAndFoundAgain();
    void onlyOwnEmulatorLinkListed_data();
    void onlyOwnEmulatorLinkListed();
    void arrangedAndPreselected_data();
    void arrangedAndPreselected();
};

void TestSerialAdapters::namedAndFoundAgain_data()
{
    QTest::addColumn<SerialAdapter>("adapter");
    QTest::addColumn<QString>("id");

    const QString byId = "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0";
    QTest::newRow("serial number and by-id name")
            << SerialAdapter{"/dev/ttyUSB0", "ttyUSB0", "FT232R USB UART", "FTDI", "A50285BI", byId}
            << byId;
    QTest::newRow("serial number only")
            << SerialAdapter{"/dev/ttyUSB1", "ttyUSB1", "CP2102", "Silicon Labs", "0001", ""}
            << "serial:0001";
    QTest::newRow("no serial number, maker as description")
            << SerialAdapter{"/dev/ttyKV1", "ttyKV1", "Gadget", "Gadget", "", ""} << "/dev/ttyKV1";
    QTest::newRow("built-in port")
            << SerialAdapter{"/dev/ttyKV0", "ttyKV0", "", "", "", ""} << "/dev/ttyKV0";
}

// The entry names the device, then all the adapter tells, each once; the adapter is
// found again when it comes back under another number, and not taken for another.
void TestSerialAdapters::namedAndFoundAgain()
{
    QFETCH(SerialAdapter, adapter);
    QFETCH(QString, id);

    const QString text = SerialAdapters::displayText(adapter);
    QVERIFY2(text.startsWith(adapter.portName), qPrintable(text));
    for (const QString &detail :
         {adapter.manufacturer, adapter.serialNumber, QFileInfo(adapter.byIdPath).fileName()})
        QVERIFY2(text.contains(detail), qPrintable(text));
    if (!adapter.description.isEmpty())
        QCOMPARE(text.count(adapter.description), 1);
    QVERIFY2(!text.contains(", ,") && !text.endsWith(' ') && !text.endsWith(','), qPrintable(text));
    QCOMPARE(SerialAdapters::stableId(adapter), id);

    SerialAdapter returned = adapter;
    if (!adapter.byIdPath.isEmpty() || !adapter.serialNumber.isEmpty())
        returned.systemLocation = QStringLiteral("/dev/ttyUSB7");
    const SerialAdapter other{"/dev/ttyUSB8", "ttyUSB8", "FT232R USB UART", "FTDI", "B7", ""};
    QCOMPARE(SerialAdapters::locate(id, {other, returned}), returned.systemLocation);
    QVERIFY(SerialAdapters::locate(id, {other}).isEmpty());
}

// Whoever owns the link would catch the password the window types into it.
void TestSerialAdapters::onlyOwnEmulatorLinkListed_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("listed");
    QTest::newRow("own link to own terminal") << "link" << true;
    QTest::newRow("terminal itself, no link") << "terminal" << false;
    QTest::newRow("link to a plain file") << "file" << false;
    QTest::newRow("link to nothing") << "dangling" << false;
    QTest::newRow("link of another user") << "foreign" << false;
}

void TestSerialAdapters::onlyOwnEmulatorLinkListed()
{
    QFETCH(QString, kind);
    QFETCH(bool, listed);

    QTemporaryDir dir;
    PseudoTerminal terminal;
    QVERIFY(terminal.open());
    const QString link = dir.filePath("kelvane-gateway");
    const QString plain = dir.filePath("plain");
    QFile(plain).open(QIODevice::WriteOnly);
    QString path = link;
    if (kind == "terminal")
        path = terminal.slavePath();
    else
        QVERIFY(QFile::link(kind == "file"               ? plain
                                    : kind == "dangling" ? dir.filePath("gone")
                                                         : terminal.slavePath(),
                            link));
    if (kind == "foreign") {
        constexpr uid_t nobody = 65534;
        if (::lchown(QFile::encodeName(link).constData(), nobody, nobody) != 0)
            QSKIP("only a privileged test can give a link to another user");
    }
    QCOMPARE(SerialAdapters::isOwnEmulatorLink(path), listed);
}

void TestSerialAdapters::arrangedAndPreselected_data()
{
    QTest::addColumn<QString>("ports");
    QTest::addColumn<QString>("remembered");
    QTest::addColumn<QString>("listed");
    const QString link = SerialAdapters::emulatorLinkPath();
    QTest::newRow("USB first, no absent UART")
            << QString("ttyS0 ttyS1 ttyUSB0 ttyS2") << QString() << QString("*ttyUSB0 ttyS0 ttyS2");
    QTest::newRow("remembered") << QString("ttyS0 ttyUSB1 ttyACM0") << QString("/dev/ttyACM0")
                                << QString("ttyUSB1 *ttyACM0 ttyS0");
    QTest::newRow("only the link")
            << "ttyS0 " + link << QString("/dev/ttyUSB3") << "ttyS0 *" + link;
    QTest::newRow("two candidates") << "ttyUSB1 " + link << QString() << "ttyUSB1 " + link;
}

// Preselected entry starred. ttyS1's line tells of no UART (type, port and irq 0).
void TestSerialAdapters::arrangedAndPreselected()
{
    QFETCH(QString, ports);
    QFETCH(QString, remembered);
    QFETCH(QString, listed);
    QTemporaryDir ttyClass;
    for (const QString line : {"ttyS0/type 4", "ttyS1/type 0", "ttyS1/port 0x0", "ttyS1/irq 0"}) {
        QDir(ttyClass.path()).mkpath(line.section('/', 0, 0));
        QFile file(ttyClass.filePath(line.section(' ', 0, 0)));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(line.section(' ', 1).toLatin1()));
    }
    QList<SerialAdapter> adapters;
    for (const QString &port : ports.split(' '))
        adapters.append(port.startsWith('/') ? SerialAdapters::fromPath(port)
                                             : SerialAdapter{"/dev/" + port, port, {}, {}, {}, {}});
    adapters = SerialAdapters::arranged(adapters, ttyClass.path());
    const int chosen = SerialAdapters::preselected(adapters, remembered);
    QStringList names;
    for (int index = 0; index < adapters.size(); ++index)
        names.append((index == chosen ? "*" : "") + adapters[index].portName);
    QCOMPARE(names.join(' '), listed);
}

QTEST_MAIN(TestSerialAdapters)
#include "tst_serialadapters.moc"
