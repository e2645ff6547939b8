#include "survey/forwarderlogparser.h"
#include "survey/surveystatistics.h"

#include <QtTest>

// Log text in, packets and statistics out, checked as the parser fills them.
class TestForwarderLogParser : public QObject
{
    Q_OBJECT

private slots:
    void log_data();
    void log();
};

void TestForwarderLogParser::log_data()
{
    QTest::addColumn<QString>("text"); // pieces as they arrive, cut at '|'
    QTest::addColumn<QString>("figures");
    const QString up = R"(JSON up: {"rxpk":[{"freq":864.500000,"stat":1,"datr":|"SF9BW125",)"
                       R"("lsnr":-3.5,"rssi":-97,"size":23})";
    const QString block = "# RF packets received by concentrator: 12\n# CRC_OK: 75.00%, "
                          "CRC_FAIL: 25.00%, NO_CRC: 0.00%\n# PUSH_DATA acknowledged: 0.00%\n"
                          "### Concentrator temperature: 41 C ###\n# PULL_DATA sent: 3 (66.67% "
                          "acknowledged)\n[up] PUSH_ACK received in 41 ms\nx: PUSH_ACK received "
                          "in 6|3 ms\n";
    QTest::newRow("one packet (syslog prefix, cut, CRLF), statistics block, PUSH_ACK")
            << "Dec  7 05:00:01 gw fwd[812]: " + up + "] }\r|\n" + block
            << "1 0 0 864.5 SF9BW125 1 -97 -3.5 nan 0 20000 864.5 1 1 0 0 -97 -97 -97 -3.5 -3.5 "
               "-3.5 6 SF9 0 -97 -97 nan -97 12 75 0 66.67 down 41 52";
    const QString more = R"(, {"freq":864.1,"stat":-1,"datr":"SF12BW125","rssi":-120,"rssis":-123,)"
                         R"("lsnr":-21.2,"foff":-312}],"stat":{"rxnb":2}})";
    QTest::newRow("several with rssis, foff and a stat object")
            << up + more + "\n"
            << "2 0 0 864.1 SF12BW125 -1 -120 -21.2 -123 -312 10000 864.1 1 0 1 0 nan nan nan nan "
               "nan nan 6 SF12 864.5 1 1 0 0 -97 -97 -97 -3.5 -3.5 -3.5 6 SF9 1 -97 -97 nan -97";
    const QString garbled = "]}\nJSON up: {\"rxpk\":[{\"freq\":864.1,\"rssi\":-9}]}\nINFO: "
                            "Received pkt\n##### END #####\n\n# PUSH_DATA acknowledged: %\n";
    QTest::newRow("garbled, cut short and unknown lines") << up.left(50) + garbled << "0 3 3";

    // One packet per piece, 10 s apart.
    const auto packet = [](const char *mhz, int stat, int rssi, double snr, int factor) {
        return QString::asprintf("|JSON up: {\"rxpk\":[{\"freq\":%s,\"stat\":%d,\"rssi\":%d,"
                                 "\"lsnr\":%g,\"datr\":\"SF%dBW125\"}]}\n",
                                 mhz, stat, rssi, snr, factor);
    };
    QTest::newRow("even and odd counts, CRC-bad apart, per channel")
            << packet("864.1", 1, -100, 5, 7) + packet("868.9", 1, -110, 0, 12)
                    + packet("864.1", 1, -90, -2.5, 9) + packet("864.1", -1, -130, -20, 7)
                    + packet("868.9", 0, -60, 2, 12) + packet("864.1", 1, -80, 7.25, 7)
                    + packet("868.9", 1, -75, -4, 12) + packet("864.1", 1, -70, 1, 7)
            << "8 0 0 864.1 SF7BW125 1 -70 1 nan 0 80000 864.1 5 4 1 0 -85 -97 -73 3 -1.45 6.575 3 "
               "SF7 SF9 868.9 3 2 0 1 -75 -103 -63 0 -3.2 1.6 2 SF12 1 -70 -80 nan -100";
    QString steps;
    for (int i = 0; i < 30; ++i)
        steps += packet("864.1", i == 27 ? -1 : 1, i - 120, i, 7);
    QTest::newRow("ring of the newest 25; aiming: the newest ten against the ten before")
            << steps
            << "30 0 0 864.1 SF7BW125 1 -91 29 nan 0 300000 864.1 30 29 1 0 -106 -117.2 -94.8 14 "
               "2.8 25.2 5 SF7 1 -91 -96.5 -106.5 -115";
}

// Written out: the counts of lines, the newest packet, the figures per channel, aiming and
// the oldest packet held, the statistics block.
void TestForwarderLogParser::log()
{
    QFETCH(QString, text);
    SurveyStatistics statistics(25);
    ForwarderLogParser parser(&statistics);
    const QStringList pieces = text.split('|');
    for (int i = 0; i < pieces.size(); ++i)
        parser.feed(pieces.at(i), i * 10000);
    const auto n = [](double value) {
        return QString::number(value, 'g', 6);
    };
    QStringList out{n(statistics.packets()), n(parser.malformedLines()), n(parser.unknownLines())};
    if (statistics.packets() > 0) {
        const SurveyPacket &p = statistics.heldPacket(statistics.heldPackets() - 1);
        out << n(p.frequencyMhz()) << p.dataRate() << n(p.crc) << n(p.rssi) << n(p.snr)
            << n(p.rssis) << n(p.foffHz) << n(p.heardMs);
        for (const auto &c : statistics.channels(p.heardMs + 10000)) {
            out << n(c.frequencyMhz) << n(c.packets) << n(c.crcOk) << n(c.crcBad) << n(c.noCrc)
                << n(c.rssi.median) << n(c.rssi.low) << n(c.rssi.high) << n(c.snr.median)
                << n(c.snr.low) << n(c.snr.high) << n(c.packetsPerMinute);
            for (int factor : c.spreadingFactors)
                out << "SF" + n(factor);
        }
        const SurveyStatistics::Aiming aiming = statistics.aiming();
        out << n(statistics.crcBad()) << n(aiming.lastRssi) << n(aiming.recentRssi)
            << n(aiming.earlierRssi) << n(statistics.heldPacket(0).rssi);
    }
    const SurveyStatistics::Block b = statistics.lastBlock();
    if (b.number > 0)
        out << n(*b.received) << n(*b.crcOkPercent) << n(*b.pushAcknowledgedPercent)
            << n(*b.pullAcknowledgedPercent) << (statistics.pushUnacknowledged() ? "down" : "up")
            << n(*statistics.temperature()) << n(statistics.pushAck().median);
    QTEST(out.join(' '), "figures");
}

QTEST_MAIN(TestForwarderLogParser)
#include "tst_forwarderlogparser.moc"
