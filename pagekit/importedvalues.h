#pragma once

#include "settings/presetcheck.h"

#include <QCoreApplication>
#include <QList>
#include <QString>

class QWidget;

// The fields of a preset import that broke their rules, on the pages and in the
// import's message.
class ImportedValues
{
    Q_DECLARE_TR_FUNCTIONS(ImportedValues)

public:
    // Marks each field below root whose value broke its rule, as a typed value is.
    static void mark(QWidget *root, const QList<PresetCheck::Problem> &problems);
    // What the operator reads about them; empty without problems.
    static QString message(const QList<PresetCheck::Problem> &problems);
};
