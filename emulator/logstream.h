#pragma once

#include "emulator/surveytraffic.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QStringList>

class QTimer;

// The packet-forwarder log as the core streams it: one line per tick, in a
// cycle over the configured lines, or survey traffic, whose clock runs while the
// stream does. While hidden the lines are held back and released in order when
// shown again.
class LogStream : public QObject
{
    Q_OBJECT

public:
    explicit LogStream(QObject *parent = nullptr);

    static QStringList defaultLines();

    void setLines(const QStringList &lines);
    void setIntervalMs(int intervalMs);
    void setSurvey(bool survey);
    SurveyTraffic &surveyTraffic();

    void start();
    void stop();
    void hide();
    void show();
    bool streaming() const;
    bool hidden() const;
    int heldCount() const;

signals:
    void line(const QString &text);

private:
    void tick();
    void deliver(const QString &text);
    qint64 surveyTimeMs() const;

    QTimer *timer;
    QStringList lines;
    bool surveying = false;
    SurveyTraffic traffic;
    QElapsedTimer surveyClock;
    qint64 surveyRunMs = 0;
    QStringList held;
    int next = 0;
    bool isHidden = false;
};
