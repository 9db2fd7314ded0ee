// Dialog templates (RT_DIALOG) as Windows reads them: the classic DLGTEMPLATE and the extended
// DLGTEMPLATEEX, with the font DS_SETFONT names and every control's class, text and place in
// dialog units.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "kernel32/resource_reader.h"

namespace quorvane::user32 {

struct DialogItemTemplate {
    DWORD style = 0;
    DWORD exStyle = 0;
    SHORT x = 0, y = 0, cx = 0, cy = 0;
    DWORD id = 0;
    kernel32::IdOrText windowClass;  // 0x0080 button, 0x0082 static, ... or a class name
    kernel32::IdOrText title;        // text, or a resource id (an icon's)
};

struct DialogTemplate {
    DWORD style = 0;
    DWORD exStyle = 0;
    SHORT x = 0, y = 0, cx = 0, cy = 0;
    kernel32::IdOrText menu;
    kernel32::IdOrText windowClass;
    std::wstring title;
    bool hasFont = false;
    WORD pointSize = 0;
    WORD weight = 0;
    bool italic = false;
    std::wstring typeface;
    std::vector<DialogItemTemplate> items;
};

// False for a damaged template.
bool ReadDialogTemplate(const unsigned char* bytes, std::size_t size, DialogTemplate& dialog);

}  // namespace quorvane::user32
