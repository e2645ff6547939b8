#include "link/replyframer.h"

#include <QTest>

namespace {

// Feeds the reads one by one, as the link does, and lists the replies handed out.
QStringList framedReplies(ReplyFramer &framer, QByteArray &buffer, const QList<QByteArray> &reads)
{
    QStringList replies;
    for (const QByteArray &read : reads) {
        const qsizetype searchFrom = buffer.size() - 1;
        buffer.append(read);
        // As the link: a held reply looks at every read.
        if (!framer.cutFrame(buffer, searchFrom) && !framer.hasPending())
            continue;
        ReplyFramer::Reply reply;
        while (framer.takeNext(reply))
            replies.append(reply.type + QLatin1Char('|') + reply.message);
    }
    return replies;
}

} // namespace

class TestReplyFramer : public QObject
{
    Q_OBJECT

private slots:
    void cutting_data();
    void cutting();
    void newFrameWhileHandingOut();
    void restAfterReply();
    void payload_data();
    void payload();
};

void TestReplyFramer::cutting_data()
{
    QTest::addColumn<QList<QByteArray>>("reads");
    QTest::addColumn<QStringList>("replies");
    QTest::addColumn<QByteArray>("left");

    QTest::newRow("one reply") << QList<QByteArray>{"RESPONSE.{[31]}\r\n"}
                               << QStringList{"RESPONSE|{[31]}"} << QByteArray("\r\n");
    QTest::newRow("closing split across reads")
            << QList<QByteArray>{"RESPONSE.{[31]", "}\r\n"} << QStringList{"RESPONSE|{[31]}"}
            << QByteArray("\r\n");
    QTest::newRow("incomplete reply stays")
            << QList<QByteArray>{"LOGS.{[a]}\r\nLOGS.{[b"} << QStringList{"LOGS|{[a]}"}
            << QByteArray("\r\nLOGS.{[b");
    QTest::newRow("incomplete reply completed later")
            << QList<QByteArray>{"LOGS.{[a]}\r\nLOGS.{[b", "c]}"}
            << QStringList{"LOGS|{[a]}", "LOGS|{[bc]}"} << QByteArray();
    QTest::newRow("two replies on one line")
            << QList<QByteArray>{"RESPONSE.{[62 5]}RESPONSE.{[45 16]}\r\n"}
            << QStringList{"RESPONSE|{[62 5]}", "RESPONSE|{[45 16]}"} << QByteArray("\r\n");
    QTest::newRow("brace inside a document before the closing")
            << QList<QByteArray>{"RESPONSE.{[33 {\"a\":{\"b\":1}", "}]}"}
            << QStringList{"RESPONSE|{[33 {\"a\":{\"b\":1}}]}"} << QByteArray();
    QTest::newRow("echo and noise between replies")
            << QList<QByteArray>{"REQUEST.{[--26]}\r\nls\r\nERROR.{[1005]}\r\nxyz"}
            << QStringList{"ERROR|{[1005]}"} << QByteArray("\r\nxyz");
    QTest::newRow("white space before the closing")
            << QList<QByteArray>{"CONNECT.{[1 3\r\n]}"} << QStringList{"CONNECT|{[1 3\r\n]}"}
            << QByteArray();
    QTest::newRow("unknown type") << QList<QByteArray>{"STATUS.{[1]}"} << QStringList()
                                  << QByteArray();
    QTest::newRow("closing without opening") << QList<QByteArray>{"]}\r\nCONNECT.{[1 3]}"}
                                             << QStringList{"CONNECT|{[1 3]}"} << QByteArray();
    QTest::newRow("reply broken by a line end")
            << QList<QByteArray>{"RESPONSE.{[31\r\nx]}LOGS.{[y]}"} << QStringList{"LOGS|{[y]}"}
            << QByteArray();
    QTest::newRow("kernel line inside a settings document")
            << QList<QByteArray>{"RESPONSE.{[33 {\"a\":\"k\r\n[  8.1] usb 1-1: x\r\nv]}\"}]}\r\n"}
            << QStringList{"RESPONSE|{[33 {\"a\":\"k\r\n[  8.1] usb 1-1: x\r\nv]}\"}]}"}
            << QByteArray("\r\n");
    QTest::newRow("settings document broken by a line that is no kernel line")
            << QList<QByteArray>{"RESPONSE.{[33 {\"a\":1\r\nRESPONSE.{[31]}\r\n"}
            << QStringList{"RESPONSE|{[33 {\"a\":1", "RESPONSE|{[31]}"} << QByteArray("\r\n");
    QTest::newRow("broken settings document handed out when its line ends")
            << QList<QByteArray>{"RESPONSE.{[33 {\"a\":{\"b\":1}]}", "\r\n"}
            << QStringList{"RESPONSE|{[33 {\"a\":{\"b\":1}]}"} << QByteArray("\r\n");
}

