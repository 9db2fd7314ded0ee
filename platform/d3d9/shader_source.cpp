#include "d3d9/shader_source.h"

namespace quorvane::d3d9 {

namespace {

const char* const vertexInputs = R"glsl(layout(location = 0) in vec4 a_position;
layout(location = 1) in vec3 a_normal;
layout(location = 2) in vec4 a_diffuse;   // absent parts read as Direct3D's defaults:
layout(location = 3) in vec4 a_specular;  // white diffuse, black specular, zero normal
layout(location = 4) in vec4 a_texcoord;
)glsl";

// The colours as B, G, R, A bytes, for a context that cannot fetch GL_BGRA attributes. The
// defaults of absent parts (all ones, all zeros) read the same either way round.
const char* const swizzledVertexInputs = R"glsl(layout(location = 0) in vec4 a_position;
layout(location = 1) in vec3 a_normal;
layout(location = 2) in vec4 a_diffuseBGRA;
layout(location = 3) in vec4 a_specularBGRA;
layout(location = 4) in vec4 a_texcoord;
#define a_diffuse a_diffuseBGRA.bgra
#define a_specular a_specularBGRA.bgra
)glsl";

const char* VersionLine(const ProgramKey& key)
{
    return (key.emulation & esShaders) ? "#version 300 es\nprecision highp float;\nprecision highp int;\n"
                                       : "#version 330 core\n";
}

// The end of the vertex stage: what a context without a feature needs after gl_Position.
// Without clip control OpenGL clips z to [-w, w] and maps it from [-1, 1] to the depth range:
// 2z - w moves Direct3D's [0, w] there. ES has no GL_PROGRAM_POINT_SIZE default of one pixel.
std::string EndOfVertexMain(const ProgramKey& key)
{
    std::string code;
    if (key.emulation & remappedDepth)
        code += "    gl_Position.z = 2.0 * gl_Position.z - gl_Position.w;\n";
    if (key.emulation & esShaders)
        code += "    gl_PointSize = 1.0;\n";
    return code + "}\n";
}

std::string Interpolation(const ProgramKey& key)
{
    return key.flat ? "flat" : "smooth";
}

// Screen position to clip space. Direct3D 9 pixel centres lie on integer coordinates, OpenGL's
// on half-integers: the half pixel moves one onto the other. Framebuffer rows are stored top row
// first, so screen y grows with OpenGL's window y. Multiplying by w = 1/rhw restores the
// homogeneous w for perspective-correct interpolation.
const char* const pretransformedMain = R"glsl(
uniform vec4 u_viewport;    // x, y, width, height in pixels
uniform vec2 u_depthRange;  // MinZ, MaxZ

void main()
{
    float w = a_position.w != 0.0 ? 1.0 / a_position.w : 1.0;
    vec2 ndc = (a_position.xy + 0.5 - u_viewport.xy) * 2.0 / u_viewport.zw - 1.0;
    float depthSpan = u_depthRange.y - u_depthRange.x;
    float z = depthSpan != 0.0 ? (a_position.z - u_depthRange.x) / depthSpan : 0.0;
    gl_Position = vec4(ndc, z, 1.0) * w;
    v_diffuse = a_diffuse;
    v_specular = a_specular;
    v_texcoord = a_texcoord;
)glsl";

// Matrices arrive in Direct3D's row-major memory order without transposition, so GLSL sees
// their transposes and `matrix * vector` computes Direct3D's row-vector product vector·matrix.
// Direct3D's clip space to OpenGL's: y flips because rows are stored top row first, and the
// half pixel moves Direct3D 9's integer pixel centres onto OpenGL's. z stays in [0, w]
// (glClipControl), so the near plane also removes everything at w <= 0.
const char* const transformUniforms = R"glsl(
uniform mat4 u_worldViewProjection;
uniform vec2 u_pixelAdjust;  // 1 / viewport width, 1 / viewport height
)glsl";

