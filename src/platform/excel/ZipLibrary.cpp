#include "platform/excel/ZipLibrary.h"

#include "platform/base/RuntimeLibraryNames.h"

const CZipLibrary* CZipLibrary::Get(std::string* error)
{
    static CRuntimeLibrary library(ORVEX_LIBZIP_RUNTIME_NAME);
    return FunctionsOf<CZipLibrary>(library, error);
}
