#pragma once

#include "settings/settingsrules.h"

#include <QJsonObject>
#include <QObject>
#include <QString>

class QCheckBox;
class QPushButton;
class QWidget;

// Export and import of preset files, and the hold box that an import offers. The
// held document stays what the gateway reported: an import changes the pages, an
// export writes what they show.
class PresetActions : public QObject
{
    Q_OBJECT

public:
    // What the actions need of the window.
    class Host
    {
    public:
        virtual ~Host() = default;
        // The file dialogs; an empty name means cancelled.
        virtual QString askPresetSaveName(const QString &proposedPath) = 0;
        virtual QString askPresetOpenName(const QString &startDirectory) = 0;
        virtual int modelCode() const = 0;
        virtual QString modelName() const = 0;
        virtual SettingsRules::PageGroups shownGroups(bool withGatewayId) const = 0;
        virtual void fillPagesFromCollector(bool withGatewayId) = 0;
        virtual void updatePendingChanges() = 0;
        virtual void showBox(int icon, const QString &title, const QString &text) = 0;
    };

    PresetActions(QWidget *window, Host *host);

    // Where presets and reports are proposed: beside the program, unless it is
    // installed where the operator cannot write.
    static QString presetDirectory();

    QPushButton *exportButton() const { return exportPress; }
    QPushButton *importButton() const { return importPress; }
    // The hold box is ticked: a read changes only the gateway IDs on the pages.
    bool holding() const { return holdSettings; }
    // What the last import holds that no page shows.
    QJsonObject loaded() const { return loadedPreset; }
    // A read replaced the pages: the import and its hold box are over.
    void dropImport();
    // Places the buttons and the hold box at their distances from the bottom edge.
    void place(int windowHeight);

    void savePresets();
    void loadPresets();
    void retainSettingsChanged(bool state);

private:
    void createHoldSettingsBox();

    QWidget *window;
    Host *host;
    QPushButton *exportPress;
    QPushButton *importPress;
    QCheckBox *holdSettingsBox = nullptr;
    bool holdSettings = false;
    QJsonObject loadedPreset;
};
