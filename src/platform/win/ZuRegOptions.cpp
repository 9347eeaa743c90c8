#include "platform/win/ZuRegOptions.h"

#include "platform/base/Format.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>

#include <cstdlib>
#include <map>
#include <memory>
#include <mutex>
#include <optional>

#include <sys/stat.h>

namespace {

constexpr const char* kDwordPrefix = "dword:";
constexpr const char* kStringPrefix = "sz:";
constexpr const char* kBinaryPrefix = "hex:";
// The settings file in the settings folder.
constexpr const char* kSettingsFileName = "/registry.ini";

std::mutex g_mutex;
std::string g_folder;
std::string g_registryKey;
std::string g_appName;

// "Software\\Velmora" -> "Software/Velmora": the key path becomes nested INI groups.
QString GroupOf(const std::string& path)
{
    QString group = QString::fromStdString(path);
    group.replace(QLatin1Char('\\'), QLatin1Char('/'));
    while (group.startsWith(QLatin1Char('/')))
        group.remove(0, 1);
    while (group.endsWith(QLatin1Char('/')))
        group.chop(1);
    return group;
}

QString ValueKey(const QString& group, const char* name)
{
    // A '/' inside a value name would open a sub-group; keep the name one key.
    QString key = QString::fromUtf8(name ? name : "");
    key.replace(QLatin1Char('/'), QLatin1Char('\\'));
    return group.isEmpty() ? key : group + QLatin1Char('/') + key;
}

bool ParseDword(const QString& stored, uint32_t& value)
{
    if (!stored.startsWith(QLatin1String(kDwordPrefix)))
        return false;
    QString hex = stored.mid(int(std::char_traits<char>::length(kDwordPrefix)));
    if (hex.size() != 8)
        return false;
    bool ok = false;
    uint v = hex.toUInt(&ok, 16);
    if (!ok)
        return false;
    value = v;
    return true;
}

// One settings object per settings file for the whole program. Writes stay in it and reach the
// file together: when the program is next idle (the event loop runs a zero-time timer), when the
// application object goes and when the program ends. Without an event loop to come back to (no
// application object, another thread) a write reaches the file at once. So a start that writes ten
// values writes the file once, and a value is on disk before the program does anything further
// than the work it is doing.
class CSettingsStore
{
public:
    static CSettingsStore& Instance()
    {
        static CSettingsStore store;
        return store;
    }
    ~CSettingsStore() { Flush(); }

    std::recursive_mutex& Mutex() { return m_mutex; }

    // The settings of the file (created on first use, its folder with it); null when the folder
    // cannot be made. A file read before is read again when it changed since and no write of ours
    // is waiting, so a file changed by someone else is seen as it is now. writable says whether the
    // file can be written.
    QSettings* Open(const QString& file, const QString& folder, bool& writable)
    {
        std::lock_guard<std::recursive_mutex> lock(m_mutex);
        SFile& entry = m_files[file];
        // The file as it is before it is read: a change after this is seen by the next open.
        const std::optional<SStamp> stamp = Stamp(file);
        if (entry.settings && stamp && entry.checked == stamp) {
            // Unchanged since it was last read and checked: the settings hold it as it is, and it
            // can be written as it could then. Reading it again, and opening it to learn whether
            // it can be written, cost more than everything else a start does with its settings.
            writable = entry.writable;
            return entry.settings.get();
        }
        // A missing file is made in its folder; an existing file has one.
        if (!stamp && !(QDir().mkpath(folder) && QFileInfo(folder).isDir()))
            return nullptr;
        if (!entry.settings)
            entry.settings = std::make_unique<QSettings>(file, QSettings::IniFormat);
        else if (!m_pending)
            entry.settings->sync();
        writable = entry.writable = entry.settings->isWritable();
        // While our writes wait, the file is not read again, so there is nothing to remember.
        entry.checked = m_pending ? std::nullopt : stamp;
        return entry.settings.get();
    }

    // A value was written or removed.
    void Changed()
    {
        std::lock_guard<std::recursive_mutex> lock(m_mutex);
        m_pending = true;
        QCoreApplication* app = QCoreApplication::instance();
        if (!app || QThread::currentThread() != app->thread()) {
            Flush();
            return;
        }
        if (m_postRoutineFor != app) {
            qAddPostRoutine(&CSettingsStore::FlushInstance);
            m_postRoutineFor = app;
        }
        if (!m_scheduled) {
            m_scheduled = true;
            QTimer::singleShot(0, app, &CSettingsStore::FlushInstance);
        }
    }

