#pragma once
// The history of the source files a project file was made from: which application of the product
// family wrote which file, with version, dates, model name and note. One entry per file; a file
// made from other files has their entries as children. The project document stores one after its
// own data.
#include "platform/elements/MElement.h"
#include "platform/elements/ZuStdDataList.h"

#include <cstdint>
#include <string>

// Application codes (the element type of an entry).
inline constexpr int kHistoryAppVLK = 0;
inline constexpr int kHistoryAppMOXQA = 1;
inline constexpr int kHistoryAppMOX = 2;
inline constexpr int kHistoryAppSOLMOX = 3;
inline constexpr int kHistoryAppUnknown = -1;
// This program's code in the histories it writes.
inline constexpr int kHistoryAppORVEX = 6;

class CDispatch;

class CProjectHistory : public CMElement
{
    DECLARE_SERIAL(CProjectHistory)
public:
    // Keys of the values.
    static constexpr int kAppVersion = 39;
    static constexpr int kPathName = 30;
    static constexpr int kCreationTime = 257;
    static constexpr int kModifiedTime = 258;
    static constexpr int kMOXModelName = 259;
    static constexpr int kNote = 36;

    CProjectHistory();
    CProjectHistory(const std::string& appName, int type, CMElement* parent = nullptr);
    // A copy of another application's history entry, read by member name ("ID", "AppName",
    // "AppVersion", "PathName", "CreationDate", "ModifiedDate", "MOXModelName" and "Note", the last
    // two only when not empty), with its children ("ChildCount", "Child") copied the same way.
    explicit CProjectHistory(const CDispatch& remote, CMElement* parent = nullptr);

    // The application's name is the element's name.
    const std::string& GetAppName() const { return GetName(); }
    void SetAppName(const std::string& name) { SetName(name); }
    std::string GetAppVersion() const { return m_values.GetString(kAppVersion); }
    void SetAppVersion(const std::string& v) { m_values.SetString(kAppVersion, v); }
    std::string GetPathName() const { return m_values.GetString(kPathName); }
    void SetPathName(const std::string& v) { m_values.SetString(kPathName, v); }
    int64_t GetCreationTime() const { return m_values.GetLong(kCreationTime); }
    void SetCreationTime(int64_t t) { m_values.SetLong(kCreationTime, t); }
    int64_t GetModifiedTime() const { return m_values.GetLong(kModifiedTime); }
    void SetModifiedTime(int64_t t) { m_values.SetLong(kModifiedTime, t); }
    std::string GetMOXModelName() const { return m_values.GetString(kMOXModelName); }
    void SetMOXModelName(const std::string& v) { m_values.SetString(kMOXModelName, v); }
    std::string GetNote() const { return m_values.GetString(kNote); }
    void SetNote(const std::string& v) { m_values.SetString(kNote, v); }
    // File name and extension of the path (either separator).
    std::string GetFileName() const;

    const CZuStdDataList& Values() const { return m_values; }

    // The application code of an application name in histories of the oldest format.
    static int AppCodeOfName(const std::string& appName);

    // Schema 2: the value list, then the element (name, type, children). Older schemas are read:
    // a count and per entry three strings and two 32-bit times, each entry a child of this one.
    void Serialize(CArchive& ar) override;

private:
    CZuStdDataList m_values;
};
