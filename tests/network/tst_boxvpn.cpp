#include "emulator/gatewayemulator.h"
#include "link/sportconnector.h"
#include "linkedgateway.h"
#include "network/boxvpn.h"
#include "widgetcheck.h"

#include <QComboBox>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTranslator>
#include <QUrl>

#include <sys/stat.h>

class TestBoxVPN : public QObject
{
    Q_OBJECT

private slots:
    void upload_data();
    void upload();
    void sendButtonWaitsForTheUpload_data();
    void sendButtonWaitsForTheUpload();
    void pathReadAgainWhenReady();
    void unreadableFileIsReported();
    void refusedBeforeAnnouncing_data();
    void refusedBeforeAnnouncing();
    void buttons_data();
    void buttons();
    void stateReplies_data();
    void stateReplies();
    void refillingListQueriesState();
    void drop_data();
    void drop();
    void resizeGeometry_data();
    void resizeGeometry();
    void noOverlap_data();
    void noOverlap();
};

namespace {

const QRect creationGeometry(20, 200, 651, 141);

template<typename T>
T *child(BoxVPN &box, const QString &name)
{
    auto *widget = box.findChild<T *>(name);
    if (!widget)
        qFatal("no child %s", qPrintable(name));
    return widget;
}

bool writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

void press(BoxVPN &box, const QString &button)
{
    QTest::mouseClick(child<QPushButton>(box, button), Qt::LeftButton);
}

// Round trip through the gateway with a request the box does not react to:
// everything the box wrote before has then been read by the gateway.
bool settle(LinkedGateway &gateway)
{
    gateway.clearRequests();
    gateway.link()->requestLoRaModulesState();
    return gateway.waitForRequest(QStringLiteral("--50 State"));
}

} // namespace

void TestBoxVPN::upload_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QByteArray>("wireBody");

    QTest::newRow("windows line ends")
            << "client.ovpn" << QByteArray("remote gw 1194\r\nproto udp\r\n")
            << QByteArray("remote gw 1194\nproto udp\n((EOF))\r");
    QTest::newRow("no final line end")
            << "ca.crt" << QByteArray("line1\nline2") << QByteArray("line1\nline2((EOF))\r");
    QTest::newRow("empty file") << "empty.key" << QByteArray() << QByteArray("((EOF))\r");
    QTest::newRow("lone carriage returns")
            << "odd.conf" << QByteArray("a\rb\r") << QByteArray("ab((EOF))\r");
    QTest::newRow("utf-8 text") << "юзер.ovpn" << QByteArray("# ключ\r\n")
                                << QByteArray("# ключ\n((EOF))\r");
}

void TestBoxVPN::upload()
{
    QFETCH(QString, fileName);
    QFETCH(QByteArray, content);
    QFETCH(QByteArray, wireBody);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(fileName);
    QVERIFY(writeFile(path, content));

    LinkedGateway gateway;
    QVERIFY(gateway.open(3));
    BoxVPN box(QStringLiteral("Настройки VPN"), creationGeometry);
    box.show();
    box.attachLink(gateway.link());
    QSignalSpy stored(&gateway.emulator(), &GatewayEmulator::fileStored);
    QVERIFY(stored.isValid());
    QSignalSpy messages(&box, &BoxVPN::showDialogMessage);
    QVERIFY(messages.isValid());
    gateway.emulator().clearReceived();

    child<QLineEdit>(box, "pathField")->setText(path);
    press(box, "sendButton");

    QVERIFY(stored.wait());
    QCOMPARE(stored.at(0).at(0).toString(), fileName);
    QCOMPARE(stored.at(0).at(1).toByteArray(), wireBody.chopped(8));
    const QByteArray wire = gateway.emulator().received();
    const QByteArray announcement = "REQUEST.{[--40 " + fileName.toUtf8() + "]}\r";
    QCOMPARE(wire.count(announcement), 1);
    QVERIFY(wire.indexOf(announcement) < wire.indexOf(wireBody));
    QCOMPARE(wire.count(wireBody), 1);
    QVERIFY(!wire.contains("\r\n"));
    QCOMPARE(messages.count(), 0);
}

