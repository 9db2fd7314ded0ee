#include "d3d9/state_rules.h"

#include <cstring>

namespace quorvane::d3d9 {

namespace {

// How a render state's values are treated.
enum class Values {
    Any,          // every value is drawn (or makes no difference to what is drawn)
    DefaultOnly,  // only the default is drawn; others are not available
};

struct RenderStateRule {
    D3DRENDERSTATETYPE state;
    DWORD defaultValue;
    Values values;
    DWORD low;  // valid enumeration range, when high > 0
    DWORD high;
};

DWORD FloatBits(float f)
{
    DWORD bits;
    std::memcpy(&bits, &f, sizeof bits);
    return bits;
}

const RenderStateRule* FindRule(D3DRENDERSTATETYPE state)
{
    static const RenderStateRule rules[] = {
        {D3DRS_ZENABLE, D3DZB_TRUE, Values::Any, D3DZB_FALSE, D3DZB_USEW},
        {D3DRS_FILLMODE, D3DFILL_SOLID, Values::Any, D3DFILL_POINT, D3DFILL_SOLID},
        {D3DRS_SHADEMODE, D3DSHADE_GOURAUD, Values::Any, D3DSHADE_FLAT, D3DSHADE_PHONG},
        {D3DRS_ZWRITEENABLE, TRUE, Values::Any, 0, 0},
        {D3DRS_ALPHATESTENABLE, FALSE, Values::Any, 0, 0},
        {D3DRS_LASTPIXEL, TRUE, Values::Any, 0, 0},
        {D3DRS_SRCBLEND, D3DBLEND_ONE, Values::Any, D3DBLEND_ZERO, D3DBLEND_INVBLENDFACTOR},
        {D3DRS_DESTBLEND, D3DBLEND_ZERO, Values::Any, D3DBLEND_ZERO, D3DBLEND_INVBLENDFACTOR},
        {D3DRS_CULLMODE, D3DCULL_CCW, Values::Any, D3DCULL_NONE, D3DCULL_CCW},
        {D3DRS_ZFUNC, D3DCMP_LESSEQUAL, Values::Any, D3DCMP_NEVER, D3DCMP_ALWAYS},
        {D3DRS_ALPHAREF, 0, Values::Any, 0, 0},
        {D3DRS_ALPHAFUNC, D3DCMP_ALWAYS, Values::Any, D3DCMP_NEVER, D3DCMP_ALWAYS},
        {D3DRS_DITHERENABLE, FALSE, Values::Any, 0, 0},
        {D3DRS_ALPHABLENDENABLE, FALSE, Values::Any, 0, 0},
        {D3DRS_FOGENABLE, FALSE, Values::DefaultOnly, 0, 0},
        {D3DRS_SPECULARENABLE, FALSE, Values::Any, 0, 0},
        {D3DRS_FOGCOLOR, 0, Values::Any, 0, 0},
        {D3DRS_FOGTABLEMODE, 0, Values::Any, 0, 3},
        {D3DRS_FOGSTART, FloatBits(0.0f), Values::Any, 0, 0},
        {D3DRS_FOGEND, FloatBits(1.0f), Values::Any, 0, 0},
        {D3DRS_FOGDENSITY, FloatBits(1.0f), Values::Any, 0, 0},
        {D3DRS_RANGEFOGENABLE, FALSE, Values::Any, 0, 0},
        {D3DRS_STENCILENABLE, FALSE, Values::DefaultOnly, 0, 0},
        {D3DRS_STENCILFAIL, 1, Values::Any, 1, 8},
        {D3DRS_STENCILZFAIL, 1, Values::Any, 1, 8},
        {D3DRS_STENCILPASS, 1, Values::Any, 1, 8},
        {D3DRS_STENCILFUNC, D3DCMP_ALWAYS, Values::Any, D3DCMP_NEVER, D3DCMP_ALWAYS},
        {D3DRS_STENCILREF, 0, Values::Any, 0, 0},
        {D3DRS_STENCILMASK, 0xFFFFFFFF, Values::Any, 0, 0},
        {D3DRS_STENCILWRITEMASK, 0xFFFFFFFF, Values::Any, 0, 0},
        {D3DRS_TEXTUREFACTOR, 0xFFFFFFFF, Values::Any, 0, 0},
        {D3DRS_WRAP0, 0, Values::DefaultOnly, 0, 0},
        {D3DRS_CLIPPING, TRUE, Values::Any, 0, 0},
        {D3DRS_LIGHTING, TRUE, Values::Any, 0, 0},
        {D3DRS_AMBIENT, 0, Values::Any, 0, 0},
        {D3DRS_FOGVERTEXMODE, 0, Values::Any, 0, 3},
        {D3DRS_COLORVERTEX, TRUE, Values::Any, 0, 0},
        {D3DRS_LOCALVIEWER, TRUE, Values::Any, 0, 0},
        {D3DRS_NORMALIZENORMALS, FALSE, Values::Any, 0, 0},
        {D3DRS_DIFFUSEMATERIALSOURCE, D3DMCS_COLOR1, Values::Any, D3DMCS_MATERIAL, D3DMCS_COLOR2},
        {D3DRS_SPECULARMATERIALSOURCE, D3DMCS_COLOR2, Values::Any, D3DMCS_MATERIAL, D3DMCS_COLOR2},
        {D3DRS_AMBIENTMATERIALSOURCE, D3DMCS_MATERIAL, Values::Any, D3DMCS_MATERIAL, D3DMCS_COLOR2},
        {D3DRS_EMISSIVEMATERIALSOURCE, D3DMCS_MATERIAL, Values::Any, D3DMCS_MATERIAL, D3DMCS_COLOR2},
        {D3DRS_VERTEXBLEND, 0, Values::DefaultOnly, 0, 0},
        {D3DRS_CLIPPLANEENABLE, 0, Values::DefaultOnly, 0, 0},
        {D3DRS_POINTSIZE, FloatBits(1.0f), Values::DefaultOnly, 0, 0},
        {D3DRS_MULTISAMPLEANTIALIAS, TRUE, Values::Any, 0, 0},
        {D3DRS_MULTISAMPLEMASK, 0xFFFFFFFF, Values::Any, 0, 0},
        {D3DRS_COLORWRITEENABLE, 0x0000000F, Values::Any, 0, 0},
        {D3DRS_BLENDOP, D3DBLENDOP_ADD, Values::Any, D3DBLENDOP_ADD, D3DBLENDOP_MAX},
        {D3DRS_SCISSORTESTENABLE, FALSE, Values::DefaultOnly, 0, 0},
        {D3DRS_SLOPESCALEDEPTHBIAS, 0, Values::DefaultOnly, 0, 0},
        {D3DRS_ANTIALIASEDLINEENABLE, FALSE, Values::DefaultOnly, 0, 0},
        {D3DRS_DEPTHBIAS, 0, Values::DefaultOnly, 0, 0},
        {D3DRS_SEPARATEALPHABLENDENABLE, FALSE, Values::Any, 0, 0},
        {D3DRS_SRCBLENDALPHA, D3DBLEND_ONE, Values::Any, D3DBLEND_ZERO, D3DBLEND_INVBLENDFACTOR},
        {D3DRS_DESTBLENDALPHA, D3DBLEND_ZERO, Values::Any, D3DBLEND_ZERO, D3DBLEND_INVBLENDFACTOR},
        {D3DRS_BLENDOPALPHA, D3DBLENDOP_ADD, Values::Any, D3DBLENDOP_ADD, D3DBLENDOP_MAX},
    };
    for (const RenderStateRule& rule : rules) {
        if (rule.state == state)
            return &rule;
    }
    return nullptr;
}

bool IsBlend(D3DRENDERSTATETYPE state)
{
    return state == D3DRS_SRCBLEND || state == D3DRS_DESTBLEND || state == D3DRS_SRCBLENDALPHA ||
           state == D3DRS_DESTBLENDALPHA;
}

bool IsColorOperation(DWORD op)
{
    return op >= D3DTOP_DISABLE && op <= D3DTOP_ADDSMOOTH;
}

// The arguments the stage evaluation reads: diffuse, current, texture, texture factor and
// specular, each optionally complemented or with its alpha replicated.
bool IsDrawnArgument(DWORD arg)
{
    DWORD source = arg & D3DTA_SELECTMASK;
    return source <= D3DTA_SPECULAR && (arg & ~(D3DTA_SELECTMASK | D3DTA_COMPLEMENT | D3DTA_ALPHAREPLICATE)) == 0;
}

bool IsKnownArgument(DWORD arg)
{
    return (arg & D3DTA_SELECTMASK) <= D3DTA_CONSTANT &&
           (arg & ~(D3DTA_SELECTMASK | D3DTA_COMPLEMENT | D3DTA_ALPHAREPLICATE)) == 0;
}

}  // namespace

bool RenderStateDefault(D3DRENDERSTATETYPE state, DWORD& value)
{
    const RenderStateRule* rule = FindRule(state);
    if (!rule)
        return false;
    value = rule->defaultValue;
    return true;
}

HRESULT CheckRenderState(D3DRENDERSTATETYPE state, DWORD value)
{
    const RenderStateRule* rule = FindRule(state);
    if (!rule)
        return D3DERR_INVALIDCALL;
    if (rule->high > 0 && (value < rule->low || value > rule->high))
        return D3DERR_INVALIDCALL;
    if (rule->values == Values::DefaultOnly && value != rule->defaultValue)
        return D3DERR_NOTAVAILABLE;
    // Values this subset has no drawing for.
    if (state == D3DRS_ZENABLE && value == D3DZB_USEW)
        return D3DERR_NOTAVAILABLE;
    if (state == D3DRS_SHADEMODE && value == D3DSHADE_PHONG)
        return D3DERR_NOTAVAILABLE;
    if (IsBlend(state) && value >= D3DBLEND_BLENDFACTOR)
        return D3DERR_NOTAVAILABLE;  // no D3DRS_BLENDFACTOR here
    return D3D_OK;
}

DWORD TextureStageStateDefault(DWORD stage, D3DTEXTURESTAGESTATETYPE type)
{
    switch (type) {
    case D3DTSS_COLOROP: return stage == 0 ? D3DTOP_MODULATE : D3DTOP_DISABLE;
    case D3DTSS_ALPHAOP: return stage == 0 ? D3DTOP_SELECTARG1 : D3DTOP_DISABLE;
    case D3DTSS_COLORARG1:
    case D3DTSS_ALPHAARG1: return D3DTA_TEXTURE;
    case D3DTSS_COLORARG2:
    case D3DTSS_ALPHAARG2:
    case D3DTSS_COLORARG0:
    case D3DTSS_ALPHAARG0:
    case D3DTSS_RESULTARG: return D3DTA_CURRENT;
    case D3DTSS_TEXCOORDINDEX: return stage;
    default: return 0;
    }
}

HRESULT CheckTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value)
{
    if (stage >= textureStageCount)
        return D3DERR_INVALIDCALL;
    switch (type) {
    case D3DTSS_COLOROP:
    case D3DTSS_ALPHAOP:
        if (!IsColorOperation(value))
            return D3DERR_INVALIDCALL;
        // One stage is drawn: later stages stay disabled.
        return stage == 0 || value == D3DTOP_DISABLE ? D3D_OK : D3DERR_NOTAVAILABLE;
    case D3DTSS_COLORARG1:
    case D3DTSS_COLORARG2:
    case D3DTSS_ALPHAARG1:
    case D3DTSS_ALPHAARG2:
        if (!IsKnownArgument(value))
            return D3DERR_INVALIDCALL;
        return IsDrawnArgument(value) ? D3D_OK : D3DERR_NOTAVAILABLE;
    case D3DTSS_COLORARG0:
    case D3DTSS_ALPHAARG0: return IsKnownArgument(value) ? D3D_OK : D3DERR_INVALIDCALL;  // read by no drawn operation
    case D3DTSS_RESULTARG:
        if (!IsKnownArgument(value))
            return D3DERR_INVALIDCALL;
        return value == D3DTA_CURRENT ? D3D_OK : D3DERR_NOTAVAILABLE;
    case D3DTSS_TEXCOORDINDEX:
        if ((value & 0xFFFF) >= 8)
            return D3DERR_INVALIDCALL;
        return (value & 0xFFFF0000) == D3DTSS_TCI_PASSTHRU ? D3D_OK : D3DERR_NOTAVAILABLE;
    case D3DTSS_TEXTURETRANSFORMFLAGS: return value == D3DTTFF_DISABLE ? D3D_OK : D3DERR_NOTAVAILABLE;
    case D3DTSS_CONSTANT: return D3D_OK;
    default: return D3DERR_INVALIDCALL;
    }
}

