#pragma once
// The Blix channel assignment exchange: which sensor of which subsystem sits on which channel of
// which Blix unit, read from a tab-separated text file or a workbook into the project's channel
// database, checked against the model's subsystems and the sensor catalogue, copied into the
// sensor bundles that stand for the units, and written back as text. Every problem of a run is an
// entry of its error report, which the caller writes beside the file.
//
// An import reads the whole file before it touches anything: a file that cannot be opened or read
// leaves the database as it was. The rows read are then checked into a new database that replaces
// the old one, so the rows that passed are kept also when others failed. The sensor catalogue
// changes only then, and only for the units of the rows that passed: a row that fails its checks
// neither makes a bundle nor empties one.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "platform/archive/Object.h"
#include "platform/base/Feedback.h"
#include "platform/elements/StdioFile.h"

class CBlixChDB;
class CExcelWrapper;
class CSensorProject;
class CZuSubsystemTable;

class CBlixChIO
{
public:
    // Error codes of the report, in the order it prints them.
    enum ErrorCode
    {
        errOpenImport = 0,
        errOpenExport = 1,
        errRead = 2,
        errDataMissing = 3,
        errSubsystem = 4,
        errBlixSN = 5,
        errBlixCh = 6,
        errSensor = 7,
        errBundle = 8,
        errCreateExcel = 9,
        errWorkbooks = 10,
        errOpenWorkbook = 11,
        errWorksheets = 12,
        errWorksheet = 13,
        errCodeCount = 14,
    };

    // The parameters of one run: the file, the database to fill or write, and what the rows are
    // checked against (the model's subsystem table and the sensor catalogue of the project).
    class CParams
    {
    public:
        CParams() = default;
        CParams(std::string path, CBlixChDB* db, const CZuSubsystemTable* subsystems, CSensorProject* sensors)
            : m_path(std::move(path)), m_db(db), m_subsystems(subsystems), m_sensors(sensors)
        {}
        const std::string& GetPath() const { return m_path; }
        void SetPath(const std::string& path) { m_path = path; }
        CBlixChDB* GetDB() const { return m_db; }
        const CZuSubsystemTable* GetSubsystems() const { return m_subsystems; }
        CSensorProject* GetSensorProject() const { return m_sensors; }

    private:
        std::string m_path;
        CBlixChDB* m_db = nullptr;
        const CZuSubsystemTable* m_subsystems = nullptr;
        CSensorProject* m_sensors = nullptr;
    };

    class CErrItem
    {
    public:
        CErrItem() = default;
        CErrItem(int code, std::vector<std::string> params) : m_code(code), m_params(std::move(params)) {}
        int GetCode() const { return m_code; }
        void SetCode(int code) { m_code = code; }
        const std::vector<std::string>& GetParams() const { return m_params; }
        void AddParam(const std::string& p) { m_params.push_back(p); }
        // Appends the parameters joined by tabs and a CR LF.
        void Format(std::string& text) const;

    private:
        int m_code = -1;
        std::vector<std::string> m_params;
    };

    class CErrRep
    {
    public:
        void Add(std::unique_ptr<CErrItem> item) { m_items.push_back(std::move(item)); }
        void Add(int code, std::vector<std::string> params)
        {
            Add(std::make_unique<CErrItem>(code, std::move(params)));
        }
        // Appends the entries of a code (still owned by the report); returns the result's count.
        int GetItemsByCode(int code, std::vector<const CErrItem*>& result) const;
        void DeleteAll() { m_items.clear(); }
        int GetCount() const { return static_cast<int>(m_items.size()); }
        // Each code with entries in code order (heading, a line per entry, an empty line), or
        // "### NO ERROR ###" when there is none; lines end with CR LF.
        std::string GetText() const;
        // The heading the report prints for a code.
        static const char* Heading(int code);

    private:
        std::vector<std::unique_ptr<CErrItem>> m_items;
    };

    // The common part of one run.
    class CIOBase : public CObject
    {
    public:
        CIOBase(const CParams& params, CErrRep& report, CFeedback* progress)
            : m_params(params), m_report(report), m_progress(progress)
        {}
        // 1 when the run reported no error.
        virtual int Run() = 0;
        // Opens the file for reading, or creates it anew for writing.
        virtual bool Open(bool reading);