void TestBoxVPN::sendButtonWaitsForTheUpload_data()
{
    QTest::addColumn<QString>("ending");
    QTest::newRow("file stored") << "stored";
    QTest::newRow("gateway refuses the file") << "refused";
    QTest::newRow("gateway silent") << "silent";
    QTest::newRow("link detached") << "detached";
}

// A second press while the file goes would announce it again inside the file.
void TestBoxVPN::sendButtonWaitsForTheUpload()
{
    QFETCH(QString, ending);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("twice.ovpn");
    QVERIFY(writeFile(path, "body line\n"));

    LinkedGateway gateway;
    QVERIFY(gateway.open(3));
    if (ending == "refused")
        gateway.emulator().setErrorReply("40", 1006);
    if (ending == "silent")
        gateway.emulator().setReplyDelayMs(60000);
    BoxVPN box(QStringLiteral("Настройки VPN"), creationGeometry);
    box.show();
    box.attachLink(gateway.link());
    gateway.emulator().clearReceived();
    auto *send = child<QPushButton>(box, "sendButton");

    child<QLineEdit>(box, "pathField")->setText(path);
    press(box, "sendButton");
    QVERIFY(!send->isEnabled());
    press(box, "sendButton");
    QVERIFY(gateway.waitForRequest("--40 twice.ovpn"));
    if (ending == "silent")
        QVERIFY(QMetaObject::invokeMethod(gateway.link()->findChild<QTimer *>("uploadTimer"),
                                          "timeout"));
    if (ending == "detached")
        box.detachLink();

    QTRY_VERIFY(send->isEnabled());
    if (ending == "stored")
        QCOMPARE(gateway.emulator().storedFiles().value("twice.ovpn"), QByteArray("body line\n"));
    QCOMPARE(gateway.emulator().received().count("REQUEST.{[--40 twice.ovpn]}\r"), 1);
}

void TestBoxVPN::pathReadAgainWhenReady()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString first = dir.filePath("first.ovpn");
    const QString second = dir.filePath("second.ovpn");
    QVERIFY(writeFile(first, "first content\n"));
    QVERIFY(writeFile(second, "second content\r\n"));

    LinkedGateway gateway;
    QVERIFY(gateway.open(3));
    // The ready reply comes late enough for the operator to edit the path.
    gateway.emulator().setReplyDelayMs(1000);
    BoxVPN box(QStringLiteral("Настройки VPN"), creationGeometry);
    box.show();
    box.attachLink(gateway.link());
    QSignalSpy stored(&gateway.emulator(), &GatewayEmulator::fileStored);
    QVERIFY(stored.isValid());
    QSignalSpy ready(gateway.link(), &SPortConnector::readyToGetOVPN);
    QVERIFY(ready.isValid());
    gateway.clearRequests();

    auto *pathField = child<QLineEdit>(box, "pathField");
    pathField->setText(first);
    press(box, "sendButton");
    QVERIFY(gateway.waitForRequest("--40 first.ovpn"));
    QCOMPARE(ready.count(), 0);
    pathField->setText(second);

    QVERIFY(stored.wait());
    QCOMPARE(stored.at(0).at(0).toString(), QString("first.ovpn"));
    QCOMPARE(stored.at(0).at(1).toByteArray(), QByteArray("second content\n"));
}

