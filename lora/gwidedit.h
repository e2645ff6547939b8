#pragma once

#include <QLineEdit>

// Gateway-ID field: read-only until the operator double-clicks it with the left button.
class GWIDEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit GWIDEdit(QWidget *parent);

signals:
    void doubleClick();

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;
};
