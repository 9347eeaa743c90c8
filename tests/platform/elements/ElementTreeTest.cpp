#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <thread>
#include <utility>

#include "TestTree.h"
#include "platform/archive/Archive.h"
#include "platform/base/RecordingFeedback.h"
#include "platform/elements/ElementTreeObserver.h"
#include "platform/elements/MElementList.h"
#include "platform/elements/ZuClfFunc.h"
#include "platform/elements/ZuData.h"
#include "platform/elements/ZuDlfFunc.h"
#include "platform/elements/ZuFunc.h"
#include "platform/elements/ZuMatFunc.h"
#include "platform/elements/ZuRpmSelFunc.h"

using namespace elements_test;

namespace {
// name/type/class of every element, depth first
void Describe(const CMElement& e, std::vector<std::string>& out, int depth = 0)
{
    out.push_back(std::string(depth * 2, ' ') + e.GetRuntimeClass()->m_lpszClassName + " " + e.GetName() + " " +
                  std::to_string(e.GetType()));
    for (int i = 0; i < e.GetChildCount(); ++i) {
        EXPECT_EQ(e.GetChild(i)->GetParent(), &e);
        Describe(*e.GetChild(i), out, depth + 1);
    }
}
} // namespace

TEST(ElementTree, MixedTreeReadsBackEqualThroughAFile)
{
    TempDir dir;
    std::string path = dir.File("tree.bin");
    auto tree = MakeMixedTree();
    {
        CArchive ar(path, CArchive::store);
        ar.WriteObject(tree.get());
        ar.Close();
    }
    std::unique_ptr<CMElement> back;
    {
        CArchive ar(path, CArchive::load);
        back = ar.ReadOwned<CMElement>();
    }
    ASSERT_TRUE(back);

    std::vector<std::string> a, b;
    Describe(*tree, a);
    Describe(*back, b);
    EXPECT_EQ(a, b);
    // Everything else (values, tables, band sets, flags, units, entries) compares through the image:
    // a tree that reads back equal stores the same bytes again.
    EXPECT_EQ(Store(*tree), Store(*back));

    // A few values by hand, so that an image that both sides get wrong the same way shows too.
    auto* data = DynamicDowncast<CZuData>(back->GetChild(0));
    ASSERT_TRUE(data);
    auto* original = DynamicDowncast<CZuData>(tree->GetChild(0));
    EXPECT_EQ(data->GetSerialNumber(), original->GetSerialNumber());
    EXPECT_EQ(data->GetMergeOrder(), 3);
    EXPECT_EQ(data->GetFreqCount(), original->GetFreqCount());
    EXPECT_GT(data->GetFreqCount(), 0);
    EXPECT_EQ(data->GetSubsystemTable()->Names(), original->GetSubsystemTable()->Names());
    EXPECT_EQ(data->IsConnected("Roof-F", "Cabin-", 2), 1);
    EXPECT_EQ(data->IsConnected("Cabin-", "Roof-F"), 0); // flag 16 is "not coupled"
    ASSERT_TRUE(data->GetEtaMatrix(0));
    EXPECT_EQ(data->GetEtaMatrix(0)->DataValue(1, 2, 1), original->GetEtaMatrix(0)->DataValue(1, 2, 1));
    auto* spl = DynamicDowncast<CZuFunc>(back->GetChild(1));
    ASSERT_TRUE(spl);
    EXPECT_EQ(spl->GetName(), "SPL \xE6\x97\xA5\xE6\x9C\xAC");
    EXPECT_EQ(spl->GetUnit(), "dB");
    EXPECT_EQ(spl->DataValue(3), HUGE_VAL);
    EXPECT_DOUBLE_EQ(spl->DataValue(1), 60.1);
    auto* sel = DynamicDowncast<CZuRpmSelFunc>(back->GetChild(3));
    ASSERT_TRUE(sel);
    ASSERT_EQ(sel->GetRpmCount(), 2);
    EXPECT_EQ(sel->GetRpm(1), 1500.5);
    EXPECT_EQ(sel->GetRpmData(1)->GetParent(), sel);
}

