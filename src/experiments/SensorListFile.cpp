#include "experiments/SensorListFile.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string_view>
#include <vector>

#include "experiments/SensorProject.h"
#include "platform/archive/Archive.h"
#include "platform/base/Format.h"
#include "platform/base/LineReader.h"
#include "platform/base/NameIndex.h"
#include "platform/base/RegularFile.h"
#include "platform/base/TabSplitter.h"
#include "platform/elements/StdioFile.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"

namespace {
constexpr const char* kSensorListSection = "[Sensor List]";
constexpr const char* kBundleSection = "[Sensor Bundle]";
constexpr const char* kGroupingSection = "[Sensor Grouping]";
constexpr int kSensorFields = 8;
constexpr size_t kMaxFieldLength = 255;
// A catalogue file is small; anything far larger is not one of ours.
constexpr std::streamoff kMaxFileSize = 64 << 20;

// The first maxFields tab-separated fields of line (views into it, each cut to its longest), the
// missing ones empty; kept in fields, which is reused from line to line.
void SplitFields(std::string_view line, size_t maxFields, std::vector<std::string_view>& fields)
{
    CTabSplitter().TakeFields(maxFields).CutFieldsAt(kMaxFieldLength).Split(line, fields);
}

// A number of a field as atof and atoi read it (leading blanks, text after the number ignored).
double FieldDouble(std::string_view field)
{
    char buffer[kMaxFieldLength + 1];
    field.copy(buffer, field.size());
    buffer[field.size()] = '\0';
    return std::atof(buffer);
}

int FieldInt(std::string_view field)
{
    char buffer[kMaxFieldLength + 1];
    field.copy(buffer, field.size());
    buffer[field.size()] = '\0';
    return std::atoi(buffer);
}

bool IsValidUtf8(const std::string& s)
{
    size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        const int extra = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
        if (extra < 0 || i + extra >= s.size() + (extra == 0 ? 1 : 0))
            return false;
        for (int k = 1; k <= extra; ++k)
            if ((static_cast<unsigned char>(s[i + k]) >> 6) != 2)
                return false;
        i += static_cast<size_t>(extra) + 1;
    }
    return true;
}

// The text of the file, to be read line by line. False when the file cannot be read, is too
// large, or does not end with a line break (every line we write ends with one, so a file without
// it was cut short).
bool ReadText(const std::string& path, std::string& text)
{
    if (!IsRegularFile(path))
        return false;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0 || size > kMaxFileSize)
        return false;
    in.seekg(0);
    text.assign(static_cast<size_t>(size), '\0');
    if (size > 0 && !in.read(text.data(), size))
        return false;
    if (text.empty() || text.back() != '\n')
        return false;
    // Texts of older files are in the legacy code page; ours are UTF-8.
    if (!IsValidUtf8(text))
        text = CArchive::DecodeLegacy(text, CArchive::DefaultCodePage());
    return true;
}

std::string_view TrimRight(std::string_view s)
{
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

// The problems of one import, shown once when it is done: a file that repeats one ID a thousand
// times gives one message, not a thousand.
struct Refusal
{
    uint32_t message;
    std::string what;
};

// All refused sensors of one import in one warning.
void ReportRefusals(const std::vector<Refusal>& refused, CFeedback* feedback)
{
    if (refused.empty())
        return;
    constexpr size_t kShown = 20;
    std::string text;
    for (size_t i = 0; i < refused.size() && i < kShown; ++i)
        text += (i > 0 ? "\n" : "") + FormatString(refused[i].message, refused[i].what.c_str());
    if (refused.size() > kShown)
        text += Format("\n... and %zu more", refused.size() - kShown);
    feedback->Warning(text, refused[0].message);
}

void ReportDuplicates(const std::vector<std::string>& ids, CFeedback* feedback)
{
    if (ids.empty())
        return;
    constexpr size_t kShown = 20;
    std::string text = MessageTextOf(IDS_SENSOR_EXISTS) + "\n";
    for (size_t i = 0; i < ids.size() && i < kShown; ++i)
        text += "\n" + ids[i];
    if (ids.size() > kShown)
        text += Format("\n... and %zu more", ids.size() - kShown);
    feedback->Warning(text, IDS_SENSOR_EXISTS);
}
} // namespace

void ClearSensorProject(CSensorProject& project)
{
    for (int c = CSensorProject::categoryAcceleration; c <= CSensorProject::categoryHammer; ++c)
        if (CMElement* category = project.GetCategory(c))
            category->RemoveAll();
    while (project.GetBundleCount() > 0)
        project.DeleteBundle(0);
    while (project.GetGroupCount() > 0)
        project.DeleteGroup(0);
}