    void Flush()
    {
        std::lock_guard<std::recursive_mutex> lock(m_mutex);
        m_scheduled = false;
        if (!m_pending)
            return;
        m_pending = false;
        for (auto& entry : m_files) {
            entry.second.settings->sync();
            // Our own write changed the file: the next open reads it again once.
            entry.second.checked.reset();
        }
    }

    // Settings of another folder from now on: what is waiting goes to its file first.
    void Forget()
    {
        std::lock_guard<std::recursive_mutex> lock(m_mutex);
        Flush();
        m_files.clear();
    }

    static void FlushInstance()
    {
        CSettingsStore& store = Instance();
        store.Flush();
        std::lock_guard<std::recursive_mutex> lock(store.m_mutex);
        store.m_postRoutineFor = nullptr; // post routines run once per application object
    }

private:
    // What identifies a file's state: a write, a replacement or a change of its permissions
    // changes one of them.
    struct SStamp
    {
        dev_t device;
        ino_t inode;
        off_t size;
        mode_t mode;
        uid_t owner;
        timespec modified;
        timespec changed;
        bool operator==(const SStamp& o) const
        {
            return device == o.device && inode == o.inode && size == o.size && mode == o.mode && owner == o.owner &&
                   modified.tv_sec == o.modified.tv_sec && modified.tv_nsec == o.modified.tv_nsec &&
                   changed.tv_sec == o.changed.tv_sec && changed.tv_nsec == o.changed.tv_nsec;
        }
    };
    static std::optional<SStamp> Stamp(const QString& file)
    {
        struct stat st
        {};
        if (::stat(QFile::encodeName(file).constData(), &st) != 0 || !S_ISREG(st.st_mode))
            return std::nullopt;
        return SStamp{st.st_dev, st.st_ino, st.st_size, st.st_mode, st.st_uid, st.st_mtim, st.st_ctim};
    }
    struct SFile
    {
        std::unique_ptr<QSettings> settings;
        // The file's state when the settings last read it and it was found (not) writable; none
        // when it must be read and checked again.
        std::optional<SStamp> checked;
        bool writable = false;
    };

    std::recursive_mutex m_mutex;
    std::map<QString, SFile> m_files;
    bool m_pending = false;
    bool m_scheduled = false;
    QCoreApplication* m_postRoutineFor = nullptr;
};

// Writes a value unless the file has it already: a start that writes back what it read (the
// language, the recent files) then leaves the file alone instead of rewriting it on every start.
void StoreValue(QSettings& settings, const QString& key, const QString& value)
{
    const QVariant stored = settings.value(key);
    if (stored.isValid() && stored.typeId() == QMetaType::QString && stored.toString() == value)
        return;
    settings.setValue(key, value);
    CSettingsStore::Instance().Changed();
}

} // namespace

CZuRegOptions::CZuRegOptions(const char* path)
{
    if (path)
        m_path = path;
    else
        m_path = Format("Software\\%s\\%s\\Settings", GetRegistryKey().c_str(), GetAppName().c_str());
}

CZuRegOptions::~CZuRegOptions()
{
    Close();
}

bool CZuRegOptions::Open()
{
    return OpenKey(true);
}

bool CZuRegOptions::OpenSilently()
{
    return OpenKey(false);
}

bool CZuRegOptions::OpenKey(bool report)
{
    const std::string folderPath = GetSettingsFolder();
    const QString folder = QString::fromStdString(folderPath);
    const QString file = QString::fromStdString(folderPath + kSettingsFileName);
    bool writable = false;
    QSettings* key = CSettingsStore::Instance().Open(file, folder, writable);
    // Full access is asked for: a key we cannot write is a key we cannot open.
    const bool ok = key && writable && key->status() != QSettings::AccessError;
    if (!ok) {
        Close();
        if (report)
            AfxMessageBox(IDS_REG_OPEN_FAILED, MB_ICONSTOP);
        return false;
    }
    Close();
    m_key = key;
    m_open = 1;
    return true;
}

void CZuRegOptions::Close()
{
    m_key = nullptr; // the store's
    m_open = 0;
}

bool CZuRegOptions::GetDWORD(const char* name, uint32_t& value)
{
    if (!m_open)
        return false;
    std::lock_guard<std::recursive_mutex> lock(CSettingsStore::Instance().Mutex());
    QVariant stored = m_key->value(ValueKey(GroupOf(m_path), name));
    if (!stored.isValid() || stored.typeId() != QMetaType::QString)
        return false;
    return ParseDword(stored.toString(), value);
}

