#include "emulator/pseudoterminal.h"

#include <QFile>
#include <QFileInfo>
#include <QtTest>

#include <unistd.h>

class TestPseudoTerminal : public QObject
{
    Q_OBJECT

private slots:
    void numberLockedByLiveProcessIsPassedOver();
};

// A serial port program that still holds the lock of a device number whose device went
// away: a new device under that number could not be opened by anyone.
void TestPseudoTerminal::numberLockedByLiveProcessIsPassedOver()
{
    QString freed;
    {
        PseudoTerminal first;
        QVERIFY2(first.open(), qPrintable(first.errorString()));
        freed = first.slavePath();
    }
    const QString lockDirectory = QStringLiteral("/var/lock");
    if (!QFileInfo(lockDirectory).isWritable())
        QSKIP("the serial ports' lock directory is not writable here");
    QFile lock(lockDirectory + "/LCK.."
               + freed.mid(QStringLiteral("/dev/").size()).replace('/', '_'));
    QVERIFY(lock.open(QIODevice::NewOnly));
    lock.write(QByteArray::number(qint64(::getpid())) + "\nholder\nhost\n");
    lock.close();

    PseudoTerminal next;
    const bool opened = next.open();
    lock.remove();
    QVERIFY2(opened, qPrintable(next.errorString()));
    QVERIFY(next.slavePath() != freed);
}

QTEST_GUILESS_MAIN(TestPseudoTerminal)
#include "tst_pseudoterminal.moc"
