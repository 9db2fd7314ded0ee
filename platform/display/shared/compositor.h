// Shows a window's surface on the screen with OpenGL: the kept frame stretched over the frame
// area, then the layers blended over it in order, into the back buffer of the window's
// drawable, or into the window's place in a drawable that shows several windows. The picture is the one the headless display composes on the processor: black where
// nothing is, a nearest-pixel stretch worked out in whole numbers, source-over blending. On a
// scaled screen the frame (drawn at the program's size) is stretched with linear filtering, and
// the layers (drawn at the screen's resolution) are placed at their scaled corners.
#pragma once

#include <epoxy/gl.h>

#include <cstdint>
#include <map>

#include "display/display.h"
#include "display/shared/screen_scale.h"

namespace quorvane::display::shared {

struct Texture {
    GLuint name = 0;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};

struct LayerTexture {
    int x = 0;
    int y = 0;
    Texture image;
};

// Lives in one context (the display's own), which is current for every call.
class Compositor {
public:
    // Draws into `target` (0: the current drawable's back buffer), `surfaceWidth` x
    // `surfaceHeight` screen pixels; the frame area is in screen pixels, the layers' corners in
    // the program's. A frame with no texture leaves the area black.
    bool Compose(GLuint target, std::uint32_t surfaceWidth, std::uint32_t surfaceHeight, const Texture& frame,
                 const Rect& frameArea, const std::map<int, LayerTexture>& layers, const ScreenScale& scale);
    // The same into the part `place` (screen pixels, y down) of a `targetWidth` x `targetHeight`
    // target: only that part is cleared and drawn, what lies around it stays.
    bool ComposeAt(GLuint target, std::uint32_t targetWidth, std::uint32_t targetHeight, const Rect& place,
                   const Texture& frame, const Rect& frameArea, const std::map<int, LayerTexture>& layers,
                   const ScreenScale& scale);
    // Copies the image into a texture (made when `texture.name` is 0).
    static void Upload(const Image& image, Texture& texture);
    static void Delete(Texture& texture);
    void Release();

private:
    bool Prepare();
    void Draw(const Texture& texture, const Rect& rect, bool opaque, bool smooth);

    GLuint program_ = 0;
    GLuint vertexArray_ = 0;
    GLint rectUniform_ = -1;
    GLint surfaceUniform_ = -1;
    GLint originUniform_ = -1;
    GLint imageSizeUniform_ = -1;
    GLint opaqueUniform_ = -1;
    GLint filteredUniform_ = -1;
    GLuint linearSampler_ = 0;
    bool failed_ = false;
};

}  // namespace quorvane::display::shared
