#pragma once
// The errors of automation calls. A dispatch exception is what a server raises on purpose and
// what its client receives: an error code, a description and the position (from 1) of the argument
// at fault, 0 when no argument is. Any other failure of a call (the server is gone, the member
// cannot take the arguments, a result that does not convert) is an OLE exception.
#include <cstdint>
#include <stdexcept>
#include <string>

// Error kinds of the object model and the string ids of their descriptions.
inline constexpr int kAutoErrNameNotFound = 2;
inline constexpr int kAutoErrIndexOutOfRange = 3;
inline constexpr int kAutoErrTypeMismatch = 5;

class CDispatchException : public std::runtime_error
{
public:
    CDispatchException(int code, std::string description, int argument = 0, int helpContext = 0);
    int GetCode() const { return m_code; }
    const std::string& GetDescription() const { return m_description; }
    int GetArgument() const { return m_argument; }
    int GetHelpContext() const { return m_helpContext; }

    // The bus error that carries it: its name by kind ("ORVEX.Automation.Error.IndexOutOfRange",
    // ...) and the text "Error <code> (argument <n>): <description>".
    std::string BusErrorName() const;
    std::string BusErrorText() const;
    // True, with the exception in out, when a bus error carries a dispatch exception.
    static bool FromBusError(const std::string& name, const std::string& text, CDispatchException& out);

private:
    int m_code;
    std::string m_description;
    int m_argument;
    int m_helpContext;
};

class COleException : public std::runtime_error
{
public:
    explicit COleException(const std::string& what, std::string busError = {});
    // The bus error name when the failure came from the bus; empty otherwise.
    const std::string& GetBusError() const { return m_busError; }

private:
    std::string m_busError;
};

// Raises the error of the object model: code, the description of string id, the argument position.
[[noreturn]] void ZfxThrowOleDispatchException(int code, uint32_t stringId, int argument);
