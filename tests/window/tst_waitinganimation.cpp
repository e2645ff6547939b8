#include "window/waitinganimation.h"

#include <QPropertyAnimation>
#include <QtTest>

class TestWaitingAnimation : public QObject
{
    Q_OBJECT

private slots:
    void placedOnceInTheParentsCentre();
    void startShowsAndRuns();
    void startTwiceIsOneStart();
    void stopHidesAndHalts();
    void stopWhenIdleChangesNothing();
    void fadesAlternate();
    void restartKeepsTheLastDirection();

private:
    static QPropertyAnimation *animationOf(WaitingAnimation &spinner)
    {
        return spinner.findChild<QPropertyAnimation *>();
    }
};

void TestWaitingAnimation::placedOnceInTheParentsCentre()
{
    QWidget window;
    window.resize(1081, 635);
    WaitingAnimation spinner(&window);
    QCOMPARE(spinner.geometry(), QRect(490, 267, 100, 100));
    QVERIFY(spinner.isHidden());

    window.resize(1400, 900);
    QCOMPARE(spinner.pos(), QPoint(490, 267));
}

void TestWaitingAnimation::startShowsAndRuns()
{
    QWidget window;
    WaitingAnimation spinner(&window);
    QPropertyAnimation *animation = animationOf(spinner);
    QVERIFY(animation);
    QCOMPARE(animation->duration(), 1000);
    spinner.setDuration(1500);
    QCOMPARE(animation->duration(), 1500);

    spinner.start();
    QVERIFY(!spinner.isHidden());
    QCOMPARE(animation->state(), QAbstractAnimation::Running);
    QCOMPARE(animation->startValue().toDouble(), 1.0);
    QCOMPARE(animation->endValue().toDouble(), 0.0);
}

void TestWaitingAnimation::startTwiceIsOneStart()
{
    QWidget window;
    WaitingAnimation spinner(&window);
    spinner.setDuration(400);
    QPropertyAnimation *animation = animationOf(spinner);
    spinner.start();
    QTRY_VERIFY(animation->currentTime() > 0);
    const int before = animation->currentTime();
    spinner.start();
    // A restart would have thrown the fade back to its beginning.
    QVERIFY(animation->currentTime() >= before);
    QCOMPARE(animation->endValue().toDouble(), 0.0);
}

void TestWaitingAnimation::stopHidesAndHalts()
{
    QWidget window;
    WaitingAnimation spinner(&window);
    spinner.setDuration(50);
    QPropertyAnimation *animation = animationOf(spinner);
    QSignalSpy finished(animation, &QPropertyAnimation::finished);
    QVERIFY(finished.isValid());

    spinner.start();
    spinner.stop();
    QVERIFY(spinner.isHidden());
    QCOMPARE(animation->state(), QAbstractAnimation::Stopped);
    QVERIFY(!finished.wait(300));
    QCOMPARE(animation->state(), QAbstractAnimation::Stopped);
}

void TestWaitingAnimation::stopWhenIdleChangesNothing()
{
    QWidget window;
    WaitingAnimation spinner(&window);
    QPropertyAnimation *animation = animationOf(spinner);
    spinner.stop();
    QVERIFY(spinner.isHidden());
    QCOMPARE(animation->state(), QAbstractAnimation::Stopped);
    QCOMPARE(animation->endValue().toDouble(), 0.0);
}

void TestWaitingAnimation::fadesAlternate()
{
    QWidget window;
    WaitingAnimation spinner(&window);
    spinner.setDuration(30);
    QPropertyAnimation *animation = animationOf(spinner);
    QSignalSpy finished(animation, &QPropertyAnimation::finished);
    QVERIFY(finished.isValid());

    spinner.start();
    QVERIFY(finished.wait(2000));
    QCOMPARE(animation->startValue().toDouble(), 0.0);
    QCOMPARE(animation->endValue().toDouble(), 1.0);
    QCOMPARE(animation->state(), QAbstractAnimation::Running);

    QVERIFY(finished.wait(2000));
    QCOMPARE(animation->startValue().toDouble(), 1.0);
    QCOMPARE(animation->endValue().toDouble(), 0.0);
    spinner.stop();
}

void TestWaitingAnimation::restartKeepsTheLastDirection()
{
    QWidget window;
    WaitingAnimation spinner(&window);
    spinner.setDuration(30);
    QPropertyAnimation *animation = animationOf(spinner);
    QSignalSpy finished(animation, &QPropertyAnimation::finished);
    QVERIFY(finished.isValid());

    spinner.start();
    QVERIFY(finished.wait(2000));
    spinner.stop();
    spinner.start();
    QCOMPARE(animation->endValue().toDouble(), 1.0);
    spinner.stop();
}

QTEST_MAIN(TestWaitingAnimation)
#include "tst_waitinganimation.moc"
