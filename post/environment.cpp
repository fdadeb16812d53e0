// post/environment.cpp - environment capture into a cube map or, without cube maps, into six
// face textures assembled into one sphere map.
//
// A face is a 90-degree square view from the capture point: the modelview is first turned
// by the face's rotation, then looks from the capture point at the viewer's eye. With cube
// maps the turns put each picture where reflection-map coordinates (mirrored in S and T by
// bind_texture) look for it; the fallback's turns suit the sphere-map assembly instead.
//
// The sphere map is drawn as a flat mesh: every point of a face picture goes to the place
// GL_SPHERE_MAP generation gives its direction, x mirrored because a sphere map is seen from
// the front. The viewer's half of the world (faces 0 to 4) lands inside the 0.92 circle,
// face 5 (straight away from the viewer) is stretched round the rim and, by its centre
// colour, over the corners outside the circle.
#include "post/environment.h"
#include "post/filters.h"            // Required for: quad_depth()
#include "platform/gl_caps.h"             // Required for: gl_caps.cube_map_supported
#include "render/render_state.h"     // Required for: push/pop_render_state(), set_ortho_view(), render.view
#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/glu.h>                  // Required for: gluPerspective(), gluLookAt()
#include <cmath>
#include <initializer_list>

//----------------------------------------------------------------------------------
// Defines
//----------------------------------------------------------------------------------
struct FaceTurn { float angle, x, y, z; };   // degrees about an axis, before the look-at

static const FaceTurn CUBE_TURNS[6] = {
    { 90, 0, 1, 0 }, { -90, 0, 1, 0 }, { 90, 1, 0, 0 }, { -90, 1, 0, 0 }, { 0, 0, 1, 0 }, { 180, 0, 1, 0 },
};
static const FaceTurn FALLBACK_TURNS[6] = {
    { 0, 1, 0, 0 }, { 90, -1, 0, 0 }, { 90, 1, 0, 0 }, { 90, 0, -1, 0 }, { 90, 0, 1, 0 }, { 180, -1, 0, 0 },
};
constexpr int   RIM_ANGLES   = 32;   // face 5 round the rim: sectors ...
constexpr int   RIM_RINGS    = 6;    // ... and rings of 0.25 in its own coordinates
constexpr int   FACE_GRID    = 16;   // quads per side of each of faces 0 to 4
constexpr float PI_F         = 3.14159265358979f;

//----------------------------------------------------------------------------------
// Internal Functions
//----------------------------------------------------------------------------------
// One face's view: projection and modelview, then the caller's drawing.
static void render_face(const FaceTurn &turn, float time, EnvironmentView view, const CameraKey &look,
                        const float eye[3], float near_plane, float far_plane) {
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(90.0, 1.0, near_plane, far_plane);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glRotatef(turn.angle, turn.x, turn.y, turn.z);
    gluLookAt(eye[0], eye[1], eye[2], look.x, look.y, look.z, 0, 1, 0);
    if (render.fill.on) count_fill(FILL_SCENE, viewport_pixels());
    view(time, 1);
}

// A vertex of the sphere-map mesh: the texel of the bound face, at its direction's place.
static void sphere_vertex(float x, float y, float z, float s, float t) {
    const float len = std::sqrt(x * x + y * y + z * z);
    const float d[3] = { x / len, y / len, z / len };
    float p[2];
    sphere_map_point(p, d);
    glTexCoord2f(s, t);
    glVertex3f(p[0], p[1], quad_depth());
}

static void draw_rim(const Texture *back) {
    bind_texture(back, 0);
    glBegin(GL_QUADS);
    for (int i = 0; i < RIM_ANGLES; i++) {
        const float a0 = float(i) * PI_F / 16.0f, a1 = float(i + 1) * PI_F / 16.0f;
        for (int r = 0; r < RIM_RINGS; r++) {
            const float r0 = 0.25f * float(r) + 0.0001f, r1 = 0.25f * float(r + 1) + 0.0001f;
            const float corners[4][2] = { { a0, r0 }, { a1, r0 }, { a1, r1 }, { a0, r1 } };
            for (const auto &c : corners) {
                const float sx = c[1] * std::sin(c[0]), cy = c[1] * std::cos(c[0]);
                sphere_vertex(sx, cy, -1.0f, 0.5f + 0.5f * sx, 0.5f - 0.5f * cy);
            }
        }
    }
    glEnd();
}

// Corner (u, v) of face f (3, 2, 4, 1 or 0): its direction and texture coordinate.
static void face_vertex(int f, float u, float v) {
    const float s = (u + 1.0f) / 2.0f, t = (v + 1.0f) / 2.0f;
    switch (f) {
    case 3:  sphere_vertex(-1.0f, v, u, s, t);        break;
    case 2:  sphere_vertex(u, -1.0f, v, s, t);        break;
    case 4:  sphere_vertex(1.0f, v, u, 1.0f - s, t);  break;
    case 1:  sphere_vertex(u, 1.0f, v, s, 1.0f - t);  break;
    default: sphere_vertex(u, v, 1.0f, s, t);         break;
    }
}

