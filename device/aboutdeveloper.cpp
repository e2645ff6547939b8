#include "device/aboutdeveloper.h"

#include "pagekit/colorscheme.h"

#include <QDate>
#include <QFont>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QRect>

namespace {

const QString applicationName = QStringLiteral("Tyrn Kelvane");
const QString version = QStringLiteral("1.1.2");
const QString buildDate = QStringLiteral("11.12.2025");
const QString buildTime = QStringLiteral("09:56");

const QString makerName = QStringLiteral("Tyrnholm");
const QString supportPhones = QStringLiteral("+7 000 000-00-00<br>+7 000 000-00-01");
const QString supportMail = QStringLiteral("help@tyrnholm.example");
const QString forumUrl = QStringLiteral("https://forum.tyrnholm.example");
const QString mainSiteUrl = QStringLiteral("https://www.tyrnholm.example");
const QString iotSiteUrl = QStringLiteral("https://iot.example.com");

const QString fontFamily = QStringLiteral("Segoe UI");

const QRect nameGeometry(20, 10, 321, 41);
const QRect logoGeometry(20, 60, 141, 242);
const QRect versionGeometry(170, 60, 171, 51);
const QRect supportGeometry(170, 110, 171, 131);
const QRect developerGeometry(170, 250, 171, 101);
const QRect noticeGeometry(110, 370, 171, 31);
const QRect closeGeometry(290, 400, 80, 24);

constexpr int windowWidthPx = 388;
constexpr int windowHeightPx = 439;
constexpr int namePointSize = 18;
constexpr int textPointSize = 10;
constexpr int noticePointSize = 8;

QString link(const QString &url, const QString &text)
{
    return QStringLiteral("<a href=\"%1\">%2</a>").arg(url, text.toHtmlEscaped());
}

QString heading(const QString &text)
{
    return QStringLiteral("<b>%1</b><br><br>").arg(text.toHtmlEscaped());
}

} // namespace

AboutDeveloper::AboutDeveloper(QWidget *parent)
    : QWidget(parent), nameLabel(new QLabel(applicationName, this)), logoLabel(new QLabel(this)),
      versionLabel(new QLabel(this)), supportLabel(new QLabel(this)),
      developerLabel(new QLabel(this)), noticeLabel(new QLabel(this)),
      closeButton(new QPushButton(tr("Закрыть"), this))
{
    // Released on close: no hidden windows pile up, and guarded pointers clear.
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("О программе"));
    setFixedSize(windowWidthPx, windowHeightPx);
    setFont(QFont(fontFamily));

    nameLabel->setObjectName(QStringLiteral("nameLabel"));
    logoLabel->setObjectName(QStringLiteral("logoLabel"));
    versionLabel->setObjectName(QStringLiteral("versionLabel"));
    supportLabel->setObjectName(QStringLiteral("supportLabel"));
    developerLabel->setObjectName(QStringLiteral("developerLabel"));
    noticeLabel->setObjectName(QStringLiteral("noticeLabel"));
    closeButton->setObjectName(QStringLiteral("closeButton"));

    nameLabel->setGeometry(nameGeometry);
    logoLabel->setGeometry(logoGeometry);
    versionLabel->setGeometry(versionGeometry);
    supportLabel->setGeometry(supportGeometry);
    developerLabel->setGeometry(developerGeometry);
    noticeLabel->setGeometry(noticeGeometry);
    closeButton->setGeometry(closeGeometry);

    QFont nameFont(fontFamily, namePointSize, QFont::Bold);
    nameLabel->setFont(nameFont);
    QFont textFont(fontFamily, textPointSize);
    QFont noticeFont(fontFamily, noticePointSize, QFont::Bold);

    versionLabel->setText(
            tr("Версия: %1<br>Дата сборки: %2 - <br>%3").arg(version, buildDate, buildTime));
    supportLabel->setText(heading(tr("Техническая поддержка:")) + supportPhones
                          + QStringLiteral("<br>")
                          + link(QStringLiteral("mailto:") + supportMail, supportMail)
                          + QStringLiteral("<br>") + link(forumUrl, tr("Форум")));
    developerLabel->setText(heading(tr("Разработчик:")) + makerName.toHtmlEscaped()
                            + QStringLiteral("<br>") + link(mainSiteUrl, tr("Основной сайт"))
                            + QStringLiteral("<br>") + link(iotSiteUrl, tr("Сайт IOT")));
    for (QLabel *label : {versionLabel, supportLabel, developerLabel}) {
        label->setFont(textFont);
        label->setTextFormat(Qt::RichText);
        label->setOpenExternalLinks(true);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::LinksAccessibleByMouse
                                       | Qt::LinksAccessibleByKeyboard);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }

    // The heading is wider than the column in some fonts.
    supportLabel->setWordWrap(true);

    noticeLabel->setFont(noticeFont);
    noticeLabel->setText(
            tr("© %1 Tyrnholm").arg(QDate::currentDate().toString(QStringLiteral("yyyy"))));

    // Like the window frame, the button closes without announcing closed().
    connect(closeButton, &QPushButton::pressed, this, &QWidget::close);

    setThemeLogo(ColorScheme::current());
}

void AboutDeveloper::setThemeLogo(int colorScheme)
{
    const QString path = colorScheme == ColorScheme::Dark ? tr(":/Logo/ImageDevRU_w.png")
                                                          : tr(":/Logo/ImageDevRU.png");
    logoLabel->setPixmap(QPixmap(path));
}

void AboutDeveloper::Close()
{
    close();
    emit closed();
}
