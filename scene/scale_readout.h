// What the help overlay says about the projection's distortion at the point P the rays show:
// the local scale, and for Tissot's circle under P the size of its image and how the meridian
// and the parallel through P cross in the image.
#pragma once

#include <d3dx9.h>
#include <windows.h>

#include <optional>
#include <string>

// The Tissot line's words, in the language the window shows: the shell hands them over from its
// string table before the first frame. radii takes the two radii (%.3f each), angle the angle in
// degrees (%.1f); separator stands between the two parts.
struct TissotTexts {
    std::wstring radii = L"指示円の像の半径 %.3f \u00D7 %.3f";
    std::wstring angle = L"経線と緯線の像の角 %.1f\u00B0";
    std::wstring separator = L"、";
};
extern TissotTexts tissotTexts;

// " k=1.84 k²=3.38": the linear scale factor at P (the geometric mean of the principal scales)
// and the area factor, to two decimals; empty when P has no image.
std::wstring ScaleText(const D3DXVECTOR3& point);

// "指示円の像の半径 0.177 × 0.175、経線と緯線の像の角 90.0°": the image radii (world units, the
// Earth's radius 1) of the circle about circleCentre (model space), along the line from the
// projection's foot point and across it, then the angle between the images of the meridian and
// the parallel through P. A part that does not exist (an image cut by the projection centre, P
// at a pole or without an image) is left out; empty when nothing is left.
std::wstring TissotText(const D3DXVECTOR3& point, const D3DXQUATERNION& orientation, const D3DXVECTOR3& circleCentre);