TEST(ElementTree, EveryCutShortImageFailsCleanly)
{
    auto tree = MakeMixedTree();
    std::vector<uint8_t> bytes = Store(*tree);
    ASSERT_GT(bytes.size(), 100u);
    for (size_t cut = 0; cut < bytes.size(); ++cut) {
        std::vector<uint8_t> part(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(cut));
        EXPECT_THROW(Load(part), CArchiveException) << "cut at " << cut;
    }
}

// The archive layer's own test vector, whole and cut short at every byte, read as an element tree:
// its class is no element, so every length fails with an archive error and nothing leaks or crashes.
TEST(ElementTree, ArchiveTestVectorIsRefusedAtEveryLength)
{
    std::ifstream in(std::string(ORVEX_FIXTURES_DIR) + "/archive/seed-tree.bin", std::ios::binary);
    ASSERT_TRUE(in);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(bytes.size(), 16u);
    for (size_t cut = 0; cut <= bytes.size(); ++cut) {
        std::vector<uint8_t> part(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(cut));
        EXPECT_THROW(Load(part), CArchiveException) << "cut at " << cut;
    }
}
TEST(ElementTree, CutShortFileFailsCleanly)
{
    TempDir dir;
    std::string path = dir.File("short.bin");
    auto tree = MakeMixedTree();
    std::vector<uint8_t> bytes = Store(*tree);
    {
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size() / 2));
    }
    CArchive ar(path, CArchive::load);
    EXPECT_THROW(ar.ReadOwned<CMElement>(), CArchiveException);
}

TEST(ElementTree, ForgedChildCountAndUnknownVersionAreRefused)
{
    CMElement leaf("leaf", nullptr, 1);
    std::vector<uint8_t> bytes = Store(leaf);
    // The image ends with the child count (2 bytes, 0). Claim four billion children instead: the
    // reader must refuse before it allocates anything for them.
    ASSERT_EQ(bytes.back(), 0);
    bytes.resize(bytes.size() - 2);
    for (uint8_t b : {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF})
        bytes.push_back(b);
    EXPECT_THROW(Load(bytes), CArchiveException);

    // A version byte from a newer program is a bad schema, not garbage read on.
    std::vector<uint8_t> good = Store(leaf);
    size_t versionAt = good.size() - 2 /*count*/ - 4 /*type*/ - 5 /*"leaf" with length*/ - 1;
    ASSERT_EQ(good[versionAt], 1);
    good[versionAt] = 99;
    try {
        Load(good);
        FAIL() << "a version 99 element was read";
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.m_cause, CArchiveException::badSchema);
    }
}

TEST(ElementTree, AbsurdlyDeepNestingIsRefused)
{
    auto root = std::make_unique<CMElement>("0", nullptr, 0);
    CMElement* at = root.get();
    for (int i = 1; i < 400; ++i)
        at = at->AddChild(std::make_unique<CMElement>(std::to_string(i), at, 0));
    EXPECT_EQ(root->GetAllChildCount(), 399);
    std::vector<uint8_t> bytes = Store(*root);
    EXPECT_THROW(Load(bytes), CArchiveException);
}

TEST(ElementTree, EachStoredElementStepsTheFeedbackOfItsArchive)
{
    auto root = std::make_unique<CMElement>("root", nullptr, 0);
    auto* a = root->AddChild(std::make_unique<CMElement>("a", nullptr, 1));
    a->AddChild(std::make_unique<CMElement>("a1", nullptr, 2));
    root->AddChild(std::make_unique<CZuFunc>("f", 3, nullptr, 5));
    const int64_t elements = 1 + root->GetAllChildCount();

    CRecordingFeedback progress;
    progress.Begin("Storing", elements);
    progress.fractions.clear();
    const std::vector<uint8_t> bytes = Store(*root, &progress);
    ASSERT_EQ(progress.fractions.size(), static_cast<size_t>(elements));
    EXPECT_DOUBLE_EQ(progress.fractions.back(), 1.0);

    // Reading and duplicating are no saves, an archive without feedback steps nothing, and a part
    // stored without feedback steps nothing while the archive's own comes back after it.
    progress.fractions.clear();
    auto copy = root->Duplicate();
    Store(*root);
    {
        CArchive in(bytes.data(), bytes.size());
        in.SetFeedback(&progress);
        EXPECT_NE(in.ReadOwned<CMElement>(), nullptr);
    }
    std::vector<uint8_t> nested;
    CArchive ar(&nested, CArchive::store);
    ar.SetFeedback(&progress);
    {
        CArchive::CFeedbackScope none(ar, nullptr);
        ar.WriteObject(root.get());
    }
    EXPECT_TRUE(progress.fractions.empty());
    EXPECT_EQ(ar.GetFeedback(), &progress) << "the outer one comes back";
    CMElement more("more", nullptr, 0);
    more.AddChild(std::make_unique<CMElement>("child", nullptr, 1));
    ar.WriteObject(&more);
    EXPECT_EQ(progress.fractions.size(), 2u) << "an element and its child";
}

