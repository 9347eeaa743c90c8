#pragma once
// The identity of a project file: a GUID, made fresh for every new project and stored in the
// file as the text "PID:<guid>".
#include "common/UUID.h"

#include <string>

class CPID : public CUUID
{
public:
    CPID(); // a fresh GUID
    explicit CPID(const CUUID& uuid) : CUUID(uuid) {}

    // "PID:" followed by the GUID's text.
    std::string ToPIDText() const;
    // Reads a "PID:" text; a text that does not hold a GUID gives the nil GUID (false).
    bool FromPIDText(const std::string& text);
};
