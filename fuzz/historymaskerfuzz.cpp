#include "fuzz/historymaskerfuzz.h"

#include "fuzz/fuzzinput.h"

#include "link/historymasker.h"
#include "link/replyframer.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QList>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <iterator>

namespace {

constexpr int passwordLengthBits = 0x0f;
constexpr int maxPasswordLength = 12;
constexpr int echoBit = 0x10;
constexpr int pieceShift = 5;
constexpr int kindBits = 0x07;
constexpr int kernelLineBit = 0x08;
constexpr int valueLengthShift = 4;
constexpr int maxFields = 32;

// What JSON, the console and the masker treat specially, and what settings values
// hold, so that secrets and the text around them share characters often.
const QString alphabet = QStringLiteral("013ak-.:\"\\{}[], @~#•ёЖ\tlns/_x");

struct Field
{
    const char *group;
    const char *key;
    bool secret;
};

// The SIM, Wi-Fi, access-point and server passwords, their neighbours, and keys
// that look like theirs where nothing is secret.
constexpr Field fields[] = {
        {"100", "110", false},  {"100", "111", false}, {"150", "112", false}, {"200", "213", false},
        {"200", "214", true},   {"200", "224", true},  {"300", "320", false}, {"350", "351", false},
        {"350", "352", false},  {"350", "353", true},  {"350", "362", false}, {"350", "363", true},
        {"400", "410", false},  {"400", "420", true},  {"100", "353", false}, {"999", "214", false},
        {"350", "3530", false},
};

enum Kind { Text, TextWithPassword, Number, Boolean, List, Object };
constexpr int kindCount = 8;
constexpr Kind kinds[kindCount]
        = {Text, Text, TextWithPassword, TextWithPassword, Number, Boolean, List, Object};

const QString kernelLine = QStringLiteral("\r\n[  812.110000] usb 1-1: USB disconnect\r\n");

QString jsonText(const QJsonValue &value)
{
    const QString array
            = QString::fromUtf8(QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact));
    return array.sliced(1, array.size() - 2);
}

// One member of a group as sent and as it must be written down.
struct Member
{
    QString group;
    QString raw;
    QString masked;
    QString rawWithKernelLine;
    QString maskedWithKernelLine;
};

Member readMember(FuzzInput &reader, const QString &password)
{
    const Field &field = fields[reader.next() % std::size(fields)];
    const int head = reader.next();
    const int length = head >> valueLengthShift;
    const bool withKernelLine = head & kernelLineBit;
    const int kernelAt = withKernelLine ? reader.next() : 0;
    const QString chars = reader.text(length);
    QJsonValue value;
    switch (kinds[head & kindBits]) {
    case Text:
        value = chars;
        break;
    case TextWithPassword:
        value = chars.left(length / 2) + password + chars.mid(length / 2);
        break;
    case Number:
        value = length * 1000 + head;
        break;
    case Boolean:
        value = (head & 1) != 0;
        break;
    case List:
        value = QJsonArray{chars, password};
        break;
    case Object:
        value = QJsonObject{{chars, password}};
        break;
    }
    const QString keyPart = QStringLiteral("\"%1\":").arg(QLatin1String(field.key));
    const QString valuePart = jsonText(value);
    const QString hidden = value.isString() ? '"' + HistoryMasker::mask + '"' : HistoryMasker::mask;
    Member member{QString::fromLatin1(field.group),
                  keyPart + valuePart,
                  keyPart + (field.secret ? hidden : valuePart),
                  {},
                  {}};
    member.rawWithKernelLine = member.raw;
    member.maskedWithKernelLine = member.masked;
    if (!withKernelLine)
        return member;
    const qsizetype at = kernelAt % (member.raw.size() + 1);
    // Text that goes on like a kernel line after one would be taken for its rest.
    if (ReplyFramer::startsKernelLine(member.raw.mid(at) + '}') == ReplyFramer::KernelLine::Yes)
        return member;
    member.rawWithKernelLine.insert(at, kernelLine);
    if (!field.secret || at <= keyPart.size()) {
        member.maskedWithKernelLine.insert(at, kernelLine);
    } else if (value.isString() && at < member.raw.size()) {
        member.maskedWithKernelLine.insert(member.masked.size() - 1, kernelLine);
    } else {
        member.maskedWithKernelLine += kernelLine;
    }
    return member;
}