bool CZuRegOptions::SetDWORD(const char* name, uint32_t value)
{
    if (!m_open)
        return false;
    std::lock_guard<std::recursive_mutex> lock(CSettingsStore::Instance().Mutex());
    StoreValue(*m_key, ValueKey(GroupOf(m_path), name), QString::fromStdString(Format("%s%08x", kDwordPrefix, value)));
    return m_key->status() == QSettings::NoError;
}

bool CZuRegOptions::GetString(const char* name, std::string& value, size_t maxBytes)
{
    if (!m_open)
        return false;
    std::lock_guard<std::recursive_mutex> lock(CSettingsStore::Instance().Mutex());
    QVariant stored = m_key->value(ValueKey(GroupOf(m_path), name));
    if (!stored.isValid() || stored.typeId() != QMetaType::QString)
        return false;
    QString text = stored.toString();
    if (!text.startsWith(QLatin1String(kStringPrefix)))
        return false;
    std::string utf8 = text.mid(int(std::char_traits<char>::length(kStringPrefix))).toStdString();
    if (utf8.size() > maxBytes)
        return false;
    value = utf8;
    return true;
}

bool CZuRegOptions::SetString(const char* name, const std::string& value)
{
    if (!m_open)
        return false;
    std::lock_guard<std::recursive_mutex> lock(CSettingsStore::Instance().Mutex());
    StoreValue(*m_key, ValueKey(GroupOf(m_path), name),
               QString::fromUtf8(kStringPrefix) + QString::fromStdString(value));
    return m_key->status() == QSettings::NoError;
}

bool CZuRegOptions::GetBinary(const char* name, std::vector<uint8_t>& value)
{
    if (!m_open)
        return false;
    std::lock_guard<std::recursive_mutex> lock(CSettingsStore::Instance().Mutex());
    QVariant stored = m_key->value(ValueKey(GroupOf(m_path), name));
    if (!stored.isValid() || stored.typeId() != QMetaType::QString)
        return false;
    const QString text = stored.toString();
    if (!text.startsWith(QLatin1String(kBinaryPrefix)))
        return false;
    const QByteArray hex = text.mid(int(std::char_traits<char>::length(kBinaryPrefix))).toLatin1();
    const QByteArray bytes = QByteArray::fromHex(hex);
    if (bytes.size() * 2 != hex.size())
        return false; // damaged by hand: not ours
    value.assign(bytes.begin(), bytes.end());
    return true;
}

bool CZuRegOptions::SetBinary(const char* name, const std::vector<uint8_t>& value)
{
    if (!m_open)
        return false;
    std::lock_guard<std::recursive_mutex> lock(CSettingsStore::Instance().Mutex());
    const QByteArray bytes(reinterpret_cast<const char*>(value.data()), static_cast<qsizetype>(value.size()));
    StoreValue(*m_key, ValueKey(GroupOf(m_path), name),
               QString::fromLatin1(kBinaryPrefix) + QString::fromLatin1(bytes.toHex()));
    return m_key->status() == QSettings::NoError;
}

bool CZuRegOptions::DeleteValue(const char* name)
{
    if (!m_open)
        return false;
    std::lock_guard<std::recursive_mutex> lock(CSettingsStore::Instance().Mutex());
    const QString key = ValueKey(GroupOf(m_path), name);
    // Nothing to remove, nothing to write.
    if (m_key->contains(key)) {
        m_key->remove(key);
        CSettingsStore::Instance().Changed();
    }
    return m_key->status() == QSettings::NoError;
}

void CZuRegOptions::SetSettingsFolder(const std::string& folder)
{
    CSettingsStore::Instance().Forget();
    std::lock_guard<std::mutex> lock(g_mutex);
    g_folder = folder;
}

void CZuRegOptions::Flush()
{
    CSettingsStore::Instance().Flush();
}

std::string CZuRegOptions::GetSettingsFolder()
{
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        if (!g_folder.empty())
            return g_folder;
    }
    if (const char* env = std::getenv("ORVEX_SETTINGS_DIR"); env && *env)
        return env;
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation).toStdString() + "/orvex";
}

std::string CZuRegOptions::GetSettingsFilePath()
{
    return GetSettingsFolder() + kSettingsFileName;
}

void CZuRegOptions::SetRegistryKey(const std::string& key)
{
    std::lock_guard<std::mutex> lock(g_mutex);
    g_registryKey = key;
}