void TestBoxVPN::unreadableFileIsReported()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString missing = dir.filePath("missing.ovpn");
    QVERIFY(writeFile(missing, "remote gw 1194\n"));

    LinkedGateway gateway;
    QVERIFY(gateway.open(3));
    // The ready reply comes late enough for the file to go away before it.
    gateway.emulator().setReplyDelayMs(1000);
    BoxVPN box(QStringLiteral("Настройки VPN"), creationGeometry);
    box.show();
    box.attachLink(gateway.link());
    QSignalSpy messages(&box, &BoxVPN::showDialogMessage);
    QVERIFY(messages.isValid());
    gateway.emulator().clearReceived();
    gateway.clearRequests();

    child<QLineEdit>(box, "pathField")->setText(missing);
    press(box, "sendButton");
    QVERIFY(gateway.waitForRequest("--40 missing.ovpn"));
    QVERIFY(QFile::remove(missing));

    QVERIFY(messages.wait());
    QCOMPARE(messages.at(0).at(0).toInt(), 3);
    QCOMPARE(messages.at(0).at(1).toString(), QString("Ошибка"));
    QVERIFY(messages.at(0).at(2).toString().contains(missing));
    gateway.emulator().setReplyDelayMs(0);

    // The gateway still waits for a body: end it empty, so whatever the box
    // might have sent would show up in the stored file.
    QSignalSpy stored(&gateway.emulator(), &GatewayEmulator::fileStored);
    QVERIFY(stored.isValid());
    gateway.link()->sendOVPNFileToGW("((EOF))");
    QVERIFY(stored.wait());
    QCOMPARE(stored.at(0).at(0).toString(), QString("missing.ovpn"));
    QCOMPARE(stored.at(0).at(1).toByteArray(), QByteArray());
    QCOMPARE(messages.count(), 1);
}

void TestBoxVPN::refusedBeforeAnnouncing_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("english");

    const QByteArray der("\x30\x82\x04\xa4\x02\x01\x00\x02\x82\x01\x01", 11);
    const QByteArray marker("remote gw 1194\n((EOF))\nproto udp\n");
    const QByteArray large(1024 * 1024 + 1, 'a');
    QTest::newRow("binary key") << "file" << der << false;
    QTest::newRow("binary key, English") << "file" << der << true;
    QTest::newRow("NUL bytes") << "file" << QByteArray("key\0data", 8) << false;
    QTest::newRow("cut UTF-8 sequence at the end") << "file" << QByteArray("ключ\xd0") << false;
    QTest::newRow("end marker inside") << "file" << marker << false;
    QTest::newRow("end marker inside, English") << "file" << marker << true;
    QTest::newRow("end marker split by a carriage return")
            << "file" << QByteArray("a\n((EO\rF))\n") << false;
    QTest::newRow("larger than 1 MiB") << "file" << large << false;
    QTest::newRow("larger than 1 MiB, English") << "file" << large << true;
    QTest::newRow("FIFO") << "fifo" << QByteArray() << false;
    QTest::newRow("FIFO, English") << "fifo" << QByteArray() << true;
    QTest::newRow("folder") << "folder" << QByteArray() << false;
}

// Refused files reach the operator as a warning naming the path, and the
// gateway never hears of them.
void TestBoxVPN::refusedBeforeAnnouncing()
{
    QFETCH(QString, kind);
    QFETCH(QByteArray, content);
    QFETCH(bool, english);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("client.key");
    if (kind == "fifo")
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    else if (kind == "folder")
        QVERIFY(QDir(dir.path()).mkdir("client.key"));
    else
        QVERIFY(writeFile(path, content));

    QTranslator catalogue;
    if (english) {
        QVERIFY(catalogue.load(":/i18n/Kelvane.qm"));
        QVERIFY(QCoreApplication::installTranslator(&catalogue));
    }
    const auto uninstall
            = qScopeGuard([&catalogue] { QCoreApplication::removeTranslator(&catalogue); });

    LinkedGateway gateway;
    QVERIFY(gateway.open(3));
    BoxVPN box(QStringLiteral("Настройки VPN"), creationGeometry);
    box.show();
    box.attachLink(gateway.link());
    QSignalSpy messages(&box, &BoxVPN::showDialogMessage);
    QVERIFY(messages.isValid());
    gateway.emulator().clearReceived();

    child<QLineEdit>(box, "pathField")->setText(path);
    press(box, "sendButton");

    QCOMPARE(messages.count(), 1);
    QCOMPARE(messages.at(0).at(0).toInt(), 2);
    const QString message = messages.at(0).at(1).toString() + messages.at(0).at(2).toString();
    QVERIFY(message.contains(path));
    static const QRegularExpression cyrillic(QStringLiteral("\\p{Cyrillic}"));
    QCOMPARE(message.contains(cyrillic), !english);
    QVERIFY(settle(gateway));
    QVERIFY(!gateway.emulator().received().contains("--40 "));
}

