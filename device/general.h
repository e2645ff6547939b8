#pragma once

#include <QGroupBox>
#include <QJsonObject>
#include <QList>
#include <QMap>
#include <QRect>
#include <QString>

class QLabel;
class QPushButton;

// What the gateway reports about itself, with its current IP addresses shown
// one interface at a time.
class General : public QGroupBox
{
    Q_OBJECT

public:
    General(QString title, QRect geometry, QWidget *parent);

    void setDeviceInfo(QJsonObject info);

protected:
    void resizeEvent(QResizeEvent *event) override;

private slots:
    void shiftRight();
    void shiftLeft();

private:
    struct ValueRow
    {
        QString key;
        QLabel *value;
    };
    struct Placed
    {
        QWidget *widget;
        int referenceX;
    };

    QLabel *addLabel(const QString &text, const QRect &geometry, const QString &name);
    void addRow(const QString &caption, const QString &key, int captionX, int valueX, int y,
                bool selectable);
    void showCurrentIp();

    QMap<QString, QString> ipList;
    // Caption of the entry shown; a key rather than an iterator, because the
    // list is rebuilt on every update.
    QString currentIp;

    QLabel *ipCaption;
    QLabel *ipValue;
    QPushButton *leftArrow;
    QPushButton *rightArrow;
    QList<ValueRow> valueRows;
    QList<Placed> placed;
};
