#include "survey/surveystatistics.h"

#include <QtTest>

class TestSurveyStatistics : public QObject
{
    Q_OBJECT

private slots:
    void figures_data();
    void figures();
};

void TestSurveyStatistics::figures_data()
{
    QTest::addColumn<int>("capacity");
    QTest::addColumn<QString>("packets"); // "MHz stat rssi snr s sf", in the order heard
    QTest::addColumn<QString>("figures");

    QTest::newRow("even and odd counts, CRC-bad apart, per channel")
            << 100
            << "864.1 1 -100 5 0 7,868.9 1 -110 0 10 12,864.1 1 -90 -2.5 30 9,864.1 -1 -130 -20 "
               "40 7,868.9 0 -60 2 50 12,864.1 1 -80 7.25 70 7,868.9 1 -75 -4 75 12,864.1 1 -70 1 "
               "80 7"
            << "864.1 5 4 1 0 -70 -85 -97 -73 1 3 -1.45 6.575 3 SF7 SF9 "
               "868.9 3 2 0 1 -75 -75 -103 -63 -4 0 -3.2 1.6 2 SF12 8 1 -70 -80 nan -100";
    QStringList steps;
    for (int i = 0; i < 30; ++i)
        steps << QStringLiteral("864.1 %1 %2 %3 %4 7")
                         .arg(i == 27 ? -1 : 1)
                         .arg(i - 120)
                         .arg(i)
                         .arg(2 * i);
    QTest::newRow("ring keeps the newest, aiming compares the last ten with ten before")
            << 25 << steps.join(',')
            << "864.1 30 29 1 0 -91 -106 -117.2 -94.8 29 14 2.8 25.2 25 SF7 30 1 -91 -96.5 "
               "-106.5 -115";
}

void TestSurveyStatistics::figures()
{
    QFETCH(int, capacity);
    QFETCH(QString, packets);
    SurveyStatistics statistics(capacity);
    for (int round = 0; round < 2; ++round) {
        statistics.reset();
        for (const QString &text : packets.split(',')) {
            const QStringList f = text.split(' ');
            SurveyPacket packet;
            packet.frequencyHz = qRound(f.at(0).toDouble() * 1e6);
            packet.crc = qint8(f.at(1).toInt());
            packet.rssi = f.at(2).toFloat();
            packet.snr = f.at(3).toFloat();
            packet.heardMs = f.at(4).toLongLong() * 1000;
            packet.spreadingFactor = qint8(f.at(5).toInt());
            statistics.addPacket(packet);
        }
    }
    const auto n = [](double value) {
        return QString::number(value, 'g', 6);
    };
    QStringList out;
    for (const auto &c : statistics.channels(statistics.lastHeardMs() + 10000)) {
        out << n(c.frequencyMhz) << n(c.packets) << n(c.crcOk) << n(c.crcBad) << n(c.noCrc)
            << n(c.rssi.last) << n(c.rssi.median) << n(c.rssi.low) << n(c.rssi.high)
            << n(c.snr.last) << n(c.snr.median) << n(c.snr.low) << n(c.snr.high)
            << n(c.packetsPerMinute);
        for (int factor : c.spreadingFactors)
            out << "SF" + n(factor);
    }
    const SurveyStatistics::Aiming aiming = statistics.aiming();
    out << n(statistics.packets()) << n(statistics.crcBad()) << n(aiming.lastRssi)
        << n(aiming.recentRssi) << n(aiming.earlierRssi) << n(statistics.heldPacket(0).rssi);
    QTEST(out.join(' '), "figures");
}

QTEST_MAIN(TestSurveyStatistics)
#include "tst_surveystatistics.moc"
