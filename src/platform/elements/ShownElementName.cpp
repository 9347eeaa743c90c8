#include "platform/elements/ShownElementName.h"

#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"

#include <cctype>
#include <cstdint>
#include <vector>

namespace {

// The names the program gives elements, by their string id where the string table holds them and
// by their text where the code writes them. The first that matches a name is taken, so a format
// stands before any more general one it would also match. A format whose values are names of other
// elements (a data kind, an input-power set) shows those names as this table shows them.
struct OwnName
{
    uint32_t id;
    const char* text;
    bool namesInside;
};
constexpr OwnName kOwnNames[] = {
    // Folders, functions and records.
    {IDS_PARAMETER_FOLDER, nullptr, false},
    {IDS_INPUT_ENERGY_FOLDER, nullptr, false},
    {IDS_INPUT_POWER_FOLDER, nullptr, false},
    {IDS_TOTAL, nullptr, false},
    {IDS_WAVE_NUMBER_NAME, nullptr, false},
    {IDS_ETA_MATRIX_NAME, nullptr, false},
    {IDS_MODAL_DENSITY_NAME, nullptr, false},
    {0, "Modal Energy", false},
    {0, "RPM Signal Data", false},
    {0, "Measurement", false},
    {0, "DAQ System", false},
    {0, "3D Model", false},
    {0, "Global CLFs", false},
    {0, "Common Global CLFs", false},
    // The sensor catalogue's categories.
    {IDS_CATEGORY_ACCELEROMETERS, nullptr, false},
    {IDS_CATEGORY_MICROPHONES, nullptr, false},
    {IDS_CATEGORY_HAMMERS, nullptr, false},
    // The kinds of model data, which also name their elements with a serial number.
    {0, "Analytical SEA Model", false},
    {0, "Hybrid SEA Model", false},
    {0, "CLFs/Total DLFs Data", false},
    {0, "CLFs Data", false},
    {0, "Total DLFs Data", false},
    {0, "Intrinsic DLFs Data", false},
    {0, "Input Power Data", false},
    {0, "Exp. Target ERs", false},
    {0, "Model Target ERs", false},
    {0, "Model Transmission CLFs", false},
    // Formats.
    {IDS_DATASET_LABEL, nullptr, false},
    {0, "Result #%d", false},
    {0, "Result [%s]", true},
    {IDS_DOMINANT_PATH_NAME, nullptr, false},
    {IDS_ENERGY_NAME, nullptr, false},
    {IDS_GCLF_UNCOUPLED_NAME, nullptr, false},
    {IDS_GCLF_COUPLED_NAME, nullptr, false},
    {IDS_POWER_NAME_1, nullptr, false},
    {IDS_POWER_NAME_0, nullptr, false},
    {IDS_POWER_NAME_2, nullptr, false},
    {IDS_POWER_NAME_3, nullptr, false},
    {IDS_POWER_CONTRIBUTION_NAME, nullptr, false},
    {IDS_SPL_COMPARISON, nullptr, false},
    {IDS_VIBRATION_LEVEL_NAME, nullptr, false},
    {IDS_CHANNEL_LEVELS, nullptr, false},
    {IDS_ORDER_LEVELS, nullptr, false},
    {IDS_ORDER_DATA, nullptr, false},
    {IDS_INTRINSIC_DLF_NAME, nullptr, false},
    {IDS_TOTAL_DLF_NAME, nullptr, false},
    {IDS_SERIAL_NAME, nullptr, true},
};

// A format as literal pieces and conversions ('s' for a text, 'd' for an integer, 'g' for a number);
// flags and widths ("%02d") do not matter, as the values are taken over as they are written.
struct Piece
{
    std::string literal;
    char conversion = 0;
};

std::vector<Piece> Parse(const std::string& format)
{
    std::vector<Piece> pieces(1);
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%') {
            pieces.back().literal += format[i];
            continue;
        }
        size_t j = i + 1;
        while (j < format.size() &&
               (format[j] == '0' || format[j] == '-' || std::isdigit(static_cast<unsigned char>(format[j]))))
            ++j;
        if (j < format.size() && format[j] == '%') {
            pieces.back().literal += '%';
        } else if (j < format.size() && (format[j] == 's' || format[j] == 'd' || format[j] == 'g')) {
            pieces.push_back({std::string(), format[j]});
            pieces.emplace_back();
        } else {
            return {}; // a format of another kind: not one of ours
        }
        i = j;
    }
    return pieces;
}

bool IsNumberChar(char c, char conversion)
{
    if (std::isdigit(static_cast<unsigned char>(c)) || c == '-')
        return true;
    return conversion == 'g' && (c == '+' || c == '.' || c == 'e' || c == 'E');
}

// True when the name from pos on is the pieces from i on; values holds what the conversions took.
bool Match(const std::vector<Piece>& pieces, size_t i, const std::string& name, size_t pos,
           std::vector<std::string>& values)
{
    if (i == pieces.size())
        return pos == name.size();
    const Piece& piece = pieces[i];
    if (!piece.conversion)
        return name.compare(pos, piece.literal.size(), piece.literal) == 0 &&
               Match(pieces, i + 1, name, pos + piece.literal.size(), values);
    if (piece.conversion == 's') {
        // The shortest text that lets the rest match.
        for (size_t end = pos + 1; end <= name.size(); ++end) {
            values.push_back(name.substr(pos, end - pos));
            if (Match(pieces, i + 1, name, end, values))
                return true;
            values.pop_back();
        }
        return false;
    }
    size_t end = pos;
    while (end < name.size() && IsNumberChar(name[end], piece.conversion))
        ++end;
    if (end == pos)
        return false;
    values.push_back(name.substr(pos, end - pos));
    if (Match(pieces, i + 1, name, end, values))
        return true;
    values.pop_back();
    return false;
}

// The shown format with the values put in, in their order; empty when the two do not agree.
std::string Fill(const std::string& format, const std::vector<std::string>& values)
{
    const std::vector<Piece> pieces = Parse(format);
    std::string out;
    size_t next = 0;
    for (const Piece& piece : pieces) {
        if (!piece.conversion) {
            out += piece.literal;
            continue;
        }
        if (next >= values.size())
            return {};
        out += values[next++];
    }
    return pieces.empty() || next != values.size() ? std::string() : out;
}

} // namespace

std::string ShownElementName(const std::string& stored)
{
    // English shows the names as they are stored.
    if (stored.empty() || TextTranslationCount() == 0)
        return stored;
    for (const OwnName& own : kOwnNames) {
        const std::string format = own.id ? LoadString(own.id) : std::string(own.text);
        const std::vector<Piece> pieces = Parse(format);
        std::vector<std::string> values;
        if (pieces.empty() || !Match(pieces, 0, stored, 0, values))
            continue;
        if (own.namesInside)
            for (std::string& value : values)
                value = ShownElementName(value);
        const std::string shown = Fill(TranslateText(format), values);
        return shown.empty() ? stored : shown;
    }
    return stored;
}

std::string StoredNameOfLabel(const std::string& stored, const std::string& label)
{
    return label == ShownElementName(stored) ? stored : label;
}