TEST(ElementTree, ASaveOnAWorkerStepsTheFeedbackItsCallerGave)
{
    auto root = MakeMixedTree();
    const int64_t elements = 1 + root->GetAllChildCount();
    CRecordingFeedback progress;
    progress.Begin("Storing", elements);
    progress.fractions.clear();
    // A store on this thread meanwhile, into an archive without feedback, takes none of its steps.
    std::thread worker([&] { Store(*root, &progress); });
    Store(*root);
    worker.join();
    ASSERT_EQ(progress.fractions.size(), static_cast<size_t>(elements)) << "one step per element of the tree";
    EXPECT_DOUBLE_EQ(progress.fractions.back(), 1.0);
}

TEST(ElementTree, UniqueNames)
{
    CMElement parent("p", nullptr, 0);
    for (const char* name : {"A", "A~0", "B~7", "x~y~z"})
        parent.AddChild(std::make_unique<CMElement>(name, nullptr, 0));
    struct Case
    {
        const char* asked;
        const char* expected;
    } cases[] = {
        {"Free", "Free"},  // not taken
        {"A", "A~1"},      // A and A~0 are taken
        {"A~0", "A~1"},    // the old suffix is cut first
        {"B~7", "B~0"},    // counter starts at 0 again for another base
        {"x~y~z", "x~y~0"} // only the last "~" part is cut
    };
    for (const Case& c : cases)
        EXPECT_EQ(parent.GetUniqueName(c.asked), c.expected) << c.asked;
    EXPECT_EQ(parent.InquireName("a", 0), 1);
    EXPECT_EQ(parent.InquireName("a", 1), 0);
}

TEST(ElementTree, LookUpsByTypeNameAndClassRespectDepth)
{
    auto tree = MakeMixedTree();
    // The DLF function lies two levels down (Folder > dlf); the eta matrix two levels down too.
    EXPECT_EQ(tree->FindOne(ElementType::TotalDlf, 1), nullptr);
    ASSERT_NE(tree->FindOne(ElementType::TotalDlf, -1), nullptr);
    EXPECT_EQ(tree->FindOne(ElementType::TotalDlf, 2)->GetName(), "dlf");
    EXPECT_EQ(tree->FindOne("folder", 1, 1), nullptr);
    ASSERT_NE(tree->FindOne("folder", 1, 0), nullptr);
    EXPECT_EQ(tree->FindOneChild("Folder")->GetType(), 70);
    EXPECT_EQ(tree->FindOneChild(70)->GetName(), "Folder");
    EXPECT_EQ(tree->FindOneChild(ElementType::EtaMatrix), nullptr);
    EXPECT_EQ(tree->FindOne(RUNTIME_CLASS(CZuMatFunc))->GetName(), "eta");
    EXPECT_EQ(tree->FindOneChild(RUNTIME_CLASS(CZuData))->GetName(), "Model data");

    // Kind-of search: the CLF and DLF functions are vector functions, and so are the RPM entries'
    // tables, which are not children and so are not found.
    CMElementList list;
    EXPECT_EQ(tree->Find(RUNTIME_CLASS(CZuVecFunc), list), 3);
    EXPECT_EQ(list[0]->GetName(), "modal density");
    EXPECT_EQ(list[1]->GetName(), "clf");
    EXPECT_EQ(list[2]->GetName(), "dlf");
    EXPECT_EQ(tree->Find(70, list), 1);
    EXPECT_EQ(list.GetSize(), 4);
    EXPECT_EQ(tree->Find(std::string("EMPTY"), list, -1, 0), 1);
    EXPECT_EQ(list[4]->GetType(), 71);
}

