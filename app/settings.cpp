// Loading and saving the settings record through the private-profile functions.
#include "app/settings.h"

#include <boost/lexical_cast.hpp>

#include <string>

namespace {

const WCHAR sectionName[] = L"QUORVANE";
const WCHAR iniFileName[] = L"Quorvane.ini";

// One colour as its four keys, in file order alpha, red, green, blue.
struct ColorKeys {
    LPCWSTR alpha;
    LPCWSTR red;
    LPCWSTR green;
    LPCWSTR blue;
};

const ColorKeys redLineKeys = {L"REDLINE_A", L"REDLINE_R", L"REDLINE_G", L"REDLINE_B"};
const ColorKeys latitudeLineKeys = {L"LATITUDELINE_A", L"LATITUDELINE_R", L"LATITUDELINE_G", L"LATITUDELINE_B"};
const ColorKeys longitudeLineKeys = {L"LONGITUDELINE_A", L"LONGITUDELINE_R", L"LONGITUDELINE_G", L"LONGITUDELINE_B"};

const WCHAR latitudeIntervalKey[] = L"LATITUDELINE_INTERVAL";
const WCHAR longitudeIntervalKey[] = L"LONGITUDELINE_INTERVAL";
const WCHAR showLatitudeKey[] = L"SHOW_LATITUDELINE";
const WCHAR showLongitudeKey[] = L"SHOW_LONGITUDELINE";
const WCHAR showHelpKey[] = L"SHOW_HELP";
const WCHAR showEarthKey[] = L"SHOW_EARTH";
const WCHAR showEarthOutlineKey[] = L"SHOW_EARTHOUTLINE";
const WCHAR lineDensityKey[] = L"LINEDENSITY";

DWORD ColorComponent(DWORD color, int shift)
{
    return (color >> shift) & 0xFFu;
}

INT ReadInt(LPCWSTR key, INT defaultValue)
{
    return static_cast<INT>(GetPrivateProfileIntW(sectionName, key, defaultValue, ViewerSettings.iniPath));
}

// Only the low eight bits of each key count: 256 reads as 0, 300 as 44.
DWORD ReadColor(const ColorKeys& keys, DWORD defaultColor)
{
    const auto component = [](LPCWSTR key, DWORD color, int shift) {
        return (static_cast<DWORD>(ReadInt(key, static_cast<INT>(ColorComponent(color, shift)))) & 0xFFu) << shift;
    };
    return component(keys.alpha, defaultColor, 24) | component(keys.red, defaultColor, 16) |
           component(keys.green, defaultColor, 8) | component(keys.blue, defaultColor, 0);
}

BOOL ReadFlag(LPCWSTR key, BOOL defaultFlag)
{
    return ReadInt(key, defaultFlag) != 0 ? TRUE : FALSE;
}

void WriteColor(const ColorKeys& keys, DWORD color)
{
    const LPCWSTR path = ViewerSettings.iniPath;
    WriteIntKey(static_cast<INT>(ColorComponent(color, 24)), path, keys.alpha);
    WriteIntKey(static_cast<INT>(ColorComponent(color, 16)), path, keys.red);
    WriteIntKey(static_cast<INT>(ColorComponent(color, 8)), path, keys.green);
    WriteIntKey(static_cast<INT>(ColorComponent(color, 0)), path, keys.blue);
}

bool CanPersist()
{
    return ViewerSettings.iniPath[0] != L'\0';
}

}  // namespace

ViewerSettingsRecord ViewerSettings = InitSettingsInCurrentDirectory();

ViewerSettingsRecord InitSettings(LPCWSTR path)
{
    ViewerSettingsRecord settings{};
    settings.latitudeLineInterval = 15;
    settings.latitudeLineColor = 0xFF00FF00;
    settings.redLineColor = 0xFFFF0000;
    settings.longitudeLineInterval = 15;
    settings.longitudeLineColor = 0xFF0000FF;
    settings.showLatitudeLines = TRUE;
    settings.showLongitudeLines = TRUE;
    settings.showHelp = TRUE;
    settings.showEarth = TRUE;
    settings.showEarthOutline = TRUE;
    settings.lineDensity = 100;
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
    const ViewerSettingsRecord defaults = InitSettings(ViewerSettings.iniPath);
    ViewerSettings.redLineColor = ReadColor(redLineKeys, defaults.redLineColor);
    ViewerSettings.latitudeLineColor = ReadColor(latitudeLineKeys, defaults.latitudeLineColor);
    ViewerSettings.longitudeLineColor = ReadColor(longitudeLineKeys, defaults.longitudeLineColor);
    ViewerSettings.latitudeLineInterval = ReadInt(latitudeIntervalKey, defaults.latitudeLineInterval);
    ViewerSettings.longitudeLineInterval = ReadInt(longitudeIntervalKey, defaults.longitudeLineInterval);
    ViewerSettings.showLatitudeLines = ReadFlag(showLatitudeKey, defaults.showLatitudeLines);
    ViewerSettings.showLongitudeLines = ReadFlag(showLongitudeKey, defaults.showLongitudeLines);
    ViewerSettings.showHelp = ReadFlag(showHelpKey, defaults.showHelp);
    ViewerSettings.showEarth = ReadFlag(showEarthKey, defaults.showEarth);
    ViewerSettings.showEarthOutline = ReadFlag(showEarthOutlineKey, defaults.showEarthOutline);
    ViewerSettings.lineDensity = ReadInt(lineDensityKey, defaults.lineDensity);
}

void SaveSettings()
{
    if (!CanPersist())
        return;
    const LPCWSTR path = ViewerSettings.iniPath;
    WriteColor(redLineKeys, ViewerSettings.redLineColor);
    WriteColor(latitudeLineKeys, ViewerSettings.latitudeLineColor);
    WriteColor(longitudeLineKeys, ViewerSettings.longitudeLineColor);
    WriteIntKey(ViewerSettings.latitudeLineInterval, path, latitudeIntervalKey);
    WriteIntKey(ViewerSettings.longitudeLineInterval, path, longitudeIntervalKey);
    WriteBoolKey(path, showLatitudeKey, ViewerSettings.showLatitudeLines);
    WriteBoolKey(path, showLongitudeKey, ViewerSettings.showLongitudeLines);
    WriteBoolKey(path, showHelpKey, ViewerSettings.showHelp);
    WriteBoolKey(path, showEarthKey, ViewerSettings.showEarth);
    WriteBoolKey(path, showEarthOutlineKey, ViewerSettings.showEarthOutline);
    WriteIntKey(ViewerSettings.lineDensity, path, lineDensityKey);
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