void TestBoxVPN::buttons_data()
{
    QTest::addColumn<bool>("attached");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QStringList>("configs");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("request");
    QTest::addColumn<int>("messageIndex");
    QTest::addColumn<QString>("messageText");

    const QString noConfig("Не выбрана конфигурация для запуска");
    QTest::newRow("send without a path") << true << "" << QStringList() << "sendButton"
                                         << "" << 3 << "Выберете файл для отправки.";
    QTest::newRow("run the selected configuration")
            << true << "" << QStringList{"office.ovpn", "home.ovpn"} << "runButton"
            << "--42 office.ovpn" << 0 << "";
    QTest::newRow("activate the selected configuration")
            << true << "" << QStringList{"office.ovpn"} << "activateButton"
            << "--41 office.ovpn" << 0 << "";
    QTest::newRow("run with an empty list") << true << "" << QStringList() << "runButton"
                                            << "" << 2 << noConfig;
    QTest::newRow("activate with an empty list") << true << "" << QStringList() << "activateButton"
                                                 << "" << 2 << noConfig;
    QTest::newRow("send while detached") << false << "/tmp/x.ovpn" << QStringList() << "sendButton"
                                         << "" << 0 << "";
    QTest::newRow("send without a path while detached")
            << false << "" << QStringList() << "sendButton"
            << "" << 0 << "";
}

void TestBoxVPN::buttons()
{
    QFETCH(bool, attached);
    QFETCH(QString, path);
    QFETCH(QStringList, configs);
    QFETCH(QString, button);
    QFETCH(QString, request);
    QFETCH(int, messageIndex);
    QFETCH(QString, messageText);

    LinkedGateway gateway;
    QVERIFY(gateway.open(3));
    gateway.emulator().setOvpnState("office.ovpn", 0);
    BoxVPN box(QStringLiteral("Настройки VPN"), creationGeometry);
    box.show();
    box.attachLink(gateway.link());
    QSignalSpy states(gateway.link(), &SPortConnector::openVPNState);
    QVERIFY(states.isValid());
    // A state reply unlocks the run and activate buttons.
    box.setConfigList({"office.ovpn"});
    QVERIFY(states.wait());
    box.setConfigList(configs);
    if (!attached)
        box.detachLink();
    QVERIFY(settle(gateway));

    QSignalSpy messages(&box, &BoxVPN::showDialogMessage);
    QVERIFY(messages.isValid());
    child<QLineEdit>(box, "pathField")->setText(path);
    press(box, button);
    QVERIFY(settle(gateway));

    if (request.isEmpty()) {
        const QByteArray wire = gateway.emulator().received();
        QVERIFY(!wire.contains("--40 "));
        QVERIFY(!wire.contains("--41 "));
        QVERIFY(!wire.contains("--42 "));
    } else {
        QVERIFY(gateway.emulator().received().contains("REQUEST.{[" + request.toUtf8() + "]}\r"));
    }
    QCOMPARE(messages.count(), messageIndex == 0 ? 0 : 1);
    if (messageIndex != 0) {
        QCOMPARE(messages.at(0).at(0).toInt(), messageIndex);
        QCOMPARE(messages.at(0).at(1).toString(), QString("Ошибка"));
        QCOMPARE(messages.at(0).at(2).toString(), messageText);
    }
}

