// ID3DXFont on the headless device: the program's help text, compared with FreeType's own
// rendering, colour and clipping, blending, state restoration and device resets.
#include <d3dx9.h>
#include <gtest/gtest.h>

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <tuple>

#include "device_test.h"
#include "graphics/scene_resources.h"
#include "scene_helpers.h"
#include "text/font.h"

namespace quorvane::tests {
namespace {

constexpr UINT pictureWidth = 256;
constexpr UINT pictureHeight = 64;
const wchar_t helpLine[] = L"左ドラッグ：地球の回転";

// A coverage image: the red channel of the back buffer, or a FreeType bitmap.
struct Coverage {
    int width = 0;
    int height = 0;
    std::vector<int> values;
    int At(int x, int y) const { return values[std::size_t(y) * width + x]; }
};

// The smallest box around the non-zero values, cut out.
Coverage Trim(const Coverage& image)
{
    int left = image.width, top = image.height, right = -1, bottom = -1;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            if (image.At(x, y) > 0) {
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
        }
    }
    Coverage trimmed;
    if (right < 0) {
        return trimmed;
    }
    trimmed.width = right - left + 1;
    trimmed.height = bottom - top + 1;
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x) {
            trimmed.values.push_back(image.At(x, y));
        }
    }
    return trimmed;
}

// FreeType's rendering of one glyph of the face the font uses, at the font's size.
Coverage FreeTypeGlyph(const text::Font& font, FT_UInt glyphIndex, bool byCharacter, FT_ULong character)
{
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    Coverage coverage;
    if (FT_Init_FreeType(&library) != 0) {
        return coverage;
    }
    if (FT_New_Face(library, font.FilePath().c_str(), font.FaceIndex(), &face) == 0 &&
        FT_Set_Char_Size(face, font.PixelWidth26Dot6(), font.PixelHeight26Dot6(), 72, 72) == 0) {
        const FT_UInt index = byCharacter ? FT_Get_Char_Index(face, character) : glyphIndex;
        if (FT_Load_Glyph(face, index, FT_LOAD_DEFAULT | FT_LOAD_NO_BITMAP) == 0 &&
            FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL) == 0) {
            const FT_Bitmap& bitmap = face->glyph->bitmap;
            coverage.width = int(bitmap.width);
            coverage.height = int(bitmap.rows);
            for (int y = 0; y < coverage.height; ++y) {
                for (int x = 0; x < coverage.width; ++x) {
                    coverage.values.push_back(bitmap.buffer[y * bitmap.pitch + x]);
                }
            }
        }
        FT_Done_Face(face);
    }
    FT_Done_FreeType(library);
    return Trim(coverage);
}

class FontTest : public DeviceTest {
protected:
    FontTest() : DeviceTest(pictureWidth, pictureHeight) {}

    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(DeviceTest::SetUp());
        const D3DXFONT_DESCW desc = OverlayFontDescription();
        ASSERT_EQ(D3DXCreateFontIndirectW(device(), &desc, &font_), D3D_OK);
        ASSERT_NE(font_, nullptr);
    }
    void TearDown() override
    {
        if (font_ != nullptr) {
            EXPECT_EQ(font_->Release(), 0u);
        }
        DeviceTest::TearDown();
    }

    // Draws `string` in one scene on a cleared back buffer and reads it back.
    std::vector<DWORD> Draw(const wchar_t* string, RECT rect, D3DCOLOR color, D3DCOLOR background = 0xFF000000,
                            DWORD format = DT_LEFT | DT_TOP, INT* result = nullptr)
    {
        device()->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, background, 1.0f, 0);
        device()->BeginScene();
        const INT drawn = font_->DrawTextW(nullptr, string, -1, &rect, format, color);
        device()->EndScene();
        if (result != nullptr) {
            *result = drawn;
        }
        return ReadBackBuffer();
    }

    Coverage RedChannel(const std::vector<DWORD>& pixels) const
    {
        Coverage coverage{int(pictureWidth), int(pictureHeight), {}};
        for (DWORD p : pixels) {
            coverage.values.push_back(int((p >> 16) & 0xFF));
        }
        return coverage;
    }

    ID3DXFont* font_ = nullptr;
};

