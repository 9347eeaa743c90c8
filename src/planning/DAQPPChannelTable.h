#pragma once
// The channel table of a DAQPP plan as the plan editor shows it: one row per channel, one column
// per entry of the plan list's layout (plus the channel column), with the row operations of the
// editor: moving channels (each subsystem kept in local-number order afterwards), handing rows to
// another plan, copying the table as tab-separated text and pasting sensors, input modes and
// subsystems back from such a text. No windows: the editor draws what this class computes.
#include <string>
#include <utility>
#include <vector>

#include "planning/DAQPPExpPlanList.h"

class CDAQPPChannelTable
{
public:
    static constexpr const char* kChannelHeading = "CH.";
    // The column chooser offers this many rows, so a layout has at most this many columns.
    static constexpr int kMaxColumns = 30;

    enum MoveResult
    {
        moveNothing = 0, // no selection, or already at the edge
        moveDone = 1,
        moveDoesNotFit = 2, // the rows would run past the last channel; nothing moved
    };

    enum PasteStatus
    {
        pasteDone = 0,
        pasteNoText,    // the clipboard holds no text
        pasteShortLine, // a line lacks the cell of a pasted column; nothing was pasted
    };

    struct PasteResult
    {
        PasteStatus status = pasteNoText;
        int rows = 0;     // channel rows written
        int badLine = -1; // 1-based line of the text that was refused
    };

    // The table works on plan in the layout of layout (both outlive it) with the look-ups of
    // context (its reversed-sensor mode included).
    CDAQPPChannelTable(CDAQPPExpPlan& plan, const CDAQPPExpPlanList& layout, DAQPPCellContext context);

    CDAQPPExpPlan& GetPlan() const { return *m_plan; }
    void SetContext(DAQPPCellContext context) { m_context = std::move(context); }
    const DAQPPCellContext& GetContext() const { return m_context; }
    const std::vector<tagCHTABLECOL>& GetColumns() const;

    // Table rows and columns, the header row and the channel column included.
    int GetRowCount() const { return m_plan->GetChannelCount() + 1; }
    int GetColCount() const { return static_cast<int>(GetColumns().size()) + 1; }
    // "CH." then the labels of the layout.
    std::vector<std::string> GetHeaderTexts() const;
    // The cells of one channel: its number from 1, then one text per column; empty for a channel
    // outside the plan.
    std::vector<std::string> GetRowTexts(int channel) const;
    // Position of the channel's sensor in its subsystem's row of the sensor assignment; -1 for a
    // free channel or a sensor the assignment does not list there.
    int LocalIndex(int channel) const;

    // Exchanges the k-th of channels with channel target + k, then sorts within subsystems.
    MoveResult MoveTo(const std::vector<int>& channels, int target);
    // Moves every channel up (down) by one, then sorts within subsystems. The selection follows.
    MoveResult MoveUp(std::vector<int>& channels);
    MoveResult MoveDown(std::vector<int>& channels);
    // Puts the rows of each subsystem in ascending local order over the positions that subsystem
    // holds; rows of different subsystems never change places. The channels exchanged, in order.
    std::vector<std::pair<int, int>> SortWithinSubsystems();

    // For each channel whose row of the same channel in to is free: that row takes the row of
    // from and the row of from is cleared. The channels handed over.
    static std::vector<int> HandRows(CDAQPPExpPlan& from, CDAQPPExpPlan& to, const std::vector<int>& channels);

    // The table as text: every cell (header row and channel column included) followed by a tab,
    // every row ended by a line feed.
    std::string CopyText() const;
    // Reads a text of that form: the first line is the header; line u of the rest is channel
    // u - 1, up to an empty line or the plan's channel count. The cells under the first column of
    // types 2, 6 and 11 set sensor, input mode and subsystem. The whole text is checked first, so
    // a refused paste changes nothing. Written channels are added to changed.
    PasteResult Paste(const std::string& text, std::vector<int>* changed = nullptr);

    // The layout of the column chooser's rows of label and type name: an empty label ends it, a
    // name that is no column type gives type 0, at most kMaxColumns columns.
    static std::vector<tagCHTABLECOL> ColumnsFromTexts(const std::vector<std::pair<std::string, std::string>>& rows);

    // The table column of the first column of a type; -1 when the layout has none.
    int FindTableColumn(int type) const;

private:
    CDAQPPExpPlan* m_plan;
    const CDAQPPExpPlanList* m_layout;
    DAQPPCellContext m_context;
};
