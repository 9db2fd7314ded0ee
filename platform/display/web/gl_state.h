// The part of a WebGL context's state the display's composition and uploads change, saved before
// and put back after: the devices draw in the same context, between their own calls, and rely on
// what they set staying set.
#pragma once

#include <epoxy/gl.h>  // the GL the rest of the platform includes: WebGL 2 here

namespace quorvane::display::web {

class SavedGlState {
public:
    // Saves the state, then sets what the composition needs whatever the device left: every
    // colour channel written, no culling, depth or stencil test, additive blending.
    SavedGlState();
    ~SavedGlState();
    SavedGlState(const SavedGlState&) = delete;
    SavedGlState& operator=(const SavedGlState&) = delete;

private:
    GLint drawFramebuffer_ = 0, readFramebuffer_ = 0;
    GLint viewport_[4] = {};
    GLint scissorBox_[4] = {};
    GLint program_ = 0, vertexArray_ = 0;
    GLint activeTexture_ = 0, texture_ = 0, sampler_ = 0;
    GLint unpackBuffer_ = 0, packBuffer_ = 0;
    GLint unpackAlignment_ = 4, unpackRowLength_ = 0, packAlignment_ = 4, packRowLength_ = 0;
    GLint blendSourceRgb_ = 0, blendDestinationRgb_ = 0, blendSourceAlpha_ = 0, blendDestinationAlpha_ = 0;
    GLint blendEquationRgb_ = 0, blendEquationAlpha_ = 0;
    GLfloat clearColor_[4] = {};
    GLboolean colorMask_[4] = {GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE};
    GLboolean blend_ = GL_FALSE, scissor_ = GL_FALSE, cull_ = GL_FALSE, depth_ = GL_FALSE, stencil_ = GL_FALSE;
};

}  // namespace quorvane::display::web