TEST_F(FontTest, HelpLineLightsPixelsOnlyInsideTheClipRectangleInTheGivenColour)
{
    const D3DCOLOR orange = 0xFFFF8040;
    const RECT clip{8, 8, 100, 20};
    INT result = 0;
    const std::vector<DWORD> pixels = Draw(helpLine, clip, orange, 0xFF000000, DT_LEFT | DT_TOP, &result);
    ASSERT_FALSE(pixels.empty());
    EXPECT_EQ(result, 24);  // the height of the one line
    int lit = 0;
    int full = 0;
    for (UINT y = 0; y < pictureHeight; ++y) {
        for (UINT x = 0; x < pictureWidth; ++x) {
            const DWORD p = At(pixels, x, y) & 0xFFFFFF;
            if (p == 0) {
                continue;
            }
            ++lit;
            EXPECT_TRUE(x >= 8 && x < 100 && y >= 8 && y < 20) << x << ", " << y;
            // Partial coverage scales the colour; its hue stays.
            const int r = int(p >> 16), g = int((p >> 8) & 0xFF), b = int(p & 0xFF);
            EXPECT_NEAR(g, r * 0x80 / 255.0, 2.0) << x << ", " << y;
            EXPECT_NEAR(b, r * 0x40 / 255.0, 2.0) << x << ", " << y;
            full += p == (orange & 0xFFFFFF) ? 1 : 0;
        }
    }
    EXPECT_GT(lit, 100);
    EXPECT_GT(full, 10);  // glyph strokes covering whole pixels show the colour itself
    EXPECT_TRUE(SavePng("font_help_line_clipped.png"));

    // Unclipped the line runs on: eleven full-width characters, 16 pixels each.
    const std::vector<DWORD> whole = Draw(helpLine, RECT{8, 8, 10000, 10000}, 0xFFFFFFFF);
    const Coverage trimmed = Trim(RedChannel(whole));
    EXPECT_GT(trimmed.width, 150);
    EXPECT_LE(trimmed.width, 11 * 16);
    EXPECT_LE(trimmed.height, 24);
    EXPECT_TRUE(SavePng("font_help_line.png"));
}

TEST_F(FontTest, GlyphsAreFreeTypesOwnAndNotMissingGlyphBoxes)
{
    const std::vector<DWORD> pixels = Draw(L"地", RECT{8, 8, 10000, 10000}, 0xFFFFFFFF);
    ASSERT_FALSE(pixels.empty());
    const Coverage drawn = Trim(RedChannel(pixels));

    text::FontRequest request;
    request.height = 24;
    request.averageWidth = 8;
    request.weight = FW_THIN;
    const std::unique_ptr<text::Font> font = text::Font::Open(request);
    ASSERT_TRUE(font);
    const Coverage expected = FreeTypeGlyph(*font, 0, true, U'地');
    const Coverage box = FreeTypeGlyph(*font, 0, false, 0);
    ASSERT_GT(expected.width, 0);
    ASSERT_EQ(drawn.width, expected.width);
    ASSERT_EQ(drawn.height, expected.height);
    int differing = 0;
    for (std::size_t i = 0; i < drawn.values.size(); ++i) {
        EXPECT_NEAR(drawn.values[i], expected.values[i], 1) << i;
        differing += drawn.values[i] != expected.values[i] ? 1 : 0;
    }
    EXPECT_LT(differing, int(drawn.values.size() / 10));
    // The face's missing-glyph shape looks different.
    EXPECT_TRUE(box.width != drawn.width || box.height != drawn.height || box.values != drawn.values);
}

