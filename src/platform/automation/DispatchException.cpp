#include "platform/automation/DispatchException.h"

#include "platform/base/Format.h"
#include "platform/win/StringTable.h"

#include <cstdio>

namespace {
constexpr const char* kErrorPrefix = "ORVEX.Automation.Error.";
}

CDispatchException::CDispatchException(int code, std::string description, int argument, int helpContext)
    : std::runtime_error(Format("Error %d (argument %d): %s", code, argument, description.c_str())), m_code(code),
      m_description(std::move(description)), m_argument(argument), m_helpContext(helpContext)
{}

std::string CDispatchException::BusErrorName() const
{
    switch (m_code) {
    case kAutoErrNameNotFound:
        return std::string(kErrorPrefix) + "NameNotFound";
    case kAutoErrIndexOutOfRange:
        return std::string(kErrorPrefix) + "IndexOutOfRange";
    case kAutoErrTypeMismatch:
        return std::string(kErrorPrefix) + "TypeMismatch";
    default:
        return std::string(kErrorPrefix) + "Exception";
    }
}

std::string CDispatchException::BusErrorText() const
{
    return what();
}

bool CDispatchException::FromBusError(const std::string& name, const std::string& text, CDispatchException& out)
{
    if (name.rfind(kErrorPrefix, 0) != 0)
        return false;
    int code = 0;
    int argument = 0;
    int used = 0;
    if (std::sscanf(text.c_str(), "Error %d (argument %d): %n", &code, &argument, &used) < 2 || used == 0)
        return false;
    out = CDispatchException(code, text.substr(static_cast<size_t>(used)), argument);
    return true;
}

COleException::COleException(const std::string& what, std::string busError)
    : std::runtime_error(what), m_busError(std::move(busError))
{}

void ZfxThrowOleDispatchException(int code, uint32_t stringId, int argument)
{
    std::string description = LoadString(stringId);
    if (description.empty())
        description = Format("Automation error %d", code);
    throw CDispatchException(code, description, argument);
}
