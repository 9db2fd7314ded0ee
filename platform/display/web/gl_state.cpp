#include "display/web/gl_state.h"

namespace quorvane::display::web {

namespace {

void SetEnabled(GLenum capability, GLboolean enabled)
{
    if (enabled)
        glEnable(capability);
    else
        glDisable(capability);
}

}  // namespace

SavedGlState::SavedGlState()
{
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &drawFramebuffer_);
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &readFramebuffer_);
    glGetIntegerv(GL_VIEWPORT, viewport_);
    glGetIntegerv(GL_SCISSOR_BOX, scissorBox_);
    glGetIntegerv(GL_CURRENT_PROGRAM, &program_);
    glGetIntegerv(GL_VERTEX_ARRAY_BINDING, &vertexArray_);
    glGetIntegerv(GL_ACTIVE_TEXTURE, &activeTexture_);
    glActiveTexture(GL_TEXTURE0);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &texture_);
    glGetIntegerv(GL_SAMPLER_BINDING, &sampler_);
    glGetIntegerv(GL_PIXEL_UNPACK_BUFFER_BINDING, &unpackBuffer_);
    glGetIntegerv(GL_PIXEL_PACK_BUFFER_BINDING, &packBuffer_);
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &unpackAlignment_);
    glGetIntegerv(GL_UNPACK_ROW_LENGTH, &unpackRowLength_);
    glGetIntegerv(GL_PACK_ALIGNMENT, &packAlignment_);
    glGetIntegerv(GL_PACK_ROW_LENGTH, &packRowLength_);
    glGetIntegerv(GL_BLEND_SRC_RGB, &blendSourceRgb_);
    glGetIntegerv(GL_BLEND_DST_RGB, &blendDestinationRgb_);
    glGetIntegerv(GL_BLEND_SRC_ALPHA, &blendSourceAlpha_);
    glGetIntegerv(GL_BLEND_DST_ALPHA, &blendDestinationAlpha_);
    glGetIntegerv(GL_BLEND_EQUATION_RGB, &blendEquationRgb_);
    glGetIntegerv(GL_BLEND_EQUATION_ALPHA, &blendEquationAlpha_);
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clearColor_);
    glGetBooleanv(GL_COLOR_WRITEMASK, colorMask_);
    blend_ = glIsEnabled(GL_BLEND);
    scissor_ = glIsEnabled(GL_SCISSOR_TEST);
    cull_ = glIsEnabled(GL_CULL_FACE);
    depth_ = glIsEnabled(GL_DEPTH_TEST);
    stencil_ = glIsEnabled(GL_STENCIL_TEST);

    glBindBuffer(GL_PIXEL_UNPACK_BUFFER, 0);
    glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_STENCIL_TEST);
    glBlendEquation(GL_FUNC_ADD);
}

SavedGlState::~SavedGlState()
{
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, GLuint(drawFramebuffer_));
    glBindFramebuffer(GL_READ_FRAMEBUFFER, GLuint(readFramebuffer_));
    glViewport(viewport_[0], viewport_[1], viewport_[2], viewport_[3]);
    glScissor(scissorBox_[0], scissorBox_[1], scissorBox_[2], scissorBox_[3]);
    glUseProgram(GLuint(program_));
    glBindVertexArray(GLuint(vertexArray_));
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, GLuint(texture_));
    glBindSampler(0, GLuint(sampler_));
    glActiveTexture(GLenum(activeTexture_));
    glBindBuffer(GL_PIXEL_UNPACK_BUFFER, GLuint(unpackBuffer_));
    glBindBuffer(GL_PIXEL_PACK_BUFFER, GLuint(packBuffer_));
    glPixelStorei(GL_UNPACK_ALIGNMENT, unpackAlignment_);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, unpackRowLength_);
    glPixelStorei(GL_PACK_ALIGNMENT, packAlignment_);
    glPixelStorei(GL_PACK_ROW_LENGTH, packRowLength_);
    glBlendFuncSeparate(GLenum(blendSourceRgb_), GLenum(blendDestinationRgb_), GLenum(blendSourceAlpha_),
                        GLenum(blendDestinationAlpha_));
    glBlendEquationSeparate(GLenum(blendEquationRgb_), GLenum(blendEquationAlpha_));
    glClearColor(clearColor_[0], clearColor_[1], clearColor_[2], clearColor_[3]);
    glColorMask(colorMask_[0], colorMask_[1], colorMask_[2], colorMask_[3]);
    SetEnabled(GL_BLEND, blend_);
    SetEnabled(GL_SCISSOR_TEST, scissor_);
    SetEnabled(GL_CULL_FACE, cull_);
    SetEnabled(GL_DEPTH_TEST, depth_);
    SetEnabled(GL_STENCIL_TEST, stencil_);
}

}  // namespace quorvane::display::web
