#include "link/historymasker.h"

#include <QtTest>

class TestHistoryMasker : public QObject
{
    Q_OBJECT

private slots:
    void piecesOfAStream_data();
    void piecesOfAStream();
    void sessionWithPassword_data();
    void sessionWithPassword();
};

void TestHistoryMasker::piecesOfAStream_data()
{
    QTest::addColumn<QStringList>("pieces");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("echo");
    QTest::addColumn<QString>("written"); // "*" stands for the mask
    const auto row = [](const char *name, const QStringList &pieces, const QString &written,
                        const QString &password = {}, const QString &echo = {}) {
        QTest::newRow(name) << pieces << password << echo << written;
    };

    row("read reply",
        {"RESPONSE.{[33 "
         "{\"350\":{\"351\":\"Дача\",\"353\":\"office-pass\"},\"400\":{\"420\":\"a\"}}]}\r\n"},
        "RESPONSE.{[33 {\"350\":{\"351\":\"Дача\",\"353\":\"*\"},\"400\":{\"420\":\"*\"}}]}\r\n");
    row("secret cut inside its value",
        {"{\"350\":{\"353\":\"offi", "ce\",\"363\":\"kel", "vane\"}}"},
        "{\"350\":{\"353\":\"*\",\"363\":\"*\"}}");
    row("cut between key and value", {"{\"350\":{\"353\"", ":", " \"x\\\"y\"}}"},
        "{\"350\":{\"353\": \"*\"}}");
    row("echo of an apply line",
        {"REQUEST.{[--25 {\"200\":{\"213\":\"u\",\"214\":\"sim\",\"224\":77}}]}"},
        "REQUEST.{[--25 {\"200\":{\"213\":\"u\",\"214\":\"*\",\"224\":*}}]}");
    row("escaped quote and brackets inside a password",
        {"{\"350\":{\"363\":\"a\\\"b}]c\",\"351\":\"name\"}}"},
        "{\"350\":{\"363\":\"*\",\"351\":\"name\"}}");
    row("same key in a group without secrets", {"{\"100\":{\"353\":\"shown\"}}"},
        "{\"100\":{\"353\":\"shown\"}}");
    row("a line break ends what only looked like a document",
        {"{\"350\":{\"353\":\"abc\r\nnext \"line\"\r\n"},
        "{\"350\":{\"353\":\"*\r\nnext \"line\"\r\n");
    row("echo of the console password cut in two", {"kel", "vane\r\nroot@gw:~# "},
        "*\r\nroot@gw:~# ", "kelvane");
    row("kernel lines inside a secret value",
        {"{\"200\":{\"214\":\"ab\r\n[  1.5] usb\r\n\r\n[ 22.75] eth0\r\ncd\",\"213\":\"u\"}}"},
        "{\"200\":{\"214\":\"*\r\n[  1.5] usb\r\n\r\n[ 22.75] eth0\r\n\",\"213\":\"u\"}}");
    row("secret values that are no strings",
        {"{\"350\":{\"353\":[\"a\",{\"b\":\"]\"}],\"363\":true}}"},
        "{\"350\":{\"353\":*,\"363\":*}}");
    row("echo of an uploaded file", {"\r\ncli", "ent\r\nkey k\r\n((EOF))\r", "\nRESPONSE.{[11]}"},
        "\r\n\nRESPONSE.{[11]}", {}, "client\nkey k\n((EOF))\r");
}

void TestHistoryMasker::piecesOfAStream()
{
    QFETCH(QStringList, pieces);
    QFETCH(QString, password);
    QFETCH(QString, echo);
    QFETCH(QString, written);

    HistoryMasker masker;
    masker.expectSecretEcho(password);
    masker.expectEcho(echo);
    QString out;
    for (const QString &piece : pieces)
        out += masker.maskPiece(piece);
    written.replace(QLatin1Char('*'), HistoryMasker::mask);
    QCOMPARE(out, written);
    if (pieces.size() == 1)
        QCOMPARE(masker.maskAlone(pieces.first()), written);
}

// A login whose console echoes the password, a read reply with a kernel line inside
// a secret, an apply echo: the password is masked only where it was echoed, even
// when the host name, the server address or the gateway ID hold its characters.
void TestHistoryMasker::sessionWithPassword_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("cutEverywhere");
    QTest::newRow("1") << "1" << true;
    for (const char *password : {"3", "a", "root", "kelvane"})
        QTest::newRow(password) << password << false;
}

void TestHistoryMasker::sessionWithPassword()
{
    QFETCH(QString, password);
    QFETCH(bool, cutEverywhere);

    const QString document = QStringLiteral(
            R"({"100":{"110":"AA555A0000000131","111":"lns.kelvane.local"},"200":{"214":"sim-3",)"
            R"("224":1},"350":{"351":"a","353":"WifiSecret-9876","363":"ApSecret-5555"},)"
            R"("400":{"420":"root"}})");
    const QString masked = QStringLiteral(
            R"({"100":{"110":"AA555A0000000131","111":"lns.kelvane.local"},"200":{"214":"*",)"
            R"("224":*},"350":{"351":"a","353":"*","363":"*"},"400":{"420":"*"}})");
    const QString kernelLine = QStringLiteral("\r\n[  812.110000] usb 1-1: USB disconnect\r\n");
    const QString beforeTyping = QStringLiteral("\r\nkelvane-gw login: root\r\nPassword: ");
    const auto session = [&](const QString &echo, const QString &read, const QString &applied) {
        return beforeTyping + echo + "\r\nroot@kelvane-gw:~# KVNCore\r\nRESPONSE.{[33 " + read
                + "]}\r\nREQUEST.{[--25 " + applied + "]}\r\nRESPONSE.{[31]}\r\n";
    };
    const QString stream
            = session(password, QString(document).replace("Wifi", "Wifi" + kernelLine), document);
    const QString expected
            = session("*",
                      QString(masked).replace(R"("353":"*")", R"("353":"*)" + kernelLine + '"'),
                      masked)
                      .replace(QLatin1Char('*'), HistoryMasker::mask);

    for (qsizetype cut = cutEverywhere ? 0 : stream.size(); cut <= stream.size(); ++cut) {
        QList<qsizetype> bounds{0, cut, beforeTyping.size(), stream.size()};
        std::sort(bounds.begin(), bounds.end());
        HistoryMasker masker;
        QString out;
        for (qsizetype at = 1; at < bounds.size(); ++at) {
            if (bounds.at(at - 1) == beforeTyping.size())
                masker.expectSecretEcho(password);
            out += masker.maskPiece(
                    stream.mid(bounds.at(at - 1), bounds.at(at) - bounds.at(at - 1)));
        }
        QVERIFY2(out == expected, qPrintable(QStringLiteral("cut at %1: %2").arg(cut).arg(out)));
    }
}

QTEST_MAIN(TestHistoryMasker)
#include "tst_historymasker.moc"