TEST_F(FontTest, TranslucentTextBlendsOverWhatIsThere)
{
    const std::vector<DWORD> pixels = Draw(L"地", RECT{8, 8, 10000, 10000}, 0x80FFFFFF, 0xFFFF0000);
    ASSERT_FALSE(pixels.empty());
    int blended = 0;
    for (DWORD p : pixels) {
        const int r = int((p >> 16) & 0xFF), g = int((p >> 8) & 0xFF), b = int(p & 0xFF);
        EXPECT_EQ(r, 255);  // white over red keeps red full
        EXPECT_EQ(g, b);
        EXPECT_LE(g, 129);  // at most half of the white comes through
        blended += g >= 127 ? 1 : 0;
    }
    EXPECT_GT(blended, 5);
}

TEST_F(FontTest, DeviceStatesAreAsBeforeTheCall)
{
    IDirect3DDevice9* d = device();
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(d->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &texture, nullptr), D3D_OK);
    const std::pair<D3DRENDERSTATETYPE, DWORD> renderStates[] = {{D3DRS_ZENABLE, D3DZB_TRUE},
                                                                 {D3DRS_CULLMODE, D3DCULL_CW},
                                                                 {D3DRS_ALPHABLENDENABLE, FALSE},
                                                                 {D3DRS_SRCBLEND, D3DBLEND_ONE},
                                                                 {D3DRS_LIGHTING, TRUE},
                                                                 {D3DRS_ALPHATESTENABLE, FALSE},
                                                                 {D3DRS_ALPHAREF, 7},
                                                                 {D3DRS_ZWRITEENABLE, TRUE},
                                                                 {D3DRS_FILLMODE, D3DFILL_SOLID}};
    for (auto [state, value] : renderStates) {
        d->SetRenderState(state, value);
    }
    d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    d->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
    d->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_WRAP);
    d->SetTexture(0, texture);
    d->SetFVF(0x112);  // position, normal, one texture coordinate pair: 32 bytes
    IDirect3DVertexBuffer9* vertices = nullptr;
    IDirect3DIndexBuffer9* indices = nullptr;
    ASSERT_EQ(d->CreateVertexBuffer(4 * 32, 0, 0x112, D3DPOOL_MANAGED, &vertices, nullptr), D3D_OK);
    ASSERT_EQ(d->CreateIndexBuffer(6, 0, D3DFMT_INDEX16, D3DPOOL_MANAGED, &indices, nullptr), D3D_OK);
    d->SetStreamSource(0, vertices, 32, 32);
    d->SetIndices(indices);

    RECT rect{8, 8, 200, 60};
    d->BeginScene();
    EXPECT_GT(font_->DrawTextW(nullptr, helpLine, -1, &rect, DT_LEFT | DT_TOP, 0xFFFFFFFF), 0);
    d->EndScene();

    for (auto [state, value] : renderStates) {
        DWORD now = 0;
        d->GetRenderState(state, &now);
        EXPECT_EQ(now, value) << state;
    }
    DWORD value = 0;
    d->GetTextureStageState(0, D3DTSS_COLOROP, &value);
    EXPECT_EQ(value, DWORD(D3DTOP_SELECTARG1));
    d->GetSamplerState(0, D3DSAMP_MAGFILTER, &value);
    EXPECT_EQ(value, DWORD(D3DTEXF_LINEAR));
    d->GetSamplerState(0, D3DSAMP_ADDRESSU, &value);
    EXPECT_EQ(value, DWORD(D3DTADDRESS_WRAP));
    d->GetFVF(&value);
    EXPECT_EQ(value, 0x112u);
    IDirect3DBaseTexture9* bound = nullptr;
    d->GetTexture(0, &bound);
    EXPECT_EQ(bound, texture);
    if (bound != nullptr) {
        bound->Release();
    }
    IDirect3DVertexBuffer9* stream = nullptr;
    IDirect3DIndexBuffer9* boundIndices = nullptr;
    UINT offset = 0, stride = 0;
    d->GetStreamSource(0, &stream, &offset, &stride);
    d->GetIndices(&boundIndices);
    EXPECT_EQ(std::tuple(stream, offset, stride, boundIndices), std::tuple(vertices, 32u, 32u, indices));
    d->BeginScene();
    EXPECT_EQ(d->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 1), D3D_OK);  // the caller draws on from its buffer
    d->EndScene();
    for (IUnknown* kept : {static_cast<IUnknown*>(stream), static_cast<IUnknown*>(boundIndices)}) {
        if (kept != nullptr) {
            kept->Release();
        }
    }
    d->SetStreamSource(0, nullptr, 0, 0);
    d->SetIndices(nullptr);
    vertices->Release();
    indices->Release();
    d->SetTexture(0, nullptr);
    texture->Release();
}

