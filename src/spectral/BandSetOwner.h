#pragma once
// What an order map needs of the analysis project that owns it: the project's band set, in which
// order frequencies are looked up. The analysis project implements it; the maps find it by
// walking up their parents.
class CMElement;
class COctaveManagerEx;

class IBandSetOwner
{
public:
    virtual ~IBandSetOwner() = default;
    // The owner's band set (created on first use); null when it has none.
    virtual COctaveManagerEx* GetOctaveManager() = 0;

    // The first of element and its ancestors that implements the interface; null when none does.
    static IBandSetOwner* FindOwner(const CMElement* element);
};
