// geometry/mesh.cpp - the mesh builder and draw_mesh.
// Normals: each face's unit normal is added to its three corners and the sums normalised,
// so a vertex normal is the unweighted average direction of the faces around it. A face of
// zero area has a zero normal (vec3_normalize leaves it zero) and therefore adds nothing;
// no not-a-number value can reach GL. A vertex used only by such faces keeps (0, 0, 0).
#include "geometry/mesh.h"
#include "render/math.h"           // Required for: triangle_normal(), vec3_normalize(), PI
#include "render/render_state.h"   // Required for: push/pop_render_state(), apply_render_flags(), render.drawn
#include "platform/messages.h"          // Required for: fatal_error()
#include <GL/gl.h>
#include <cmath>
#include <cstring>
#include <vector>

//----------------------------------------------------------------------------------
// Global Variables
//----------------------------------------------------------------------------------
// Every mesh made: meshes live for the process's life, and are kept here where they stay
// reachable (to the leak checker too) even when their maker keeps none of them.
// The list itself is never freed, so it outlasts the destructors run at exit, when the leak
// checker looks.
static void keep_record(MeshObject *record) {
    static std::vector<MeshObject *> *made_records = new std::vector<MeshObject *>;
    made_records->push_back(record);
}

//----------------------------------------------------------------------------------
// Internal Functions
//----------------------------------------------------------------------------------
static float *new_floats(int count) {
    float *p = new float[size_t(count) * 3];
    std::memset(p, 0, size_t(count) * 3 * sizeof(float));
    return p;
}

// One glBegin/glEnd over all faces: a face normal per face (RF_FLAT) or a vertex normal per
// corner, then texture coordinates (seam-fixed with MESH_SEAM_FIX), colour and position.
static void emit_immediate(const MeshObject *m, RenderFlags flags) {
    const bool flat = flags & RF_FLAT;
    glBegin(GL_TRIANGLES);
    for (int k = 0; k < m->face_count; k++) {
        const int *v = m->faces[k].v;
        float uv[3][2] = {};
        if (m->texcoords) {
            for (int c = 0; c < 3; c++) {
                uv[c][0] = m->texcoords[v[c] * 3 + 0];
                uv[c][1] = m->texcoords[v[c] * 3 + 1];
            }
            if (flags & MESH_SEAM_FIX) fix_texcoord_seam(uv);
        }
        if (flat) {
            float n[3];
            triangle_normal(&m->positions[v[0] * 3], &m->positions[v[1] * 3], &m->positions[v[2] * 3], n);
            glNormal3fv(n);
        }
        for (int c = 0; c < 3; c++) {
            if (!flat) glNormal3fv(&m->normals[v[c] * 3]);
            if (m->texcoords) glTexCoord2f(uv[c][0], uv[c][1]);
            if (m->colours) glColor3fv(&m->colours[v[c] * 3]);
            glVertex3fv(&m->positions[v[c] * 3]);
        }
    }
    glEnd();
}

// Shared vertices through vertex arrays; the list keeps its own copy of the arrays.
static void emit_arrays(const MeshObject *m) {
    glPushAttrib(0xFFFFF);
    glPushClientAttrib(GL_CLIENT_ALL_ATTRIB_BITS);
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, m->positions);
    glEnableClientState(GL_NORMAL_ARRAY);
    glNormalPointer(GL_FLOAT, 0, m->normals);
    if (m->texcoords) {
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glTexCoordPointer(3, GL_FLOAT, 0, m->texcoords);
    }
    if (m->colours) {
        glEnableClientState(GL_COLOR_ARRAY);
        glColorPointer(3, GL_FLOAT, 0, m->colours);
    }
    glDrawElements(GL_TRIANGLES, 3 * m->face_count, GL_UNSIGNED_INT, m->indices);
    glPopClientAttrib();
    glPopAttrib();
}

