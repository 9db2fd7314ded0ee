#include "d3d9/gl_capabilities.h"

#include <epoxy/gl.h>

namespace quorvane::d3d9 {

GLCapabilities DesktopGL33Capabilities(bool clipControl)
{
    GLCapabilities caps;
    caps.clipControl = clipControl;
    caps.provokingVertex = caps.polygonMode = caps.bgraLayouts = caps.textureSwizzle = true;
    caps.borderClamp = caps.lodBias = caps.baseVertex = caps.unsynchronizedMap = caps.depth32 = true;
    caps.version = 33;
    return caps;
}

// ES 3.0 as WebGL 2 offers it: extensions a desktop driver may add (BGRA8888, border clamp,
// base vertex in 3.2) are left unused, so that the path the browser takes is the one tested.
GLCapabilities ES30Capabilities()
{
    GLCapabilities caps;
    caps.es = true;
    caps.version = 30;
    return caps;
}

GLCapabilities ReadGLCapabilities()
{
    int version = epoxy_gl_version();
    if (!epoxy_is_desktop_gl()) {
        GLCapabilities caps = ES30Capabilities();
        caps.version = version;
        return caps;
    }
    GLCapabilities caps = DesktopGL33Capabilities(version >= 45 || epoxy_has_gl_extension("GL_ARB_clip_control"));
    caps.version = version;
    return caps;
}

}  // namespace quorvane::d3d9
