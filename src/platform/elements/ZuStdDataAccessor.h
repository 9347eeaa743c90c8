#pragma once
// The interface through which a class exposes its list of named values (file properties, model
// properties, display items). Holders override GetZuStdDataList; GetKaStdDataList is the same list
// under its second name. A class without a list gives null.
#include "platform/elements/ZuStdDataList.h"

class IZuStdDataAccessor
{
public:
    virtual ~IZuStdDataAccessor() = default;
    virtual CZuStdDataList* GetZuStdDataList() { return nullptr; }
    virtual CZuStdDataList* GetKaStdDataList() { return GetZuStdDataList(); }

    // First value of the id in the list; null without a list or entry.
    CZuStdData* GetData(int id)
    {
        CZuStdDataList* list = GetZuStdDataList();
        return list ? list->GetData(id) : nullptr;
    }
    void DeleteAll()
    {
        if (CZuStdDataList* list = GetZuStdDataList())
            list->DeleteAll();
    }
};
