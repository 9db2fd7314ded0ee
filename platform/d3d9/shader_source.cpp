#include "d3d9/shader_source.h"

namespace quorvane::d3d9 {

// Matrices arrive in Direct3D's row-major memory order without transposition, so GLSL sees
// their transposes and `matrix * vector` computes Direct3D's row-vector product vector·matrix.
const char* const fixedFunctionVertexShader = R"glsl(
layout(location = 0) in vec4 a_position;
layout(location = 1) in vec3 a_normal;
layout(location = 2) in vec4 a_diffuse;
layout(location = 3) in vec4 a_specular;
layout(location = 4) in vec4 a_texcoord;

SHADE out vec4 v_diffuse;
SHADE out vec4 v_specular;
out vec4 v_texcoord;

uniform bool u_hasDiffuse;
uniform bool u_hasSpecular;

#ifdef PRETRANSFORMED

uniform vec4 u_viewport;    // x, y, width, height in pixels
uniform vec2 u_depthRange;  // MinZ, MaxZ

void main()
{
    // Screen position to clip space. Direct3D 9 pixel centres lie on integer coordinates,
    // OpenGL's on half-integers: the half pixel moves one onto the other. Framebuffer rows
    // are stored top row first, so screen y grows with OpenGL's window y. Multiplying by
    // w = 1/rhw restores the homogeneous w for perspective-correct interpolation.
    float w = a_position.w != 0.0 ? 1.0 / a_position.w : 1.0;
    vec2 ndc = (a_position.xy + 0.5 - u_viewport.xy) * 2.0 / u_viewport.zw - 1.0;
    float depthSpan = u_depthRange.y - u_depthRange.x;
    float z = depthSpan != 0.0 ? (a_position.z - u_depthRange.x) / depthSpan : 0.0;
    gl_Position = vec4(ndc, z, 1.0) * w;
    v_diffuse = u_hasDiffuse ? a_diffuse : vec4(1.0);
    v_specular = u_hasSpecular ? a_specular : vec4(0.0);
    v_texcoord = a_texcoord;
}

#else

struct Light {
    int type;  // D3DLIGHTTYPE
    vec4 diffuse;
    vec4 specular;
    vec4 ambient;
    vec3 position;   // view space
    vec3 direction;  // view space, normalised
    vec4 attenuation;  // range, constant, linear, quadratic
    vec3 spot;         // cos(theta / 2), cos(phi / 2), falloff
};

uniform mat4 u_worldViewProjection;
uniform mat4 u_worldView;
uniform mat3 u_normalMatrix;  // inverse transpose of world·view
uniform vec2 u_pixelAdjust;   // 1 / viewport width, 1 / viewport height

uniform bool u_lighting;
uniform bool u_hasNormal;
uniform bool u_normalizeNormals;
uniform bool u_colorVertex;
uniform bool u_specularEnable;
uniform bool u_localViewer;
uniform ivec4 u_materialSource;  // diffuse, ambient, specular, emissive: D3DMATERIALCOLORSOURCE
uniform vec4 u_materialDiffuse;
uniform vec4 u_materialAmbient;
uniform vec4 u_materialSpecular;
uniform vec4 u_materialEmissive;
uniform float u_materialPower;
uniform vec4 u_globalAmbient;
uniform int u_lightCount;
uniform Light u_lights[8];

vec4 MaterialColor(int source, vec4 material)
{
    if (!u_colorVertex)
        return material;
    if (source == 1 && u_hasDiffuse)
        return a_diffuse;
    if (source == 2 && u_hasSpecular)
        return a_specular;
    return material;
}

void ComputeLighting(vec3 position, vec3 normal, out vec4 diffuseColor, out vec4 specularColor)
{
    vec4 materialDiffuse = MaterialColor(u_materialSource.x, u_materialDiffuse);
    vec4 materialAmbient = MaterialColor(u_materialSource.y, u_materialAmbient);
    vec4 materialSpecular = MaterialColor(u_materialSource.z, u_materialSpecular);
    vec4 materialEmissive = MaterialColor(u_materialSource.w, u_materialEmissive);
    vec3 toViewer = u_localViewer ? -normalize(position) : vec3(0.0, 0.0, -1.0);

    vec3 ambient = u_globalAmbient.rgb;
    vec3 diffuse = vec3(0.0);
    vec3 specular = vec3(0.0);
    for (int i = 0; i < u_lightCount; ++i) {
        vec3 toLight;
        float attenuation = 1.0;
        if (u_lights[i].type == 3) {
            toLight = -u_lights[i].direction;
        } else {
            vec3 offset = u_lights[i].position - position;
            float distance = length(offset);
            if (distance > u_lights[i].attenuation.x)
                continue;
            toLight = distance > 0.0 ? offset / distance : vec3(0.0);
            vec4 a = u_lights[i].attenuation;
            float falloff = a.y + a.z * distance + a.w * distance * distance;
            attenuation = falloff > 0.0 ? 1.0 / falloff : 1.0;
            if (u_lights[i].type == 2) {
                float rho = dot(-toLight, u_lights[i].direction);
                vec3 spot = u_lights[i].spot;
                if (rho <= spot.y)
                    continue;
                if (rho < spot.x)
                    attenuation *= pow(clamp((rho - spot.y) / (spot.x - spot.y), 0.0, 1.0), spot.z);
            }
        }
        ambient += u_lights[i].ambient.rgb * attenuation;
        float nDotL = dot(normal, toLight);
        if (nDotL > 0.0) {
            diffuse += u_lights[i].diffuse.rgb * nDotL * attenuation;
            if (u_specularEnable) {
                float nDotH = dot(normal, normalize(toLight + toViewer));
                if (nDotH > 0.0)
                    specular += u_lights[i].specular.rgb * pow(nDotH, u_materialPower) * attenuation;
            }
        }
    }
    vec3 color = materialEmissive.rgb + materialAmbient.rgb * ambient + materialDiffuse.rgb * diffuse;
    diffuseColor = clamp(vec4(color, materialDiffuse.a), 0.0, 1.0);
    specularColor = clamp(vec4(materialSpecular.rgb * specular, materialSpecular.a), 0.0, 1.0);
}

void main()
{
    // Direct3D's clip space to OpenGL's: y flips because rows are stored top row first, and
    // the half pixel moves Direct3D 9's integer pixel centres onto OpenGL's. z stays in [0, w]
    // (glClipControl), so the near plane also removes everything at w <= 0.
    vec4 clip = u_worldViewProjection * a_position;
    gl_Position = vec4(clip.x + clip.w * u_pixelAdjust.x, -clip.y + clip.w * u_pixelAdjust.y, clip.z, clip.w);
    v_texcoord = a_texcoord;
    if (u_lighting) {
        vec3 position = (u_worldView * a_position).xyz;
        vec3 normal = u_hasNormal ? u_normalMatrix * a_normal : vec3(0.0);
        if (u_normalizeNormals && dot(normal, normal) > 0.0)
            normal = normalize(normal);
        ComputeLighting(position, normal, v_diffuse, v_specular);
    } else {
        v_diffuse = u_hasDiffuse ? a_diffuse : vec4(1.0);
        v_specular = u_hasSpecular ? a_specular : vec4(0.0);
    }
}

#endif
)glsl";

