#pragma once
// Turns the program's "#@" data text files (loss-factor tables and input-power data) into one
// workbook, one sheet per file. Each failure reports an error to the feedback given and ends the
// conversion with CUserException; the workbook is then not saved.
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/base/Feedback.h"
#include "platform/excel/ExcelWrapper.h"

class CStdioFile;

// Ends a conversion after its message was shown.
class CUserException : public std::runtime_error
{
public:
    explicit CUserException(const std::string& what) : std::runtime_error(what) {}
};

class CZuText2Excel : public CExcelWrapper
{
public:
    // One row of the data-type table.
    struct DataType
    {
        int code;
        int flag;
        const char* typeLine;
        const char* section;
        const char* itemFormat;
    };
    static const std::vector<DataType>& DataTypes();

    // Starts the workbook service; throws CUserException after "Failed to start" when it cannot.
    explicit CZuText2Excel(CFeedback* feedback = SilentFeedback());
    ~CZuText2Excel() override;

    // Converts the files into a new workbook, sheet i for file i, and saves it as outputPath.
    // Returns the result of the save; a conversion failure throws CUserException.
    bool Export(const std::string& outputPath, const std::vector<std::string>& textFiles);

private:
    void ConvertFile(int sheet, const std::string& path);
    void WriteFrequencies(CStdioFile& file, std::string& pending, bool& hasPending);
    void WriteLossFactors(CStdioFile& file, int labelRow, int valueLines);
    void WriteInputPowers(CStdioFile& file);
    // Writes the tab-separated fields of a line down a column from row; false when a cell is refused.
    bool WriteColumn(const std::string& line, int row, int col);
    void Put(int row, int col, const std::string& text);
    [[noreturn]] void Fail(const std::string& message);
    void Report(const std::string& message) const;

    CFeedback* m_feedback; // not owned

    std::vector<std::string> m_labels;
    int m_lowestRow = 0; // the lowest row written on the current sheet
};
