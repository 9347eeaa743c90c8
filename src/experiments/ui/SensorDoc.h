#pragma once
// The document of the sensor window: the sensor project of the open project and the project
// document that owns it (neither owned). At most one exists. It imports and exports the sensor
// list file, copies sensor properties into the measured data, and tells its views about changes.
#include "platform/win/CommandTable.h"

#include <QObject>

#include <functional>
#include <string>
#include <vector>

class CDaqProject;
class CMElement;
class CSensor;
class CSensorProject;
class CTALVODoc;

class CSensorDoc : public QObject
{
    Q_OBJECT
public:
    // Property key under which the title of the last sensor-list import is recorded.
    static constexpr int kFilePropSensorTitle = 39;

    CSensorDoc(CSensorProject* project, CTALVODoc* projectDoc, QObject* parent = nullptr);
    ~CSensorDoc() override;

    static CSensorDoc* GetSensorDoc();

    CSensorProject* GetSensorProject() const { return m_project; }
    CTALVODoc* GetProjectDoc() const { return m_projectDoc; }
    std::string GetTitle() const;

    // The document's commands (import, export, copy into the measured data): the sensor window
    // gives them to the document whatever view is in front.
    using CommandTable = TCommandTable<CSensorDoc, CSensorDoc>;
    static const CommandTable& Commands();
    bool OnCommand(int id);
    bool IsCommandEnabled(int id) const;

    // 1158: replaces the catalogue with a sensor list file; a file that cannot be read is reported
    // and the catalogue kept.
    bool OnImport();
    // 1171: writes the sensor list file after an ordinary save dialog (it asks before overwriting).
    bool DoFileSave();
    // 1239: copies the sensor properties into the measured data of every DAQ project.
    bool OnPushToMeasuredData();

    // Records an import title as a file property of the project container.
    void RecordImportTitle(const std::string& title);
    // The catalogue changed: the project document is modified and every view updates.
    void SetModified(CSensor* hint = nullptr, int code = 1);
    // Views rebuild; with a sensor, the list shows it (code 0: without refreshing its tab).
    void UpdateAllViews(CSensor* hint = nullptr, int code = 0);

    // Saves the measured data of the channel records of one DAQ project to their files; false with
    // a reason on failure. The measured-data layer installs it; without one, command 1239 is off.
    using MeasuredDataSaver =
        std::function<bool(CDaqProject& project, const std::vector<CMElement*>& channels, std::string& error)>;
    static void SetMeasuredDataSaver(MeasuredDataSaver saver);
    static bool HasMeasuredDataSaver();

signals:
    void Updated(CSensor* hint, int code);

private:
    CSensorProject* m_project;
    CTALVODoc* m_projectDoc;
};
