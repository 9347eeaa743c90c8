#pragma once
// What an order map needs of the analysis project that owns it: the project's band set, in which
// order frequencies are looked up, and the factor of those frequencies (rpm x order x factor / 60).
// The analysis project implements it; the maps and result sets find it by walking up their
// parents.
class CMElement;
class COctaveManagerEx;

class IBandSetOwner
{
public:
    virtual ~IBandSetOwner() = default;
    // The owner's band set (created on first use); null when it has none.
    virtual COctaveManagerEx* GetOctaveManager() = 0;
    // The order-frequency factor of the owner's acquisition (1.0 where the owner has no setting of
    // its own). The analysis project answers with its DAQ project's factor.
    virtual double GetDaqConfigValue() const { return 1.0; }

    // The first of element and its ancestors that implements the interface; null when none does.
    static IBandSetOwner* FindOwner(const CMElement* element);
};
