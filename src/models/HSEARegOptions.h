#pragma once
// Accessor of the application's option key. Every option value that the program keeps from one
// run to the next outside the project file is read and written through it, by name. Readers build
// one on their own stack, open it, read and let it go: the key is never kept open between uses.
#include <cstdint>
#include <string>

#include "platform/win/ZuRegOptions.h"

class CHSEARegOptions
{
public:
    // What GetDWORD gives when the key is not open or the value cannot be read. A stored value with
    // all bits set therefore reads as missing.
    static constexpr uint32_t kNoValue = 0xFFFFFFFFu;

    CHSEARegOptions(); // formats the key path; nothing is opened
    virtual ~CHSEARegOptions();
    CHSEARegOptions(const CHSEARegOptions&) = delete;
    CHSEARegOptions& operator=(const CHSEARegOptions&) = delete;

    // Creates or opens the key. On failure shows message 12302 (stop icon) and returns 0.
    int Open();
    int IsOpen() const { return m_open; }
    const std::string& GetKeyPath() const { return m_keyPath; }

    uint32_t GetDWORD(const char* name);
    int SetDWORD(const char* name, uint32_t value);
    // At most 255 bytes are read; 0 when not open or the value cannot be read.
    int GetString(const char* name, std::string& value);
    int SetString(const char* name, const std::string& value);

    // ---- the option values kept under the key, each with its default ----
    // A DWORD value, or defaultValue when the key cannot be opened or the value is missing,
    // unreadable or has all bits set.
    static uint32_t ReadDWORD(const char* name, uint32_t defaultValue);
    // A string value, or defaultValue when the key cannot be opened or the value cannot be read.
    static std::string ReadString(const char* name, const std::string& defaultValue);
    static int WriteDWORD(const char* name, uint32_t value);
    static int WriteString(const char* name, const std::string& value);

    // "DAQ_DataWindowing": FFT window type, default 0.
    static uint32_t GetDataWindowing();
    static int SaveDataWindowing(uint32_t windowType);
    // "IPReviseRate": the revise rate of the input-power calculation; the text is taken as a
    // decimal number and used only when it is a number greater than 0, else 0.95.
    static double GetIPReviseRate();
    // "EXP_DATA_CHECK_InputRange" (default 0.75) and "EXP_DATA_CHECK_OverLoad" (default 0.95):
    // thresholds of the measured-data check as fractions, written with "%e".
    static double GetExpDataCheckInputRange();
    static double GetExpDataCheckOverLoad();
    static int SaveExpDataCheckInputRange(double value);
    static int SaveExpDataCheckOverLoad(double value);
    // "DAQ_GraphBandType", "DAQ_GraphColor", "DAQ_InputRange": experiment display options, default 0.
    static uint32_t GetDaqGraphBandType();
    static uint32_t GetDaqGraphColor();
    static uint32_t GetDaqInputRange();
    static int SaveDaqGraphBandType(uint32_t value);
    static int SaveDaqGraphColor(uint32_t value);
    // "DAQPP_CHTABLECOL": the columns of the experiment plans' channel table, read at any length;
    // the twelve default columns when the value is missing or empty.
    static std::string GetChannelTableColumns();
    static int SaveChannelTableColumns(const std::string& columns);
    // "DAQ_MAX_CH": written by the maximum-channel dialog; there is no reader.
    static int SaveMaxChannel(uint32_t value);
    // "DAQPP_REVSENS": sensitivity reversal of universal-file import, default 0.
    static uint32_t GetReverseSensitivity();
    static int SaveReverseSensitivity(uint32_t value);

    static constexpr const char* kDefaultChannelTableColumns =
        "Global#,1,User Channel ID,2,Channel Group ID,3,Point,4,Direction,5,Input Mode,6,"
        "Measured Quantity,7,Electrical Unit,8,Actual Sensitivity,9,unit,10,Subsystem Name,11,Local#,12";

private:
    int m_open = 0;
    std::string m_keyPath;
    CZuRegOptions m_key;
};

// Option value names.
inline constexpr const char* kRegHSSClfConstraint = "HSS_ClfConstraint";
inline constexpr const char* kRegHSSDlfConstraint = "HSS_DlfConstraint";
inline constexpr const char* kRegHSSKeepClfReciprocity = "HSS_KeepClfReciprocity";
inline constexpr const char* kRegHSSSymmetricCopy = "HSS_SymmetricCopy";
inline constexpr const char* kRegHSSDecimalPlaces = "HSS_DecimalPlaces";
inline constexpr const char* kRegHSSTableCellWidth = "HSS_TableCellWidth";
inline constexpr const char* kRegHSSIconWidth = "HSS_IconWidth";
inline constexpr const char* kRegHSSPlotAllData = "HSS_PlotAllData";
inline constexpr const char* kRegHSSShowDataInDB = "HSS_ShowDataInDB";
inline constexpr const char* kRegWeightingFilter = "WeightingFilter";
inline constexpr const char* kRegDataWindowing = "DAQ_DataWindowing";
inline constexpr const char* kRegIPReviseRate = "IPReviseRate";
inline constexpr const char* kRegExpDataCheckInputRange = "EXP_DATA_CHECK_InputRange";
inline constexpr const char* kRegExpDataCheckOverLoad = "EXP_DATA_CHECK_OverLoad";
inline constexpr const char* kRegDaqGraphBandType = "DAQ_GraphBandType";
inline constexpr const char* kRegDaqGraphColor = "DAQ_GraphColor";
inline constexpr const char* kRegDaqInputRange = "DAQ_InputRange";
inline constexpr const char* kRegChannelTableColumns = "DAQPP_CHTABLECOL";
inline constexpr const char* kRegMaxChannel = "DAQ_MAX_CH";
inline constexpr const char* kRegReverseSensitivity = "DAQPP_REVSENS";
