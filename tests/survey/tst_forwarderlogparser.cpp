#include "survey/forwarderlogparser.h"
#include "survey/surveystatistics.h"

#include <QtTest>

class TestForwarderLogParser : public QObject
{
    Q_OBJECT

private slots:
    void lines_data();
    void lines();
};

void TestForwarderLogParser::lines_data()
{
    QTest::addColumn<QString>("text"); // pieces as they arrive, cut at '|'
    QTest::addColumn<QString>("figures");

    const QString up = R"(JSON up: {"rxpk":[{"chan":2,"rfch":1,"freq":864.500000,"stat":1,|)"
                       R"("datr":"SF9BW125","codr":"4/5","lsnr":-3.5,"rssi":-97,"size":23})";
    QTest::newRow("one packet (syslog prefix, cut, CRLF), statistics block, round trips")
            << "Dec  7 05:00:01 gw lora_pkt_fwd[812]: " + up + "] }\r|\n"
                    + "# RF packets received by concentrator: 12\n### [UPSTREAM] ###\n"
                      "# CRC_OK: 75.00%, CRC_FAIL: 25.00%, NO_CRC: 0.00%\n"
                      "# RF packets forwarded: 9 (230 bytes)\n# PUSH_DATA datagrams sent: 4 (1 "
                      "bytes)\n# PUSH_DATA acknowledged: 0.00%\n# PULL_DATA sent: 3 (66.67% "
                      "acknowledged)\n### Concentrator temperature: 41 C ###\n# GPS coordinates: "
                      "latitude 55.75124, longitude 37.6, altitude 156 m\nINFO: [up] PUSH_ACK "
                      "received in 41 ms\nx: INFO: [down] PULL_ACK received in 12|0 ms\n"
                      "INFO: [up] PUSH_ACK received in 63 ms\n"
            << "1 0 1 864.5 2 1 SF9BW125 1 -97 -3.5 nan 23 0 1002 12 75 9 4 0 66.67 down 41 "
               "55.7512 63 52 120";
    QTest::newRow("several with rssis, foff and a stat object")
            << up
                    + R"(, {"chan":0,"freq":864.1,"stat":-1,"datr":"SF12BW125","rssi":-120,)"
                      R"("rssis":-123,"lsnr":-21.2,"foff":-312,"size":5}],"stat":{"rxnb":2}})"
                      "\n"
            << "2 0 0 864.1 0 0 SF12BW125 -1 -120 -21.2 -123 5 -312 1001";
    QTest::newRow("garbled, cut short and unknown lines") << up.left(70)
                    + "]}\nJSON up: {\"rxpk\":[{\"freq\":864.1,\"rssi\":-9}]}\nINFO: Received "
                      "pkt\n##### END #####\n\n# PUSH_DATA acknowledged: %\n"
                                                          << "0 3 3";
}

// The text is fed in its pieces, one ms apart; what it leaves is written out in one line,
// so that a row names every figure it checks.
void TestForwarderLogParser::lines()
{
    QFETCH(QString, text);
    SurveyStatistics statistics;
    ForwarderLogParser parser(&statistics);
    const QStringList pieces = text.split('|');
    for (int i = 0; i < pieces.size(); ++i)
        parser.feed(pieces.at(i), 1000 + i);

    const auto n = [](double value) {
        return QString::number(value, 'g', 6);
    };
    QStringList out{n(statistics.packets()), n(parser.malformedLines()), n(parser.unknownLines())};
    if (statistics.packets() > 0) {
        const SurveyPacket &p = statistics.heldPacket(statistics.heldPackets() - 1);
        out << n(p.frequencyMhz()) << n(p.chan) << n(p.rfch) << p.dataRate() << n(p.crc)
            << n(p.rssi) << n(p.snr) << n(p.rssis) << n(p.size) << n(p.foffHz) << n(p.heardMs);
    }
    const SurveyStatistics::Block b = statistics.lastBlock();
    if (b.number > 0)
        out << n(*b.received) << n(*b.crcOkPercent) << n(*b.forwarded) << n(*b.pushSent)
            << n(*b.pushAcknowledgedPercent) << n(*b.pullAcknowledgedPercent)
            << (statistics.pushUnacknowledged() ? "down" : "up") << n(*statistics.temperature())
            << n(statistics.gps().latitude) << n(statistics.pushAck().last)
            << n(statistics.pushAck().median) << n(statistics.pullAck().last);
    QTEST(out.join(' '), "figures");
}

QTEST_MAIN(TestForwarderLogParser)
#include "tst_forwarderlogparser.moc"
