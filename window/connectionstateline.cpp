#include "window/connectionstateline.h"

#include <QFontMetrics>
#include <QStringList>

namespace {
// A label measures its text by bounding boxes, which may reach a pixel past the advance.
constexpr int elisionSlackPx = 2;
} // namespace

ConnectionStateLine::ConnectionStateLine(QWidget *parent) : QLabel(parent)
{
    setObjectName(QStringLiteral("stateLine"));
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    showText();
}

void ConnectionStateLine::setState(State state, const QString &model, const QString &adapter)
{
    current = state;
    this->model = model;
    this->adapter = adapter;
    showText();
}

QString ConnectionStateLine::fullText() const
{
    switch (current) {
    case State::NotConnected:
        return tr("Не подключено");
    case State::Connecting:
        return tr("Подключение…");
    case State::Connected:
        return tr("Подключено: %1\n%2").arg(model, adapter);
    case State::Rebooting:
        return tr("Перезагрузка…");
    case State::WaitingForAdapter:
        return tr("Адаптер отключён,\nждём его возвращения");
    case State::Lost:
        return tr("Соединение потеряно");
    }
    return QString();
}

void ConnectionStateLine::showText()
{
    const QString full = fullText();
    QStringList rows = full.split(QLatin1Char('\n'));
    const QFontMetrics metrics(font());
    for (QString &row : rows)
        row = metrics.elidedText(row, Qt::ElideMiddle, width() - elisionSlackPx);
    setText(rows.join(QLatin1Char('\n')));
    setToolTip(full);
}

void ConnectionStateLine::resizeEvent(QResizeEvent *event)
{
    QLabel::resizeEvent(event);
    showText();
}
