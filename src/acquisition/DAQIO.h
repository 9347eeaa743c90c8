#pragma once
// The measurement file (".daq") of one measured data set: four header strings naming the program
// that wrote it, the data set, and a copy of the experiment project that holds only that data
// set's experiment and its measured samples. Files lie in the work folder of the document that
// holds the data set, named after its description, DAQ project, serial number and subsystems.
//
// Saving writes a temporary file beside the target and renames it over the target only when
// everything was written, so a failed save leaves the previous file as it was. Reading treats the
// file as untrusted: a cut or forged file is refused with an error record, never read on.
//
// Errors of single files are collected (code and data set) and the remaining data sets are still
// processed. The data sets read belong to this object: the experiment project that LoadOne or
// MergeProjects returns lists them until this object is destroyed (MergeProjects replaces them
// with the listed data sets before it returns).
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/base/Feedback.h"
#include "platform/elements/MElementList.h"

class CExpProject;
class CMElement;
class CObject;

struct tagERRORINFO
{
    tagERRORINFO(int code_ = 0, CMElement* element_ = nullptr, std::string reason_ = {})
        : code(code_), element(element_), reason(std::move(reason_))
    {}

    int code = 0;
    CMElement* element = nullptr;
    // What the system said when a file could not be opened or written (a full disk, the file-size
    // limit); empty when it said nothing.
    std::string reason;
};

class CDAQIO
{
public:
    enum ErrorCode
    {
        errNone = 0,
        errNotFound = 1,
        errOpen = 2,
        errEmpty = 3,
        errInvalid = 4, // not a measurement file, or cut or forged
        errReadOnly = 5,
        errMissing = 6, // a requested data set is not in what was read
        errWrite = 7,   // writing: the file was opened but could not be written whole
    };
    // The text every file's first header string contains.
    static constexpr const char* kExeNameTag = "EXENAME:";

    explicit CDAQIO(CMElement* dataSet);
    explicit CDAQIO(const CMElementList& dataSets);
    virtual ~CDAQIO();
    CDAQIO(const CDAQIO&) = delete;
    CDAQIO& operator=(const CDAQIO&) = delete;

    // Where the warnings of saves and reads go (not owned); silent until set (null sets it silent
    // again).
    void SetFeedback(CFeedback* feedback) { m_feedback = feedback ? feedback : SilentFeedback(); }

    // 1: the listed data sets take the description and calculation options of the data sets read.
    void SetMode(int mode) { m_mode = mode; }
    int GetMode() const { return m_mode; }

    // "%s_%02d%02d_%s-%s.daq" of description, DAQ project ID, serial number and subsystem names,
    // keeping only letters, digits, '-' and '_' before the extension; empty for no data set.
    static std::string GetDaqFileName(CMElement* dataSet);
    // The file name in the work folder of the data set's document; empty without one.
    static std::string GetDaqFilePath(CMElement* dataSet);

    // Writes every listed data set with a copy of base; 1 when all were written (also for none),
    // 0 when base is missing or any failed. Two data sets of one save that would share a file are
    // refused (a warning, IDS_TEXT_TWICE), none of them written.
    int SaveAll(CExpProject* base);
    int SaveOne(CMElement* dataSet, CExpProject* base);
    // The experiment project of one data set's file; null on failure (recorded).
    std::unique_ptr<CExpProject> LoadOne(CMElement* dataSet);
    // The experiment project of the measurement file at path, which lists the data set read from
    // the file; null on failure (recorded). The data set belongs to this object until it is taken
    // with ReleaseRead.
    std::unique_ptr<CExpProject> LoadFile(const std::string& path);
    // Hands over the data sets read so far (the projects returned list them).
    std::vector<std::unique_ptr<CObject>> ReleaseRead();
    // Reads every listed data set and joins them into one experiment project; null when nothing
    // could be read or a listed data set is missing from what was read (error 6).
    std::unique_ptr<CExpProject> MergeProjects();

    const std::vector<tagERRORINFO>& GetErrorList() const { return m_errors; }
    tagERRORINFO GetFirstError() const;
    // The message text of an error: its message formatted with the data set's file name, then the
    // system's reason on a line of its own.
    static std::string FormatError(const tagERRORINFO& error);
    // The message text of an error of a file read by its path (LoadFile).
    static std::string FormatFileError(const tagERRORINFO& error, const std::string& path);
    static uint32_t MessageIdOf(int code);

    // Header strings of a file written now.
    static std::vector<std::string> MakeHeaderStrings();

private:
    void AddError(int code, CMElement* element, std::string reason = {})
    {
        m_errors.push_back({code, element, std::move(reason)});
    }
    std::unique_ptr<CExpProject> LoadPath(CMElement* dataSet, const std::string& path);
    // Reads a file's contents after its header; throws archive errors.
    std::unique_ptr<CExpProject> ReadBody(CMElement* dataSet, const std::string& path, bool* notMeasurementFile);

    int m_mode = 0;
    CMElementList m_dataSets;
    std::vector<tagERRORINFO> m_errors;
    std::vector<std::unique_ptr<CObject>> m_read; // data sets read
    CFeedback* m_feedback = SilentFeedback();
};
