#include "textfit.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QStyleOptionFrame>
#include <QtMath>

namespace {

// QLineEdit keeps this much free on each side of its text inside the contents rectangle.
constexpr int lineEditSidePx = 2;
// QComboBox draws its label one pixel inside the edit field on each side.
constexpr int comboLabelSidePx = 1;
// An item of a combo box's list keeps about this much free beside its text.
constexpr int listItemMarginsPx = 12;
// A push button puts this much space between its icon and its text.
constexpr int iconTextGapPx = 4;

QString describe(const QWidget *widget, const QString &text, int need, int room)
{
    const QString name = widget->objectName().isEmpty()
            ? QString::fromLatin1(widget->metaObject()->className())
            : widget->objectName();
    return QStringLiteral("%1 \"%2\" needs %3 px, has %4 px").arg(name, text).arg(need).arg(room);
}

// Text is laid out with fractional advances; any part of a pixel needs a whole one.
int advance(const QWidget *widget, const QString &text)
{
    return qCeil(QFontMetricsF(widget->font(), widget).horizontalAdvance(text));
}

QString withoutMnemonic(QString text)
{
    return text.replace(QStringLiteral("&&"), QStringLiteral("\x01"))
            .remove(QLatin1Char('&'))
            .replace(QLatin1Char('\x01'), QLatin1Char('&'));
}

void checkLabel(const QLabel *label, QStringList &found)
{
    if (label->text().isEmpty())
        return;
    if (label->wordWrap()) {
        const int need = label->heightForWidth(label->width());
        if (need > label->height())
            found.append(describe(label, label->text(), need, label->height()) + " of height");
        return;
    }
    // The label's own size hint measures plain and rich text with its margins.
    const QSize need = label->sizeHint();
    if (need.width() > label->width())
        found.append(describe(label, label->text(), need.width(), label->width()));
    if (need.height() > label->height())
        found.append(describe(label, label->text(), need.height(), label->height()) + " of height");
}

void checkButton(const QAbstractButton *button, QStringList &found)
{
    const QString text = withoutMnemonic(button->text());
    if (text.isEmpty())
        return;
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    option.icon = button->icon();
    option.iconSize = button->iconSize();
    QStyle::SubElement contents = QStyle::SE_PushButtonContents;
    if (qobject_cast<const QCheckBox *>(button))
        contents = QStyle::SE_CheckBoxContents;
    else if (qobject_cast<const QRadioButton *>(button))
        contents = QStyle::SE_RadioButtonContents;
    int room = button->style()->subElementRect(contents, &option, button).width();
    if (contents == QStyle::SE_PushButtonContents && !button->icon().isNull())
        room -= button->iconSize().width() + iconTextGapPx;
    const int need = advance(button, text);
    if (need > room)
        found.append(describe(button, text, need, room));
}

void checkComboBox(const QComboBox *box, QStringList &found)
{
    QStyleOptionComboBox option;
    option.initFrom(box);
    option.editable = box->isEditable();
    option.frame = box->hasFrame();
    const int field = box->style()
                              ->subControlRect(QStyle::CC_ComboBox, &option,
                                               QStyle::SC_ComboBoxEditField, box)
                              .width();
    // A list made to open wider than its box shows each item in full there.
    const int listRoom
            = box->view()->minimumWidth() - 2 * box->view()->frameWidth() - listItemMarginsPx;
    for (int item = 0; item < box->count(); ++item) {
        const QString text = box->itemText(item);
        int room = qMax(field - 2 * comboLabelSidePx, listRoom);
        if (!box->itemIcon(item).isNull())
            room -= box->iconSize().width() + iconTextGapPx;
        const int need = advance(box, text);
        if (need > room)
            found.append(describe(box, text, need, room));
    }
}

void checkLineEdit(const QLineEdit *edit, QStringList &found)
{
    const QString text = edit->displayText();
    if (text.isEmpty())
        return;
    QStyleOptionFrame option;
    option.initFrom(edit);
    option.lineWidth = edit->hasFrame()
            ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit)
            : 0;
    const QMargins margins = edit->textMargins();
    const int room
            = edit->style()->subElementRect(QStyle::SE_LineEditContents, &option, edit).width()
            - margins.left() - margins.right() - 2 * lineEditSidePx;
    const int need = advance(edit, text);
    if (need > room)
        found.append(describe(edit, text, need, room));
}

void check(const QWidget *widget, QStringList &found)
{
    if (const auto *label = qobject_cast<const QLabel *>(widget))
        checkLabel(label, found);
    else if (const auto *button = qobject_cast<const QAbstractButton *>(widget))
        checkButton(button, found);
    else if (const auto *box = qobject_cast<const QComboBox *>(widget))
        checkComboBox(box, found);
    else if (const auto *edit = qobject_cast<const QLineEdit *>(widget))
        checkLineEdit(edit, found);
}

} // namespace

QStringList TextFit::clippedTexts(const QWidget *root)
{
    QStringList found;
    check(root, found);
    for (const QObject *object : root->children()) {
        const auto *child = qobject_cast<const QWidget *>(object);
        if (child && !child->isWindow())
            found += clippedTexts(child);
    }
    return found;
}