std::string CZuRegOptions::GetRegistryKey()
{
    std::lock_guard<std::mutex> lock(g_mutex);
    return g_registryKey;
}

void CZuRegOptions::SetAppName(const std::string& name)
{
    std::lock_guard<std::mutex> lock(g_mutex);
    g_appName = name;
}

std::string CZuRegOptions::GetAppName()
{
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        if (!g_appName.empty())
            return g_appName;
    }
    return GetAppTitle();
}

// ---- framework settings ----

uint32_t ReadFrameworkDWORD(const char* name, uint32_t defaultValue)
{
    CZuRegOptions reg(kVelmoraKeyPath);
    uint32_t value = defaultValue;
    if (reg.Open() && reg.GetDWORD(name, value))
        return value;
    return defaultValue;
}

bool WriteFrameworkDWORD(const char* name, uint32_t value)
{
    CZuRegOptions reg(kVelmoraKeyPath);
    return reg.Open() && reg.SetDWORD(name, value);
}

uint32_t GetLanguageOption()
{
    return ReadFrameworkDWORD("Language", kDefaultLanguage);
}

bool SetLanguageOption(uint32_t language)
{
    return WriteFrameworkDWORD("Language", language);
}

uint32_t GetAutoCheckLastVerOption()
{
    return ReadFrameworkDWORD("AutoCheckLastVer", kDefaultAutoCheckLastVer);
}

bool SetAutoCheckLastVerOption(uint32_t on)
{
    return WriteFrameworkDWORD("AutoCheckLastVer", on);
}

// ---- the application's options ----

std::string GetOptionsKeyPath()
{
    std::string pattern;
    std::string key = CZuRegOptions::GetRegistryKey();
    if (LoadString(IDS_OPTIONS_KEY_PATH, pattern))
        return Format(pattern.c_str(), key.c_str());
    // Without the language module's pattern the accessor's own default path is the options key.
    return Format("Software\\%s\\%s\\Settings", key.c_str(), CZuRegOptions::GetAppName().c_str());
}

bool ReadRegOptionById(uint32_t stringId, uint32_t& value)
{
    std::string path = GetOptionsKeyPath();
    CZuRegOptions reg(path.c_str());
    if (!reg.Open())
        return false;
    std::string name;
    if (!LoadString(stringId, name))
        return false;
    uint32_t read = 0xFFFFFFFFu;
    if (!reg.GetDWORD(name.c_str(), read))
        read = 0xFFFFFFFFu;
    value = read;
    return read != 0xFFFFFFFFu;
}

uint32_t GetRegOptionByStringId(uint32_t stringId)
{
    uint32_t value = 0;
    return ReadRegOptionById(stringId, value) ? value : 0;
}

// ---- application profile ----

namespace {
std::string ProfileKey(const char* section)
{
    return Format("Software\\%s\\%s\\%s", CZuRegOptions::GetRegistryKey().c_str(), CZuRegOptions::GetAppName().c_str(),
                  section ? section : "");
}
} // namespace

std::string GetProfileString(const char* section, const char* entry, const char* defaultValue)
{
    CZuRegOptions reg(ProfileKey(section).c_str());
    std::string value;
    if (reg.OpenSilently() && reg.GetString(entry, value))
        return value;
    return defaultValue ? defaultValue : "";
}

bool WriteProfileString(const char* section, const char* entry, const std::string& value)
{
    CZuRegOptions reg(ProfileKey(section).c_str());
    return reg.OpenSilently() && reg.SetString(entry, value);
}

uint32_t GetProfileInt(const char* section, const char* entry, uint32_t defaultValue)
{
    CZuRegOptions reg(ProfileKey(section).c_str());
    uint32_t value = defaultValue;
    if (reg.OpenSilently() && reg.GetDWORD(entry, value))
        return value;
    return defaultValue;
}

bool WriteProfileInt(const char* section, const char* entry, uint32_t value)
{
    CZuRegOptions reg(ProfileKey(section).c_str());
    return reg.OpenSilently() && reg.SetDWORD(entry, value);
}

std::vector<uint8_t> GetProfileBinary(const char* section, const char* entry)
{
    CZuRegOptions reg(ProfileKey(section).c_str());
    std::vector<uint8_t> value;
    if (reg.OpenSilently() && reg.GetBinary(entry, value))
        return value;
    return {};
}

bool WriteProfileBinary(const char* section, const char* entry, const std::vector<uint8_t>& value)
{
    CZuRegOptions reg(ProfileKey(section).c_str());
    return reg.OpenSilently() && reg.SetBinary(entry, value);
}