TEST(ElementTree, ChildOperations)
{
    CMElement parent("p", nullptr, 0);
    for (auto [name, type] : std::initializer_list<std::pair<const char*, int>>{{"c", 3}, {"a", 1}, {"b", 3}, {"d", 2}})
        parent.AddChild(std::make_unique<CMElement>(name, nullptr, type));
    auto names = [&] {
        std::string s;
        for (int i = 0; i < parent.GetChildCount(); ++i)
            s += parent.GetChild(i)->GetName();
        return s;
    };
    EXPECT_EQ(names(), "cabd");
    parent.SortByID();
    EXPECT_EQ(names(), "adcb"); // stable: c before b
    parent.SortByName(0);
    EXPECT_EQ(names(), "dcba");
    EXPECT_EQ(parent.MoveChild(0, 3), 1);
    EXPECT_EQ(names(), "cbad");
    EXPECT_EQ(parent.MoveChild(3, 0), 1);
    EXPECT_EQ(names(), "dcba");
    EXPECT_EQ(parent.MoveChild(0, 4), 0);
    EXPECT_EQ(parent.GetChild(4), nullptr);
    EXPECT_EQ(parent.GetChild(-1), nullptr);

    EXPECT_EQ(parent.ReplaceName("b", "B"), 1);
    EXPECT_EQ(names(), "dcBa");

    // DeleteChild with flag 0 hands the child over; with 1 it destroys it.
    CMElement* c = parent.FindOneChild("c");
    EXPECT_EQ(parent.DeleteChild(c, 0), 1);
    std::unique_ptr<CMElement> owned(c);
    EXPECT_EQ(c->GetParent(), nullptr);
    EXPECT_EQ(parent.DeleteChild(c, 1), 0); // not a child any more
    EXPECT_EQ(parent.DeleteChild(0, 1), 1);
    EXPECT_EQ(names(), "Ba");
    EXPECT_EQ(parent.DeleteChild(7, 1), 0);

    // A child moves between parents instead of being owned twice; ancestors are refused.
    CMElement other("o", nullptr, 0);
    CMElement* a = parent.FindOneChild("a");
    EXPECT_EQ(other.AddChild(a), a);
    EXPECT_EQ(a->GetParent(), &other);
    EXPECT_EQ(parent.GetChildCount(), 1);
    EXPECT_EQ(other.AddChild(a), a); // twice: kept once
    EXPECT_EQ(other.GetChildCount(), 1);
    EXPECT_EQ(a->AddChild(&other), nullptr);
    EXPECT_EQ(parent.AddChild(&parent), nullptr);

    // A parent only named at construction (or set by hand) is not the owner: the element joins the
    // list that takes it and leaves the one that held it, once each.
    auto* named = new CMElement("n", &parent, 0);
    EXPECT_EQ(parent.GetChildIndex(named), -1);
    EXPECT_EQ(other.AddChild(named), named);
    named->SetParent(&parent);
    EXPECT_EQ(parent.GetChildIndex(named), -1);
    EXPECT_EQ(parent.AddChild(named), named);
    EXPECT_EQ(other.GetChildIndex(named), -1);
    EXPECT_EQ(other.GetChildCount(), 1);
    EXPECT_EQ(parent.GetChildIndex(named), parent.GetChildCount() - 1);
    parent.RemoveAll();
    EXPECT_EQ(parent.GetChildCount(), 0);
}

