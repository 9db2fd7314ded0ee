// Loading and saving the settings record through the private-profile functions.
#include "app/settings.h"

#include <boost/lexical_cast.hpp>

#include <string>

namespace {

const WCHAR sectionName[] = L"QUORVANE";
const WCHAR iniFileName[] = L"Quorvane.ini";

using Record = ViewerSettingsRecord;

// The file's 20 keys in the order they are written.
constexpr SettingKey settingKeys[] = {
    {L"REDLINE_A", &Record::redLineColor, 0xFF, SettingKind::Alpha},
    {L"REDLINE_R", &Record::redLineColor, 0xFF, SettingKind::Red},
    {L"REDLINE_G", &Record::redLineColor, 0x00, SettingKind::Green},
    {L"REDLINE_B", &Record::redLineColor, 0x00, SettingKind::Blue},
    {L"LATITUDELINE_A", &Record::latitudeLineColor, 0xFF, SettingKind::Alpha},
    {L"LATITUDELINE_R", &Record::latitudeLineColor, 0x00, SettingKind::Red},
    {L"LATITUDELINE_G", &Record::latitudeLineColor, 0xFF, SettingKind::Green},
    {L"LATITUDELINE_B", &Record::latitudeLineColor, 0x00, SettingKind::Blue},
    {L"LONGITUDELINE_A", &Record::longitudeLineColor, 0xFF, SettingKind::Alpha},
    {L"LONGITUDELINE_R", &Record::longitudeLineColor, 0x00, SettingKind::Red},
    {L"LONGITUDELINE_G", &Record::longitudeLineColor, 0x00, SettingKind::Green},
    {L"LONGITUDELINE_B", &Record::longitudeLineColor, 0xFF, SettingKind::Blue},
    {L"LATITUDELINE_INTERVAL", &Record::latitudeLineInterval, 15, SettingKind::Number},
    {L"LONGITUDELINE_INTERVAL", &Record::longitudeLineInterval, 15, SettingKind::Number},
    {L"SHOW_LATITUDELINE", &Record::showLatitudeLines, TRUE, SettingKind::Flag},
    {L"SHOW_LONGITUDELINE", &Record::showLongitudeLines, TRUE, SettingKind::Flag},
    {L"SHOW_HELP", &Record::showHelp, TRUE, SettingKind::Flag},
    {L"SHOW_EARTH", &Record::showEarth, TRUE, SettingKind::Flag},
    {L"SHOW_EARTHOUTLINE", &Record::showEarthOutline, TRUE, SettingKind::Flag},
    {L"LINEDENSITY", &Record::lineDensity, 100, SettingKind::Number},
};

// Where a colour component's eight bits lie in its DWORD.
int ComponentShift(SettingKind kind)
{
    switch (kind) {
    case SettingKind::Alpha: return 24;
    case SettingKind::Red: return 16;
    case SettingKind::Green: return 8;
    default: return 0;
    }
}

bool IsColorComponent(const SettingKey& entry)
{
    return entry.kind != SettingKind::Number && entry.kind != SettingKind::Flag;
}

// A component's bits in its colour: only the low eight bits of the value count (256 is 0, 300 is 44).
DWORD ComponentBits(const SettingKey& entry, INT value)
{
    return (static_cast<DWORD>(value) & 0xFFu) << ComponentShift(entry.kind);
}

INT ComponentValue(const SettingKey& entry, const Record& settings)
{
    return static_cast<INT>((settings.*std::get<DWORD Record::*>(entry.member) >> ComponentShift(entry.kind)) & 0xFFu);
}

// The key's value in settings, as the file holds it.
INT Value(const SettingKey& entry, const Record& settings)
{
    return IsColorComponent(entry) ? ComponentValue(entry, settings) : settings.*std::get<INT Record::*>(entry.member);
}

// Stores a value as the file holds it into the key's member: a flag is TRUE for any nonzero value.
void Store(const SettingKey& entry, INT value, Record& settings)
{
    if (!IsColorComponent(entry)) {
        const bool flag = entry.kind == SettingKind::Flag;
        settings.*std::get<INT Record::*>(entry.member) = flag ? (value != 0 ? TRUE : FALSE) : value;
        return;
    }
    DWORD& color = settings.*std::get<DWORD Record::*>(entry.member);
    color = (color & ~ComponentBits(entry, 0xFF)) | ComponentBits(entry, value);
}

bool CanPersist()
{
    return ViewerSettings.iniPath[0] != L'\0';
}

}  // namespace

ViewerSettingsRecord ViewerSettings = InitSettingsInCurrentDirectory();

std::span<const SettingKey> SettingKeys()
{
    return settingKeys;
}

ViewerSettingsRecord InitSettings(LPCWSTR path)
{
    ViewerSettingsRecord settings{};
    for (const SettingKey& entry : settingKeys)
        Store(entry, entry.defaultValue, settings);
    if (path != nullptr && lstrlenW(path) < MAX_PATH)
        lstrcpyW(settings.iniPath, path);
    return settings;
}

BOOL MakeIniPath(LPCWSTR directory, WCHAR (&path)[MAX_PATH])
{
    path[0] = L'\0';
    if (directory == nullptr)
        return FALSE;
    // directory + "\" + name + terminator must fit.
    const int length = lstrlenW(directory) + 1 + lstrlenW(iniFileName);
    if (length >= MAX_PATH)
        return FALSE;
    lstrcpyW(path, directory);
    lstrcatW(path, L"\\");
    lstrcatW(path, iniFileName);
    return TRUE;
}

ViewerSettingsRecord InitSettingsInCurrentDirectory()
{
    WCHAR directory[MAX_PATH] = {};
    WCHAR path[MAX_PATH] = {};
    // A failing call would leave the bare name "\Quorvane.ini", the root of the drive: refuse
    // that as well as a path that does not fit, rather than write elsewhere or truncate.
    const DWORD length = GetCurrentDirectoryW(MAX_PATH, directory);
    if (length == 0 || length >= MAX_PATH || !MakeIniPath(directory, path)) {
        OutputDebugStringW(L"Quorvane.ini: the start-up directory is too long or unknown; "
                           L"settings will be neither read nor saved\r\n");
    }
    return InitSettings(path);
}

void LoadSettings()
{
    if (!CanPersist())
        return;
    for (const SettingKey& entry : settingKeys) {
        const INT value =
            static_cast<INT>(GetPrivateProfileIntW(sectionName, entry.key, entry.defaultValue, ViewerSettings.iniPath));
        Store(entry, value, ViewerSettings);
    }
}

void SaveSettings()
{
    if (!CanPersist())
        return;
    const LPCWSTR path = ViewerSettings.iniPath;
    for (const SettingKey& entry : settingKeys) {
        const INT value = Value(entry, ViewerSettings);
        if (entry.kind == SettingKind::Flag)
            WriteBoolKey(path, entry.key, value);
        else
            WriteIntKey(value, path, entry.key);
    }
}

BOOL WriteIntKey(INT value, LPCWSTR path, LPCWSTR key)
{
    const std::wstring text = boost::lexical_cast<std::wstring>(value);
    return WritePrivateProfileStringW(sectionName, key, text.c_str(), path);
}

BOOL WriteBoolKey(LPCWSTR path, LPCWSTR key, BOOL flag)
{
    return WritePrivateProfileStringW(sectionName, key, flag != 0 ? L"1" : L"0", path);
}
