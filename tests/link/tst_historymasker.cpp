#include "link/historymasker.h"

#include <QtTest>

class TestHistoryMasker : public QObject
{
    Q_OBJECT

private slots:
    void piecesOfAStream_data();
    void piecesOfAStream();
};

void TestHistoryMasker::piecesOfAStream_data()
{
    QTest::addColumn<QStringList>("pieces");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("echo");
    QTest::addColumn<QString>("written");

    const QString dots = HistoryMasker::mask;
    QTest::newRow("read reply")
            << QStringList{"RESPONSE.{[33 {\"350\":{\"351\":\"Дача\",\"353\":\"office-pass\"},"
                           "\"400\":{\"420\":\"admin\"}}]}\r\n"}
            << ""
            << ""
            << "RESPONSE.{[33 {\"350\":{\"351\":\"Дача\",\"353\":\"" + dots
                    + "\"},\"400\":{\"420\":\"" + dots + "\"}}]}\r\n";
    QTest::newRow("secret cut inside its value")
            << QStringList{"RESPONSE.{[33 {\"350\":{\"353\":\"offi", "ce-pass\",\"363\":\"kel",
                           "vane123\"}}]}"}
            << ""
            << ""
            << "RESPONSE.{[33 {\"350\":{\"353\":\"" + dots + "\",\"363\":\"" + dots + "\"}}]}";
    QTest::newRow("cut between key and value")
            << QStringList{"{\"350\":{\"353\"", ":", " \"x\\\"y\"}}"} << ""
            << ""
            << "{\"350\":{\"353\": \"" + dots + "\"}}";
    QTest::newRow("echo of an apply line")
            << QStringList{"REQUEST.{[--25 {\"200\":{\"213\":\"user\",\"214\":\"sim-pw\",",
                           "\"224\":77}}]}\r\n"}
            << ""
            << ""
            << "REQUEST.{[--25 {\"200\":{\"213\":\"user\",\"214\":\"" + dots + "\",\"224\":" + dots
                    + "}}]}\r\n";
    QTest::newRow("escaped quote and brace inside a password")
            << QStringList{"{\"350\":{\"363\":\"a\\\"b}]c\",\"351\":\"name\"}}"} << ""
            << ""
            << "{\"350\":{\"363\":\"" + dots + "\",\"351\":\"name\"}}";
    QTest::newRow("same key in a group without secrets")
            << QStringList{"{\"100\":{\"353\":\"shown\"}}"} << ""
            << ""
            << "{\"100\":{\"353\":\"shown\"}}";
    QTest::newRow("a line break ends what only looked like a document")
            << QStringList{"{\"350\":{\"353\":\"abc\r\nnext \"line\"\r\n"} << ""
            << ""
            << "{\"350\":{\"353\":\"" + dots + "\r\nnext \"line\"\r\n";
    QTest::newRow("console password cut in two")
            << QStringList{"Password: kel", "vane\r\nroot@gw:~# "} << "kelvane"
            << ""
            << "Password: " + dots + "\r\nroot@gw:~# ";
    QTest::newRow("echo of an uploaded file")
            << QStringList{"\r\ncli", "ent\r\nkey secret\r\n((EOF))\r", "\nRESPONSE.{[11]}\r\n"}
            << ""
            << "client\nkey secret\n((EOF))\r"
            << "\r\n\nRESPONSE.{[11]}\r\n";
    QTest::newRow("console output that is no echo") << QStringList{"RESPONSE.{[11]}\r\n"} << ""
                                                    << "client\n((EOF))\r"
                                                    << "RESPONSE.{[11]}\r\n";
}

void TestHistoryMasker::piecesOfAStream()
{
    QFETCH(QStringList, pieces);
    QFETCH(QString, password);
    QFETCH(QString, echo);
    QFETCH(QString, written);

    HistoryMasker masker;
    masker.setHiddenText(password);
    masker.expectEcho(echo);
    QString out;
    for (const QString &piece : pieces)
        out += masker.maskPiece(piece);
    QCOMPARE(out, written);
    if (pieces.size() == 1)
        QCOMPARE(HistoryMasker::masked(pieces.first()), written);
}

QTEST_MAIN(TestHistoryMasker)
#include "tst_historymasker.moc"