TEST_F(FontTest, GlyphCacheGoesWithTheDeviceLossAndComesBackAfterReset)
{
    ASSERT_FALSE(Draw(L"地球", RECT{8, 8, 10000, 10000}, 0xFFFFFFFF).empty());
    // The glyph cache lives in the default pool: a reset must wait for OnLostDevice.
    EXPECT_EQ(Reset(), D3DERR_INVALIDCALL);
    ASSERT_EQ(font_->OnLostDevice(), D3D_OK);
    RECT rect{8, 8, 10000, 10000};
    EXPECT_EQ(font_->DrawTextW(nullptr, L"地球", -1, &rect, 0, 0xFFFFFFFF), 0);  // nothing while lost
    ASSERT_EQ(Reset(), D3D_OK);
    ASSERT_EQ(font_->OnResetDevice(), D3D_OK);
    const Coverage after = Trim(RedChannel(Draw(L"地球", rect, 0xFFFFFFFF)));
    EXPECT_GT(after.width, 20);
    EXPECT_GT(after.height, 10);
}

TEST_F(FontTest, CalcRectMeasuresLinesWithoutDrawing)
{
    RECT rect{10, 20, 10, 20};
    INT result = 0;
    device()->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
    device()->BeginScene();
    result = font_->DrawTextW(nullptr, L"地球\n回", -1, &rect, DT_CALCRECT, 0xFFFFFFFF);
    device()->EndScene();
    EXPECT_EQ(result, 48);
    EXPECT_EQ(rect.left, 10);
    EXPECT_EQ(rect.top, 20);
    EXPECT_EQ(rect.right, 10 + 32);
    EXPECT_EQ(rect.bottom, 20 + 48);
    const std::vector<DWORD> pixels = ReadBackBuffer();
    EXPECT_EQ(std::count_if(pixels.begin(), pixels.end(), [](DWORD p) { return (p & 0xFFFFFF) != 0; }), 0);
}

TEST_F(FontTest, SpritesAndUnsupportedFormatsDrawNothing)
{
    RECT rect{0, 0, 100, 100};
    EXPECT_EQ(font_->DrawTextW(reinterpret_cast<LPD3DXSPRITE>(0x10), L"a", -1, &rect, 0, 0xFFFFFFFF), 0);
    EXPECT_EQ(font_->DrawTextW(nullptr, L"a b", -1, &rect, DT_WORDBREAK, 0xFFFFFFFF), 0);
    EXPECT_EQ(font_->DrawTextW(nullptr, nullptr, -1, &rect, 0, 0xFFFFFFFF), 0);
    D3DXFONT_DESCW desc{};
    ASSERT_EQ(font_->GetDescW(&desc), D3D_OK);
    EXPECT_EQ(desc.Height, 24);
    EXPECT_EQ(desc.Width, 8u);
    IDirect3DDevice9* owner = nullptr;
    ASSERT_EQ(font_->GetDevice(&owner), D3D_OK);
    EXPECT_EQ(owner, device());
    owner->Release();
}

}  // namespace
}  // namespace quorvane::tests
