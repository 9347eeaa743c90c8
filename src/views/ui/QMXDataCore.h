#pragma once
// The display settings shared by the data windows of spectra over engine speed (the TAL and RMV
// data documents): which axis runs across, the band-range mode (levels over a band range, in dB),
// smoothing over RPM and its length, and the band range. They are kept as integer items of the
// project's data list, so they are saved with the project and shared by every data window of it:
//
//   356 RPM across (0: frequency across)      default 0
//   357 band-range mode                       default 0
//   358 smoothing on                          default 0
//   359 smoothing length in RPM               default 500
//   360 first band of the range (band index)  default 0
//   361 last band of the range (band index)   default band count - 1
//
// A missing item reads as its default; writing creates it. Each document derives from this core
// (as a second base) and implements the operations on its own data class.
#include <string>

class CArchive;
class CBaseProject;
class CHSEAOptions;
class CMElement;
class COctaveManager;
class CTALVOProject;
class CZuStdDataList;

class CQMXDataCore
{
public:
    enum : int
    {
        ITEM_AXIS = 356,
        ITEM_BAND_RANGE = 357,
        ITEM_SMOOTHING = 358,
        ITEM_SMOOTHING_LENGTH = 359,
        ITEM_FIRST_BAND = 360,
        ITEM_LAST_BAND = 361,
    };
    static constexpr int kDefaultSmoothingLength = 500;

    // The project container gives the item list and the band set (both may be absent: then items
    // read as defaults and writes are dropped).
    explicit CQMXDataCore(CTALVOProject* project);
    virtual ~CQMXDataCore();

    // ---- what each document implements for its data class ----
    // The data function shown.
    virtual CMElement* GetDataElement() const = 0;
    // The nearest ancestor of the data function that is a project; null when none.
    virtual CBaseProject* GetOwnerProject() const;
    // The label of the data function (its subsystem or quantity label).
    virtual std::string GetDataLabel() const = 0;
    // Writes the axis flag, the smoothing width and the band range (items 360/361 when items 356
    // and 357 are both 1, else (-1, -1)) into the data function.
    virtual void ApplyDisplaySettings(int axisFlag) = 0;
    // The whole table as clipboard text (labels on, the current subset, no selection) after
    // ApplyDisplaySettings with item 356.
    virtual void CopyAllToArchive(CArchive& ar) = 0;

    // ---- smoothing ----
    // The RPM step of the owner project: a DAQ project's RPM margin, an analysis project's RPM
    // step; 0 otherwise.
    double GetRpmStep() const;
    // Stores the length (item 359); the smoothing width becomes length / RPM step (truncated)
    // while smoothing is on and the step is positive, else 0.
    virtual void SetSmoothingLength(int length);
    int GetSmoothingLength() const { return GetItem(ITEM_SMOOTHING_LENGTH, kDefaultSmoothingLength); }
    int GetSmoothingWidth() const { return m_smoothingWidth; }

    // ---- items ----
    void SetItem(int id, int value);
    int GetItem(int id, int fallback) const;
    // The item with its default from the table above.
    int GetItem(int id) const;
    // Item 356 from a flag: 1 for any non-zero value.
    void SetBoolItem356(int flag) { SetItem(ITEM_AXIS, flag ? 1 : 0); }
    // Stores the smaller index as the first band (360) and the larger as the last (361).
    void SetBandRange(int a, int b);
    // The band range to give the function: items 360/361 in band-range mode with RPM across,
    // else (-1, -1).
    void GetAppliedBandRange(int& first, int& last) const;

    // ---- the project ----
    CTALVOProject* GetProjectContainer() const { return m_project; }
    CZuStdDataList* GetItemList() const { return m_items; }
    const COctaveManager* GetBands() const { return m_bands; }
    int GetBandCount() const;
    // The display options of the project; the view opener sets them.
    CHSEAOptions* GetHSEAOptions() const { return m_options; }
    void SetHSEAOptions(CHSEAOptions* options) { m_options = options; }
    // What the views read of the options (their defaults without options): every subset plotted
    // (HSS_PlotAllData), the decimals of the cells (HSS_DecimalPlaces), the column width in twips
    // (HSS_TableCellWidth x 100), values in dB (HSS_ShowDataInDB) and A-weighting (WeightingFilter 1).
    bool IsPlotAll() const;
    int GetDecimalPlaces() const;
    int GetCellWidthTwips() const;
    bool IsShowDataInDB() const;
    bool IsAWeighting() const;

protected:
    int m_smoothingWidth = 0;

private:
    CTALVOProject* m_project;
    CZuStdDataList* m_items;
    const COctaveManager* m_bands;
    CHSEAOptions* m_options = nullptr;
};
