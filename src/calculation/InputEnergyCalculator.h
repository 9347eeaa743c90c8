#pragma once
// The energy each excited subsystem held while it was excited, from the DAQ project's measurements:
// every used data set of the experiment named after the subsystem carries the averaged response
// of that subsystem (velocity of a structure, pressure of a cavity); each response becomes energy
// with the subsystem's mass or volume (E = M v^2, E = V p^2 / (rho c^2)), the energies of all data
// sets are averaged per analysis RPM and band (or order), and by RPM optionally smoothed over an
// RPM width. One energy function per subsystem is handed to the caller.
#include <memory>
#include <string>
#include <vector>

#include "platform/base/Feedback.h"
#include "platform/elements/MElementList.h"
#include "spectral/OrderList.h"

class CMElement;
class COctaveManager;
class CRPMOptions;
class CZuSubsystemTable;
class IDaqProjectAccess;

class CInputEnergyCalculator
{
public:
    // Element kind of the energy functions.
    // How many subsystems without experiments the report names before "...".
    static constexpr int kMaxReported = 10;

    CInputEnergyCalculator();
    virtual ~CInputEnergyCalculator();
    CInputEnergyCalculator(const CInputEnergyCalculator&) = delete;
    CInputEnergyCalculator& operator=(const CInputEnergyCalculator&) = delete;

    // The settings, filled by the driver. Pointers are not owned.
    int m_report = 0; // 1: name every subsystem without experiments
    IDaqProjectAccess* m_daqProject = nullptr;
    const CRPMOptions* m_rpmOptions = nullptr;
    const CZuSubsystemTable* m_subsystems = nullptr;
    int m_averaging = 0; // 0, 1: the mean of the energies; 2: of their levels
    int m_useSymmetric = 0;
    float m_smoothingWidth = 0.0f; // RPM width; 0: none
    int m_inputKind = 0;           // 0 by RPM, 1 by order
    COrderList m_orders;
    float m_otSetting = 50.0f;
    const COctaveManager* m_bands = nullptr;  // the analysis band set
    CFeedback* m_progress = SilentFeedback(); // the caller's, never null

    // Fills the results; 1 when at least one was made, 0 on failure (nothing kept).
    int Calculate();
    // One empty energy function per subsystem (input energies written from elsewhere); the count.
    int AddData();

    // Hands the results over to the caller (appended to out); results never taken are deleted
    // with the calculator.
    int TakeResults(CMElementList& out);

    // The averaged value of one cell from its positive energies (mode 2 through their levels).
    static double AverageEnergies(std::vector<double> values, int mode);

private:
    // The used data sets of the subsystem, or of its mirror-side subsystem when it has none and
    // the symmetric flag is on (symmetric then set). Returns the count.
    int CollectExperiments(const std::string& subsystem, CMElementList& list, bool& symmetric) const;
    bool CheckExperiments();
    std::unique_ptr<CMElement> EnergiesByRpm(const std::string& subsystem, const CMElementList& experiments,
                                             bool symmetric);
    std::unique_ptr<CMElement> EnergiesByOrder(const std::string& subsystem, const CMElementList& experiments,
                                               bool symmetric);
    // The energy factor of the subsystem; 0 (with a message naming it) when the model lacks it.
    double EnergyFactor(const std::string& subsystem) const;
    std::vector<double> AnalysisRpms() const;
    std::vector<double> BandCentres() const;
    void DeleteResults();

    CMElementList m_results;
};
