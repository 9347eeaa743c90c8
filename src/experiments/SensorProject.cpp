#include "experiments/SensorProject.h"

#include <algorithm>

#include "platform/archive/Archive.h"
#include "platform/base/Format.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"

IMPLEMENT_SERIAL(CSensorProject, CMElement, 0 | VERSIONABLE_SCHEMA)

namespace {
constexpr uint32_t kCategoryNameIds[3] = {IDS_CATEGORY_ACCELEROMETERS, IDS_CATEGORY_MICROPHONES, IDS_CATEGORY_HAMMERS};
} // namespace

CSensorProject::CSensorProject() : CMElement("Sensor Project", nullptr, -1)
{
    CreateCategories();
}

CSensorProject::~CSensorProject() = default;

void CSensorProject::CreateCategories()
{
    for (uint32_t id : kCategoryNameIds)
        AddChild(std::make_unique<CMElement>(LoadString(id), this, -1));
}

CMElement* CSensorProject::GetCategory(int category) const
{
    if (category < 1 || category > 3)
        return nullptr;
    // By the category's name in the current language; a project saved under another language
    // keeps its categories in creation order, so the position is the fallback.
    const std::string name = LoadString(kCategoryNameIds[category - 1]);
    if (!name.empty())
        if (CMElement* byName = FindOneChild(name))
            return byName;
    return GetChild(category - 1);
}

void CSensorProject::EnsureCategories()
{
    while (GetChildCount() < 3)
        AddChild(std::make_unique<CMElement>(LoadString(kCategoryNameIds[GetChildCount()]), this, -1));
}

int CSensorProject::CategoryOfDataType(int dataType)
{
    switch (dataType) {
    case SENSOR_DATATYPE_ACCELERATION:
        return categoryAcceleration;
    case SENSOR_DATATYPE_PRESSURE:
        return categoryMicrophone;
    case SENSOR_DATATYPE_FORCE:
        return categoryHammer;
    default:
        return 0;
    }
}

CSensor* CSensorProject::FindSensor(const std::string& id) const
{
    for (int c = 1; c <= 3; ++c)
        if (CMElement* cat = GetCategory(c))
            for (int i = 0; i < cat->GetChildCount(); ++i)
                if (auto* s = DynamicDowncast<CSensor>(cat->GetChild(i)); s && s->GetName() == id)
                    return s;
    return nullptr;
}

std::vector<CSensor*> CSensorProject::GetAllSensors() const
{
    std::vector<CSensor*> out;
    for (int c = 1; c <= 3; ++c)
        if (CMElement* cat = GetCategory(c))
            for (int i = 0; i < cat->GetChildCount(); ++i)
                if (auto* s = DynamicDowncast<CSensor>(cat->GetChild(i)))
                    out.push_back(s);
    return out;
}

CSensor* CSensorProject::AddSensor(const tagSENSORINFO& info, CFeedback* feedback)
{
    // Any element below the project with that name makes the ID taken.
    if (FindOne(info.ID, -1) != nullptr) {
        feedback->Warning(MessageTextOf(IDS_SENSOR_EXISTS), IDS_SENSOR_EXISTS);
        return nullptr;
    }
    const int category = CategoryOfDataType(info.ChannelInfo.DataType);
    CMElement* parent = GetCategory(category);
    if (!parent)
        return nullptr;
    auto sensor = std::make_unique<CSensor>(info.ID, parent, category);
    sensor->SetSensorInfo(info);
    return parent->AddChild(std::move(sensor));
}

