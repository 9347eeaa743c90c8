#pragma once
// The archive library's functions the workbook reader and writer call, loaded with the first
// workbook the session reads or writes.
#include "platform/base/RuntimeLibrary.h"

#include <zip.h>

#include <string>

#define ORVEX_ZIP_FUNCTIONS(X)                                                                                         \
    X(zip_close)                                                                                                       \
    X(zip_discard)                                                                                                     \
    X(zip_error_fini)                                                                                                  \
    X(zip_error_init)                                                                                                  \
    X(zip_fclose)                                                                                                      \
    X(zip_fdopen)                                                                                                      \
    X(zip_file_replace)                                                                                                \
    X(zip_file_strerror)                                                                                               \
    X(zip_fopen_index)                                                                                                 \
    X(zip_fread)                                                                                                       \
    X(zip_name_locate)                                                                                                 \
    X(zip_open)                                                                                                        \
    X(zip_open_from_source)                                                                                            \
    X(zip_set_file_compression)                                                                                        \
    X(zip_source_buffer)                                                                                               \
    X(zip_source_buffer_create)                                                                                        \
    X(zip_source_free)                                                                                                 \
    X(zip_stat_index)                                                                                                  \
    X(zip_stat_init)                                                                                                   \
    X(zip_strerror)

class CZipLibrary
{
public:
    // The functions, or null (error saying why) where the library cannot be loaded.
    static const CZipLibrary* Get(std::string* error = nullptr);

    ORVEX_ZIP_FUNCTIONS(ORVEX_RUNTIME_FUNCTION)
    bool Resolve(CRuntimeLibrary& library) { return true ORVEX_ZIP_FUNCTIONS(ORVEX_RESOLVE_RUNTIME_FUNCTION); }
};

// The loaded functions, for code that has had them from Get.
inline const CZipLibrary& Zip()
{
    return *CZipLibrary::Get();
}
