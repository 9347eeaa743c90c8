#pragma once
// The store of global CLFs: coupling loss factors kept apart from the model's own matrix, directly
// under the store, in the common group or in one group per subsystem. The hybrid model and the
// path search look CLFs up here; the store is exchanged as a text section.
#include <string>
#include <vector>

#include "platform/elements/MElement.h"

class CGClfGroup;
class CStdioFile;
class CZuClfFunc;
class CZuData;

class CGClfData : public CMElement
{
    DECLARE_SERIAL(CGClfData)
public:
    static constexpr const char* kStoreName = "Global CLFs";
    static constexpr const char* kCommonGroupName = "Common Global CLFs";

    CGClfData(); // no parent, band type -1, 0.0 .. 0.0
    CGClfData(CMElement* parent, int bandType, double startFreq, double endFreq);

    int GetBandType() const { return m_bandType; }
    double GetStartFreq() const { return m_startFreq; }
    double GetEndFreq() const { return m_endFreq; }

    void Serialize(CArchive& ar) override;

    // "[store name]", the store's own functions and an empty line, then per group "[group name]"
    // and its functions. 1, or 0 when writing fails.
    virtual int Export(CStdioFile& file);
    // Reads what Export writes (up to the end of the file). 0 when the first line is missing or
    // empty, or when the file cannot be read; functions that cannot be read end their section.
    virtual int Import(CStdioFile& file);

    CZuClfFunc* FindClf(const std::string& a, const std::string& b) const;
    // The group named after the subsystem (wave mark removed); with tryMirror also the group of the
    // mirrored subsystem.
    CGClfGroup* FindGroup(const std::string& name, int tryMirror) const;
    CGClfGroup* FindCommonGroup() const;
    CGClfGroup* GetOrCreateCommonGroup();
    CGClfGroup* CreateGroup(const std::string& name);
    // The CLF of the pair in the named group; without that group (or a name) in the common group,
    // then among the store's own functions. With retry a miss in the group searches on without it.
    CZuClfFunc* FindGlobalClf(const std::string& a, const std::string& b, const std::string& groupName,
                              int retry) const;
    // Fills out[0..count-1] with the CLF of a (to b) per band; 0 and the failure value everywhere
    // when there is no such function.
    int ExtractGlobalClf(const std::string& a, const std::string& b, double* out, int count,
                         const std::string& groupName);
    // The CLF function of the pair, created in the common group when missing (values from the
    // source model data when given). Null when a equals b.
    CZuClfFunc* AddGlobalClf(const std::string& a, const std::string& b, int kind, CZuData* source);
    // Names a CLF function by its connection state (kinds 1 and 17: coupled in the model).
    static void NameClfFunc(CZuClfFunc* function, int kind);

    const std::string& GetImportError() const { return m_importError; }

private:
    std::vector<double> BandCentres() const;

    int32_t m_bandType = -1;
    double m_startFreq = 0.0;
    double m_endFreq = 0.0;
    std::string m_importError;
};
