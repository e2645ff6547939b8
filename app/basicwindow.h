#pragma once

#include <QWidget>

// The program's only top-level window.
class BasicWindow : public QWidget
{
    Q_OBJECT

public:
    static constexpr int minimumWidthPx = 1081;
    static constexpr int minimumHeightPx = 635;

    explicit BasicWindow(QWidget *parent = nullptr);
};