DWORD SamplerStateDefault(D3DSAMPLERSTATETYPE type)
{
    switch (type) {
    case D3DSAMP_ADDRESSU:
    case D3DSAMP_ADDRESSV:
    case D3DSAMP_ADDRESSW: return D3DTADDRESS_WRAP;
    case D3DSAMP_MAGFILTER:
    case D3DSAMP_MINFILTER: return D3DTEXF_POINT;
    case D3DSAMP_MIPFILTER: return D3DTEXF_NONE;
    case D3DSAMP_MAXANISOTROPY: return 1;
    default: return 0;
    }
}

HRESULT CheckSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value)
{
    if (sampler >= samplerCount)
        return D3DERR_INVALIDCALL;
    switch (type) {
    case D3DSAMP_ADDRESSU:
    case D3DSAMP_ADDRESSV:
    case D3DSAMP_ADDRESSW:
        if (value < D3DTADDRESS_WRAP || value > D3DTADDRESS_MIRRORONCE)
            return D3DERR_INVALIDCALL;
        return value == D3DTADDRESS_MIRRORONCE ? D3DERR_NOTAVAILABLE : D3D_OK;
    case D3DSAMP_MAGFILTER:
    case D3DSAMP_MINFILTER: return value >= D3DTEXF_POINT && value <= D3DTEXF_ANISOTROPIC ? D3D_OK : D3DERR_INVALIDCALL;
    case D3DSAMP_MIPFILTER: return value <= D3DTEXF_LINEAR ? D3D_OK : D3DERR_INVALIDCALL;
    case D3DSAMP_BORDERCOLOR:
    case D3DSAMP_MIPMAPLODBIAS:
    case D3DSAMP_MAXMIPLEVEL: return D3D_OK;
    case D3DSAMP_MAXANISOTROPY: return value >= 1 ? D3D_OK : D3DERR_INVALIDCALL;
    default: return D3DERR_INVALIDCALL;
    }
}

}  // namespace quorvane::d3d9
