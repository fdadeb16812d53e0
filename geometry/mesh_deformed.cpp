// geometry/mesh_deformed.cpp - per-frame geometry through client-side vertex arrays.
// Smooth mode recomputes vertex normals from the current positions and draws with one
// glDrawElements. Flat mode needs a normal per face, so it goes through immediate mode;
// NOTE: a deformed mesh in flat mode is lit with the facet normals of its *stored* shape,
// so a breathing or rippling flat mesh keeps the shading of its rest pose.
#include "geometry/mesh_deformed.h"
#include "render/math.h"           // Required for: triangle_normal(), vec3_normalize()
#include "render/render_state.h"   // Required for: push/pop_render_state(), apply_render_flags(), render.drawn
#include <GL/gl.h>
#include <cstring>

//----------------------------------------------------------------------------------
// Internal Functions
//----------------------------------------------------------------------------------
// Unit face normals summed into `normals` (zeroed first) and normalised per vertex.
static void accumulate_normals(const float *positions, const int *faces, int vertex_count,
                               int face_count, float *normals) {
    std::memset(normals, 0, size_t(vertex_count) * 3 * sizeof(float));
    for (int k = 0; k < face_count; k++) {
        const int *v = &faces[k * 3];
        float n[3];
        triangle_normal(&positions[v[0] * 3], &positions[v[1] * 3], &positions[v[2] * 3], n);
        for (int c = 0; c < 3; c++)
            for (int i = 0; i < 3; i++) normals[v[c] * 3 + i] += n[i];
    }
    for (int v = 0; v < vertex_count; v++) vec3_normalize(&normals[v * 3]);
}

// Shared vertices through vertex arrays; texture coordinates are (u, v, w) triples.
static void draw_arrays(const float *positions, const float *normals, const float *texcoords,
                        const float *colours, const int *faces, int face_count) {
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glPushClientAttrib(GL_CLIENT_ALL_ATTRIB_BITS);
        glEnableClientState(GL_VERTEX_ARRAY);
        glVertexPointer(3, GL_FLOAT, 0, positions);
        glEnableClientState(GL_NORMAL_ARRAY);
        glNormalPointer(GL_FLOAT, 0, normals);
        if (texcoords) {
            glEnableClientState(GL_TEXTURE_COORD_ARRAY);
            glTexCoordPointer(3, GL_FLOAT, 0, texcoords);
        }
        if (colours) {
            glEnableClientState(GL_COLOR_ARRAY);
            glColorPointer(3, GL_FLOAT, 0, colours);
        }
        glDrawElements(GL_TRIANGLES, 3 * face_count, GL_UNSIGNED_INT, faces);
    glPopClientAttrib();
    glPopAttrib();
}

// One glBegin/glEnd: per face the normal of `facet_positions`, then per corner (u, v),
// colour and the position from `positions`.
static void draw_immediate(const float *facet_positions, const float *positions, const float *texcoords,
                           const float *colours, const int *faces, int face_count) {
    glBegin(GL_TRIANGLES);
    for (int k = 0; k < face_count; k++) {
        const int *v = &faces[k * 3];
        float n[3];
        triangle_normal(&facet_positions[v[0] * 3], &facet_positions[v[1] * 3], &facet_positions[v[2] * 3], n);
        glNormal3fv(n);
        for (int c = 0; c < 3; c++) {
            if (texcoords) glTexCoord2f(texcoords[v[c] * 3 + 0], texcoords[v[c] * 3 + 1]);
            if (colours) glColor3fv(&colours[v[c] * 3]);
            glVertex3fv(&positions[v[c] * 3]);
        }
    }
    glEnd();
}

static void count_drawn(int face_count, int vertex_count) {
    render.drawn.faces += face_count;
    render.drawn.vertices += vertex_count;
}

//----------------------------------------------------------------------------------
// Module Functions
//----------------------------------------------------------------------------------
void draw_mesh_deformed(MeshObject *m, float a, VertexDeformer deform, float b, float c, RenderFlags flags) {
    const int nv = m->vertex_count;
    const bool flat = flags & RF_FLAT;
    push_render_state();
        for (int v = 0; v < nv; v++) {
            float *out = &m->work_positions[v * 3];
            const float *p = deform(out, a, &m->positions[v * 3], &m->normals[v * 3], b, c);
            if (p != out) std::memcpy(out, p, 3 * sizeof(float));
        }
        if (flat) std::memset(m->work_normals, 0, size_t(nv) * 3 * sizeof(float));
        else      accumulate_normals(m->work_positions, m->indices, nv, m->face_count, m->work_normals);

        // A mesh with colours gets them from the deformed normals. build_mesh makes the work
        // colours only for generated colours; a mesh with given ones gets them here, once.
        if (m->colours && !m->work_colours) m->work_colours = new float[size_t(nv) * 3];
        if (m->colours)
            for (int i = 0; i < nv * 3; i++) m->work_colours[i] = m->work_normals[i] * 0.5f + 0.5f;
        const float *colours = m->colours ? m->work_colours : nullptr;

        apply_render_flags(flags);
        if (flat) draw_immediate(m->positions, m->work_positions, m->texcoords, colours, m->indices, m->face_count);
        else      draw_arrays(m->work_positions, m->work_normals, m->texcoords, colours, m->indices, m->face_count);
    pop_render_state();
    count_drawn(m->face_count, nv);
}

void draw_triangle_arrays(const float *positions, const float *texcoords, const float *colours,
                          const int *faces, int vertex_count, int face_count, RenderFlags flags) {
    const bool flat = flags & RF_FLAT;
    push_render_state();
        float *normals = new float[size_t(vertex_count) * 3]();
        if (!flat) accumulate_normals(positions, faces, vertex_count, face_count, normals);
        float *made_colours = (flags & RF_GEN_COLOURS) ? normals_to_colours(normals, vertex_count) : nullptr;
        float *made_texcoords = (flags & RF_GEN_TEXCOORDS) ? normals_to_sphere_texcoords(normals, vertex_count) : nullptr;
        if (made_colours) colours = made_colours;
        if (made_texcoords) texcoords = made_texcoords;

        apply_render_flags(flags);
        if (flat) draw_immediate(positions, positions, texcoords, colours, faces, face_count);
        else      draw_arrays(positions, normals, texcoords, colours, faces, face_count);
    pop_render_state();
    count_drawn(face_count, vertex_count);
    delete[] normals;
    delete[] made_colours;
    delete[] made_texcoords;
}