//----------------------------------------------------------------------------------
// Module Functions
//----------------------------------------------------------------------------------
float *normals_to_sphere_texcoords(const float *normals, int count) {
    float *t = new_floats(count);
    for (int i = 0; i < count; i++) {
        const float *n = &normals[i * 3];
        t[i * 3 + 0] = float(std::atan2(n[0], n[2]) / (2 * PI) + 0.5);
        t[i * 3 + 1] = n[1] * 0.5f + 0.5f;
    }
    return t;
}

float *normals_to_colours(const float *normals, int count) {
    float *c = new_floats(count);
    for (int i = 0; i < count * 3; i++) c[i] = normals[i] * 0.5f + 0.5f;
    return c;
}

void fix_texcoord_seam(float uv[3][2]) {
    for (int axis = 0; axis < 2; axis++) {
        int crossings = 0;
        for (int e = 0; e < 3; e++)
            if (std::fabs(uv[e][axis] - uv[(e + 1) % 3][axis]) > 0.8f) crossings++;
        if (crossings == 0) continue;
        for (int c = 0; c < 3; c++)
            if (uv[c][axis] < 1.0f - 0.8f) uv[c][axis] += 1.0f;
    }
}

MeshObject *build_mesh_data(const int *faces, const float *positions, const float *texcoords,
                            const float *colours, int vertex_count, int face_count, RenderFlags flags) {
    flags &= MESH_FLAGS_MASK;
    MeshObject *m = new MeshObject{};
    keep_record(m);
    m->vertex_count = vertex_count;
    m->face_count = face_count;
    m->faces = new MeshFace[face_count];
    m->positions = positions;
    m->indices = faces;
    m->normals = new_floats(vertex_count);
    m->work_positions = new_floats(vertex_count);
    m->work_normals = new_floats(vertex_count);
    m->work_colours = (flags & RF_GEN_COLOURS) ? new_floats(vertex_count) : nullptr;

    for (int k = 0; k < face_count; k++) {
        MeshFace &f = m->faces[k];
        for (int c = 0; c < 3; c++) f.v[c] = faces[k * 3 + c];
        triangle_normal(&positions[f.v[0] * 3], &positions[f.v[1] * 3], &positions[f.v[2] * 3], f.normal);
        for (int c = 0; c < 3; c++)
            for (int i = 0; i < 3; i++) m->normals[f.v[c] * 3 + i] += f.normal[i];
    }
    for (int v = 0; v < vertex_count; v++) vec3_normalize(&m->normals[v * 3]);

    m->texcoords = texcoords;
    if (!texcoords && (flags & RF_GEN_TEXCOORDS))
        m->texcoords = normals_to_sphere_texcoords(m->normals, vertex_count);
    m->colours = colours;
    if (!colours && (flags & RF_GEN_COLOURS))
        m->colours = normals_to_colours(m->normals, vertex_count);
    return m;
}

void compile_mesh_list(MeshObject *mesh, RenderFlags flags) {
    flags &= MESH_FLAGS_MASK;
    mesh->list = glGenLists(1);
    glNewList(mesh->list, GL_COMPILE);
    if (flags & (RF_FLAT | MESH_SEAM_FIX)) emit_immediate(mesh, flags);
    else                                   emit_arrays(mesh);
    glEndList();
}

MeshObject *build_mesh(const int *faces, const float *positions, const float *texcoords,
                       const void *neighbours, const float *colours, int vertex_count,
                       int face_count, RenderFlags flags) {
    MeshObject *m = build_mesh_data(faces, positions, texcoords, colours, vertex_count, face_count, flags);
    if (neighbours) fatal_error("remove neighbours, you're not using shadows you idiot!");
    compile_mesh_list(m, flags);
    return m;
}

void draw_mesh(const MeshObject *mesh, RenderFlags flags) {
    push_render_state();
        apply_render_flags(flags);
        glCallList(mesh->list);
        render.drawn.faces += mesh->face_count;
        render.drawn.vertices += mesh->vertex_count;
    pop_render_state();
}