    protected:
        // One row as read, after trimming: subsystem, serial number, channel, sensor.
        struct Row
        {
            std::string subsystem, serial, channel, sensor;
            std::vector<std::string> Fields() const { return {subsystem, serial, channel, sensor}; }
        };
        // The checks of the fields of a row. CheckSerial gives the stored serial number and notes
        // the unit's bundle identifier; the catalogue itself is left alone until the run commits.
        // The subsystems and sensors are looked up through indexes built once per run, so a run
        // is linear in its rows.
        bool CheckSubsystem(const Row& row);
        // The unit number of a serial-number field: the number it begins with, or the number of
        // the stored form our export writes; false when it holds none.
        static bool ReadSerialNumber(const std::string& field, int& n);
        bool CheckSerial(const Row& row, std::string& stored);
        bool CheckChannel(const Row& row, uint8_t& channel) const;
        bool CheckSensor(const Row& row);
        // Copies the database into the bundles of its units, making the bundles that are missing;
        // only the units the database names are touched. False when an entry has no bundle.
        bool ApplyToBundles(const CBlixChDB& db);
        // The new database replaces the one of the parameters.
        void Commit(CBlixChDB& db);

        CStdioFile m_file;
        const CParams& m_params;
        CErrRep& m_report;
        CFeedback* m_progress;
        // The bundle identifier of each stored serial number met.
        std::map<std::string, std::string> m_bundleOf;

    private:
        std::unordered_set<std::string> m_subsystemNames;
        std::unordered_set<std::string> m_sensorIDs;
        bool m_subsystemsIndexed = false;
        bool m_sensorsIndexed = false;
    };

    class CImport : public CIOBase
    {
    public:
        CImport(const CParams& params, CErrRep& report, CFeedback* progress);
        int Run() override;
        const std::string& GetTitle() const { return m_title; }

    protected:
        // Reads the lines: false (error 2) when reading fails.
        bool ReadLines();
        // Adds a checked row to db as an entry with the stored serial number and channel.
        static void AddEntry(CBlixChDB& db, const Row& row, const std::string& stored, uint8_t channel);
        // The end of a run: db, sorted, replaces the parameters' database and goes to the units'
        // bundles; 1 when that worked and no error was reported.
        int Conclude(CBlixChDB& db);

        std::vector<uint32_t> m_lineNumbers;
        std::vector<std::string> m_lines;
        std::string m_title;
    };

    class CImportXl : public CImport
    {
    public:
        CImportXl(const CParams& params, CErrRep& report, CFeedback* progress);
        ~CImportXl() override;
        int Run() override;

    private:
        std::unique_ptr<CExcelWrapper> m_excel;
    };

    class CExport : public CIOBase
    {
    public:
        CExport(const CParams& params, CErrRep& report, CFeedback* progress, std::string tag)
            : CIOBase(params, report, progress), m_tag(std::move(tag))
        {}
        int Run() override;

    private:
        std::string m_tag;
    };

    CBlixChIO();
    ~CBlixChIO();

    void SetParams(const CParams* params) { m_params = params; }
    const CParams* GetParams() const { return m_params; }
    CErrRep* GetErrRep() const { return m_report.get(); }
    // Progress of long runs (not owned); silent until set (null sets it silent again).
    void SetFeedback(CFeedback* progress) { m_progress = progress ? progress : SilentFeedback(); }

    // Reads the file of the parameters: a workbook for ".xls" and ".xlsx" in any case, text
    // otherwise. Gives the file's title; 1 when the run found no error.
    int Import(std::string& title);
    // Writes the database as text under the tag; 1 when no error was reported.
    int Export(const std::string& tag);
    // Writes the report text; 1, or 0 when the file cannot be written.
    int WriteErrorReport(const std::string& path) const;

    // The column line of the text file.
    static constexpr const char* kColumnLine = "[Subsystem]\t[BLIX SN]\t[BLIX CH]\t[Sensor]";

private:
    const CParams* m_params = nullptr;
    std::unique_ptr<CErrRep> m_report;
    CFeedback* m_progress = SilentFeedback();
};
