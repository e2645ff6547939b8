#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QtTest>

// Each folder of the program may include from the floors below it, never from
// above: the window over the pages over what the pages share over the link over
// the settings document. The pages do not include one another.
class TestFloors : public QObject
{
    Q_OBJECT

private slots:
    void noIncludeRunsUpward();
};

void TestFloors::noIncludeRunsUpward()
{
    const QHash<QString, int> floorOf{{"settings", 0}, {"link", 1},   {"pagekit", 2}, {"lora", 3},
                                      {"network", 3},  {"device", 3}, {"window", 4}};
    const QRegularExpression include(QStringLiteral("^#include \"(\\w+)/[^\"]+\""),
                                     QRegularExpression::MultilineOption);
    QStringList upward;
    int files = 0;
    for (auto folder = floorOf.constBegin(); folder != floorOf.constEnd(); ++folder) {
        QDirIterator it(QStringLiteral(KELVANE_SOURCE_DIR "/") + folder.key(),
                        {QStringLiteral("*.h"), QStringLiteral("*.cpp")}, QDir::Files);
        while (it.hasNext()) {
            QFile source(it.next());
            QVERIFY(source.open(QIODevice::ReadOnly));
            ++files;
            auto matches = include.globalMatch(QString::fromUtf8(source.readAll()));
            while (matches.hasNext()) {
                const QString target = matches.next().captured(1);
                const bool samePageFolder = target == folder.key();
                if (floorOf.contains(target) && !samePageFolder
                    && floorOf.value(target) >= folder.value())
                    upward.append(folder.key() + '/' + it.fileName() + " -> " + target);
            }
        }
    }
    QVERIFY(files > 0);
    QCOMPARE(upward, QStringList());
}

QTEST_MAIN(TestFloors)
#include "tst_floors.moc"