TEST(ElementTree, DuplicateIsDeepAndDataGetANewSerial)
{
    auto tree = MakeMixedTree();
    CMElement* folder = tree->FindOneChild("Folder");
    auto copy = folder->Duplicate();
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->GetParent(), tree.get());
    EXPECT_EQ(tree->GetChildIndex(copy.get()), -1);
    EXPECT_EQ(Store(*copy), Store(*folder));
    EXPECT_NE(copy->GetChild(0), folder->GetChild(0));

    auto* data = DynamicDowncast<CZuData>(tree->GetChild(0));
    uint32_t before = CZuData::GetCreationCount();
    auto dataCopy = data->Duplicate();
    auto* copied = DynamicDowncast<CZuData>(dataCopy.get());
    ASSERT_TRUE(copied);
    EXPECT_EQ(copied->GetSerialNumber(), before + 1);
    EXPECT_EQ(copied->GetEtaMatrix(0)->DataValue(0, 0, 1), data->GetEtaMatrix(0)->DataValue(0, 0, 1));
}

TEST(ElementList, ClearDestroysEachElementOnce)
{
    auto root = std::make_unique<CMElement>("root", nullptr, 0);
    CMElement* a = root->AddChild(std::make_unique<CMElement>("a", nullptr, 0));
    CMElement* a1 = a->AddChild(std::make_unique<CMElement>("a1", nullptr, 0));
    CMElement* loose = new CMElement("loose", root.get(), 0); // names a parent that does not own it

    CMElementList list;
    EXPECT_EQ(list.Add(a1), 0);
    list.Add(a);
    list.Add(a1);
    list.Add(loose);
    EXPECT_EQ(list.Index(a), 1);
    EXPECT_EQ(list.Index(root.get()), -1);
    CMElementList more;
    more.Append(list);
    EXPECT_EQ(more.Remove(a1), 1);
    EXPECT_EQ(more.GetSize(), 3);
    EXPECT_EQ(more[0], a);
    EXPECT_EQ(more.At(9), nullptr);

    list.Clear(1);
    EXPECT_EQ(list.GetSize(), 0);
    EXPECT_EQ(root->GetChildCount(), 0); // a (and a1 with it) taken out of root and destroyed
}

namespace {
// A versionable element that asks for its schema only after its element part (with children) was read.
class CTestVersionedElement : public CMElement
{
    DECLARE_SERIAL(CTestVersionedElement)
public:
    CTestVersionedElement() = default;
    void Serialize(CArchive& ar) override
    {
        CMElement::Serialize(ar);
        if (ar.IsLoading())
            m_schemaSeen = ar.GetObjectSchema();
    }
    uint32_t m_schemaSeen = 0;
};
IMPLEMENT_SERIAL(CTestVersionedElement, CMElement, 7 | VERSIONABLE_SCHEMA)

class CTestOtherVersioned : public CMElement
{
    DECLARE_SERIAL(CTestOtherVersioned)
public:
    CTestOtherVersioned() = default;
};
IMPLEMENT_SERIAL(CTestOtherVersioned, CMElement, 3 | VERSIONABLE_SCHEMA)
} // namespace

TEST(ElementTree, OwnSchemaSurvivesReadingTheChildren)
{
    CTestVersionedElement parent;
    parent.AddChild(std::make_unique<CTestOtherVersioned>());
    parent.AddChild(std::make_unique<CZuFunc>("f", 2, nullptr, 5));
    auto back = Load(Store(parent));
    auto* typed = DynamicDowncast<CTestVersionedElement>(back.get());
    ASSERT_TRUE(typed);
    EXPECT_EQ(typed->m_schemaSeen, 7u);
    EXPECT_EQ(typed->GetChildCount(), 2);
}

namespace {
// A root that records what its tree tells it, each element checked to be whole and in its parent's
// list when told (added or about to leave).
class CObservedRoot : public CMElement, public IElementTreeObserver
{
public:
    CObservedRoot() : CMElement("Root", nullptr, 0) {}
    IElementTreeObserver* GetTreeObserver() const override { return const_cast<CObservedRoot*>(this); }
    void OnElementAdded(CMElement* e) override { notices.push_back("+" + Describe(e)); }
    void OnElementRemoving(CMElement* e) override { notices.push_back("-" + Describe(e)); }
    void OnElementRenamed(CMElement* e) override { notices.push_back("=" + Describe(e)); }
    std::vector<std::string> Take() { return std::exchange(notices, {}); }

