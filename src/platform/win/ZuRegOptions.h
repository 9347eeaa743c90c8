#pragma once
// Accessor of one key of the user's settings, by key path relative to the user's root
// ("Software\\Velmora"), read and written by value name. The settings live in an INI file
// (QSettings) in the settings folder; key paths become groups, so different keys never mix.
//
// Values keep their type: a DWORD read of a text value (or the reverse) fails, so readers keep
// their defaults instead of taking garbage.
//
// Writes reach the file in batches: once the program is idle again, when the application object
// goes and at exit (at once where no event loop runs). Flush writes what is waiting now.
#include <cstdint>
#include <string>
#include <vector>

class QSettings;

class CZuRegOptions
{
public:
    // A null path gives "Software\\<registry key>\\<application name>\\Settings".
    explicit CZuRegOptions(const char* path = nullptr);
    virtual ~CZuRegOptions();
    CZuRegOptions(const CZuRegOptions&) = delete;
    CZuRegOptions& operator=(const CZuRegOptions&) = delete;

    // Opens the key, creating it when missing. On failure shows message 12302 (stop icon) and
    // returns false; every read and write then fails.
    bool Open();
    // The same without the message (the application profile, which never reported failures).
    bool OpenSilently();
    void Close();
    bool IsOpen() const { return m_open != 0; }
    const std::string& GetKeyPath() const { return m_path; }

    // The out value is written only on success.
    bool GetDWORD(const char* name, uint32_t& value);
    bool SetDWORD(const char* name, uint32_t value);
    // Texts of at most 255 bytes are read; a longer one fails as it never fitted the readers.
    // A reader without that limit gives its own maxBytes.
    bool GetString(const char* name, std::string& value, size_t maxBytes = kMaxStringBytes);
    bool SetString(const char* name, const std::string& value);
    // Bytes of any length (window layouts and the like); a value of another type fails.
    bool GetBinary(const char* name, std::vector<uint8_t>& value);
    bool SetBinary(const char* name, const std::vector<uint8_t>& value);
    // Removes a value (no effect when absent); false when not open.
    bool DeleteValue(const char* name);

    // Where the settings live. The folder is, in order: the one set here, $ORVEX_SETTINGS_DIR,
    // the user's configuration folder + "/orvex". Tests set a temporary folder.
    static void SetSettingsFolder(const std::string& folder);
    static std::string GetSettingsFolder();
    static std::string GetSettingsFilePath(); // <folder>/registry.ini
    // Writes every value that waits for the file.
    static void Flush();

    // The application's registry key name ("Velmora", set at start-up) and its name (the title).
    static void SetRegistryKey(const std::string& key);
    static std::string GetRegistryKey();
    static void SetAppName(const std::string& name);
    static std::string GetAppName();

    static constexpr size_t kMaxStringBytes = 255;

private:
    bool OpenKey(bool report);

    int32_t m_open = 0;
    std::string m_path;
    QSettings* m_key = nullptr;
};

// The maker's key that holds the framework settings.
inline constexpr const char* kVelmoraKeyPath = "Software\\Velmora";
inline constexpr uint32_t kDefaultLanguage = 9;
inline constexpr uint32_t kDefaultAutoCheckLastVer = 1;

// A DWORD under "Software\\Velmora"; the default when the key cannot be opened or the value is
// missing or unreadable.
uint32_t ReadFrameworkDWORD(const char* name, uint32_t defaultValue);
// False (nothing written) when the key cannot be opened or the write fails.
bool WriteFrameworkDWORD(const char* name, uint32_t value);

uint32_t GetLanguageOption(); // "Language", default 9
bool SetLanguageOption(uint32_t language);
uint32_t GetAutoCheckLastVerOption(); // "AutoCheckLastVer", default 1
bool SetAutoCheckLastVerOption(uint32_t on);

// The application's option key: string 6187 formatted with the registry key name.
std::string GetOptionsKeyPath();

// Reads the option whose value name is string stringId of the string table, under the option key.
// False when the key cannot be opened, the string does not exist, or the value is missing,
// unreadable or 0xFFFFFFFF (which stands for absent); value then holds 0xFFFFFFFF, except when the
// key or the string is missing (value untouched).
bool ReadRegOptionById(uint32_t stringId, uint32_t& value);
// The option read by ReadRegOptionById, or 0 when that fails.
uint32_t GetRegOptionByStringId(uint32_t stringId);

// The application profile (sections and entries under the application's key, as the class
// library keeps them: "Software\\<registry key>\\<application name>\\<section>").
std::string GetProfileString(const char* section, const char* entry, const char* defaultValue = "");
bool WriteProfileString(const char* section, const char* entry, const std::string& value);
uint32_t GetProfileInt(const char* section, const char* entry, uint32_t defaultValue);
// Empty when absent or unreadable.
std::vector<uint8_t> GetProfileBinary(const char* section, const char* entry);
bool WriteProfileBinary(const char* section, const char* entry, const std::vector<uint8_t>& value);
bool WriteProfileInt(const char* section, const char* entry, uint32_t value);
