// web/gl_layer_draw.cpp - the GL layer's draw path. glBegin blocks, client arrays and display
// lists all become batches of complete vertices (web/gl_layer_math.h); a batch is drawn
// through the browser emulation's client arrays as one interleaved array, with the texture
// coordinates of each unit generated here when the show asks for sphere maps, reflection
// maps or planes, and split into pieces the emulation's upload buffer takes.
#include "web/gl_layer.h"
#include "web/gl_layer_math.h"
#include "web/gl_layer_state.h"
#include <algorithm>
#include <cmath>
#include <cstring>
#include <unordered_map>
#include <vector>

constexpr size_t PIECE_VERTICES = 24000;   // a multiple of 2 and 3: 1.5 MB of vertices per upload

struct ClientArray {
    bool on = false;
    GLint size = 3;
    GLenum type = GL_FLOAT;
    GLsizei stride = 0;
    const void *pointer = nullptr;
};
enum { ARRAY_VERTEX, ARRAY_NORMAL, ARRAY_COLOUR, ARRAY_TEXCOORD, ARRAY_COUNT };

struct Batch {
    GLenum mode;
    std::vector<LayerVertex> vertices;
    bool has_colour, has_texcoord;   // else the current colour / coordinate at the time of drawing
};

static struct {
    ClientArray arrays[ARRAY_COUNT];
    std::vector<std::vector<ClientArray>> client_stack;
    bool   in_block = false;
    GLenum block_mode = GL_TRIANGLES;
    bool   block_colour = false, block_texcoord = false;
    std::vector<LayerVertex> block;
    std::unordered_map<GLuint, std::vector<Batch>> lists;
    GLuint next_list = 1, recording = 0, list_base = 0;
    std::vector<LayerVertex> work, pieces;
} layer;

static int array_slot(GLenum array) {
    switch (array) {
    case GL_VERTEX_ARRAY: return ARRAY_VERTEX;
    case GL_NORMAL_ARRAY: return ARRAY_NORMAL;
    case GL_COLOR_ARRAY: return ARRAY_COLOUR;
    case GL_TEXTURE_COORD_ARRAY: return ARRAY_TEXCOORD;
    default: return -1;
    }
}

// Generated coordinates of one unit, in place.
static void generate_coords(int u, std::vector<LayerVertex> &v) {
    const LayerUnit &unit = gl_shadow.unit[u];
    if (!unit.gen[0] && !unit.gen[1] && !unit.gen[2]) return;
    float mv[16], nm[9];
    glGetFloatv(GL_MODELVIEW_MATRIX, mv);
    normal_matrix(mv, nm);
    for (LayerVertex &x : v) {
        float eye[4], n[3];
        transform_point(mv, x.pos, eye);
        for (int r = 0; r < 3; r++) n[r] = nm[r] * x.normal[0] + nm[3 + r] * x.normal[1] + nm[6 + r] * x.normal[2];
        float len = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
        if (len > 0) for (float &c : n) c /= len;
        float sphere[2] = { 0, 0 }, reflect[3] = { 0, 0, 0 };
        bool sphere_done = false, reflect_done = false;
        for (int c = 0; c < 3; c++) {
            if (!unit.gen[c]) continue;
            switch (unit.gen_mode[c]) {
            case GL_SPHERE_MAP:
                if (!sphere_done) sphere_map_coords(eye, n, sphere);
                sphere_done = true;
                x.tex[u][c] = c < 2 ? sphere[c] : 0.0f;
                break;
            case GL_REFLECTION_MAP:
                if (!reflect_done) reflection_coords(eye, n, reflect);
                reflect_done = true;
                x.tex[u][c] = reflect[c];
                break;
            case GL_OBJECT_LINEAR:
                x.tex[u][c] = plane_coord(unit.object_plane[c], x.pos, 1.0f);
                break;
            default:   // eye linear with the default planes: the eye-space x, y, 0
                x.tex[u][c] = c < 2 ? eye[c] : 0.0f;
                break;
            }
        }
    }
}

