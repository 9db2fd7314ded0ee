// The viewer's settings: one process-wide record, read from Quorvane.ini in the start-up
// directory before the window exists and written back after the message loop.
#pragma once

#include <windows.h>

#include <span>
#include <variant>

// Colours are packed like D3DCOLOR: alpha in bits 24-31, red 16-23, green 8-15, blue 0-7.
struct ViewerSettingsRecord {
    INT latitudeLineInterval;   // degrees between latitude circles
    DWORD latitudeLineColor;    // latitude circles other than the equator
    DWORD redLineColor;         // the equator and its image
    INT longitudeLineInterval;  // degrees between longitude circles
    DWORD longitudeLineColor;
    BOOL showLatitudeLines;
    BOOL showLongitudeLines;
    BOOL showHelp;
    BOOL showEarth;
    BOOL showEarthOutline;
    INT lineDensity;  // straight segments per drawn circle
    // Full path of the INI file; empty when the start-up directory was too long for it, in
    // which case the settings are neither read nor written.
    WCHAR iniPath[MAX_PATH];
};

// The settings of this process, with their defaults and the INI path from static
// initialisation on. Read and toggled directly by the window procedure and the scene.
extern ViewerSettingsRecord ViewerSettings;

// The record with every default and the given path (an empty path when it does not fit).
ViewerSettingsRecord InitSettings(LPCWSTR path);

// "<directory>\Quorvane.ini" into path; FALSE, with path empty, when it would not fit.
BOOL MakeIniPath(LPCWSTR directory, WCHAR (&path)[MAX_PATH]);

// The record for the current directory: the defaults and "<current directory>\Quorvane.ini".
// When that path cannot be had (the directory is too long or unknown) the record gets an empty
// path and one debug trace says that the settings will not persist.
ViewerSettingsRecord InitSettingsInCurrentDirectory();

// How a key of Quorvane.ini holds its member: a decimal number, a flag written as 0 or 1, or
// one 8-bit component of a colour.
enum class SettingKind {
    Number,
    Flag,
    Alpha,
    Red,
    Green,
    Blue
};

// One key of section "QUORVANE": its name, the record's member it holds (an INT or BOOL for a
// number or a flag, the colour's DWORD for a component), its default (a component's own eight
// bits for a colour) and its kind.
struct SettingKey {
    LPCWSTR key;
    std::variant<INT ViewerSettingsRecord::*, DWORD ViewerSettingsRecord::*> member;
    INT defaultValue;
    SettingKind kind;
};

// Every key, in the order the file is written: what InitSettings, LoadSettings and SaveSettings
// go by.
std::span<const SettingKey> SettingKeys();

// Reads all 20 keys of section "QUORVANE" into ViewerSettings; missing keys keep defaults.
void LoadSettings();

// Writes all 20 keys from ViewerSettings; failures are silent (the run's settings are lost).
void SaveSettings();

// Writes one key of section "QUORVANE" as decimal text; the result of the profile write.
BOOL WriteIntKey(INT value, LPCWSTR path, LPCWSTR key);

// Writes one key of section "QUORVANE" as "1" (flag nonzero) or "0".
BOOL WriteBoolKey(LPCWSTR path, LPCWSTR key, BOOL flag);
