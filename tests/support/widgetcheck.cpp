#include "widgetcheck.h"

#include <QImage>
#include <QPixmap>
#include <QWidget>

namespace {

QString describe(const QWidget *widget)
{
    const QRect g = widget->geometry();
    const QString name = widget->objectName().isEmpty()
            ? QString::fromLatin1(widget->metaObject()->className())
            : widget->objectName();
    return QStringLiteral("%1(%2,%3 %4x%5)")
            .arg(name)
            .arg(g.x())
            .arg(g.y())
            .arg(g.width())
            .arg(g.height());
}

QList<const QWidget *> visibleChildren(const QWidget *parent)
{
    QList<const QWidget *> children;
    for (const QObject *object : parent->children()) {
        const auto *widget = qobject_cast<const QWidget *>(object);
        if (widget && !widget->isHidden() && !widget->isWindow())
            children.append(widget);
    }
    return children;
}

} // namespace

QStringList WidgetCheck::overlappingSiblings(const QWidget *root, const QStringList &allowed)
{
    QStringList found;
    const QList<const QWidget *> children = visibleChildren(root);
    for (int i = 0; i < children.size(); ++i) {
        for (int j = i + 1; j < children.size(); ++j) {
            if (allowed.contains(children[i]->objectName())
                || allowed.contains(children[j]->objectName()))
                continue;
            if (children[i]->geometry().intersects(children[j]->geometry()))
                found.append(describe(children[i]) + QStringLiteral(" overlaps ")
                             + describe(children[j]));
        }
    }
    for (const QWidget *child : children)
        found += overlappingSiblings(child, allowed);
    return found;
}

QStringList WidgetCheck::outsideParent(const QWidget *root)
{
    QStringList found;
    const QRect inside(QPoint(0, 0), root->size());
    for (const QWidget *child : visibleChildren(root)) {
        if (!inside.contains(child->geometry()))
            found.append(describe(child) + QStringLiteral(" outside ") + describe(root));
        found += outsideParent(child);
    }
    return found;
}

QStringList WidgetCheck::layoutProblems(const QWidget *root)
{
    return overlappingSiblings(root) + outsideParent(root);
}

QStringList WidgetCheck::unpainted(QWidget *root, const QStringList &names)
{
    const QImage picture = root->grab().toImage();
    QStringList found;
    for (const QString &name : names) {
        const QWidget *child = root->findChild<QWidget *>(name);
        const QRect area = child && child->isVisibleTo(root)
                ? QRect(child->mapTo(root, QPoint(0, 0)), child->size()).intersected(picture.rect())
                : QRect();
        bool flat = true;
        for (int y = area.top(); flat && y <= area.bottom(); ++y)
            for (int x = area.left(); flat && x <= area.right(); ++x)
                flat = picture.pixel(x, y) == picture.pixel(area.topLeft());
        if (flat)
            found.append(name);
    }
    return found;
}
