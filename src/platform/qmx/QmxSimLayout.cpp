#include "platform/qmx/QmxSimLayout.h"

#include "platform/win/ZuRegOptions.h"

#include <cstdlib>
#include <sstream>

namespace {
std::string Trim(const std::string& s)
{
    const auto b = s.find_first_not_of(" \t");
    if (b == std::string::npos)
        return {};
    const auto e = s.find_last_not_of(" \t");
    return s.substr(b, e - b + 1);
}

std::vector<std::string> Split(const std::string& s, char sep)
{
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(s);
    while (std::getline(in, part, sep))
        parts.push_back(Trim(part));
    return parts;
}

bool ToInt(const std::string& s, int lo, int hi, int& out)
{
    if (s.empty())
        return false;
    char* end = nullptr;
    const long v = std::strtol(s.c_str(), &end, 10);
    if (*end != '\0' || v < lo || v > hi)
        return false;
    out = static_cast<int>(v);
    return true;
}

bool ToDouble(const std::string& s, double lo, double hi, double& out)
{
    if (s.empty())
        return false;
    char* end = nullptr;
    const double v = std::strtod(s.c_str(), &end);
    if (*end != '\0' || !(v >= lo && v <= hi))
        return false;
    out = v;
    return true;
}
} // namespace

int CQmxSimLayout::UnitCount() const
{
    int n = 0;
    for (const Board& b : boards)
        n += b.chain0Units + b.chain1Units;
    return n;
}

int CQmxSimLayout::ChannelCount() const
{
    return UnitCount() * channelsPerUnit;
}

bool CQmxSimLayout::Parse(const std::string& text, std::string* error)
{
    CQmxSimLayout l = *this;
    auto fail = [&](const std::string& why) {
        if (error)
            *error = why;
        return false;
    };
    for (const std::string& item : Split(text, ';')) {
        if (item.empty())
            continue;
        const auto eq = item.find('=');
        if (eq == std::string::npos)
            return fail("missing '=' in \"" + item + "\"");
        const std::string key = Trim(item.substr(0, eq));
        const std::string value = Trim(item.substr(eq + 1));
        bool ok = true;
        if (key == "boards") {
            l.boards.clear();
            for (const std::string& b : Split(value, ',')) {
                const auto plus = b.find('+');
                Board board;
                ok = ok && ToInt(Trim(b.substr(0, plus)), 0, 4, board.chain0Units);
                board.chain1Units = 0;
                if (plus != std::string::npos)
                    ok = ok && ToInt(Trim(b.substr(plus + 1)), 0, 4, board.chain1Units);
                l.boards.push_back(board);
            }
            ok = ok && l.boards.size() <= 16;
        } else if (key == "control") {
            int v = 0;
            ok = ToInt(value, 0, 1, v);
            l.controlBoard = v != 0;
        } else if (key == "serial") {
            ok = ToInt(value, 0, 99999, l.firstSerial);
        } else if (key == "address") {
            ok = !value.empty();
            l.address = value;
        } else if (key == "pulse") {
            ok = ToInt(value, -1, 4095, l.pulseChannel);
        } else if (key == "counter") {
            ok = ToInt(value, -1, 4095, l.counterChannel);
        } else if (key == "pulses") {
            ok = ToInt(value, 1, 360, l.pulsesPerRev);
        } else if (key == "pulsevolts") {
            ok = ToDouble(value, 0.0, 100.0, l.pulseVolts);
        } else if (key == "rpm") {
            const auto dash = value.find('-', 1);
            ok = dash != std::string::npos && ToDouble(Trim(value.substr(0, dash)), 0.0, 1e5, l.rpmStart) &&
                 ToDouble(Trim(value.substr(dash + 1)), 0.0, 1e5, l.rpmEnd);
        } else if (key == "ramp") {
            ok = ToDouble(value, 0.0, 1e6, l.rampSeconds);
        } else if (key == "orders") {
            l.orders.clear();
            for (const std::string& o : Split(value, ',')) {
                const auto colon = o.find(':');
                double order = 0.0, volts = 0.0;
                ok = ok && colon != std::string::npos && ToDouble(Trim(o.substr(0, colon)), 0.0, 1000.0, order) &&
                     ToDouble(Trim(o.substr(colon + 1)), 0.0, 100.0, volts);
                l.orders.emplace_back(order, volts);
            }
        } else if (key == "noise") {
            ok = ToDouble(value, 0.0, 100.0, l.noiseVolts);
        } else {
            return fail("unknown key \"" + key + "\"");
        }
        if (!ok)
            return fail("bad value for \"" + key + "\": \"" + value + "\"");
    }
    *this = l;
    return true;
}

bool CQmxSimLayout::FromSettings(const std::string& address, CQmxSimLayout& layout)
{
    const std::string missing = "\x01";
    std::string text = GetProfileString(kSettingsSection, address.c_str(), missing.c_str());
    if (text == missing)
        text = GetProfileString(kSettingsSection, "Default", "");
    if (Trim(text) == "none")
        return false;
    CQmxSimLayout l;
    if (!l.Parse(text))
        return false;
    layout = l;
    return true;
}
