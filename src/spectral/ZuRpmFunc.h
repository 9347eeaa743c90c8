#pragma once
// A spectrum map over engine speed: one quantity of one model subsystem over an RPM axis and a
// frequency axis, held as one row function (CZuFunc) per RPM whose points are the frequencies.
// Measured and calculated results all travel in this form: the calculations fill it, the
// averaging of experiments returns it, the order maps keep one per order, and the table windows
// show, copy, paste and dump it.
//
// Values are stored linear (W, J, m/s, Pa as the kind says); decibels exist only in table text.
// The axis flag, smoothing width and overall band range are view state set by the document that
// shows the map; they are not stored.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <memory>
#include <string>
#include <vector>

#include "platform/elements/DataWriter.h"
#include "platform/elements/ZuFunc.h"
#include "platform/elements/ZuTableData.h"
#include "spectral/MapWindows.h"

class IMessageTarget;

class CZuRpmFunc : public CZuTableData, public IDataWriter
{
    DECLARE_SERIAL(CZuRpmFunc)
public:
    // Number format the clipboard copy uses for its cells: enough digits that a pasted copy gives
    // the values back.
    static constexpr int kClipboardDigits = 15;

    CZuRpmFunc(); // empty name, 0 points, no parent, kind -1 (the class factory)
    CZuRpmFunc(const std::string& name, int freqCount, CMElement* parent, int kind);
    ~CZuRpmFunc() override;

    // A map with a frequency axis and one all-zero row per RPM (rows named "%g" of their RPM), rows
    // shown across (axis flag 0). Null when a positive count comes with a null array.
    static std::unique_ptr<CZuRpmFunc> NewRpmFunc(const std::string& name, int kind, CMElement* parent,
                                                  const std::string& subsystem, const double* freqs, int freqCount,
                                                  const double* rpms, int rpmCount);

    // Appends a row for the RPM; the row function becomes owned. Without a function a new one over
    // the frequency axis (all values 0.0) is made. Returns the row function.
    CZuFunc* AddRow(double rpm, CZuFunc* row = nullptr);
    CZuFunc* AddRow(double rpm, std::unique_ptr<CZuFunc> row);
    // Removes count rows from first on (nothing for a negative first).
    void RemoveRows(int first, int count);
    // Deletes every row; the frequency axis stays.
    void RemoveAll() override;

    void SetSubsystem(const std::string& name) { m_subsystem = name; }
    std::string GetSubsystem() const { return m_subsystem; }
    // The label of the map is its subsystem name.
    void SetLabel(const std::string& name) { SetSubsystem(name); }
    std::string GetLabel() const { return GetSubsystem(); }

    // View state. Axis flag non-zero: table rows are RPMs and the table index a frequency; 0: rows
    // are frequencies and the index an RPM.
    // Setting the view state a map already has changes nothing, and waits for no reader.
    void SetAxisFlag(int flag)
    {
        if (flag == m_axisFlag)
            return;
        WaitForSharedReads();
        m_axisFlag = flag;
    }
    int GetAxisFlag() const { return m_axisFlag; }
    void SetSmoothingWidth(int width)
    {
        if (width == m_smoothingWidth)
            return;
        WaitForSharedReads();
        m_smoothingWidth = width;
    }
    int GetSmoothingWidth() const { return m_smoothingWidth; }
    // First and last frequency index of the overall level; a negative bound switches it off.
    void SetOverallBandRange(int first, int last)
    {
        if (first == m_overallFirst && last == m_overallLast)
            return;
        WaitForSharedReads();
        m_overallFirst = first;
        m_overallLast = last;
    }
    void SetSelectedCell(int first, int last) { SetOverallBandRange(first, last); }
    int GetOverallFirst() const { return m_overallFirst; }
    int GetOverallLast() const { return m_overallLast; }

    // Windows that show the map (not owned, slots 0 and 1); each is closed when the map goes.
    void SetWindow(int slot, IMessageTarget* window);
    IMessageTarget* GetWindow(int slot) const;

    // ---- axes and values (indices are checked: std::out_of_range outside) ----
    double GetRpm(int i) const { return m_rpms.at(static_cast<size_t>(i)); }
    double GetFreq(int i) const { return m_freqs.at(static_cast<size_t>(i)); }
    void SetFreq(int i, double f)
    {
        WaitForSharedReads();
        m_freqs.at(static_cast<size_t>(i)) = f;
    }
    int GetFreqCount() const { return static_cast<int>(m_freqs.size()); }
    int GetRpmCount() const { return static_cast<int>(m_rpms.size()); }
    const std::vector<double>& GetRpmArray() const { return m_rpms; }
    const std::vector<double>& GetFreqArray() const { return m_freqs; }
    // Row function of RPM row i; null outside.
    CZuFunc* GetRowFunc(int i) const;
    double& DataValue(int row, int point);
    double DataValue(int row, int point) const;
    // The RPM axis when the axis flag is non-zero, else the frequency axis.
    double GetAxisValue(int i) const;
    const double* GetAxisValuePtr(int i) const;
    int GetAxisCount() const;
    // First row whose RPM equals rpm exactly; -1 (or null) when none.
    int FindRpmIndex(double rpm) const;
    CZuFunc* FindRowFunc(double rpm) const;

