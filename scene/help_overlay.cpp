// The help overlay's texts and where they go.
#include "scene/help_overlay.h"

#include "graphics/scene_resources.h"

#include <boost/format.hpp>

#include <cmath>
#include <string>

namespace {

constexpr D3DCOLOR shadowColor = 0xFF4F4F4F;
constexpr D3DCOLOR textColor = 0xFFFFFFFF;
constexpr LONG textLeft = 8;
constexpr LONG textRightBottom = 10000;        // no clipping: the texts are short
constexpr int lineHeight = overlayFontHeight;  // a line of the overlay font each

constexpr int firstLineTop = 8;

void DrawTextAt(ID3DXFont* font, LPCWSTR text, LONG left, int top, D3DCOLOR color)
{
    RECT rect{left, top, textRightBottom, textRightBottom};
    font->DrawTextW(nullptr, text, -1, &rect, DT_LEFT | DT_TOP, color);
}

// Degrees rounded to one decimal with the letter of their side: a value that rounds to 0 is
// on the positive side.
std::wstring DegreesWithSide(double degrees, wchar_t positive, wchar_t negative)
{
    const double tenths = std::round(degrees * 10.0);
    return (boost::wformat(L"%.1f\u00B0%c") % (std::abs(tenths) / 10.0) % (tenths < 0.0 ? negative : positive)).str();
}

}  // namespace

HelpTexts helpTexts;

std::wstring PlaceText(const LatitudeLongitude& place)
{
    return L"P(" + DegreesWithSide(place.latitude, L'N', L'S') + L", " + DegreesWithSide(place.longitude, L'E', L'W') +
           L")";
}

void DrawHelpLine(ID3DXFont* font, LPCWSTR text, int top)
{
    DrawTextAt(font, text, textLeft + 1, top, shadowColor);
    DrawTextAt(font, text, textLeft, top, textColor);
}

// The eye position goes on the line under the help texts: it tells where the camera is after
// orbiting and zooming, and goes away with the help (F1) so that the picture can be clean.
void DrawHelpOverlay(ID3DXFont* font, const D3DXVECTOR3& eye, const std::optional<LatitudeLongitude>& place,
                     const std::wstring& placeNote, const std::wstring& nextLine,
                     const std::vector<std::wstring>& moreLines)
{
    int top = firstLineTop;
    for (const std::wstring& line : helpTexts.lines) {
        DrawHelpLine(font, line.c_str(), top);
        top += lineHeight;
    }
    const std::wstring eyeText = (boost::wformat(L"eye(%f,%f,%f)") % eye.x % eye.y % eye.z).str();
    DrawHelpLine(font, eyeText.c_str(), top);
    top += lineHeight;
    if (place) {
        DrawHelpLine(font, (PlaceText(*place) + placeNote).c_str(), top);
        top += lineHeight;
        if (!nextLine.empty()) {
            DrawHelpLine(font, nextLine.c_str(), top);
            top += lineHeight;
        }
    }
    for (const std::wstring& line : moreLines) {
        DrawHelpLine(font, line.c_str(), top);
        top += lineHeight;
    }
}