const char* const transformCode = R"glsl(
    vec4 clip = u_worldViewProjection * a_position;
    gl_Position = vec4(clip.x + clip.w * u_pixelAdjust.x, -clip.y + clip.w * u_pixelAdjust.y, clip.z, clip.w);
    v_texcoord = a_texcoord;
)glsl";

const char* const lightingUniforms = R"glsl(
struct Light {
    vec4 diffuse;
    vec4 specular;
    vec4 ambient;
    vec3 position;     // view space
    vec3 direction;    // view space, normalised
    vec4 attenuation;  // range, constant, linear, quadratic
    vec3 spot;         // cos(theta / 2), cos(phi / 2), falloff
};

uniform mat4 u_worldView;
uniform mat3 u_normalMatrix;  // inverse transpose of world·view
uniform vec4 u_materialDiffuse;
uniform vec4 u_materialAmbient;
uniform vec4 u_materialSpecular;
uniform vec4 u_materialEmissive;
uniform float u_materialPower;
uniform vec4 u_globalAmbient;
)glsl";

std::string MaterialColor(MaterialSource source, const char* material)
{
    switch (source) {
    case MaterialSource::vertexDiffuse: return "a_diffuse";
    case MaterialSource::vertexSpecular: return "a_specular";
    default: return material;
    }
}

// What one light adds, once its direction `toLight` and `attenuation` are known.
std::string LightContribution(const ProgramKey& key, const std::string& light)
{
    std::string code = "        ambient += " + light +
                       ".ambient.rgb * attenuation;\n"
                       "        float nDotL = dot(normal, toLight);\n"
                       "        if (nDotL > 0.0) {\n"
                       "            diffuse += " +
                       light + ".diffuse.rgb * nDotL * attenuation;\n";
    if (key.specular) {
        code += "            float nDotH = dot(normal, normalize(toLight + toViewer));\n"
                "            if (nDotH > 0.0)\n"
                "                specular += " +
                light + ".specular.rgb * pow(nDotH, u_materialPower) * attenuation;\n";
    }
    return code + "        }\n";
}

// Direct3D 9's lighting for one light of the key's type.
std::string LightCode(const ProgramKey& key, int index)
{
    std::string light = "u_lights[" + std::to_string(index) + "]";
    std::string body = LightContribution(key, light);
    if (key.lightTypes[index] == D3DLIGHT_DIRECTIONAL)
        return "    {\n        vec3 toLight = -" + light + ".direction;\n        float attenuation = 1.0;\n" + body +
               "    }\n";
    std::string code = "    {\n"
                       "        vec3 offset = " +
                       light +
                       ".position - position;\n"
                       "        float distance = length(offset);\n"
                       "        vec3 toLight = distance > 0.0 ? offset / distance : vec3(0.0);\n"
                       "        vec4 a = " +
                       light +
                       ".attenuation;\n"
                       "        float falloff = a.y + a.z * distance + a.w * distance * distance;\n"
                       "        float attenuation = falloff > 0.0 ? 1.0 / falloff : 1.0;\n"
                       "        bool lit = distance <= a.x;\n";
    if (key.lightTypes[index] == D3DLIGHT_SPOT) {
        code += "        float rho = dot(-toLight, " + light +
                ".direction);\n"
                "        vec3 spot = " +
                light +
                ".spot;\n"
                "        lit = lit && rho > spot.y;\n"
                "        if (rho < spot.x)\n"
                "            attenuation *= pow(clamp((rho - spot.y) / (spot.x - spot.y), 0.0, 1.0), spot.z);\n";
    }
    return code + "        if (lit) {\n" + body + "        }\n    }\n";
}

