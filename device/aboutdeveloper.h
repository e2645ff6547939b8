#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

// The about window: name, logo, version and the maker's contacts. A closed
// window releases itself, so guarded pointers to it become null.
class AboutDeveloper : public QWidget
{
    Q_OBJECT

public:
    explicit AboutDeveloper(QWidget *parent = nullptr);

    void setThemeLogo(int colorScheme);

signals:
    void closed();

public slots:
    void Close();

private:
    QLabel *nameLabel;
    QLabel *logoLabel;
    QLabel *versionLabel;
    QLabel *supportLabel;
    QLabel *developerLabel;
    QLabel *noticeLabel;
    QPushButton *closeButton;
};
