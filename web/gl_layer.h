// web/gl_layer.h - the browser build's GL 1.x layer, included in front of every file of the
// web build. The browser's GL 1.x emulation draws glBegin blocks, client arrays, matrices,
// fog and texture combiners, but lacks display lists, texture coordinate generation,
// glPushAttrib, two material calls, GL_CLAMP and sized texture formats, and draws nothing
// for a block that gives an attribute for only some vertices. The calls the show makes are
// routed here: every draw is sent as complete per-vertex attributes, lists are recorded as
// vertex batches and replayed, generated coordinates are computed from the normals and the
// model-view, and the attribute stacks are kept in a shadow of the state the show sets.
// Only what the show calls; no general emulator.
#pragma once
#ifdef __EMSCRIPTEN__
#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/glu.h>

void web_gl_begin(GLenum mode);                        // glBegin
void web_gl_end();                                     // glEnd
void web_gl_vertex3f(GLfloat x, GLfloat y, GLfloat z); // glVertex*: the vertex with the current attributes
void web_gl_normal3f(GLfloat x, GLfloat y, GLfloat z); // glNormal*
void web_gl_colour4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a);   // glColor*
void web_gl_texcoord3f(GLfloat s, GLfloat t, GLfloat r);   // glTexCoord*
void web_gl_enable_client(GLenum array, bool on);      // glEnable/DisableClientState
void web_gl_pointer(GLenum array, GLint size, GLenum type, GLsizei stride, const void *p);   // gl*Pointer
void web_gl_draw_elements(GLenum mode, GLsizei count, GLenum type, const void *indices);     // glDrawElements
void web_gl_push_client_attrib(GLbitfield mask);       // glPushClientAttrib
void web_gl_pop_client_attrib();                       // glPopClientAttrib
GLuint web_gl_gen_lists(GLsizei range);                // glGenLists
void web_gl_new_list(GLuint list, GLenum mode);        // glNewList (GL_COMPILE)
void web_gl_end_list();                                // glEndList
void web_gl_call_list(GLuint list);                    // glCallList
void web_gl_call_lists(GLsizei n, GLenum type, const void *lists);   // glCallLists
void web_gl_list_base(GLuint base);                    // glListBase
void web_gl_tex_gen_i(GLenum coord, GLenum pname, GLint mode);           // glTexGeni
void web_gl_tex_gen_fv(GLenum coord, GLenum pname, const GLfloat *v);    // glTexGenfv

void web_gl_enable(GLenum cap, bool on);               // glEnable / glDisable
void web_gl_push_attrib(GLbitfield mask);              // glPushAttrib
void web_gl_pop_attrib();                              // glPopAttrib
void web_gl_blend_func(GLenum s, GLenum d);            // glBlendFunc
void web_gl_depth_func(GLenum f);                      // glDepthFunc
void web_gl_depth_mask(GLboolean on);                  // glDepthMask
void web_gl_cull_face(GLenum face);                    // glCullFace
void web_gl_front_face(GLenum dir);                    // glFrontFace
void web_gl_alpha_func(GLenum f, GLclampf ref);        // glAlphaFunc
void web_gl_colour_mask(GLboolean r, GLboolean g, GLboolean b, GLboolean a);   // glColorMask
void web_gl_clear_colour(GLclampf r, GLclampf g, GLclampf b, GLclampf a);      // glClearColor
void web_gl_clear_depth(GLclampd d);                   // glClearDepth
void web_gl_viewport(GLint x, GLint y, GLsizei w, GLsizei h);   // glViewport
void web_gl_scissor(GLint x, GLint y, GLsizei w, GLsizei h);    // glScissor
void web_gl_stencil_func(GLenum f, GLint ref, GLuint mask);     // glStencilFunc
void web_gl_stencil_op(GLenum fail, GLenum zfail, GLenum zpass);   // glStencilOp
void web_gl_line_width(GLfloat w);                     // glLineWidth
void web_gl_matrix_mode(GLenum mode);                  // glMatrixMode
void web_gl_fog_f(GLenum pname, GLfloat v);            // glFogf / glFogi
void web_gl_fog_fv(GLenum pname, const GLfloat *v);    // glFogfv
void web_gl_material_fv(GLenum face, GLenum pname, const GLfloat *v);   // glMaterialfv / glMaterialf
void web_gl_tex_env_i(GLenum target, GLenum pname, GLint v);            // glTexEnvi
void web_gl_tex_env_fv(GLenum target, GLenum pname, const GLfloat *v);  // glTexEnvfv
void web_gl_active_texture(GLenum unit);               // glActiveTexture(ARB)
void web_gl_multi_tex_coord_2f(GLenum unit, GLfloat s, GLfloat t);      // glMultiTexCoord2fARB (unused by the show)
void web_gl_bind_texture(GLenum target, GLuint id);    // glBindTexture
void web_gl_tex_parameter_i(GLenum target, GLenum pname, GLint v);      // glTexParameteri
void web_gl_tex_image_2d(GLenum target, GLint level, GLint internal, GLsizei w, GLsizei h, GLint border,
                         GLenum format, GLenum type, const void *pixels);   // glTexImage2D