std::string LightingCode(const ProgramKey& key)
{
    std::string code = "    vec3 position = (u_worldView * a_position).xyz;\n"
                       "    vec3 normal = u_normalMatrix * a_normal;\n";
    if (key.normalizeNormals)
        code += "    if (dot(normal, normal) > 0.0)\n        normal = normalize(normal);\n";
    const char* const names[4] = {"u_materialDiffuse", "u_materialAmbient", "u_materialSpecular", "u_materialEmissive"};
    const char* const locals[4] = {"materialDiffuse", "materialAmbient", "materialSpecular", "materialEmissive"};
    for (int i = 0; i < 4; ++i)
        code += std::string("    vec4 ") + locals[i] + " = " + MaterialColor(key.materialSources[i], names[i]) + ";\n";
    if (key.specular)
        code += key.localViewer ? "    vec3 toViewer = -normalize(position);\n"
                                : "    vec3 toViewer = vec3(0.0, 0.0, -1.0);\n";
    code += "    vec3 ambient = u_globalAmbient.rgb;\n"
            "    vec3 diffuse = vec3(0.0);\n"
            "    vec3 specular = vec3(0.0);\n";
    for (int i = 0; i < key.lightCount; ++i)
        code += LightCode(key, i);
    return code +
           "    vec3 color = materialEmissive.rgb + materialAmbient.rgb * ambient + materialDiffuse.rgb * diffuse;\n"
           "    v_diffuse = clamp(vec4(color, materialDiffuse.a), 0.0, 1.0);\n"
           "    v_specular = clamp(vec4(materialSpecular.rgb * specular, materialSpecular.a), 0.0, 1.0);\n";
}

std::string ArgumentCode(std::uint8_t argument)
{
    std::string value;
    switch (argument & D3DTA_SELECTMASK) {
    case D3DTA_TEXTURE: value = "texel"; break;
    case D3DTA_TFACTOR: value = "u_textureFactor"; break;
    case D3DTA_SPECULAR: value = "v_specular"; break;
    default: value = "v_diffuse"; break;
    }
    if (argument & D3DTA_ALPHAREPLICATE)
        value = "vec4(" + value + ".a)";
    if (argument & D3DTA_COMPLEMENT)
        value = "(1.0 - " + value + ")";
    return value;
}

// Texture stage 0's operations as Direct3D evaluates them.
std::string OperationCode(std::uint8_t operation, std::uint8_t arg1, std::uint8_t arg2)
{
    std::string a = ArgumentCode(arg1), b = ArgumentCode(arg2);
    switch (operation) {
    case D3DTOP_SELECTARG2: return b;
    case D3DTOP_MODULATE: return a + " * " + b;
    case D3DTOP_MODULATE2X: return "clamp(2.0 * " + a + " * " + b + ", 0.0, 1.0)";
    case D3DTOP_MODULATE4X: return "clamp(4.0 * " + a + " * " + b + ", 0.0, 1.0)";
    case D3DTOP_ADD: return "clamp(" + a + " + " + b + ", 0.0, 1.0)";
    case D3DTOP_ADDSIGNED: return "clamp(" + a + " + " + b + " - 0.5, 0.0, 1.0)";
    case D3DTOP_ADDSIGNED2X: return "clamp(2.0 * (" + a + " + " + b + " - 0.5), 0.0, 1.0)";
    case D3DTOP_SUBTRACT: return "clamp(" + a + " - " + b + ", 0.0, 1.0)";
    case D3DTOP_ADDSMOOTH: return "clamp(" + a + " + " + b + " - " + a + " * " + b + ", 0.0, 1.0)";
    default: return a;
    }
}

const char* ComparisonOperator(std::uint8_t function)
{
    switch (function) {
    case D3DCMP_LESS: return "<";
    case D3DCMP_EQUAL: return "==";
    case D3DCMP_LESSEQUAL: return "<=";
    case D3DCMP_GREATER: return ">";
    case D3DCMP_NOTEQUAL: return "!=";
    default: return ">=";
    }
}