    // The value at (RPM row, frequency point) averaged over the smoothing window of RPM rows,
    // whichever axis the table shows across.
    double GetSmoothedAt(int rpmRow, int point) const { return SmoothedAt(rpmRow, point); }
    // The value of a table cell (index, data row), averaged over the smoothing window of RPM rows.
    double GetSmoothedValue(int index, int row) const;
    // The overall level of the band range at a table cell; the smoothed value when the range is off.
    double GetOverallLevel(int index, int row, int structure, int aWeighting) const;

    // ---- table ----
    COLORREF GetTableCellColor(int row, int col, int index) override;
    void GetSelection(int row, int col, int index, CZuSubsystemTable* table) override;
    void ChangeDataValue(int row, int col, int index, double value, int flag) override;
    void CopyToClipboard(CArchive& ar, int withLabels, int index, const CZuCellRect* selection) override;
    void PasteFromClipboard(CArchive& ar, int index, const CZuCellPoint* point) override;
    std::string GetTableCellData(int row, int col, int index, int numberFormat) override;
    std::string GetShownTableCell(int row, int col, int index, int numberFormat) override;
    bool GetTableCellValue(int row, int col, int index, double& value) override;
    void GetTableColumnValues(int col, int index, std::vector<double>& values) override;
    // The same for the rows first .. first+count-1 only, into out[0..count) (NaN beyond the column):
    // a long column is read a stretch at a time, never held whole.
    void GetTableColumnValues(int col, int index, int first, int count, double* out);
    // The display options of the owner that the table's values depend on. Asking them may reach
    // the owner's model, so it is done on the owner's thread; with them, stretches of a column
    // can be read on several threads at once (nothing but the map is read) while the map stays
    // as it is.
    struct ColumnOptions
    {
        int structure = 0;
        int aWeighting = 0;
        int inDb = 0;
    };
    ColumnOptions GetColumnOptions() const;
    void GetTableColumnValues(int col, int index, int first, int count, double* out,
                              const ColumnOptions& options) const;
    // A long map may be read on other threads while its owner's thread goes on (a window reads a
    // band side by side as it opens). Such a read is announced with BeginSharedRead and ended with
    // EndSharedRead, on any thread; every change made through the map, and its end, first waits
    // for the reads in flight, so that no reader sees a row freed or moved or an axis half
    // changed. A reader reads nothing but the map, and ends by itself: a change waits a moment,
    // never for good. (A row function taken before the read and changed through its own pointer
    // is not held up.)
    void BeginSharedRead() const;
    void EndSharedRead() const;

    int GetTableRowCount(int index) override;
    int GetTableColCount(int index) override;
    int GetTableFreqCount() override;
    std::string GetFreqIndicator(int index) override;

    int WriteDump(CStdioFile& file, const std::string& param) override;

    // The table part, RPM axis, frequency axis, subsystem name, row count, rows (objects).
    void Serialize(CArchive& ar) override;

private:
    void WaitForSharedReads() const
    {
        if (m_sharedReads.load(std::memory_order_acquire) != 0)
            WaitForSharedReadsToEnd();
    }
    void WaitForSharedReadsToEnd() const;
    bool RowsAreRpms() const { return m_axisFlag != 0; }
    // Data rows of the table and the RPM row / frequency point behind a table cell.
    int TableDataRows() const;
    void TableToMap(int index, int row, int& rpmRow, int& point) const;
    bool IsTableCell(int index, int row) const;
    double SmoothedAt(int rpmRow, int point) const;
    void DeleteRows();

    int32_t m_axisFlag = 1;
    int32_t m_smoothingWidth = 0;
    std::string m_subsystem;
    CMapWindows m_windows;
    std::vector<double> m_rpms;
    std::vector<double> m_freqs;
    std::vector<std::unique_ptr<CZuFunc>> m_rows;
    int32_t m_overallFirst = -1;
    int32_t m_overallLast = -1;
    mutable std::atomic<int> m_sharedReads{0};
    mutable std::mutex m_sharedReadMutex;
    mutable std::condition_variable m_sharedReadsEnded;
};

// True for the kinds whose values are amplitudes (pressure and velocity): they are averaged as a
// root mean square rather than an arithmetic mean.
bool IsAmplitudeKind(int kind);
// Mean of the positive values: RMS for amplitude kinds, arithmetic otherwise; 0.0 when none.
double MeanOfPositive(const double* values, int count, int kind);
// The overall level in dB of bands first..last of one table cell of a map of element's quantity;
// bands from freqCount on hold nothing to add. valueAt(k) is band k's value of the cell, freqAt(k)
// its frequency (asked only for A-weighting). A band without a level adds its value as it is.
double OverallBandLevel(const CMElement* element, int first, int last, int freqCount, int structure, int aWeighting,
                        const std::function<double(int)>& valueAt, const std::function<double(int)>& freqAt);
