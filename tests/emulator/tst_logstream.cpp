#include "emulator/logstream.h"

#include <QSignalSpy>
#include <QTest>

class tst_LogStream : public QObject
{
    Q_OBJECT

private slots:
    void sequence_data();
    void sequence();
    void stopDropsHeld();
};

void tst_LogStream::sequence_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<bool>("hideOnce");

    QTest::newRow("open stream") << QStringList{"a", "b", "c"} << false;
    QTest::newRow("hidden then shown") << QStringList{"a", "b", "c"} << true;
    QTest::newRow("single line repeats") << QStringList{"only"} << true;
}

// Emitted lines continue the cycle without gaps or repeats, whether or not
// the stream was hidden in between.
void tst_LogStream::sequence()
{
    QFETCH(QStringList, lines);
    QFETCH(bool, hideOnce);

    LogStream stream;
    stream.setLines(lines);
    stream.setIntervalMs(2);
    QSignalSpy spy(&stream, &LogStream::line);
    QVERIFY(spy.isValid());

    stream.start();
    QTRY_VERIFY(spy.count() >= 2);
    if (hideOnce) {
        stream.hide();
        QVERIFY(stream.hidden());
        const int before = spy.count();
        QTRY_VERIFY(stream.heldCount() >= 4);
        QCOMPARE(spy.count(), before);
        stream.show();
        QVERIFY(!stream.hidden());
        QCOMPARE(stream.heldCount(), 0);
    }
    QTRY_VERIFY(spy.count() >= 10);
    stream.stop();
    QVERIFY(!stream.streaming());

    for (int i = 0; i < spy.count(); ++i)
        QCOMPARE(spy.at(i).at(0).toString(), lines.at(i % lines.size()));
}

void tst_LogStream::stopDropsHeld()
{
    LogStream stream;
    stream.setLines({"x", "y"});
    stream.setIntervalMs(1);
    QSignalSpy spy(&stream, &LogStream::line);
    QVERIFY(spy.isValid());

    stream.hide();
    QVERIFY(!stream.hidden());
    stream.start();
    stream.hide();
    QTRY_VERIFY(stream.heldCount() >= 2);
    stream.stop();
    stream.show();
    QCOMPARE(spy.count(), 0);
    QCOMPARE(stream.heldCount(), 0);
}

QTEST_GUILESS_MAIN(tst_LogStream)
#include "tst_logstream.moc"
