#include "platform/audio/AlsaLibrary.h"

#include "platform/base/RuntimeLibraryNames.h"

const CAlsaLibrary* CAlsaLibrary::Get(std::string* error)
{
    static CRuntimeLibrary library(ORVEX_ALSA_RUNTIME_NAME);
    return FunctionsOf<CAlsaLibrary>(library, error);
}
