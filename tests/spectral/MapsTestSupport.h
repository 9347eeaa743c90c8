#pragma once
// Helpers of the spectrum map tests: display options, owners found through the parents, and
// archive round trips in memory.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/archive/Archive.h"
#include "platform/elements/ElementTreeObserver.h"
#include "platform/elements/MElement.h"
#include "platform/gfx/OctaveManager.h"
#include "spectral/BandSetOwner.h"
#include "spectral/SpectrumDisplayOptions.h"

// A project stand-in that answers the display options of the maps shown under it. Show names it as
// a map's parent (without owning the map): declare it before the maps it shows.
struct DisplayOptionsOwner : CMElement, ISpectrumDisplayOptions
{
    int inDb = 0;
    int aWeighting = 0;
    int structure = 0;
    explicit DisplayOptionsOwner(int db = 0, int aw = 0, int st = 0)
        : CMElement("Project", nullptr, 0), inDb(db), aWeighting(aw), structure(st)
    {}
    template <class T>
    T* Show(T* map)
    {
        map->SetParent(this);
        return map;
    }
    int ShowDataInDB() const override { return inDb; }
    int IsAWeighting() const override { return aWeighting; }
    int IsStructure(const std::string&) const override { return structure; }
};

// A project stand-in: owns a band set and records the tree notifications.
class TestProject : public CMElement, public IBandSetOwner, public IElementTreeObserver
{
public:
    TestProject() : CMElement("Project", nullptr, 0) {}
    COctaveManagerEx* GetOctaveManager() override { return bands.get(); }
    IElementTreeObserver* GetTreeObserver() const override { return const_cast<TestProject*>(this); }
    void OnElementAdded(CMElement* e) override { events.push_back("added " + Describe(e)); }
    void OnElementRemoving(CMElement* e) override { events.push_back("removed " + Describe(e)); }

    std::unique_ptr<COctaveManagerEx> bands;
    std::vector<std::string> events;

private:
    // The element must still be alive and in the tree when it is announced.
    std::string Describe(CMElement* e)
    {
        const CMElement* parent = e->GetParent();
        const bool inTree = parent && parent->GetChildIndex(e) >= 0;
        return e->GetName() + " " + e->GetRuntimeClass()->m_lpszClassName + (inTree ? " in tree" : " detached");
    }
};

inline std::vector<uint8_t> StoreObject(const CObject* obj)
{
    std::vector<uint8_t> buf;
    CArchive ar(&buf, CArchive::store);
    ar.WriteObject(obj);
    return buf;
}

template <class T>
std::unique_ptr<T> LoadObject(const std::vector<uint8_t>& buf)
{
    std::vector<uint8_t> copy = buf;
    CArchive ar(&copy, CArchive::load);
    return ar.ReadOwned<T>();
}

// Position of the first occurrence of a byte string; npos when absent.
inline size_t FindBytes(const std::vector<uint8_t>& buf, const std::string& what)
{
    for (size_t i = 0; i + what.size() <= buf.size(); ++i)
        if (std::equal(what.begin(), what.end(), buf.begin() + static_cast<std::ptrdiff_t>(i)))
            return i;
    return std::string::npos;
}
