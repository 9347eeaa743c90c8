#pragma once
// A band set made in memory held against the rules the project reader applies to a stored one
// (a known kind, a finite range, every band's edges): a set that fails them would save into a
// project that cannot be opened again, so whatever makes band sets from outside data checks them
// here before the project takes them.
#include <string>

class COctaveManager;

class CBandSetCheck
{
public:
    // Why the set cannot be stored, naming the first band at fault; empty when it can.
    static std::string Storable(const COctaveManager& bands);
};
