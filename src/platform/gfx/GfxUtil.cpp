#include "platform/gfx/GfxUtil.h"

#include "platform/archive/Archive.h"
#include "platform/base/Format.h"
#include "platform/gfx/OctaveManager.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <vector>

namespace {
bool EndsWith(const std::string& s, const char* tail)
{
    const size_t n = std::char_traits<char>::length(tail);
    return s.size() >= n && s.compare(s.size() - n, n, tail) == 0;
}

int ClampDigits(int digits)
{
    return std::clamp(digits, 0, 15);
}

// Length of the wave-type mark that ends the name: 2 for "-F", 1 for "-", 0 for none.
size_t WaveSignLength(const std::string& name)
{
    if (EndsWith(name, "-F"))
        return 2;
    if (EndsWith(name, "-"))
        return 1;
    return 0;
}

std::string WithoutWaveSign(const std::string& name)
{
    return name.substr(0, name.size() - WaveSignLength(name));
}
} // namespace

int CGfxUtil::GetWaveType(const std::string& name, int flag)
{
    if (EndsWith(name, "-F"))
        return WAVE_FLEXURAL;
    if (EndsWith(name, "-"))
        // The main wave of a cavity is its acoustic field; only the strict numbering tells it apart
        // from the flexural field of a structure, so that model imports keep both.
        return flag == 0 ? WAVE_FLEXURAL : WAVE_ACOUSTIC;
    return WAVE_NONE;
}

int CGfxUtil::RemoveWaveSign(std::string& name)
{
    const size_t n = WaveSignLength(name);
    if (n == 0)
        return 0;
    name.resize(name.size() - n);
    return 1;
}

std::string CGfxUtil::GetWaveSign(const std::string& name)
{
    return name.substr(name.size() - WaveSignLength(name));
}

int CGfxUtil::GetLeftRight(const std::string& name)
{
    const std::string base = WithoutWaveSign(name);
    if (EndsWith(base, "-L"))
        return SIDE_LEFT;
    if (EndsWith(base, "-R"))
        return SIDE_RIGHT;
    if (EndsWith(base, "-C"))
        return SIDE_CENTER;
    return SIDE_NONE;
}

int CGfxUtil::GetSymmetricSubsystem(const std::string& name, std::string* out)
{
    const int side = GetLeftRight(name);
    if (side != SIDE_LEFT && side != SIDE_RIGHT)
        return 0;
    std::string mirror = name;
    mirror[name.size() - WaveSignLength(name) - 1] = (side == SIDE_LEFT) ? 'R' : 'L';
    if (out)
        *out = std::move(mirror);
    return 1;
}

int CGfxUtil::FileExist(const std::string& path)
{
    if (path.empty())
        return 0;
    std::error_code ec;
    return std::filesystem::is_regular_file(std::filesystem::u8path(path), ec) ? 1 : 0;
}

void CGfxUtil::GenFormat(std::string& text, double value, int digits)
{
    if (!std::isfinite(value)) {
        text = kNoValueText;
        return;
    }
    const int decimals = ClampDigits(digits);
    // A fixed count of decimals turns a small non-zero value into "0.00"; such a value is shown
    // with the significant digits it needs instead, so no reading silently becomes zero.
    text = Format("%.*f", decimals, value);
    if (value != 0.0 && text.find_first_of("123456789") == std::string::npos)
        text = Format("%.*g", std::max(decimals, 2), value);
}

std::string CGfxUtil::GenFormat(double value, int digits)
{
    std::string text;
    GenFormat(text, value, digits);
    return text;
}

void CGfxUtil::SciFormat(std::string& text, double value, int digits)
{
    text = Format("%.*e", ClampDigits(digits), value);
}

std::string CGfxUtil::NumberText(double value)
{
    if (!std::isfinite(value))
        return kNoValueText;
    return Format("%.7g", value);
}

std::string CGfxUtil::SciFormat(double value, int digits)
{
    std::string text;
    SciFormat(text, value, digits);
    return text;
}

std::string CGfxUtil::GetManipulatedFrequencyString(double f)
{
    std::string label = COctaveManager::NominalLabel(f);
    return label.empty() ? Format("%g", f) : label;
}

void CGfxUtil::GetManipulatedFrequencyString(std::string& text, double f)
{
    text = GetManipulatedFrequencyString(f);
}

std::unique_ptr<CObject> CGfxUtil::DuplicateObject(const CObject* obj)
{
    if (!obj || !obj->IsSerializable())
        return nullptr;
    try {
        std::vector<uint8_t> buffer;
        {
            CArchive out(&buffer, CArchive::store);
            out.WriteObject(obj);
            out.Close();
        }
        CArchive in(&buffer, CArchive::load);
        return std::unique_ptr<CObject>(in.ReadObject(obj->GetRuntimeClass()));
    } catch (const std::exception&) {
        return nullptr;
    }
}