void TestBoxVPN::stateReplies_data()
{
    QTest::addColumn<int>("firstState");
    QTest::addColumn<int>("secondState");
    QTest::addColumn<bool>("runEnabled");
    QTest::addColumn<bool>("activateEnabled");

    QTest::newRow("0 idle") << 11 << 0 << true << true;
    QTest::newRow("1 running") << 0 << 1 << false << true;
    QTest::newRow("10 activated") << 0 << 10 << true << false;
    QTest::newRow("11 activated and running") << 0 << 11 << false << false;
    QTest::newRow("2 changes nothing after 1") << 1 << 2 << false << true;
    QTest::newRow("2 changes nothing after 10") << 10 << 2 << true << false;
}

void TestBoxVPN::stateReplies()
{
    QFETCH(int, firstState);
    QFETCH(int, secondState);
    QFETCH(bool, runEnabled);
    QFETCH(bool, activateEnabled);

    LinkedGateway gateway;
    QVERIFY(gateway.open(3));
    gateway.emulator().setOvpnState("a.ovpn", firstState);
    gateway.emulator().setOvpnState("b.ovpn", secondState);
    BoxVPN box(QStringLiteral("Настройки VPN"), creationGeometry);
    box.show();
    box.attachLink(gateway.link());
    QSignalSpy states(gateway.link(), &SPortConnector::openVPNState);
    QVERIFY(states.isValid());

    box.setConfigList({"a.ovpn", "b.ovpn"});
    QVERIFY(states.wait());
    QCOMPARE(states.last().at(0).toInt(), firstState);
    child<QComboBox>(box, "configList")->setCurrentIndex(1);
    QTRY_COMPARE(states.count(), 2);
    QCOMPARE(states.last().at(0).toInt(), secondState);

    QCOMPARE(child<QPushButton>(box, "runButton")->isEnabled(), runEnabled);
    QCOMPARE(child<QPushButton>(box, "activateButton")->isEnabled(), activateEnabled);
}

void TestBoxVPN::refillingListQueriesState()
{
    LinkedGateway gateway;
    QVERIFY(gateway.open(3));
    BoxVPN box(QStringLiteral("Настройки VPN"), creationGeometry);
    box.setConfigList({"old.ovpn"});
    box.attachLink(gateway.link());
    QVERIFY(settle(gateway));
    gateway.clearRequests();

    box.setConfigList({"new.ovpn", "other.ovpn"});
    QVERIFY(gateway.waitForRequest("--43 new.ovpn"));
    QCOMPARE(gateway.requests(), (QStringList{"--43 ", "--43 new.ovpn"}));

    box.detachLink();
    gateway.clearRequests();
    box.setConfigList({"third.ovpn"});
    QVERIFY(settle(gateway));
    QCOMPARE(gateway.requests(), QStringList{"--50 State"});
}

void TestBoxVPN::drop_data()
{
    QTest::addColumn<QList<QUrl>>("urls");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("complaint");

    const QString before("/earlier/choice.ovpn");
    QTest::newRow("ovpn") << QList<QUrl>{QUrl::fromLocalFile("/home/op/client.ovpn")}
                          << "/home/op/client.ovpn" << false;
    QTest::newRow("crt") << QList<QUrl>{QUrl::fromLocalFile("/home/op/ca.crt")} << "/home/op/ca.crt"
                         << false;
    QTest::newRow("key") << QList<QUrl>{QUrl::fromLocalFile("/home/op/client.key")}
                         << "/home/op/client.key" << false;
    QTest::newRow("conf") << QList<QUrl>{QUrl::fromLocalFile("/home/op/server.conf")}
                          << "/home/op/server.conf" << false;
    QTest::newRow("folder named like a key")
            << QList<QUrl>{QUrl::fromLocalFile("/home/op/vpn.key/readme.txt")}
            << "/home/op/vpn.key/readme.txt" << false;
    QTest::newRow("backslashes become slashes")
            << QList<QUrl>{QUrl::fromLocalFile("/mnt/share\\op\\client.ovpn")}
            << "/mnt/share/op/client.ovpn" << false;
    QTest::newRow("other extension")
            << QList<QUrl>{QUrl::fromLocalFile("/home/op/readme.txt")} << before << true;
    QTest::newRow("upper-case extension")
            << QList<QUrl>{QUrl::fromLocalFile("/home/op/CLIENT.OVPN")} << before << true;
    QTest::newRow("web link") << QList<QUrl>{QUrl("https://example.com/client.ovpn")} << before
                              << true;
    QTest::newRow("first url decides") << QList<QUrl>{QUrl::fromLocalFile("/home/op/readme.txt"),
                                                      QUrl::fromLocalFile("/home/op/client.ovpn")}
                                       << before << true;
    QTest::newRow("no urls") << QList<QUrl>() << before << false;
}