// One piece through the emulation's client arrays, interleaved.
static void send(GLenum mode, const LayerVertex *v, size_t n) {
    const GLsizei stride = sizeof(LayerVertex);
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, stride, v->pos);
    glEnableClientState(GL_NORMAL_ARRAY);
    glNormalPointer(GL_FLOAT, stride, v->normal);
    glEnableClientState(GL_COLOR_ARRAY);
    glColorPointer(4, GL_FLOAT, stride, v->colour);
    for (int u = 1; u >= 0; u--) {
        glClientActiveTexture(GL_TEXTURE0 + u);
        if (u == 0 || layer_texturing(1)) {
            glEnableClientState(GL_TEXTURE_COORD_ARRAY);
            glTexCoordPointer(3, GL_FLOAT, stride, v->tex[u]);
        } else {
            glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        }
    }
    glDrawArrays(mode, 0, GLsizei(n));
}

// WebGL draws lines one pixel wide only: wider ones become quads across the line, made in
// eye space (so fog still sees each end's distance) and drawn with an identity model-view.
// The sideways step is chosen so that it spans the width in pixels after the projection.
static bool widen_lines(std::vector<LayerVertex> &v) {
    const float width = gl_shadow.line_width;
    const GLint *vp = gl_shadow.viewport;
    if (width <= 1.0f || vp[2] <= 0 || vp[3] <= 0) return false;
    float mv[16], pr[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, mv);
    glGetFloatv(GL_PROJECTION_MATRIX, pr);
    const float det = pr[0] * pr[5] - pr[4] * pr[1];
    if (std::fabs(det) < 1e-12f) return false;
    std::vector<LayerVertex> quads;
    for (size_t i = 0; i + 1 < v.size(); i += 2) {
        float eyes[2][3], ends[2][2], w[2];
        bool visible = true;
        for (int e = 0; e < 2; e++) {
            float eye[4], clip[4];
            transform_point(mv, v[i + size_t(e)].pos, eye);
            if (eye[3] != 0.0f && eye[3] != 1.0f) for (float &c : eye) c /= eye[3];
            for (int r = 0; r < 4; r++)
                clip[r] = pr[r] * eye[0] + pr[4 + r] * eye[1] + pr[8 + r] * eye[2] + pr[12 + r] * eye[3];
            if (clip[3] <= 1e-6f) visible = false;   // behind the eye: left out
            for (int r = 0; r < 3; r++) eyes[e][r] = eye[r];
            ends[e][0] = clip[0] / clip[3];
            ends[e][1] = clip[1] / clip[3];
            w[e] = clip[3];
        }
        if (!visible) continue;
        // Across the line by half the width, in pixels, as device units.
        const float dx = (ends[1][0] - ends[0][0]) * vp[2], dy = (ends[1][1] - ends[0][1]) * vp[3];
        const float length = std::sqrt(dx * dx + dy * dy);
        if (length <= 0.0f) continue;
        const float ox = -dy / length * width / vp[2], oy = dx / length * width / vp[3];
        LayerVertex corner[4] = { v[i], v[i], v[i + 1], v[i + 1] };
        const float side[4] = { 1, -1, -1, 1 };
        for (int k = 0; k < 4; k++) {
            // The eye-space step (sx, sy, 0) that moves the projected point by (ox, oy).
            const float cx = side[k] * ox * w[k / 2], cy = side[k] * oy * w[k / 2];
            const float sx = (pr[5] * cx - pr[4] * cy) / det, sy = (pr[0] * cy - pr[1] * cx) / det;
            const float *eye = eyes[k / 2];
            corner[k].pos[0] = eye[0] + sx;
            corner[k].pos[1] = eye[1] + sy;
            corner[k].pos[2] = eye[2];
        }
        for (int k : { 0, 1, 2, 0, 2, 3 }) quads.push_back(corner[k]);
    }
    v.swap(quads);
    return true;
}

