#pragma once
// The frequency bands of a calculation: each third-octave band of the available set either stays
// as it is or, when ticked, is replaced by finer bands: four 1/12-octave bands (kind 1) or bands
// 50 Hz wide (kind 2). Only OK changes the current band set; an OK without a chosen kind leaves
// it as it is.
#include "platform/ui/ZuPropertyPage.h"

#include <vector>

class COctaveManager;
class COctaveManagerEx;
class QButtonGroup;
class QListWidget;
class QPushButton;
class QLabel;

class CPPageOctave : public CZuPropertyPage
{
    Q_OBJECT
public:
    static constexpr int kTemplateId = 4051;
    // Positions of the available set (100 Hz .. 10 kHz third-octave bands) that can be refined.
    static constexpr int kRefinablePositions = 21;
    enum Kind
    {
        kNone = -1,
        kAsTheyAre = 0,
        kTwelfthOctave = 1,
        kFiftyHz = 2,
    };

    struct FinerBand
    {
        double centre, lower, upper;
    };

    CPPageOctave();

    void SetOctaveManagers(const COctaveManager* available, COctaveManagerEx* current);
    void SetReadOnly(bool readOnly) { m_bReadOnly = readOnly; }
    int GetKind() const { return m_nKind; }

    // The finer bands of available position i for a kind (empty when the position has none).
    std::vector<FinerBand> FinerBands(int position, int kind) const;
    // Whether position i can be refined by the kind at resolution df (df <= 0: always).
    static bool IsRefinable(int position, int kind, double df);
    // The frequency resolution of the sheet's band-average page; 0 without one.
    double SheetResolution() const;

    // The user's actions.
    void OnKindChosen(int kind);
    void SetTick(int position, bool ticked);
    bool IsTicked(int position) const;
    void OnTickAll(bool ticked);

    QListWidget* CurrentList() const { return m_current; }
    QListWidget* AvailableList() const { return m_available; }
    QPushButton* TickAllButton() const { return m_tickAll; }
    QButtonGroup* KindGroup() const { return m_kinds; }

    void OnOK() override;

protected:
    // Pages built on this one, with a template of their own.
    explicit CPPageOctave(int templateId);

    bool OnInitDialog() override;
    // Enables and shows the controls for the kind and the read-only flag.
    virtual void UpdateControls();
    // Builds the new band set from the ticks and gives it to the current set.
    virtual void ApplyBands();

    // Redraws the preview; unticks bands that cannot be refined (one message for all).
    void UpdatePreview();

    const COctaveManager* m_pAvailable = nullptr;
    COctaveManagerEx* m_pCurrent = nullptr;
    int m_nKind = kNone;
    bool m_bReadOnly = true;

private:
    QListWidget* m_current;
    QListWidget* m_available;
    QPushButton* m_tickAll;
    QButtonGroup* m_kinds;
    QLabel* m_currentLabel;
    QLabel* m_availableLabel;
    bool m_updating = false;
};
