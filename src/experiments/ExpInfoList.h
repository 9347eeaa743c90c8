#pragma once
// A list of experiment descriptions by value, as the experiment property dialogs edit them.
#include <list>

#include "experiments/ExpInfo.h"

class CExpInfoList : public std::list<CExpInfo>
{
public:
    int GetCount() const { return static_cast<int>(size()); }
    CExpInfo& AddTail(const CExpInfo& info)
    {
        push_back(info);
        return back();
    }
    void RemoveAll() { clear(); }
};
