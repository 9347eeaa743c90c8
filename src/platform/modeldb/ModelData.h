#pragma once
// The vehicle model database: the 3D model element of a model project (element type 21). It holds
// the model's band definition, its numbered subsystem sets with shells and cavities, and the file
// it was read from. It is read from our vehicle model text file (docs/file-formats.md, "Vehicle
// model text file") and stored with the project as an element.
#include "platform/elements/MElement.h"
#include "platform/modeldb/ModelSubsystemSet.h"

#include <memory>
#include <string>
#include <vector>

class CModelData : public CMElement
{
    DECLARE_SERIAL(CModelData)
public:
    // File kinds: 0 our text file (".ntf" and others), 1 a file named ".xml".
    enum : int
    {
        FILE_KIND_TEXT = 0,
        FILE_KIND_XML = 1
    };

    CModelData();
    explicit CModelData(CMElement* parent);
    ~CModelData() override;

    // Reads the model from a vehicle model text file; 1 on success. On failure the model is left as
    // it was and GetLastError tells the line and the reason.
    int ReadModelInfo(const std::string& path);
    // The same from text in memory (path only names it).
    int ReadModelText(const std::string& text, const std::string& path);
    const std::string& GetLastError() const { return m_lastError; }

    const std::string& GetFileName() const { return m_fileName; }
    int GetFileKind() const { return m_fileKind; }
    const std::string& GetTitle() const { return m_title; }

    // The band definition: band kind of the band sets (OCTAVE_BAND_*), lower and upper frequency.
    // -1, 0.0 and 0.0 before a model is read.
    void GetModelDataParams(int* bandType, double* startFreq, double* endFreq) const;
    int GetBandType() const { return m_bandType; }
    double GetStartFreq() const { return m_startFreq; }
    double GetEndFreq() const { return m_endFreq; }
    void SetFreqInfo(int bandType, double startFreq, double endFreq);

    int GetSubsystemSetCount() const { return static_cast<int>(m_sets.size()); }
    // The set with that number; null when there is none.
    CModelSubsystemSet* GetSubsystemSet(int number) const;
    CModelSubsystemSet* GetSubsystemSetAt(int i) const;
    // Adds a set; a set with the same number is replaced. Returns the set.
    CModelSubsystemSet* AddSubsystemSet(std::unique_ptr<CModelSubsystemSet> set);

    // The subsystem of that name in any set (set order): exact 1 compares byte-wise, exact 0 ignores
    // ASCII case and a wave-type mark. warn is not used: a caller that warns of a missing subsystem
    // does so itself.
    CModelSubsystem* GetSubsystem(const std::string& name, int warn = 0, int exact = 1) const;

    // Every subsystem back to its default colour, unmarked.
    void ResetDisplay();

    void Serialize(CArchive& ar) override;

private:
    std::string m_fileName;
    int m_fileKind = FILE_KIND_TEXT;
    std::string m_title;
    int m_bandType = -1;
    double m_startFreq = 0.0;
    double m_endFreq = 0.0;
    std::vector<std::unique_ptr<CModelSubsystemSet>> m_sets;
    std::string m_lastError;
};
