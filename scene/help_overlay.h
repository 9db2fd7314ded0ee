// The help overlay: the mouse controls, the camera's eye position under them and, while the
// projection rays point at a place, its latitude and longitude, in white with a grey shadow one
// pixel to the right.
#pragma once

#include "scene/ray_picking.h"

#include <d3dx9.h>
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

// The mouse controls, one per line from the top down, in the language the window shows: the
// shell hands them over from its string table before the first frame.
struct HelpTexts {
    std::wstring lines[4];
};
extern HelpTexts helpTexts;

// One line of text at (8, top): first the grey shadow at (9, top), then the white text.
void DrawHelpLine(ID3DXFont* font, LPCWSTR text, int top);

// A place as "P(35.7°N, 139.7°E)": degrees to one decimal, with their hemispheres.
std::wstring PlaceText(const LatitudeLongitude& place);

// The four help lines (helpTexts) from the top of the window down, then "eye(x,y,z)" for the eye
// point, and under it the place the rays point at, if any, followed by placeNote on its line and
// by nextLine on a line of its own when that is not empty; then each of moreLines on a line of
// its own.
void DrawHelpOverlay(ID3DXFont* font, const D3DXVECTOR3& eye, const std::optional<LatitudeLongitude>& place,
                     const std::wstring& placeNote = {}, const std::wstring& nextLine = {},
                     const std::vector<std::wstring>& moreLines = {});