static void draw_face_grid(const Texture *face, int f) {
    bind_texture(face, 0);
    glBegin(GL_QUADS);
    for (int i = 0; i < FACE_GRID; i++) {
        for (int j = 0; j < FACE_GRID; j++) {
            const int corners[4][2] = { { i, j }, { i + 1, j }, { i + 1, j + 1 }, { i, j + 1 } };
            for (const auto &c : corners)
                face_vertex(f, float(c[0]) / 8.0f - 1.0f, float(c[1]) / 8.0f - 1.0f);
        }
    }
    glEnd();
}

//----------------------------------------------------------------------------------
// Module Functions
//----------------------------------------------------------------------------------
float *sphere_map_point(float *out, const float *d) {
    const float m = std::sqrt(d[0] * d[0] + d[1] * d[1] + (d[2] + 1.0f) * (d[2] + 1.0f));
    if (m < 1e-6f) {   // straight back: every rim point is as good; keep NaN away from GL
        out[0] = 0;
        out[1] = -1;
        return out;
    }
    out[0] = d[0] / m;
    out[1] = d[1] / m;
    return out;
}

void capture_cube_faces(Texture *tex, float time, EnvironmentView view, const CameraKey &look,
                        const float eye[3], float near_plane, float far_plane) {
    glViewport(0, 0, tex->width, tex->height);
    for (int i = 0; i < 6; i++) {
        render_face(CUBE_TURNS[i], time, view, look, eye, near_plane, far_plane);
        glEnable(GL_TEXTURE_CUBE_MAP_ARB);
        glBindTexture(GL_TEXTURE_CUBE_MAP_ARB, tex->id);
        // The faces were allocated at this size and format when the texture was made, so a
        // sub-image copy fills them without reallocating six times a capture.
        glCopyTexSubImage2D(GLenum(GL_TEXTURE_CUBE_MAP_POSITIVE_X_ARB + i), 0, 0, 0, 0, 0,
                            tex->width, tex->height);
        count_fill(FILL_COPY, double(tex->width) * tex->height);
        glDisable(GL_TEXTURE_CUBE_MAP_ARB);
    }
}

void capture_fallback_faces(Texture *tex, float time, EnvironmentView view, const CameraKey &look,
                            const float eye[3], float near_plane, float far_plane) {
    for (int i = 0; i < 6; i++) {
        const Texture *face = &tex->fallback_faces[i];
        glViewport(0, 0, face->width, face->height);
        render_face(FALLBACK_TURNS[i], time, view, look, eye, near_plane, far_plane);
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, face->id);
        glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, face->width, face->height);
        count_fill(FILL_COPY, double(face->width) * face->height);
    }
}

void assemble_sphere_map(Texture *tex) {
    set_ortho_view(0);
    glViewport(0, 0, SPHERE_MAP_SIZE, SPHERE_MAP_SIZE);
    glScalef(-1, 1, 1);
    const GLenum off[] = { GL_LIGHTING, GL_FOG, GL_DEPTH_TEST, GL_CULL_FACE, GL_TEXTURE_GEN_S,
                           GL_TEXTURE_GEN_T, GL_POLYGON_SMOOTH, GL_BLEND };
    for (GLenum cap : off) glDisable(cap);
    glColor4f(1, 1, 1, 1);

    const Texture *faces = tex->fallback_faces;
    bind_texture(&faces[5], 0);
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    const float z = quad_depth();
    glBegin(GL_QUADS);   // the whole map in the colour straight behind
        glTexCoord2f(0.5f, 0.5f); glVertex3f(-1, -1, z);
        glTexCoord2f(0.5f, 0.5f); glVertex3f( 1, -1, z);
        glTexCoord2f(0.5f, 0.5f); glVertex3f( 1,  1, z);
        glTexCoord2f(0.5f, 0.5f); glVertex3f(-1,  1, z);
    glEnd();
    draw_rim(&faces[5]);
    for (int f : { 3, 2, 4, 1, 0 }) draw_face_grid(&faces[f], f);

    copy_frame_rect_to_texture(tex, SPHERE_MAP_SIZE, SPHERE_MAP_SIZE);
}

void capture_environment(Texture *tex, float time, EnvironmentView view, const CameraKey &look,
                         const float eye[3], float near_plane, float far_plane) {
    // push_render_state leaves out the projection, the colour-buffer group (clear colour,
    // blend function) and the matrix mode; the faces' views change all of them, and the
    // view callbacks' resets change the view settings.
    // NOTE: under Mesa the attribute pop was seen to leave the clear colour as the views
    // set it, so it is put back by hand.
    const auto saved_view = render.view;
    GLfloat clear_rgba[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear_rgba);
    glPushAttrib(GL_COLOR_BUFFER_BIT | GL_TRANSFORM_BIT);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    push_render_state();
        if (gl_caps.cube_map_supported) {
            capture_cube_faces(tex, time, view, look, eye, near_plane, far_plane);
        } else {
            capture_fallback_faces(tex, time, view, look, eye, near_plane, far_plane);
            assemble_sphere_map(tex);
        }
    pop_render_state();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glPopAttrib();
    glClearColor(clear_rgba[0], clear_rgba[1], clear_rgba[2], clear_rgba[3]);
    render.view = saved_view;
}