bool CSensorProject::DialogValuesToSensorInfo(const SensorDialogValues& v, tagSENSORINFO& info)
{
    tagSENSORINFO out;
    out.ID = v.id;
    out.Manufacturer = v.manufacturer;
    out.Model = v.model;
    out.SerialNumber = v.serialNumber;
    CHANNELINFO& ch = out.ChannelInfo;
    ch.Sensitivity = v.sensitivity;
    ch.Limit = v.limit;
    switch (v.unitChoice) {
    case 0: // mV/G: stored per m/s2
        ch.DataType = SENSOR_DATATYPE_ACCELERATION;
        ch.Sensitivity = static_cast<float>(v.sensitivity / kGravity);
        ch.Limit = static_cast<float>(v.limit * kGravity);
        break;
    case 1:
        ch.DataType = SENSOR_DATATYPE_ACCELERATION;
        break;
    case 2:
        ch.DataType = SENSOR_DATATYPE_PRESSURE;
        break;
    case 3:
        ch.DataType = SENSOR_DATATYPE_FORCE;
        break;
    default:
        return false;
    }
    info = out;
    return true;
}

CSensor* CSensorProject::AddSensor(const SensorDialogValues& values, CFeedback* feedback)
{
    tagSENSORINFO info;
    if (!DialogValuesToSensorInfo(values, info))
        return nullptr;
    return AddSensor(info, feedback);
}

bool CSensorProject::UpdateSensor(CSensor* sensor, const SensorDialogValues& values, CFeedback* feedback)
{
    tagSENSORINFO info;
    if (!sensor || !DialogValuesToSensorInfo(values, info))
        return false;
    // Two sensors under one ID could no longer be told apart by bundles and channel records.
    CSensor* other = FindSensor(info.ID);
    if (other && other != sensor) {
        feedback->Warning(MessageTextOf(IDS_SENSOR_EXISTS), IDS_SENSOR_EXISTS);
        return false;
    }
    sensor->SetID(info.ID);
    sensor->SetManufacturer(info.Manufacturer);
    sensor->SetModel(info.Model);
    sensor->SetSerialNumber(info.SerialNumber);
    sensor->SetChannelInfo(info.ChannelInfo);
    sensor->SetName(info.ID);
    return true;
}

CSensorBundle* CSensorProject::GetBundle(int i) const
{
    return i >= 0 && i < GetBundleCount() ? m_bundles[i].get() : nullptr;
}

CSensorBundle* CSensorProject::FindBundleByNo(int number) const
{
    for (const auto& b : m_bundles)
        if (b->GetNumber() == number)
            return b.get();
    return nullptr;
}

CSensorBundle* CSensorProject::FindBundleByID(const std::string& id) const
{
    for (const auto& b : m_bundles)
        if (b->GetID() == id)
            return b.get();
    return nullptr;
}

CSensorBundle* CSensorProject::AddBundle(const std::string& id)
{
    int greatest = 0;
    for (const auto& b : m_bundles)
        greatest = std::max(greatest, b->GetNumber());
    auto bundle = std::make_unique<CSensorBundle>();
    bundle->SetNumber(greatest + 1);
    bundle->SetID(id.empty() ? Format("%d", greatest + 2) : id);
    m_bundles.push_back(std::move(bundle));
    return m_bundles.back().get();
}

CSensorBundle* CSensorProject::AppendBundle(std::unique_ptr<CSensorBundle> bundle)
{
    if (!bundle)
        return nullptr;
    m_bundles.push_back(std::move(bundle));
    return m_bundles.back().get();
}

void CSensorProject::TakeContentsOf(CSensorProject& source)
{
    if (&source == this)
        return;
    for (int c = 1; c <= 3; ++c) {
        CMElement* to = GetCategory(c);
        CMElement* from = source.GetCategory(c);
        if (!to || !from)
            continue;
        to->RemoveAll();
        to->TakeChildrenOf(*from);
    }
    m_bundles = std::move(source.m_bundles);
    source.m_bundles.clear();
    m_groups = std::move(source.m_groups);
    source.m_groups.clear();
}

void CSensorProject::DeleteBundle(int i)
{
    if (i >= 0 && i < GetBundleCount())
        m_bundles.erase(m_bundles.begin() + i);
}

int CSensorProject::SwapBundles(int i, int j)
{
    if (!GetBundle(i) || !GetBundle(j))
        return 0;
    std::swap(m_bundles[i], m_bundles[j]);
    return 1;
}