static void draw_vertices(GLenum mode, std::vector<LayerVertex> &v) {
    if (v.empty()) return;
    if (mode == GL_LINES && widen_lines(v)) {
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
        glLoadIdentity();
        for (size_t at = 0; at < v.size(); at += PIECE_VERTICES)
            send(GL_TRIANGLES, v.data() + at, std::min(PIECE_VERTICES, v.size() - at));
        glPopMatrix();
        glMatrixMode(gl_shadow.matrix_mode);
        return;
    }
    for (int u = 0; u < 2; u++) generate_coords(u, v);
    const bool long_batch = v.size() > PIECE_VERTICES;
    mode = triangulate(mode, v, layer.pieces, long_batch);
    const std::vector<LayerVertex> &out = layer.pieces;
    if (mode != GL_TRIANGLES && mode != GL_LINES && mode != GL_POINTS) {
        send(mode, out.data(), out.size());
        return;
    }
    for (size_t at = 0; at < out.size(); at += PIECE_VERTICES)
        send(mode, out.data() + at, std::min(PIECE_VERTICES, out.size() - at));
}

// A finished batch: recorded into the list being compiled, else drawn now.
static void take_batch(GLenum mode, std::vector<LayerVertex> &v, bool has_colour, bool has_texcoord) {
    if (layer.recording) {
        layer.lists[layer.recording].push_back({ mode, v, has_colour, has_texcoord });
        return;
    }
    draw_vertices(mode, v);
}

static LayerVertex current_vertex() {
    LayerVertex x = {};
    std::memcpy(x.normal, gl_shadow.normal, sizeof x.normal);
    std::memcpy(x.colour, gl_shadow.colour, sizeof x.colour);
    std::memcpy(x.tex[0], gl_shadow.texcoord, sizeof x.tex[0]);
    return x;
}

void web_gl_begin(GLenum mode) {
    layer.in_block = true;
    layer.block_mode = mode;
    layer.block_colour = layer.block_texcoord = false;
    layer.block.clear();
}

void web_gl_end() {
    layer.in_block = false;
    take_batch(layer.block_mode, layer.block, layer.block_colour, layer.block_texcoord);
}

void web_gl_vertex3f(GLfloat x, GLfloat y, GLfloat z) {
    LayerVertex v = current_vertex();
    v.pos[0] = x;
    v.pos[1] = y;
    v.pos[2] = z;
    layer.block.push_back(v);
}

void web_gl_normal3f(GLfloat x, GLfloat y, GLfloat z) {
    gl_shadow.normal[0] = x;
    gl_shadow.normal[1] = y;
    gl_shadow.normal[2] = z;
}

void web_gl_colour4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a) {
    const float c[4] = { r, g, b, a };
    std::memcpy(gl_shadow.colour, c, sizeof c);
    layer.block_colour |= layer.in_block;
}

void web_gl_texcoord3f(GLfloat s, GLfloat t, GLfloat r) {
    gl_shadow.texcoord[0] = s;
    gl_shadow.texcoord[1] = t;
    gl_shadow.texcoord[2] = r;
    layer.block_texcoord |= layer.in_block;
}

void web_gl_enable_client(GLenum array, bool on) {
    const int slot = array_slot(array);
    if (slot >= 0) layer.arrays[slot].on = on;
}

void web_gl_pointer(GLenum array, GLint size, GLenum type, GLsizei stride, const void *p) {
    const int slot = array_slot(array);
    if (slot < 0) return;
    ClientArray &a = layer.arrays[slot];
    a.size = size;
    a.type = type;
    a.stride = stride;
    a.pointer = p;
}

// Component c of element i of a float client array, or fallback when it has fewer.
static float element(const ClientArray &a, size_t i, int c, float fallback) {
    if (c >= a.size) return fallback;
    const size_t step = a.stride ? size_t(a.stride) : a.size * sizeof(float);
    return reinterpret_cast<const float *>(static_cast<const char *>(a.pointer) + i * step)[c];
}

