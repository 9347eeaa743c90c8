#pragma once
// A named group of global CLF functions: the group "Common Global CLFs", or the group of one
// subsystem.
#include <string>

#include "platform/elements/MElement.h"

class CZuClfFunc;

class CGClfGroup : public CMElement
{
    DECLARE_SERIAL(CGClfGroup)
public:
    CGClfGroup();
    CGClfGroup(const std::string& name, CMElement* parent);

    // The direct child CLF function of the pair (a, b) or (b, a); null when none.
    CZuClfFunc* FindClf(const std::string& a, const std::string& b) const;

    // The element part carries the children once. Groups of schema 1 wrote every child a second
    // time after it; those records are read and dropped.
    void Serialize(CArchive& ar) override;
};

// The direct child CLF function of parent whose two subsystems are (a, b) or (b, a).
CZuClfFunc* FindClfChild(const CMElement* parent, const std::string& a, const std::string& b);
