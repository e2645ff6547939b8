#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QtTest>

// Each folder of the program includes only from the floors below it: the window
// over the pages over what the pages share over the link over the settings
// document. The gateway session stands on the link under the window and the
// command line, and nothing below them includes it. The pages do not include one
// another, and what runs without widgets (the link, the settings, the session, the
// report, the command line) includes no widget floor.
class TestFloors : public QObject
{
    Q_OBJECT

private slots:
    void noIncludeRunsUpward();
};

void TestFloors::noIncludeRunsUpward()
{
    const QStringList ground{"settings"};
    const QStringList core = ground + QStringList{"link", "survey"};
    const QStringList session = core + QStringList{"session"};
    const QStringList pageKit = core + QStringList{"pagekit"};
    const QHash<QString, QStringList> mayInclude{
            {"settings", {}},
            {"survey", {}},
            {"link", ground},
            {"session", core},
            {"report", ground + QStringList{"survey"}},
            {"pagekit", core},
            {"lora", pageKit},
            {"network", pageKit},
            {"device", pageKit},
            {"window", pageKit + QStringList{"session", "report", "lora", "network", "device"}},
            {"cli", session + QStringList{"report"}},
    };
    const QRegularExpression include(QStringLiteral("^#include \"(\\w+)/[^\"]+\""),
                                     QRegularExpression::MultilineOption);
    QStringList upward;
    int files = 0;
    for (auto folder = mayInclude.constBegin(); folder != mayInclude.constEnd(); ++folder) {
        QDirIterator it(QStringLiteral(KELVANE_SOURCE_DIR "/") + folder.key(),
                        {QStringLiteral("*.h"), QStringLiteral("*.cpp")}, QDir::Files);
        while (it.hasNext()) {
            QFile source(it.next());
            QVERIFY(source.open(QIODevice::ReadOnly));
            ++files;
            auto matches = include.globalMatch(QString::fromUtf8(source.readAll()));
            while (matches.hasNext()) {
                const QString target = matches.next().captured(1);
                if (target != folder.key() && mayInclude.contains(target)
                    && !folder.value().contains(target))
                    upward.append(folder.key() + '/' + it.fileName() + " -> " + target);
            }
        }
    }
    QVERIFY(files > 0);
    QCOMPARE(upward, QStringList());
}

QTEST_MAIN(TestFloors)
#include "tst_floors.moc"