CSensorBundle* CSensorProject::CopyBundle(int number)
{
    const CSensorBundle* source = FindBundleByNo(number);
    if (!source)
        return nullptr;
    const std::vector<std::string> sensors = source->GetSensors();
    CSensorBundle* copy = AddBundle(std::string());
    for (const auto& s : sensors)
        copy->AddSensor(s);
    return copy;
}

CSensorGroup* CSensorProject::GetGroup(int i) const
{
    return i >= 0 && i < GetGroupCount() ? m_groups[i].get() : nullptr;
}

CSensorGroup* CSensorProject::InsertGroup(int i)
{
    if (i < 0)
        return nullptr;
    // Past the end the group is appended: a gap of missing groups would only hold nothing.
    const size_t at = std::min(static_cast<size_t>(i), m_groups.size());
    auto it = m_groups.insert(m_groups.begin() + static_cast<std::ptrdiff_t>(at), std::make_unique<CSensorGroup>());
    return it->get();
}

void CSensorProject::DeleteGroup(int i)
{
    if (i >= 0 && i < GetGroupCount())
        m_groups.erase(m_groups.begin() + i);
}

CSensorGroup* CSensorProject::DuplicateGroup(int i)
{
    const CSensorGroup* source = GetGroup(i);
    if (!source)
        return nullptr;
    m_groups.push_back(source->Clone());
    return m_groups.back().get();
}

int CSensorProject::SwapGroups(int i, int j)
{
    if (!GetGroup(i) || !GetGroup(j))
        return 0;
    std::swap(m_groups[i], m_groups[j]);
    return 1;
}

int CSensorProject::ShiftGroup(int i, int delta)
{
    CSensorGroup* group = GetGroup(i);
    return group ? group->Shift(delta, GetChannelCount()) : 0;
}

int CSensorProject::GetChannelCount() const
{
    const IProjectLookups* project = IProjectLookups::FindOwner(this);
    return project ? project->GetSystemChannelCount() : CSensorGroup::kDefaultChannelCount;
}

int CSensorProject::GetGroupsUsingBundle(int number, std::vector<int>& indexes) const
{
    int n = 0;
    for (int i = 0; i < GetGroupCount(); ++i)
        if (m_groups[i]->UsesBundle(number)) {
            indexes.push_back(i);
            ++n;
        }
    return n;
}

void CSensorProject::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << kVersion;
        CMElement::Serialize(ar);
        ar << static_cast<int32_t>(m_groups.size());
        for (const auto& g : m_groups)
            ar.WriteObject(g.get());
        ar << static_cast<int32_t>(m_bundles.size());
        for (const auto& b : m_bundles)
            ar.WriteObject(b.get());
        return;
    }
    uint8_t version = 0;
    ar >> version;
    if (version > kVersion)
        CArchive::ThrowBadSchema(Format("sensor project of version %d", version));
    // The archive brings the categories back.
    RemoveAll();
    m_groups.clear();
    m_bundles.clear();
    CMElement::Serialize(ar);
    int32_t count = ar.ReadSignedCount(2, "groups in a sensor project");
    for (int32_t i = 0; i < count; ++i) {
        auto group = ar.ReadOwned<CSensorGroup>();
        m_groups.push_back(group ? std::move(group) : std::make_unique<CSensorGroup>());
    }
    count = ar.ReadSignedCount(2, "bundles in a sensor project");
    for (int32_t i = 0; i < count; ++i) {
        auto bundle = ar.ReadOwned<CSensorBundle>();
        if (!bundle)
            bundle = std::make_unique<CSensorBundle>();
        m_bundles.push_back(std::move(bundle));
    }
    if (version == 0)
        for (size_t i = 0; i < m_bundles.size(); ++i) {
            m_bundles[i]->SetNumber(static_cast<int>(i));
            m_bundles[i]->SetID(Format("%d", static_cast<int>(i) + 1));
        }
    EnsureCategories();
}