void TestReplyFramer::cutting()
{
    QFETCH(QList<QByteArray>, reads);
    QFETCH(QStringList, replies);
    QFETCH(QByteArray, left);

    const QRegularExpression pattern(ReplyFramer::replyPatternText);
    ReplyFramer framer(pattern);
    QByteArray buffer;
    QCOMPARE(framedReplies(framer, buffer, reads), replies);
    QCOMPARE(buffer, left);
}

// A handler's nested event loop may cut the next frame while replies of the first
// are still being handed out: the order stays that of arrival, each reply once.
void TestReplyFramer::newFrameWhileHandingOut()
{
    const QRegularExpression pattern(ReplyFramer::replyPatternText);
    ReplyFramer framer(pattern);
    QByteArray buffer = "LOGS.{[a]}LOGS.{[b]}\r\nLOGS.{[c";
    QVERIFY(framer.cutFrame(buffer));
    ReplyFramer::Reply reply;
    QVERIFY(framer.takeNext(reply));
    QCOMPARE(reply.message, QStringLiteral("{[a]}"));

    buffer += "]}LOGS.{[d]}";
    QVERIFY(framer.cutFrame(buffer));
    QStringList rest;
    while (framer.takeNext(reply))
        rest.append(reply.message);
    QCOMPARE(rest, QStringList({"{[b]}", "{[c]}", "{[d]}"}));
    QVERIFY(buffer.isEmpty());
    QVERIFY(!framer.takeNext(reply));
}

void TestReplyFramer::restAfterReply()
{
    const QRegularExpression pattern(ReplyFramer::replyPatternText);
    ReplyFramer framer(pattern);
    QByteArray buffer = "RESPONSE.{[50]}\r\nU-Boot LOGS.{[x]}";
    QVERIFY(framer.cutFrame(buffer));
    ReplyFramer::Reply reply;
    QVERIFY(framer.takeNext(reply));
    QCOMPARE(framer.takeRest(), QStringLiteral("\r\nU-Boot LOGS.{[x]}"));
    QVERIFY(!framer.takeNext(reply));
    QCOMPARE(framer.takeRest(), QString());
}

void TestReplyFramer::payload_data()
{
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("payload");

    QTest::newRow("code") << "{[31]}"
                          << "31";
    QTest::newRow("up to the first closing") << "{[a]}b]}"
                                             << "a";
    QTest::newRow("white space kept") << "{[62 1\r\n]}"
                                      << "62 1\r\n";
    QTest::newRow("empty") << "{[]}"
                           << "";
    QTest::newRow("brace inside") << "{[33 {\"a\":{}}]}"
                                  << "33 {\"a\":{}}";
    QTest::newRow("kernel line inside") << "{[33 {\"a\":1\r\n[ 1.5] x]}\r\n}]}"
                                        << "33 {\"a\":1\r\n[ 1.5] x]}\r\n}";
}

void TestReplyFramer::payload()
{
    QFETCH(QString, message);
    QFETCH(QString, payload);
    QCOMPARE(ReplyFramer::payloadOf(message), payload);
}

QTEST_MAIN(TestReplyFramer)
#include "tst_replyframer.moc"