GLint web_glu_build_2d_mipmaps(GLenum target, GLint internal, GLsizei w, GLsizei h, GLenum format,
                               GLenum type, const void *pixels);            // gluBuild2DMipmaps
const GLubyte *web_gl_get_string(GLenum name);         // glGetString
void web_gl_get_floatv(GLenum pname, GLfloat *v);      // glGetFloatv
void web_glu_perspective(GLdouble fovy, GLdouble aspect, GLdouble near_plane, GLdouble far_plane);   // gluPerspective
void web_glu_look_at(GLdouble ex, GLdouble ey, GLdouble ez, GLdouble cx, GLdouble cy, GLdouble cz,
                     GLdouble ux, GLdouble uy, GLdouble uz);      // gluLookAt
void web_gl_ignored();                                 // calls with no effect in the browser

#ifndef WEB_GL_LAYER_ITSELF   // defined for the layer's own files (web/web.cmake)
#define glBegin(m) web_gl_begin(m)
#define glEnd() web_gl_end()
#define glVertex2f(x, y) web_gl_vertex3f(x, y, 0.0f)
#define glVertex3f(x, y, z) web_gl_vertex3f(x, y, z)
#define glVertex3fv(v) web_gl_vertex3f((v)[0], (v)[1], (v)[2])
#define glNormal3f(x, y, z) web_gl_normal3f(x, y, z)
#define glNormal3fv(v) web_gl_normal3f((v)[0], (v)[1], (v)[2])
#define glColor3f(r, g, b) web_gl_colour4f(r, g, b, 1.0f)
#define glColor3fv(v) web_gl_colour4f((v)[0], (v)[1], (v)[2], 1.0f)
#define glColor4f(r, g, b, a) web_gl_colour4f(r, g, b, a)
#define glColor4fv(v) web_gl_colour4f((v)[0], (v)[1], (v)[2], (v)[3])
#define glTexCoord2f(s, t) web_gl_texcoord3f(s, t, 0.0f)
#define glEnableClientState(a) web_gl_enable_client(a, true)
#define glDisableClientState(a) web_gl_enable_client(a, false)
#define glVertexPointer(s, t, st, p) web_gl_pointer(GL_VERTEX_ARRAY, s, t, st, p)
#define glNormalPointer(t, st, p) web_gl_pointer(GL_NORMAL_ARRAY, 3, t, st, p)
#define glColorPointer(s, t, st, p) web_gl_pointer(GL_COLOR_ARRAY, s, t, st, p)
#define glTexCoordPointer(s, t, st, p) web_gl_pointer(GL_TEXTURE_COORD_ARRAY, s, t, st, p)
#define glDrawElements(m, c, t, i) web_gl_draw_elements(m, c, t, i)
#define glPushClientAttrib(m) web_gl_push_client_attrib(m)
#define glPopClientAttrib() web_gl_pop_client_attrib()
#define glGenLists(n) web_gl_gen_lists(n)
#define glNewList(l, m) web_gl_new_list(l, m)
#define glEndList() web_gl_end_list()
#define glCallList(l) web_gl_call_list(l)
#define glCallLists(n, t, l) web_gl_call_lists(n, t, l)
#define glListBase(b) web_gl_list_base(b)
#define glTexGeni(c, p, m) web_gl_tex_gen_i(c, p, m)
#define glTexGenfv(c, p, v) web_gl_tex_gen_fv(c, p, v)
#define glEnable(c) web_gl_enable(c, true)
#define glDisable(c) web_gl_enable(c, false)
#define glPushAttrib(m) web_gl_push_attrib(m)
#define glPopAttrib() web_gl_pop_attrib()
#define glBlendFunc(s, d) web_gl_blend_func(s, d)
#define glDepthFunc(f) web_gl_depth_func(f)
#define glDepthMask(m) web_gl_depth_mask(m)
#define glCullFace(f) web_gl_cull_face(f)
#define glFrontFace(f) web_gl_front_face(f)
#define glAlphaFunc(f, r) web_gl_alpha_func(f, r)
#define glColorMask(r, g, b, a) web_gl_colour_mask(r, g, b, a)
#define glClearColor(r, g, b, a) web_gl_clear_colour(r, g, b, a)
#define glClearDepth(d) web_gl_clear_depth(d)
#define glViewport(x, y, w, h) web_gl_viewport(x, y, w, h)
#define glScissor(x, y, w, h) web_gl_scissor(x, y, w, h)
#define glStencilFunc(f, r, m) web_gl_stencil_func(f, r, m)
#define glStencilOp(a, b, c) web_gl_stencil_op(a, b, c)
#define glLineWidth(w) web_gl_line_width(w)
#define glMatrixMode(m) web_gl_matrix_mode(m)
#define glFogf(p, v) web_gl_fog_f(p, v)
#define glFogi(p, v) web_gl_fog_f(p, GLfloat(v))
#define glFogfv(p, v) web_gl_fog_fv(p, v)
#define glMaterialfv(f, p, v) web_gl_material_fv(f, p, v)
#define glMaterialf(f, p, v) do { const GLfloat web_v_ = (v); web_gl_material_fv(f, p, &web_v_); } while (0)
#define glTexEnvi(t, p, v) web_gl_tex_env_i(t, p, v)
#define glTexEnvfv(t, p, v) web_gl_tex_env_fv(t, p, v)
#define glBindTexture(t, i) web_gl_bind_texture(t, i)
#define glTexParameteri(t, p, v) web_gl_tex_parameter_i(t, p, v)
#define glTexImage2D(t, l, i, w, h, b, f, y, p) web_gl_tex_image_2d(t, l, i, w, h, b, f, y, p)
#define gluBuild2DMipmaps(t, i, w, h, f, y, p) web_glu_build_2d_mipmaps(t, i, w, h, f, y, p)
#define glGetString(n) web_gl_get_string(n)
#define glGetFloatv(p, v) web_gl_get_floatv(p, v)
#define gluPerspective(f, a, n, z) web_glu_perspective(f, a, n, z)
#define gluLookAt(ex, ey, ez, cx, cy, cz, ux, uy, uz) web_glu_look_at(ex, ey, ez, cx, cy, cz, ux, uy, uz)
#define gluOrtho2D(l, r, b, t) glOrtho(l, r, b, t, -1.0, 1.0)
#define glShadeModel(m) web_gl_ignored()
#define glHint(t, m) web_gl_ignored()
#define glReadBuffer(b) web_gl_ignored()
#define glPixelTransferf(p, v) web_gl_ignored()
#endif
#endif
