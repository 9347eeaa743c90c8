#pragma once
// An object of the program that clients may hold and hand on (a model's subsystem table, its model
// data, a row of a map, an averaged order map) but whose class answers no members of its own here.
// Its path tells a client that the object is there; calls on it are unknown members.
#include "platform/automation/AutoObject.h"

class CAutoElement : public CAutoObject
{
public:
    // guards: the owners whose destruction ends the object (the object itself always does).
    explicit CAutoElement(const void* key, std::vector<const void*> guards = {});
    const CDispatchTable& GetDispatchTable() const override;
};