void web_gl_draw_elements(GLenum mode, GLsizei count, GLenum type, const void *indices) {
    const ClientArray *a = layer.arrays;
    if (!a[ARRAY_VERTEX].on || count <= 0) return;
    std::vector<LayerVertex> &v = layer.work;
    v.resize(size_t(count));
    const LayerVertex base = current_vertex();
    for (GLsizei k = 0; k < count; k++) {
        size_t i = type == GL_UNSIGNED_INT     ? static_cast<const GLuint *>(indices)[k]
                   : type == GL_UNSIGNED_SHORT ? static_cast<const GLushort *>(indices)[k]
                                               : static_cast<const GLubyte *>(indices)[k];
        LayerVertex &x = v[size_t(k)];
        x = base;
        for (int c = 0; c < 3; c++) x.pos[c] = element(a[ARRAY_VERTEX], i, c, 0.0f);
        if (a[ARRAY_NORMAL].on)
            for (int c = 0; c < 3; c++) x.normal[c] = element(a[ARRAY_NORMAL], i, c, 0.0f);
        if (a[ARRAY_COLOUR].on)
            for (int c = 0; c < 4; c++) x.colour[c] = element(a[ARRAY_COLOUR], i, c, 1.0f);
        if (a[ARRAY_TEXCOORD].on)
            for (int c = 0; c < 3; c++) x.tex[0][c] = element(a[ARRAY_TEXCOORD], i, c, 0.0f);
    }
    take_batch(mode, v, a[ARRAY_COLOUR].on, a[ARRAY_TEXCOORD].on);
}

void web_gl_push_client_attrib(GLbitfield) {
    layer.client_stack.emplace_back(layer.arrays, layer.arrays + ARRAY_COUNT);
}

void web_gl_pop_client_attrib() {
    if (layer.client_stack.empty()) return;
    for (int i = 0; i < ARRAY_COUNT; i++) layer.arrays[i] = layer.client_stack.back()[size_t(i)];
    layer.client_stack.pop_back();
}

GLuint web_gl_gen_lists(GLsizei range) {
    const GLuint first = layer.next_list;
    layer.next_list += GLuint(range > 0 ? range : 0);
    return first;
}

void web_gl_new_list(GLuint list, GLenum) {
    layer.recording = list;
    layer.lists[list].clear();
}

void web_gl_end_list() { layer.recording = 0; }

void web_gl_call_list(GLuint list) {
    auto found = layer.lists.find(list);
    if (found == layer.lists.end()) return;
    for (const Batch &b : found->second) {
        layer.work = b.vertices;
        for (LayerVertex &x : layer.work) {
            if (!b.has_colour) std::memcpy(x.colour, gl_shadow.colour, sizeof x.colour);
            if (!b.has_texcoord) std::memcpy(x.tex[0], gl_shadow.texcoord, sizeof x.tex[0]);
        }
        draw_vertices(b.mode, layer.work);
    }
}

void web_gl_call_lists(GLsizei n, GLenum type, const void *lists) {
    for (GLsizei i = 0; i < n; i++) {
        const GLuint id = type == GL_UNSIGNED_BYTE ? static_cast<const GLubyte *>(lists)[i]
                                                   : static_cast<const GLuint *>(lists)[i];
        web_gl_call_list(layer.list_base + id);
    }
}

void web_gl_list_base(GLuint base) { layer.list_base = base; }

void web_gl_tex_gen_i(GLenum coord, GLenum, GLint mode) {
    const int c = coord == GL_S ? 0 : coord == GL_T ? 1 : coord == GL_R ? 2 : -1;
    if (c >= 0) gl_shadow.unit[gl_shadow.active_unit].gen_mode[c] = mode;
}

void web_gl_tex_gen_fv(GLenum coord, GLenum pname, const GLfloat *v) {
    const int c = coord == GL_S ? 0 : coord == GL_T ? 1 : coord == GL_R ? 2 : -1;
    if (c >= 0 && pname == GL_OBJECT_PLANE)
        std::memcpy(gl_shadow.unit[gl_shadow.active_unit].object_plane[c], v, 4 * sizeof(float));
}