// The members grouped as a settings document, in the order the groups first came.
QString document(const QList<Member> &members, QString Member::*text)
{
    QList<QString> groups;
    for (const Member &member : members) {
        if (!groups.contains(member.group))
            groups.append(member.group);
    }
    QStringList parts;
    for (const QString &group : groups) {
        QStringList inGroup;
        for (const Member &member : members) {
            if (member.group == group)
                inGroup.append(member.*text);
        }
        parts.append(QStringLiteral("\"%1\":{%2}").arg(group, inGroup.join(QLatin1Char(','))));
    }
    return '{' + parts.join(QLatin1Char(',')) + '}';
}

QString session(const QString &echo, const QString &host, const QString &password,
                const QString &read, const QString &applied)
{
    return echo + QStringLiteral("\r\nroot@") + host
            + QStringLiteral(":~# KVNCore\r\nRESPONSE.{[33 ") + read + QStringLiteral("]}\r\n-sh: ")
            + password + QStringLiteral(": not found\r\nREQUEST.{[--25 ") + applied
            + QStringLiteral("]}\r\nRESPONSE.{[31]}\r\n");
}

void mustEqual(const char *what, const QString &out, const QString &expected)
{
    if (out == expected)
        return;
    std::fprintf(stderr, "%s\nwritten:  %s\nexpected: %s\n", what, qUtf8Printable(out),
                 qUtf8Printable(expected));
    std::abort();
}

} // namespace

void HistoryMaskerFuzz::run(const QByteArray &input)
{
    FuzzInput reader(input, alphabet);
    const int head = reader.next();
    quint32 cutState = reader.next() | 0x100u;
    const QString password = reader.text((head & passwordLengthBits) % maxPasswordLength + 1);
    const bool echoed = head & echoBit;
    const int longestPiece = 1 << (head >> pieceShift);
    QList<Member> members;
    while (!reader.atEnd() && members.size() < maxFields)
        members.append(readMember(reader, password));

    // The host name holds the password, as "kelvane-gw" holds the default one.
    const QString host = password + QStringLiteral("-gw");
    const QString beforeTyping
            = QStringLiteral("\r\n") + host + QStringLiteral(" login: root\r\nPassword: ");
    const QString afterTyping = session(echoed ? password : QString(), host, password,
                                        document(members, &Member::rawWithKernelLine),
                                        document(members, &Member::raw));
    const QString expected = beforeTyping
            + session(echoed ? HistoryMasker::mask : QString(), host, password,
                      document(members, &Member::maskedWithKernelLine),
                      document(members, &Member::masked));

    HistoryMasker masker;
    QString out;
    for (const QString *part : {&beforeTyping, &afterTyping}) {
        if (part == &afterTyping)
            masker.expectSecretEcho(password);
        for (qsizetype at = 0; at < part->size();) {
            // xorshift, so that an input cuts the same way every time it runs.
            cutState ^= cutState << 13;
            cutState ^= cutState >> 17;
            cutState ^= cutState << 5;
            const qsizetype length = 1 + cutState % longestPiece;
            out += masker.maskPiece(part->mid(at, length));
            at += length;
        }
    }
    mustEqual("stream", out, expected);

    const QString reply = QStringLiteral("{[33 ") + document(members, &Member::rawWithKernelLine)
            + QStringLiteral("]}");
    mustEqual("one reply", HistoryMasker::maskAlone(reply),
              QStringLiteral("{[33 ") + document(members, &Member::maskedWithKernelLine)
                      + QStringLiteral("]}"));
}
