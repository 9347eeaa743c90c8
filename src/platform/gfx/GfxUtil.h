#pragma once
// Static helpers shared by every part of the program: number and frequency texts, the rules of
// subsystem names (wave-type marks, sides and mirror sides), file existence and warning boxes.
//
// Subsystem keys of model matrices carry a wave-type mark after the name: "-F" for the flexural
// field of a structure, a bare "-" for the acoustic field of a cavity ("Roof-F", "Cabin-").
// Names may end in a side before that mark: "-R" right, "-L" left, "-C" centre ("Door-R-F").
#include "platform/archive/Object.h"

#include <memory>
#include <string>

class CGfxUtil
{
public:
    CGfxUtil() = delete;

    // Wave types of GetWaveType.
    enum : int
    {
        WAVE_NONE = -1,    // no wave-type mark
        WAVE_FLEXURAL = 2, // "-F"; with flag 0 also "-"
        WAVE_ACOUSTIC = 3, // "-" with flag 1
    };
    // Sides of GetLeftRight.
    enum : int
    {
        SIDE_NONE = -1,
        SIDE_LEFT = 0,   // "-L"
        SIDE_RIGHT = 1,  // "-R"
        SIDE_CENTER = 2, // "-C"
    };

    // Wave type of a subsystem key. With flag 0 both kinds of key ("-F" and "-") are the main wave
    // of their subsystem, type 2; with flag 1 an acoustic key is type 3. No mark: -1.
    static int GetWaveType(const std::string& name, int flag);
    // Removes the wave-type mark in place; 1 when one was removed, else 0 (name unchanged).
    static int RemoveWaveSign(std::string& name);
    // The wave-type mark that ends the name ("-F", "-" or empty).
    static std::string GetWaveSign(const std::string& name);

    // Side of a subsystem name (its wave-type mark ignored): SIDE_*.
    static int GetLeftRight(const std::string& name);
    // The mirror-side name ("-R" <-> "-L", the wave-type mark kept). Returns 1 and fills out (when
    // given) when the name has a mirror side; 0 for centre names and names without a side, and then
    // out is left as it was.
    static int GetSymmetricSubsystem(const std::string& name, std::string* out = nullptr);

    // Non-zero when path names an existing file (folders do not count).
    static int FileExist(const std::string& path);

    // Text of a missing value (HUGE_VAL, NaN) in tables and labels.
    static constexpr const char* kNoValueText = "----";

    // Fixed-point text with digits decimals ("%.*f"); digits is held to 0..15. A non-zero value too
    // small for that many decimals gets significant digits instead ("0.004", "1e-09"), and a value
    // that is not finite reads kNoValueText.
    static void GenFormat(std::string& text, double value, int digits);
    static std::string GenFormat(double value, int digits);
    // Scientific text with digits decimals of the mantissa ("%.*e"); digits is held to 0..15.
    static void SciFormat(std::string& text, double value, int digits);
    static std::string SciFormat(double value, int digits);

    // Display text of a plain number such as an RPM: up to seven significant digits with no trailing
    // zeros ("1000", "1234.5", "12345.68"); kNoValueText for a value that is not finite.
    static std::string NumberText(double value);

    // Display text of a frequency: the nominal label when f is the exact centre of an octave or
    // one-third-octave band ("31.5", "1250"), otherwise "%g" of f.
    static std::string GetManipulatedFrequencyString(double f);
    static void GetManipulatedFrequencyString(std::string& text, double f);

    // Message box through the prompt service; returns the button pressed (an ID* value).
    // style takes the MB_* flags of the prompt service; an empty caption is the application title.
    static int WarningBox(const std::string& text, unsigned style = 0, const std::string& caption = {});
    // By string id of the language module; caption id 0 is the application title.
    static int WarningBox(unsigned textId, unsigned style = 0, unsigned captionId = 0);

    // A deep copy of a persistent object made through an in-memory archive; null when the object is
    // null, not serialisable, or does not read back.
    static std::unique_ptr<CObject> DuplicateObject(const CObject* obj);
    template <class T>
    static std::unique_ptr<T> Duplicate(const T* obj)
    {
        std::unique_ptr<CObject> copy = DuplicateObject(obj);
        if (!copy || !copy->IsKindOf(T::ThisClass()))
            return nullptr;
        return std::unique_ptr<T>(static_cast<T*>(copy.release()));
    }
};
