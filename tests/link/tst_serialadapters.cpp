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
    void usbFirstWithoutAbsentUarts();
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

// The kernel's lines of UARTs it found nothing behind report type, port and irq 0;
// a line without those files is no UART of that kind and stays.
void TestSerialAdapters::usbFirstWithoutAbsentUarts()
{
    QTemporaryDir ttyClass;
    const auto uart = [&ttyClass](const QString &name, const QStringList &typePortIrq) {
        QDir(ttyClass.path()).mkpath(name);
        for (int i = 0; i < typePortIrq.size(); ++i) {
            QFile file(ttyClass.filePath(name + QStringList{"/type", "/port", "/irq"}[i]));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(typePortIrq[i].toLatin1()) > 0);
        }
    };
    uart("ttyS0", {"4\n", "0x3F8\n", "4\n"});
    uart("ttyS1", {"0\n", "0x0\n", "0\n"});
    uart("ttyS2", {"0\n", "0x2F8\n", "0\n"});
    QList<SerialAdapter> ports;
    QStringList order;
    for (const char *name : {"ttyS0", "ttyS1", "ttyUSB0", "ttyS2", "ttyS3", "ttyACM0"})
        ports.append({QStringLiteral("/dev/") + name, name, {}, {}, {}, {}});
    for (const SerialAdapter &port : SerialAdapters::arranged(ports, ttyClass.path()))
        order.append(port.portName);
    QCOMPARE(order, QStringList({"ttyUSB0", "ttyACM0", "ttyS0", "ttyS2", "ttyS3"}));
}

QTEST_MAIN(TestSerialAdapters)
#include "tst_serialadapters.moc"
