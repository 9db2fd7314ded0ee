#include "d3d9/program_key.h"

#include <cstring>

#include "d3d9/gl_capabilities.h"

namespace quorvane::d3d9 {

namespace {

constexpr DWORD argumentModifiers = D3DTA_COMPLEMENT | D3DTA_ALPHAREPLICATE;

// Stage 0's "current" is the diffuse colour, and so is every source this subset does not draw.
std::uint8_t CanonicalArgument(DWORD argument)
{
    DWORD source = argument & D3DTA_SELECTMASK;
    if (source != D3DTA_TEXTURE && source != D3DTA_TFACTOR && source != D3DTA_SPECULAR)
        source = D3DTA_DIFFUSE;
    return std::uint8_t(source | (argument & argumentModifiers));
}

bool IsDrawnOperation(DWORD operation)
{
    return operation >= D3DTOP_SELECTARG1 && operation <= D3DTOP_ADDSMOOTH;
}

// An operation with the arguments it reads; an operation outside the drawn set selects arg 1.
void SetOperation(DWORD operation, DWORD arg1, DWORD arg2, std::uint8_t& op, std::uint8_t& a1, std::uint8_t& a2)
{
    op = std::uint8_t(IsDrawnOperation(operation) ? operation : DWORD(D3DTOP_SELECTARG1));
    a1 = op == D3DTOP_SELECTARG2 ? 0 : CanonicalArgument(arg1);
    a2 = op == D3DTOP_SELECTARG1 ? 0 : CanonicalArgument(arg2);
}

MaterialSource SourceOf(DWORD source, const VertexLayout& layout)
{
    if (source == D3DMCS_COLOR1 && layout.diffuseOffset >= 0)
        return MaterialSource::vertexDiffuse;
    if (source == D3DMCS_COLOR2 && layout.specularOffset >= 0)
        return MaterialSource::vertexSpecular;
    return MaterialSource::material;
}

void SetLighting(ProgramKey& key, const DeviceState& state, const VertexLayout& layout)
{
    const auto& rs = state.renderStates;
    key.lighting = true;
    key.normalizeNormals = rs[D3DRS_NORMALIZENORMALS] != FALSE;
    key.localViewer = key.specular && rs[D3DRS_LOCALVIEWER] != FALSE;
    if (rs[D3DRS_COLORVERTEX]) {
        const D3DRENDERSTATETYPE sources[4] = {D3DRS_DIFFUSEMATERIALSOURCE, D3DRS_AMBIENTMATERIALSOURCE,
                                               D3DRS_SPECULARMATERIALSOURCE, D3DRS_EMISSIVEMATERIALSOURCE};
        for (int i = 0; i < 4; ++i)
            key.materialSources[i] = SourceOf(rs[sources[i]], layout);
    }
    const D3DLIGHT9* lights[maxActiveLights];
    key.lightCount = std::uint8_t(ActiveLights(state, lights));
    for (DWORD i = 0; i < key.lightCount; ++i)
        key.lightTypes[i] = std::uint8_t(lights[i]->Type);
}

void SetTextureStage(ProgramKey& key, const DeviceState& state, bool textured)
{
    const auto& stage = state.stageStates[0];
    if (!textured || stage[D3DTSS_COLOROP] == D3DTOP_DISABLE)
        return;  // the diffuse colour and alpha pass on
    SetOperation(stage[D3DTSS_COLOROP], stage[D3DTSS_COLORARG1], stage[D3DTSS_COLORARG2], key.colorOp, key.colorArg1,
                 key.colorArg2);
    if (stage[D3DTSS_ALPHAOP] != D3DTOP_DISABLE)
        SetOperation(stage[D3DTSS_ALPHAOP], stage[D3DTSS_ALPHAARG1], stage[D3DTSS_ALPHAARG2], key.alphaOp,
                     key.alphaArg1, key.alphaArg2);
}

}  // namespace

bool ProgramKey::ReadsTextureFactor() const
{
    for (std::uint8_t argument : {colorArg1, colorArg2, alphaArg1, alphaArg2}) {
        if ((argument & D3DTA_SELECTMASK) == D3DTA_TFACTOR)
            return true;
    }
    return false;
}

std::size_t ProgramKeyHash::operator()(const ProgramKey& key) const
{
    // FNV-1a over the fields; the key has no padding that could differ between equal keys
    // because every field is a byte.
    static_assert(sizeof(ProgramKey) == 6 + 4 + 1 + maxActiveLights + 7 + 1, "ProgramKey holds bytes only");
    unsigned char bytes[sizeof(ProgramKey)];
    std::memcpy(bytes, &key, sizeof bytes);
    // Worked out in 64 bits wherever std::size_t is narrower (the browser's 32-bit build).
    std::uint64_t hash = 14695981039346656037ull;
    for (unsigned char byte : bytes)
        hash = (hash ^ byte) * 1099511628211ull;
    return static_cast<std::size_t>(hash);
}

std::uint8_t EmulationFor(const GLCapabilities& caps, const ProgramKey& key, const DeviceState& state)
{
    std::uint8_t bits = 0;
    if (caps.es)
        bits |= esShaders;
    if (!caps.clipControl)
        bits |= remappedDepth;
    if (!caps.bgraLayouts)
        bits |= swizzledVertexColors;
    if (key.TextureStageUsed()) {
        const auto& s = state.samplerStates[0];
        if (!caps.borderClamp && s[D3DSAMP_ADDRESSU] == D3DTADDRESS_BORDER)
            bits |= borderAddressU;
        if (!caps.borderClamp && s[D3DSAMP_ADDRESSV] == D3DTADDRESS_BORDER)
            bits |= borderAddressV;
        if (!caps.lodBias)
            bits |= shaderLodBias;
    }
    return bits;
}

DWORD ActiveLights(const DeviceState& state, const D3DLIGHT9* (&lights)[maxActiveLights])
{
    DWORD count = 0;
    for (const auto& [index, slot] : state.lights) {
        if (slot.enabled && count < maxActiveLights)
            lights[count++] = &slot.light;
    }
    return count;
}

ProgramKey MakeProgramKey(const DeviceState& state, const VertexLayout& layout, bool textured)
{
    const auto& rs = state.renderStates;
    ProgramKey key;
    key.pretransformed = layout.pretransformed;
    key.flat = rs[D3DRS_SHADEMODE] == D3DSHADE_FLAT;
    key.specular = rs[D3DRS_SPECULARENABLE] != FALSE;
    if (!layout.pretransformed && rs[D3DRS_LIGHTING])
        SetLighting(key, state, layout);
    SetTextureStage(key, state, textured);
    if (rs[D3DRS_ALPHATESTENABLE])
        key.alphaFunc = std::uint8_t(rs[D3DRS_ALPHAFUNC]);
    return key;
}

}  // namespace quorvane::d3d9
