#pragma once
// The options the project container holds by value: the HSEA model flags and the mean method,
// which travel with the project file, and the display options of the data tables and graphs,
// which come from the option key of the machine when the object is built.
#include <cstdint>
#include <string>

#include "platform/archive/Object.h"

class CHSEAOptions : public CObject
{
    DECLARE_SERIAL(CHSEAOptions)
public:
    // Reads the model flags and the display options from the option key (defaults where a value or
    // the key is missing).
    CHSEAOptions();
    CHSEAOptions(const CHSEAOptions& other);
    // Copies the solver selection, the model flags, the display options up to the label pairs and
    // the mean method, and HSS_PlotAllData; HSS_ShowDataInDB and WeightingFilter stay.
    CHSEAOptions& operator=(const CHSEAOptions& other);

    // Stores the solver selection, the four model flags and the mean method (six 32-bit values);
    // schemas before 5 have no mean method and keep 2.
    void Serialize(CArchive& ar) override;

    // Writes the six display options to the option key, in order, stopping at the first failure.
    // 1 only when the key opened and every write succeeded.
    int SaveDisplayOptions();
    void SetSymmetricCopy(int symmetric);

    int32_t m_nSolver = 0; // solver selection (labels "CGM", "SVD")
    int32_t HSS_ClfConstraint = 0;
    int32_t HSS_DlfConstraint = 0;
    int32_t HSS_KeepClfReciprocity = 0;
    int32_t HSS_SymmetricCopy = 0;
    int32_t HSS_DecimalPlaces = 2;
    int32_t HSS_TableCellWidth = 10;
    int32_t HSS_IconWidth = 0;
    std::string m_booleanLabels[2] = {"FALSE", "TRUE"};
    std::string m_solverLabels[2] = {"CGM", "SVD"};
    std::string m_firstWaveLabels[2] = {"3 Waves", "F-F Wave"};
    std::string m_secondWaveLabels[2] = {"3 Waves", "F-F Wave"};
    int32_t m_nMeanMethod = 2;
    int32_t HSS_PlotAllData = 0;
    int32_t HSS_ShowDataInDB = 1;
    int32_t WeightingFilter = 1; // 1 = A-weighting applied in the views

private:
    void ReadModelFlags();
    void ReadDisplayOptions();
    void CopyFrom(const CHSEAOptions& other);
};
