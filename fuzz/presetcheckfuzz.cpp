#include "fuzz/presetcheckfuzz.h"

#include "fuzz/fuzzinput.h"

#include "settings/fieldcatalog.h"
#include "settings/presetcheck.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <iterator>

namespace {

constexpr int kindBits = 0x07;
constexpr int lengthShift = 3;
constexpr int textKeyFrom = 0xf0;
// Keys of a group start ten above its number: "200" holds "210" to "2xx".
constexpr int firstKeyOffset = 10;
constexpr int keySpread = 80;
constexpr int maxFields = 48;

const char *const groups[] = {"100", "150", "200", "300", "350", "400", "301", "999", "8"};
// What the pages' patterns and ranges turn on: digits, dots, signs, letters, spaces.
const QString alphabet = QStringLiteral("0123456789.-+:eE ,abfxAZ\"\\/ё•");

// Texts end with the input, so that a short input makes short values.
QString textOf(FuzzInput &reader, int length)
{
    return reader.text(int(qMin<qsizetype>(length, reader.remaining())));
}

QJsonValue valueOf(FuzzInput &reader, int kind, int length)
{
    switch (kind) {
    case 0:
    case 1:
        return textOf(reader, length);
    case 2:
        return textOf(reader, length).toDouble();
    case 3:
        return (length & 1) != 0;
    case 4:
        return QJsonArray{textOf(reader, length)};
    case 5:
        return QJsonObject{{"x", textOf(reader, length)}};
    case 6:
        return QJsonValue(QJsonValue::Null);
    default:
        return length * 1000003.5;
    }
}

[[noreturn]] void fail(const char *what, const QString &detail)
{
    std::fprintf(stderr, "preset check: %s: %s\n", what, qPrintable(detail));
    std::abort();
}

} // namespace

void PresetCheckFuzz::run(const QByteArray &input)
{
    FuzzInput reader(input, alphabet);
    QJsonObject document;
    for (int field = 0; field < maxFields && !reader.atEnd(); ++field) {
        const QString group = QLatin1String(groups[reader.next() % std::size(groups)]);
        const int keyByte = reader.next();
        const QString key = keyByte >= textKeyFrom
                ? textOf(reader, keyByte - textKeyFrom)
                : QString::number(group.toInt() + firstKeyOffset + keyByte % keySpread);
        const int kindByte = reader.next();
        const QJsonValue value = valueOf(reader, kindByte & kindBits, kindByte >> lengthShift);
        if (keyByte % keySpread == 0) {
            document.insert(group, value);
            continue;
        }
        QJsonObject fields = document.value(group).toObject();
        fields.insert(key, value);
        document.insert(group, fields);
    }

    const QList<PresetCheck::Problem> problems = PresetCheck::problems(document);
    QList<PresetCheck::Problem> broken;
    for (const PresetCheck::Problem &problem : problems) {
        // A field may have an empty key too; only a group that is no object has none.
        const QJsonValue group = document.value(problem.group);
        const QJsonValue held = group.isObject() ? group.toObject().value(problem.key) : group;
        if (held.isUndefined() || held != problem.value)
            fail("a problem names a value the document does not hold",
                 problem.group + '.' + problem.key);
        if (!problem.isUnknownKey())
            broken.append(problem);
        const QString said = PresetCheck::describe(problem);
        if (FieldCatalog::isSecret(problem.group, problem.key) && !problem.isUnknownKey()
            && !said.endsWith(FieldCatalog::shownValue(problem.group, problem.key, problem.value)))
            fail("a password is described", said);
    }
    const QList<PresetCheck::Problem> left
            = PresetCheck::problems(PresetCheck::withoutUnknownKeys(document));
    if (left.size() != broken.size())
        fail("leaving out unknown keys changed the other problems",
             QString::number(left.size()) + " != " + QString::number(broken.size()));
    for (qsizetype i = 0; i < left.size(); ++i) {
        if (left[i].group != broken[i].group || left[i].key != broken[i].key
            || left[i].rule != broken[i].rule)
            fail("leaving out unknown keys changed a problem", left[i].group + '.' + left[i].key);
    }
}
