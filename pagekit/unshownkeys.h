#pragma once

#include <QJsonObject>
#include <QStringList>

// Keys of a settings group that no field of its box shows (a newer gateway
// core's settings): the box keeps them from the group it was filled with and
// hands them back unchanged, so neither an apply nor a preset file drops them.
class UnshownKeys
{
public:
    // ownKeys: every key the box itself reads or writes, also those it
    // sometimes leaves out; those are never carried.
    explicit UnshownKeys(QStringList ownKeys);

    // Keeps the group's other keys in place of the ones kept before.
    void keepFrom(const QJsonObject &group);
    // The built group with the kept keys added.
    QJsonObject addedTo(QJsonObject built) const;

private:
    QStringList own;
    QJsonObject kept;
};
