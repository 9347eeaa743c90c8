#pragma once
// The text files from which an analytical SEA model's data can be assembled: one eta-matrix file
// and, per subsystem type of the vehicle model database, a modal-density, a wave-number and a
// mass/volume file, with the types the model uses and four stored options.
#include <array>
#include <cstdint>
#include <string>

#include "platform/archive/Object.h"

class CHSEAAnalyticalDataFiles : public CObject
{
    DECLARE_SERIAL(CHSEAAnalyticalDataFiles)
public:
    // Subsystem types of the model database, by index.
    static constexpr int TypeCount = 8;
    static const char* const TypeAbbreviations[TypeCount]; // "BE", "FP", "SC", "DC", "CY", "DU", "CA", "SF"

    CHSEAAnalyticalDataFiles() = default;
    // Copies the paths and use flags; of the options only the fourth travels with a copy.
    CHSEAAnalyticalDataFiles(const CHSEAAnalyticalDataFiles& other);
    CHSEAAnalyticalDataFiles& operator=(const CHSEAAnalyticalDataFiles&) = delete;

    void Serialize(CArchive& ar) override;

    virtual std::string GetEtaMatrixFile() const { return m_etaMatrixFile; }
    virtual void SetEtaMatrixFile(const std::string& path) { m_etaMatrixFile = path; }
    virtual std::string GetModalDensityFile(int k) const;
    virtual void SetModalDensityFile(int k, const std::string& path);
    virtual std::string GetWaveNumberFile(int k) const;
    virtual void SetWaveNumberFile(int k, const std::string& path);
    virtual std::string GetPathListEntry(int k) const;
    virtual void SetPathListEntry(int k, const std::string& path);
    virtual std::string GetPropertyFile(int k) const; // mass/volume file
    virtual void SetPropertyFile(int k, const std::string& path);
    virtual int GetUseFlag(int k) const;
    virtual void SetUseFlag(int k, int used);
    // The four options, in the order of their accessors: second, first, third and fourth byte.
    virtual bool GetOption2() const { return m_options[1] != 0; }
    virtual void SetOption2(bool v) { m_options[1] = v ? 1 : 0; }
    virtual bool GetOption1() const { return m_options[0] != 0; }
    virtual void SetOption1(bool v) { m_options[0] = v ? 1 : 0; }
    virtual bool GetOption3() const { return m_options[2] != 0; }
    virtual void SetOption3(bool v) { m_options[2] = v ? 1 : 0; }
    virtual bool GetOption4() const { return m_options[3] != 0; }
    virtual void SetOption4(bool v) { m_options[3] = v ? 1 : 0; }

private:
    static bool ValidType(int k) { return k >= 0 && k < TypeCount; }
    // A path of type k is kept only while the type is used.
    void SetTypedPath(std::array<std::string, TypeCount>& list, int k, const std::string& path);

    std::string m_etaMatrixFile;
    std::array<std::string, TypeCount> m_pathList;
    std::array<std::string, TypeCount> m_modalDensityFiles;
    std::array<std::string, TypeCount> m_waveNumberFiles;
    std::array<std::string, TypeCount> m_propertyFiles;
    std::array<uint8_t, TypeCount> m_useFlags{};
    std::array<uint8_t, 4> m_options{};
};
