#pragma once

#include <QJsonObject>
#include <QWidget>

class SPortConnector;
class TyrnServerBox;

// The "other settings" tab: holds the local server box.
class OtherSettings : public QWidget
{
    Q_OBJECT

public:
    static constexpr int referenceWidthPx = 905;
    static constexpr int referenceHeightPx = 582;

    explicit OtherSettings(QObject *parent = nullptr);

    void setSettings(QJsonObject group);
    QJsonObject getSettings() const;
    void attachLink(SPortConnector *link);
    void detachLink();

signals:
    void usingLocalServer(bool state);

public slots:
    void setLocalServerIdintity(int state);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    TyrnServerBox *serverBox;
};
