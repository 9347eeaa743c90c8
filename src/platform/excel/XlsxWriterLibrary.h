#pragma once
// The workbook-writing library's functions, loaded with the first workbook the session writes.
#include "platform/base/RuntimeLibrary.h"

#include <xlsxwriter.h>

#include <string>

#define ORVEX_XLSXWRITER_FUNCTIONS(X)                                                                                  \
    X(format_set_bg_color)                                                                                             \
    X(format_set_bold)                                                                                                 \
    X(format_set_bottom)                                                                                               \
    X(format_set_bottom_color)                                                                                         \
    X(format_set_diag_border)                                                                                          \
    X(format_set_diag_color)                                                                                           \
    X(format_set_diag_type)                                                                                            \
    X(format_set_font_color)                                                                                           \
    X(format_set_font_strikeout)                                                                                       \
    X(format_set_italic)                                                                                               \
    X(format_set_left)                                                                                                 \
    X(format_set_left_color)                                                                                           \
    X(format_set_num_format)                                                                                           \
    X(format_set_num_format_index)                                                                                     \
    X(format_set_pattern)                                                                                              \
    X(format_set_right)                                                                                                \
    X(format_set_right_color)                                                                                          \
    X(format_set_top)                                                                                                  \
    X(format_set_top_color)                                                                                            \
    X(lxw_strerror)                                                                                                    \
    X(workbook_add_format)                                                                                             \
    X(workbook_add_worksheet)                                                                                          \
    X(workbook_close)                                                                                                  \
    X(workbook_new_opt)                                                                                                \
    X(worksheet_merge_range)                                                                                           \
    X(worksheet_set_column)                                                                                            \
    X(worksheet_write_blank)                                                                                           \
    X(worksheet_write_boolean)                                                                                         \
    X(worksheet_write_comment)                                                                                         \
    X(worksheet_write_number)                                                                                          \
    X(worksheet_write_rich_string)                                                                                     \
    X(worksheet_write_string)

class CXlsxWriterLibrary
{
public:
    // The functions, or null (error saying why) where the library cannot be loaded.
    static const CXlsxWriterLibrary* Get(std::string* error = nullptr);

    ORVEX_XLSXWRITER_FUNCTIONS(ORVEX_RUNTIME_FUNCTION)
    bool Resolve(CRuntimeLibrary& library) { return true ORVEX_XLSXWRITER_FUNCTIONS(ORVEX_RESOLVE_RUNTIME_FUNCTION); }
};

// The loaded functions, for code that has had them from Get.
inline const CXlsxWriterLibrary& Lxw()
{
    return *CXlsxWriterLibrary::Get();
}