// The alpha test compares the alpha as the 8-bit value Direct3D's hardware compares.
std::string AlphaTestCode(const ProgramKey& key)
{
    if (!key.TestsAlpha())
        return "";
    if (key.alphaFunc == D3DCMP_NEVER)
        return "    discard;\n";
    return "    float alpha = floor(clamp(color.a, 0.0, 1.0) * 255.0 + 0.5);\n"
           "    if (!(alpha " +
           std::string(ComparisonOperator(key.alphaFunc)) +
           " u_alphaRef))\n"
           "        discard;\n";
}

}  // namespace

std::string VertexShaderSource(const ProgramKey& key)
{
    std::string source = VersionLine(key);
    source += (key.emulation & swizzledVertexColors) ? swizzledVertexInputs : vertexInputs;
    source += Interpolation(key) + " out vec4 v_diffuse;\n" + Interpolation(key) + " out vec4 v_specular;\n" +
              "out vec4 v_texcoord;\n";
    if (key.pretransformed)
        return source + pretransformedMain + EndOfVertexMain(key);
    source += transformUniforms;
    if (key.lighting) {
        source += lightingUniforms;
        if (key.lightCount > 0)
            source += "uniform Light u_lights[" + std::to_string(key.lightCount) + "];\n";
    }
    source += "\nvoid main()\n{";
    source += transformCode;
    if (key.lighting)
        source += LightingCode(key);
    else
        source += "    v_diffuse = a_diffuse;\n    v_specular = a_specular;\n";
    return source + EndOfVertexMain(key);
}

// Texture stage 0 (stage 0's "current" is the diffuse colour), then the specular sum and the
// alpha test. A stage without a texture passes the diffuse colour and alpha on.
std::string FragmentShaderSource(const ProgramKey& key)
{
    std::string source = VersionLine(key) + Interpolation(key) + " in vec4 v_diffuse;\n" + Interpolation(key) +
                         " in vec4 v_specular;\nin vec4 v_texcoord;\nout vec4 o_color;\n";
    if (key.TextureStageUsed())
        source += "uniform sampler2D u_texture;\n";
    if (key.emulation & (borderAddressU | borderAddressV))
        source += "uniform vec4 u_borderColor;\n";
    if (key.emulation & shaderLodBias)
        source += "uniform float u_lodBias;\n";
    if (key.ReadsTextureFactor())
        source += "uniform vec4 u_textureFactor;\n";
    if (key.TestsAlpha() && key.alphaFunc != D3DCMP_NEVER)
        source += "uniform float u_alphaRef;\n";
    source += "\nvoid main()\n{\n    vec4 color = v_diffuse;\n";
    if (key.TextureStageUsed()) {
        source += (key.emulation & shaderLodBias) ? "    vec4 texel = texture(u_texture, v_texcoord.xy, u_lodBias);\n"
                                                  : "    vec4 texel = texture(u_texture, v_texcoord.xy);\n";
        // Border addressing where the sampler has none: clamped to the edge, and the border
        // colour outside [0, 1].
        if (key.emulation & borderAddressU)
            source += "    if (v_texcoord.x < 0.0 || v_texcoord.x > 1.0)\n        texel = u_borderColor;\n";
        if (key.emulation & borderAddressV)
            source += "    if (v_texcoord.y < 0.0 || v_texcoord.y > 1.0)\n        texel = u_borderColor;\n";
        source += "    color.rgb = (" + OperationCode(key.colorOp, key.colorArg1, key.colorArg2) + ").rgb;\n";
        if (key.alphaOp != D3DTOP_DISABLE)
            source += "    color.a = (" + OperationCode(key.alphaOp, key.alphaArg1, key.alphaArg2) + ").a;\n";
    }
    if (key.specular)
        source += "    color.rgb = min(color.rgb + v_specular.rgb, 1.0);\n";
    return source + AlphaTestCode(key) + "    o_color = color;\n}\n";
}

}  // namespace quorvane::d3d9
