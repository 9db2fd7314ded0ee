// Identifiers of the viewer's resources (quorvane.rc) and of its menu commands, shared by the
// resource script and the program.
#pragma once

// Strings.
#define IDS_APP_TITLE 103  // the window title
#define IDC_QUORVANE 109   // the window class name; also the menu and the accelerator table
// The help overlay's four lines, top down, and what the full-screen menu writes after the
// desktop's own size.
#define IDS_HELP_TURN_EARTH 110
#define IDS_HELP_ORBIT_CAMERA 111
#define IDS_HELP_MOVE_CAMERA 112
#define IDS_HELP_FULL_SCREEN 113
#define IDS_DESKTOP_SIZE_MARK 114
#define IDS_TISSOT_RADII 115
#define IDS_TISSOT_ANGLE 116
#define IDS_TISSOT_SEPARATOR 117
#define IDS_CIRCLE_ANGLES 118  // two drawn circles' crossing angles on the Earth and in the image

// Icon groups: the class's large and small icons.
#define IDI_QUORVANE 107
#define IDI_SMALL 108

// The About box.
#define IDD_ABOUTBOX 103

// Commands.
#define IDM_ABOUT 104
#define IDM_EXIT 105
#define IDM_SHOW_EARTH 200
#define IDM_SHOW_EARTH_OUTLINE 205
#define IDM_SHOW_HELP 210
#define IDM_SHOW_LONGITUDE_LINES 220
#define IDM_SHOW_LATITUDE_LINES 230
#define IDM_SHOW_PROJECTION_RAYS 240
#define IDM_SHOW_TISSOT_CIRCLES 250
#define IDM_CLEAR_CIRCLES 260
#define IDM_SCREEN_MODE_FIRST 300  // 300 + i: entry i of the display-mode list

// The manifest (CREATEPROCESS_MANIFEST_RESOURCE_ID of type RT_MANIFEST).
#define IDR_MANIFEST 1
#define RT_MANIFEST_TYPE 24
