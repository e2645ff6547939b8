#include "window/presetactions.h"

#include "pagekit/importedvalues.h"
#include "settings/fieldcatalog.h"
#include "settings/presetcheck.h"
#include "settings/presetfile.h"
#include "settings/settingshandlerandcollector.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QWidget>

namespace {

constexpr int leftColumnX = 10;
constexpr int buttonWidthPx = 131;
constexpr int buttonHeightPx = 24;
// Distances from the window's bottom edge.
constexpr int holdBoxFromBottomPx = 205;
constexpr int holdBoxWidthPx = 135;
constexpr int holdBoxHeightPx = 21;
constexpr int exportFromBottomPx = 175;
constexpr int importFromBottomPx = 145;

} // namespace

PresetActions::PresetActions(QWidget *window, Host *host)
    : QObject(window), window(window), host(host)
{
    exportPress = new QPushButton(tr("Экспорт настроек"), window);
    exportPress->setObjectName(QStringLiteral("exportButton"));
    importPress = new QPushButton(tr("Импорт настроек"), window);
    importPress->setObjectName(QStringLiteral("importButton"));
    connect(exportPress, &QPushButton::pressed, this, &PresetActions::savePresets);
    connect(importPress, &QPushButton::pressed, this, &PresetActions::loadPresets);
}

QString PresetActions::presetDirectory()
{
    const QString programDirectory = QCoreApplication::applicationDirPath();
    if (QFileInfo(programDirectory).isWritable())
        return programDirectory;
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

void PresetActions::place(int windowHeight)
{
    if (holdSettingsBox)
        holdSettingsBox->setGeometry(leftColumnX, windowHeight - holdBoxFromBottomPx,
                                     holdBoxWidthPx, holdBoxHeightPx);
    exportPress->setGeometry(leftColumnX, windowHeight - exportFromBottomPx, buttonWidthPx,
                             buttonHeightPx);
    importPress->setGeometry(leftColumnX, windowHeight - importFromBottomPx, buttonWidthPx,
                             buttonHeightPx);
}

void PresetActions::dropImport()
{
    delete holdSettingsBox;
    holdSettingsBox = nullptr;
    holdSettings = false;
    loadedPreset = QJsonObject();
}

void PresetActions::retainSettingsChanged(bool state)
{
    holdSettings = state;
}

// Saves a copy: the held document stays the picture of the gateway's settings
// that the next apply compares against.
void PresetActions::savePresets()
{
    const QJsonObject document
            = SettingsRules(host->modelCode())
                      .exportDocument(SettingsHandlerAndCollector::getInstance()->getSettings(),
                                      host->shownGroups(false));
    if (SettingsHandlerAndCollector::hasEmptyFields(document)) {
        host->showBox(QMessageBox::Critical, tr("Ошибка"),
                      tr("Невозможно сохранить пустые настройки"));
        return;
    }
    const QString fileName
            = host->askPresetSaveName(QStringLiteral("%1/GatewaySettings").arg(presetDirectory()));
    if (fileName.isEmpty())
        return;

    const PresetFile::WriteResult result = PresetFile::write(fileName, document);
    switch (result.status) {
    case PresetFile::WriteStatus::Ok:
        host->showBox(QMessageBox::Information, tr("Настройки"), tr("Настройки сохранены!"));
        break;
    case PresetFile::WriteStatus::CannotOpen:
        host->showBox(QMessageBox::Warning, tr("Ошибка открытия файла"),
                      tr("Не удалось открыть файл") + QStringLiteral(":\n") + result.errorString);
        break;
    case PresetFile::WriteStatus::WriteFailed:
        host->showBox(QMessageBox::Warning, tr("Ошибка записи файла"),
                      tr("Не удалось записать файл %1: %2.\nФайл не изменён.")
                              .arg(QDir::toNativeSeparators(fileName), result.errorString));
        break;
    }
}

void PresetActions::loadPresets()
{
    const QString fileName = host->askPresetOpenName(presetDirectory());
    if (fileName.isEmpty())
        return;

    const PresetFile::ReadResult result = PresetFile::read(fileName);
    switch (result.status) {
    case PresetFile::ReadStatus::Ok: {
        // The pages show the preset; the held document stays the picture of what the
        // gateway holds, which the next apply and the pending list compare against.
        SettingsHandlerAndCollector *collector = SettingsHandlerAndCollector::getInstance();
        const SettingsRules rules(host->modelCode());
        const QJsonObject gatewayPicture = collector->getSettings();
        const QStringList foreign = rules.foreignGroups(result.document);
        QJsonObject preset = result.document;
        for (const QString &group : foreign)
            preset.remove(group);
        const QList<PresetCheck::Problem> problems = PresetCheck::problems(preset);
        loadedPreset = PresetCheck::withoutUnknownKeys(preset);
        collector->replaceSettings(rules.importedDocument(gatewayPicture, loadedPreset));
        host->fillPagesFromCollector(false);
        collector->replaceSettings(gatewayPicture);
        ImportedValues::mark(window, problems);
        host->updatePendingChanges();
        QString warning = ImportedValues::message(problems);
        if (!foreign.isEmpty()) {
            QStringList names;
            for (const QString &group : foreign) {
                const QString box = FieldCatalog::groupName(group);
                names.append(box.isEmpty() ? FieldCatalog::pageName(group) : box);
            }
            warning = tr("Пресет сделан для другой модели: у %1 нет групп\n%2\nОни не "
                         "загружены, остальное загружено.")
                              .arg(host->modelName(), names.join(QLatin1Char('\n')))
                    + (warning.isEmpty() ? QString() : QStringLiteral("\n\n") + warning);
        }
        if (!warning.isEmpty())
            host->showBox(QMessageBox::Warning, tr("Импорт настроек"), warning);
        break;
    }
    case PresetFile::ReadStatus::CannotOpen:
        host->showBox(QMessageBox::Warning, tr("Ошибка открытия файла"),
                      tr("Не удалось открыть файл"));
        break;
    case PresetFile::ReadStatus::Empty:
        host->showBox(QMessageBox::Warning, tr("Ошибка чтения файла"), tr("Файл пустой"));
        break;
    case PresetFile::ReadStatus::NotSettings:
        host->showBox(QMessageBox::Warning, tr("Ошибка чтения файла"),
                      tr("Файл %1 не является файлом настроек базовой станции.")
                              .arg(QDir::toNativeSeparators(fileName)));
        break;
    }
    createHoldSettingsBox();
}

void PresetActions::createHoldSettingsBox()
{
    if (holdSettingsBox)
        return;
    holdSettingsBox = new QCheckBox(tr("Удержать настройки"), window);
    holdSettingsBox->setObjectName(QStringLiteral("holdSettingsBox"));
    place(window->height());
    holdSettingsBox->show();
    connect(holdSettingsBox, &QCheckBox::clicked, this, &PresetActions::retainSettingsChanged);
}