// Texture stage 0 as Direct3D evaluates it (stage 0's "current" is the diffuse colour), then
// the specular sum and the alpha test. A stage without a texture passes the diffuse colour and
// alpha on.
const char* const fixedFunctionFragmentShader = R"glsl(
SHADE in vec4 v_diffuse;
SHADE in vec4 v_specular;
in vec4 v_texcoord;

out vec4 o_color;

uniform sampler2D u_texture;
uniform bool u_textured;
uniform ivec3 u_colorStage;  // D3DTSS_COLOROP, D3DTSS_COLORARG1, D3DTSS_COLORARG2
uniform ivec3 u_alphaStage;  // D3DTSS_ALPHAOP, D3DTSS_ALPHAARG1, D3DTSS_ALPHAARG2
uniform vec4 u_textureFactor;
uniform bool u_specularEnable;
uniform int u_alphaFunc;  // D3DCMPFUNC; D3DCMP_ALWAYS when the alpha test is off
uniform float u_alphaRef;

vec4 Argument(int argument, vec4 texel)
{
    int source = argument & 15;
    vec4 value = source == 2 ? texel : source == 3 ? u_textureFactor : source == 4 ? v_specular : v_diffuse;
    if ((argument & 0x20) != 0)
        value = vec4(value.a);
    if ((argument & 0x10) != 0)
        value = 1.0 - value;
    return value;
}

vec4 Operate(int operation, vec4 a, vec4 b)
{
    switch (operation) {
    case 3: return b;
    case 4: return a * b;
    case 5: return clamp(2.0 * a * b, 0.0, 1.0);
    case 6: return clamp(4.0 * a * b, 0.0, 1.0);
    case 7: return clamp(a + b, 0.0, 1.0);
    case 8: return clamp(a + b - 0.5, 0.0, 1.0);
    case 9: return clamp(2.0 * (a + b - 0.5), 0.0, 1.0);
    case 10: return clamp(a - b, 0.0, 1.0);
    case 11: return clamp(a + b - a * b, 0.0, 1.0);
    default: return a;
    }
}

bool AlphaTestPasses(float alpha)
{
    float value = floor(clamp(alpha, 0.0, 1.0) * 255.0 + 0.5);
    switch (u_alphaFunc) {
    case 1: return false;
    case 2: return value < u_alphaRef;
    case 3: return value == u_alphaRef;
    case 4: return value <= u_alphaRef;
    case 5: return value > u_alphaRef;
    case 6: return value != u_alphaRef;
    case 7: return value >= u_alphaRef;
    default: return true;
    }
}

void main()
{
    vec4 color = v_diffuse;
    if (u_textured && u_colorStage.x != 1) {
        vec4 texel = texture(u_texture, v_texcoord.xy);
        color.rgb = Operate(u_colorStage.x, Argument(u_colorStage.y, texel), Argument(u_colorStage.z, texel)).rgb;
        if (u_alphaStage.x != 1)
            color.a = Operate(u_alphaStage.x, Argument(u_alphaStage.y, texel), Argument(u_alphaStage.z, texel)).a;
    }
    if (u_specularEnable)
        color.rgb = min(color.rgb + v_specular.rgb, 1.0);
    if (!AlphaTestPasses(color.a))
        discard;
    o_color = color;
}
)glsl";

}  // namespace quorvane::d3d9
