#include "platform/excel/XlsxWriterLibrary.h"

#include "platform/base/RuntimeLibraryNames.h"

const CXlsxWriterLibrary* CXlsxWriterLibrary::Get(std::string* error)
{
    static CRuntimeLibrary library(ORVEX_XLSXWRITER_RUNTIME_NAME);
    return FunctionsOf<CXlsxWriterLibrary>(library, error);
}