void TestBoxVPN::drop()
{
    QFETCH(QList<QUrl>, urls);
    QFETCH(QString, shown);
    QFETCH(bool, complaint);

    BoxVPN box(QStringLiteral("Настройки VPN"), creationGeometry);
    auto *pathField = child<QLineEdit>(box, "pathField");
    pathField->setText("/earlier/choice.ovpn");
    QSignalSpy messages(&box, &BoxVPN::showDialogMessage);
    QVERIFY(messages.isValid());

    QMimeData data;
    if (urls.isEmpty())
        data.setText("plain text");
    else
        data.setUrls(urls);
    // Qt delivers a drop only to the widget that accepted the drag's entry.
    QDragEnterEvent enter(QPoint(300, 40), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&box, &enter);
    QDropEvent event(QPointF(300, 40), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    event.setAccepted(false);
    QApplication::sendEvent(&box, &event);

    QVERIFY(event.isAccepted());
    QCOMPARE(event.dropAction(), Qt::CopyAction);
    QCOMPARE(pathField->text(), shown);
    QCOMPARE(messages.count(), complaint ? 1 : 0);
    if (complaint) {
        QCOMPARE(messages.at(0).at(0).toInt(), 3);
        QCOMPARE(messages.at(0).at(1).toString(), QString("Ошибка"));
        QCOMPARE(messages.at(0).at(2).toString(),
                 QString("Файлы настроек должны иметь расширение .ovpn, .crt, .key, .conf"));
    }
}

void TestBoxVPN::resizeGeometry_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("expected");

    const QSize reference(651, 141);
    QTest::newRow("reference path") << reference << "pathField" << QRect(210, 30, 391, 24);
    QTest::newRow("reference browse") << reference << "browseButton" << QRect(610, 30, 31, 24);
    // kx = 1.2288..., ky = 1.4184..., unrounded.
    const QSize larger(800, 200);
    QTest::newRow("larger path") << larger << "pathField" << QRect(210, 30, 480, 24);
    QTest::newRow("larger browse follows the path")
            << larger << "browseButton" << QRect(699, 30, 31, 24);
    QTest::newRow("larger activate") << larger << "activateButton" << QRect(10, 141, 141, 24);
    QTest::newRow("larger list") << larger << "configList" << QRect(170, 141, 406, 24);
}

void TestBoxVPN::resizeGeometry()
{
    QFETCH(QSize, size);
    QFETCH(QString, name);
    QFETCH(QRect, expected);

    BoxVPN box(QStringLiteral("Настройки VPN"), creationGeometry);
    box.resize(size);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QCOMPARE(child<QWidget>(box, name)->geometry(), expected);
}

void TestBoxVPN::noOverlap_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("reference") << QSize(651, 141);
    QTest::newRow("larger") << QSize(1000, 220);
}

void TestBoxVPN::noOverlap()
{
    QFETCH(QSize, size);

    BoxVPN box(QStringLiteral("Настройки VPN"), creationGeometry);
    box.resize(size);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    const QStringList problems = WidgetCheck::layoutProblems(&box);
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join('\n')));
}

QTEST_MAIN(TestBoxVPN)
#include "tst_boxvpn.moc"