int WriteSensorListFile(const CSensorProject& project, const std::string& path, const std::string& title)
{
    try {
        CStdioFile file;
        if (!file.Open(path, CStdioFile::modeWrite))
            return 0;
        file.WriteString(Format("#@%s\n", title.c_str()));
        file.WriteString(Format("# %s\n", path.c_str()));
        file.WriteString("#\n");
        file.WriteString(Format("%s\n", kSensorListSection));
        for (int c = CSensorProject::categoryAcceleration; c <= CSensorProject::categoryHammer; ++c) {
            const CMElement* category = project.GetCategory(c);
            for (int i = 0; category && i < category->GetChildCount(); ++i) {
                const auto* sensor = ElementCast<CSensor>(category->GetChild(i));
                if (!sensor)
                    continue;
                const CHANNELINFO& ch = sensor->GetChannelInfo();
                file.WriteString(Format("%s\t%s\t%s\t%s\t%g\t%d\t%d\t%g\n", sensor->GetID().c_str(),
                                        sensor->GetManufacturer().c_str(), sensor->GetModel().c_str(),
                                        sensor->GetSerialNumber().c_str(), double(ch.Sensitivity), ch.DataType, ch.Unit,
                                        double(ch.Limit)));
            }
        }
        file.WriteString(Format("\n%s\n", kBundleSection));
        std::string header = "Bundle ID";
        for (int s = 1; s <= CSensorBundle::kMaxSensors; ++s)
            header += Format("\tSensor %d", s);
        file.WriteString(header + "\n");
        for (int i = 0; i < project.GetBundleCount(); ++i) {
            const CSensorBundle* b = project.GetBundle(i);
            std::string row = Format("%s\t%d", b->GetID().c_str(), b->GetNumber());
            for (int s = 0; s < CSensorBundle::kMaxSensors; ++s)
                row += Format("\t%s", s < b->GetCount() ? b->GetSensorID(s).c_str() : "");
            file.WriteString(row + "\n");
        }
        const int channels = project.GetChannelCount();
        file.WriteString(Format("\n%s\n", kGroupingSection));
        header = "Group #";
        for (int c = 1; c <= channels; ++c)
            header += Format("\tChannel %d", c);
        file.WriteString(header + "\n");
        for (int g = 0; g < project.GetGroupCount(); ++g) {
            const CSensorGroup* group = project.GetGroup(g);
            std::vector<std::string> cells(static_cast<size_t>(channels > 0 ? channels : 0));
            for (int m = 0; m < group->GetMemberCount(); ++m) {
                const tagSENSORGROUPMEMBER member = group->GetMember(m);
                const CSensorBundle* bundle = project.FindBundleByNo(member.bundle);
                if (bundle && member.channel >= 0 && member.channel < channels)
                    cells[static_cast<size_t>(member.channel)] =
                        FormatString(IDS_BUNDLE_MEMBER_NAME, bundle->GetID().c_str(), member.slot + 1);
            }
            std::string row = Format("%d", g + 1);
            for (const auto& cell : cells)
                row += "\t" + cell;
            file.WriteString(row + "\n");
        }
        file.Close();
        return 1;
    } catch (const CFileException&) {
        return 0;
    }
}

