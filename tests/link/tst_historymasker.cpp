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
    row("console password cut in two", {"Password: kel", "vane\r\nroot@gw:~# "},
        "Password: *\r\nroot@gw:~# ", "kelvane");
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
    masker.setHiddenText(password);
    masker.expectEcho(echo);
    QString out;
    for (const QString &piece : pieces)
        out += masker.maskPiece(piece);
    written.replace(QLatin1Char('*'), HistoryMasker::mask);
    QCOMPARE(out, written);
    if (pieces.size() == 1)
        QCOMPARE(masker.maskAlone(pieces.first()), written);
}

QTEST_MAIN(TestHistoryMasker)
#include "tst_historymasker.moc"