    std::vector<std::string> notices;

private:
    static std::string Describe(CMElement* e)
    {
        const CMElement* parent = e->GetParent();
        return e->GetName() + (parent && parent->GetChildIndex(e) >= 0 ? "" : " (not held)");
    }
};

CMElement* Add(CMElement& parent, const std::string& name)
{
    return parent.AddChild(std::make_unique<CMElement>(name, &parent, 1));
}
} // namespace

TEST(ElementTree, TheRootHearsOfEveryChangeBelowIt)
{
    CObservedRoot root;
    using Notices = std::vector<std::string>;
    CMElement* a = Add(root, "A");
    CMElement* b = Add(*a, "B");
    EXPECT_EQ(root.Take(), (Notices{"+A", "+B"})) << "nested additions reach the root";
    // A child added twice, or something refused, tells nothing.
    EXPECT_EQ(a->AddChild(b), b);
    EXPECT_EQ(a->AddChild(a), nullptr);
    EXPECT_EQ(root.Take(), Notices{});

    // A subtree built on its own tells nothing until it is added, then once with its children.
    auto branch = std::make_unique<CMElement>("C", &root, 1); // names a parent, is not held by it
    Add(*branch, "D");
    EXPECT_EQ(root.Take(), Notices{});
    CMElement* c = root.AddChild(std::move(branch));
    EXPECT_EQ(root.Take(), (Notices{"+C"}));

    b->SetName("B2");
    EXPECT_EQ(root.Take(), (Notices{"=B2"}));
    ASSERT_EQ(root.MoveChild(0, 1), 1);
    EXPECT_EQ(root.Take(), (Notices{"-A", "+A"})) << "a moved child leaves and comes back";
    root.SortByName();
    EXPECT_EQ(root.Take(), (Notices{"-C", "-A", "+A", "+C"}));

    // Moving an element to another tree: the first root hears it leave, the second it come.
    CObservedRoot other;
    other.AddChild(b);
    EXPECT_EQ(root.Take(), (Notices{"-B2"}));
    EXPECT_EQ(other.Take(), (Notices{"+B2"}));
    other.TakeChildrenOf(*c);
    EXPECT_EQ(root.Take(), (Notices{"-D"}));
    EXPECT_EQ(other.Take(), (Notices{"+D"}));

    std::unique_ptr<CMElement> released = root.ReleaseChild(c);
    ASSERT_NE(released, nullptr);
    EXPECT_EQ(root.Take(), (Notices{"-C"}));
    EXPECT_EQ(root.DeleteChild(a, 1), 1);
    EXPECT_EQ(root.Take(), (Notices{"-A"}));
    other.RemoveAll();
    EXPECT_EQ(other.Take(), (Notices{"-D", "-B2"}));

    // Bulk work under a silent guard, copies and trees read back tell nothing.
    {
        CMElement::CSilentTree silent;
        Add(root, "Quiet");
        root.RemoveAll();
    }
    EXPECT_EQ(root.Take(), Notices{});
    CMElement* e = Add(root, "E");
    Add(*e, "F");
    root.Take();
    std::unique_ptr<CMElement> copy = e->Duplicate();
    ASSERT_NE(copy, nullptr);
    std::unique_ptr<CMElement> loaded = elements_test::Load(elements_test::Store(*e));
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(root.Take(), Notices{});
}

TEST(ElementTree, AnElementReadAgainInPlaceShowsItsNewChildren)
{
    CObservedRoot root;
    CMElement* e = Add(root, "E");
    Add(*e, "Old");
    CMElement source("E", nullptr, 1);
    Add(source, "New");
    std::vector<uint8_t> bytes;
    {
        CArchive ar(&bytes, CArchive::store);
        source.Serialize(ar);
    }
    root.Take();
    CArchive ar(&bytes, CArchive::load);
    e->Serialize(ar);
    EXPECT_EQ(root.Take(), (std::vector<std::string>{"-Old", "+New"}));
}