int ReadSensorListFile(CSensorProject& project, const std::string& path, std::string& title, CFeedback* feedback)
{
    std::string text;
    if (!ReadText(path, text))
        return 0;
    // Every line ends with a line break, so this counts the lines: the indexes are sized for them
    // up front. Only up to a bound, so that a file of empty lines does not claim gigabytes; a larger
    // catalogue grows them as it is read.
    const size_t rowsHint =
        std::min<size_t>(static_cast<size_t>(std::count(text.begin(), text.end(), '\n')), size_t(1) << 20);
    CLineReader reader(text);
    std::string_view line;
    std::string readTitle = title;
    if (!reader.Next(line))
        return 0;
    int lineNumber = 1;
    if (line.substr(0, 2) == "#@") {
        readTitle = std::string(line.substr(2));
        std::string_view skip;
        if (!reader.Next(skip) || !reader.Next(skip) || !reader.Next(line))
            return 0;
        lineNumber += 3;
    }

    // Everything is read into a catalogue of its own; the project takes it over only when the
    // whole file was read. Look-ups go through flat hash indexes, so reading is linear in the file.
    CSensorProject fresh;
    // Every name below the catalogue: categories and sensors.
    std::vector<std::string> takenNames;
    takenNames.reserve(rowsHint);
    CNameIndex taken([&takenNames](size_t i) { return std::string_view(takenNames[i]); }, rowsHint);
    const auto take = [&](std::string_view name) {
        if (!taken.Insert(name, takenNames.size()).second)
            return false;
        takenNames.emplace_back(name);
        return true;
    };
    for (int c = CSensorProject::categoryAcceleration; c <= CSensorProject::categoryHammer; ++c)
        if (const CMElement* category = fresh.GetCategory(c))
            take(category->GetName());
    take(fresh.GetName());
    std::vector<std::string> duplicates;
    std::vector<Refusal> refused;
    std::vector<std::string_view> f;
    while (reader.Next(line) && !line.empty()) {
        ++lineNumber;
        SplitFields(line, kSensorFields, f);
        tagSENSORINFO info;
        info.ID = f[0];
        info.Manufacturer = f[1];
        info.Model = f[2];
        info.SerialNumber = f[3];
        info.ChannelInfo.Sensitivity = static_cast<float>(FieldDouble(f[4]));
        info.ChannelInfo.DataType = FieldInt(f[5]);
        info.ChannelInfo.Unit = FieldInt(f[6]);
        info.ChannelInfo.Limit = static_cast<float>(FieldDouble(f[7]));
        info.ChannelInfo.Channel = -1;
        info.ChannelInfo.Scale = 1.0f;
        const int category = CSensorProject::CategoryOfDataType(info.ChannelInfo.DataType);
        CMElement* parent = fresh.GetCategory(category);
        if (taken.Find(info.ID) != taken.npos) {
            duplicates.push_back(info.ID);
            continue;
        }
        if (!parent)
            continue; // not a sensor's data type: dropped, and its ID stays free
        // A sensitivity divides every measured value: zero, infinite or not a number makes them
        // all meaningless, so such a sensor is refused as the workbook import refuses it.
        if (const float sensitivity = info.ChannelInfo.Sensitivity;
            !(sensitivity > 0.0f) || !std::isfinite(sensitivity)) {
            refused.push_back({IDS_IMPORT_SENSITIVITY, Format("%s (line %d)", info.ID.c_str(), lineNumber)});
            continue;
        }
        take(info.ID);
        auto sensor = std::make_unique<CSensor>(info.ID, parent, category);
        sensor->SetSensorInfo(info);
        parent->AddChild(std::move(sensor));
    }
    if (!reader.Next(line) || line != kBundleSection)
        return 0;
    if (!reader.Next(line))
        return 0;
    // The first bundle of an ID, as FindBundleByID finds it.
    std::vector<const CSensorBundle*> bundles;
    CNameIndex bundlesByID([&bundles](size_t i) { return std::string_view(bundles[i]->GetID()); },
                           rowsHint - std::min(rowsHint, takenNames.size()));
    while (reader.Next(line) && !line.empty()) {
        SplitFields(line, 2 + CSensorBundle::kMaxSensors, f);
        auto bundle = std::make_unique<CSensorBundle>();
        bundle->SetID(std::string(f[0]));
        bundle->SetNumber(FieldInt(f[1]));
        for (int s = 0; s < CSensorBundle::kMaxSensors; ++s)
            if (const std::string_view id = f[static_cast<size_t>(2 + s)]; !id.empty())
                bundle->AddSensor(std::string(id));
        const CSensorBundle* added = fresh.AppendBundle(std::move(bundle));
        if (bundlesByID.Insert(added->GetID(), bundles.size()).second)
            bundles.push_back(added);
    }
    if (!reader.Next(line) || line != kGroupingSection || !reader.Next(line))
        return 0;
    const int channels = project.GetChannelCount();
    while (reader.Next(line) && !line.empty()) {
        SplitFields(line, static_cast<size_t>(1 + (channels > 0 ? channels : 0)), f);
        CSensorGroup* group = fresh.InsertGroup(fresh.GetGroupCount());
        for (int c = 0; group && c < channels; ++c) {
            const std::string_view cell = f[static_cast<size_t>(c + 1)];
            const size_t hash = cell.rfind('#');
            if (hash == std::string_view::npos || hash < 1)
                continue;
            const size_t found = bundlesByID.Find(TrimRight(cell.substr(0, hash)));
            const CSensorBundle* bundle = found == bundlesByID.npos ? nullptr : bundles[found];
            const int slot = FieldInt(cell.substr(hash + 1)) - 1;
            if (!bundle || slot < 0 || slot >= bundle->GetCount())
                continue;
            tagSENSORGROUPMEMBER member;
            member.text = bundle->GetSensorID(slot);
            member.bundle = bundle->GetNumber();
            member.slot = slot;
            member.channel = c;
            member.extra = 0;
            group->SetMember(member, channels, feedback);
        }
    }
    project.TakeContentsOf(fresh);
    title = readTitle;
    ReportDuplicates(duplicates, feedback);
    ReportRefusals(refused, feedback);
    return 1;
}
