#pragma once
// The FFT line count of a DAQ project's or data set's calculation options, with the block length
// and frequency resolution that follow from it at the sampling frequency and frequency range.
#include "experiments/CalcOptions.h"
#include "platform/ui/ZuPropertyPage.h"

class QComboBox;
class QLabel;
class QLineEdit;

class CPPageBandAve : public CZuPropertyPage
{
    Q_OBJECT
public:
    static constexpr int kTemplateId = 4040;
    static constexpr int kMinLines = 400;
    static constexpr int kMaxLines = 6400;

    CPPageBandAve();

    // Binds the page, copies the options and works out the block length and resolution.
    void SetCalcOptions(CCalcOptions* options);
    CCalcOptions* GetCalcOptions() const { return m_pOptions; }
    void SetFreqRange(float range) { m_fFreqRange = range; }
    void SetAverageParam(float samplingFrequency) { m_fSampling = samplingFrequency; }
    // Bits 0-3: bit 0 locks the line count; bits 4-7: 0x10 full layout, 0x20 resolution only.
    void SetEnableMask(int mask);

    int GetBlockLength() const { return m_nBlockLength; }
    float GetResolution() const { return m_fResolution; }
    const CCalcOptions& GetEditedOptions() const { return m_options; }

    // The block length for a line count: the power of two nearest to
    // trunc(sampling x lines / range), a tie taking the larger one. 0 when it cannot be formed.
    static int BlockLength(double samplingFrequency, double lines, double range);

    // A line count chosen in the combo (as its selection does).
    void OnLineCountChosen(const QString& text);

    QComboBox* LineCombo() const { return m_combo; }
    QLineEdit* BlockEdit() const { return m_blockEdit; }
    QLineEdit* ResolutionEdit() const { return m_resEdit; }

    void OnOK() override;

protected:
    bool OnInitDialog() override;

private:
    void Recalc();
    void ApplyLayout();

    CCalcOptions* m_pOptions = nullptr;
    CCalcOptions m_options;
    float m_fFreqRange = 5000.0f;
    float m_fSampling = 12800.0f;
    int m_mask[3] = {0, 0, 0};
    int m_nBlockLength = 0;
    float m_fResolution = 0.0f;
    QComboBox* m_combo;
    QLineEdit* m_blockEdit;
    QLineEdit* m_resEdit;
    QLabel* m_lineLabel;
    QLabel* m_resLabel;
    QLabel* m_blockLabel;
};
