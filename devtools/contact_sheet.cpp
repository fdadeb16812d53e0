// devtools/contact_sheet.cpp - the contact sheet: all content on labelled pages.
// Pages are drawn into the hidden window's back buffer at exactly page size, read back and
// saved. Each mesh is measured on the CPU first (centre, radius, winding); each of its two
// views is then fitted by projecting every vertex with the view's camera and zooming the
// projection so that the silhouette fills the panel, whatever the mesh's shape.
// Closed rooms wound inward keep back-face culling, which cuts their near walls away as the
// show's outside cameras see them; everything else is drawn two-sided, so that open shells,
// strips and loose facets show whichever side faces the viewer.
#include "devtools/contact_sheet.h"
#include "devtools/png_file.h"         // Required for: write_png_file()
#include "platform/engine_start.h"          // Required for: start_engine()
#include "platform/settings.h"              // Required for: app (window size, unattended)
#include "platform/window.h"                // Required for: create_gl_window(), find_font_file()
#include "precalc/precalc.h"           // Required for: precalc(), res, named_meshes, named_textures
#include "render/math.h"               // Required for: PI
#include "devtools/offline_job.h"      // Required for: offline_job_interrupted()
#include "render/render_state.h"       // Required for: reset_render_state()
#include <FTGL/ftgl.h>
#include <GL/gl.h>
#include <GL/glu.h>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

//----------------------------------------------------------------------------------
// Defines and Types
//----------------------------------------------------------------------------------
constexpr int   CELL_INSET   = 5;       // pixels between neighbouring cells (each side)
constexpr int   VIEW_GAP     = 4;       // pixels between a mesh's two views
constexpr float VIEW_FOV     = 28.0f;   // vertical field of view before the fit zooms in
constexpr float VIEW_FILL    = 0.90f;   // share of the panel the fitted silhouette spans
constexpr int   NAME_PIXELS  = 15;      // label sizes
constexpr int   STATS_PIXELS = 13;
constexpr int   TITLE_PIXELS = 18;

struct ViewAngle {
    float azimuth;     // degrees about +y, 0 looking from +z
    float elevation;   // degrees above the xz plane
};
static const ViewAngle VIEWS[2] = { { 30.0f, 18.0f }, { 115.0f, 52.0f } };   // front, from above

struct MeshMeasure {
    float centre[3];   // middle of the bounding box
    float radius;      // farthest vertex from the centre
    bool  inward;      // a (nearly) closed surface with negative volume: a room seen from inside
};

static const float NAME_RGB[3]  = { 0.96f, 0.96f, 0.96f };
static const float STATS_RGB[3] = { 0.66f, 0.69f, 0.74f };

//----------------------------------------------------------------------------------
// Global Variables
//----------------------------------------------------------------------------------
static struct {
    FTPixmapFont *title;     // page titles; null when no font was found
    FTPixmapFont *bold;      // names
    FTPixmapFont *regular;   // counts, sizes and notes
    std::string   folder;    // where the pages go
    int           pages_written;
} sheet;

//----------------------------------------------------------------------------------
// Internal Functions
//----------------------------------------------------------------------------------
static double seconds_since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Makes the folder if need be and proves it takes a file.
static bool prepare_folder(const std::string &folder, std::string &error) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) {
        error = ec.message();
        return false;
    }
    const std::string probe = folder + "/.contact-sheet-probe";
    FILE *fp = std::fopen(probe.c_str(), "wb");
    if (!fp) {
        error = std::strerror(errno);
        return false;
    }
    std::fclose(fp);
    std::remove(probe.c_str());
    return true;
}

static FTPixmapFont *open_font(const char *pattern, unsigned pixels) {
    const std::string path = find_font_file(pattern);
    if (path.empty()) return nullptr;
    FTPixmapFont *font = new FTPixmapFont(path.c_str());
    if (font->Error() || !font->FaceSize(pixels)) {
        delete font;
        return nullptr;
    }
    return font;
}

// Text with its baseline starting at window pixel (x, y); cut with "..." to fit max_width.
static void draw_label(FTPixmapFont *font, const float rgb[3], int x, int y, int max_width,
                       const char *text) {
    if (!font) return;
    std::string line = text, kept = text;
    while (kept.size() > 1 && font->Advance(line.c_str()) > max_width) {
        kept.pop_back();
        line = kept + "...";
    }
    glColor3fv(rgb);
    glRasterPos2i(x, y);
    font->Render(line.c_str());
}

static void fill_rect(const SheetRect &r, const float rgb[3]) {
    glScissor(r.x, r.y, r.w, r.h);
    glEnable(GL_SCISSOR_TEST);
    glClearColor(rgb[0], rgb[1], rgb[2], 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
}

// A flat pixel view of the whole page for panels and text.
static void set_page_view() {
    reset_render_state(nullptr);
    glViewport(0, 0, SHEET_WIDTH, SHEET_HEIGHT);
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, SHEET_WIDTH, 0, SHEET_HEIGHT, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
}

static void begin_page(const char *title, const char *note) {
    const float page_rgba[4] = { SHEET_PAGE_RGB[0], SHEET_PAGE_RGB[1], SHEET_PAGE_RGB[2], 1.0f };
    reset_render_state(page_rgba);
    set_page_view();
    const int baseline = SHEET_HEIGHT - SHEET_HEADER + 11;
    draw_label(sheet.title, NAME_RGB, 12, baseline, SHEET_WIDTH / 2, title);
    if (sheet.regular) {
        const int width = int(sheet.regular->Advance(note));
        draw_label(sheet.regular, STATS_RGB, SHEET_WIDTH - 12 - width, baseline, SHEET_WIDTH / 2, note);
    }
}

static bool finish_page(const char *file) {
    if (offline_job_interrupted()) return false;
    std::vector<unsigned char> rgb(size_t(SHEET_WIDTH) * SHEET_HEIGHT * 3);
    glFinish();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, SHEET_WIDTH, SHEET_HEIGHT, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    const std::string path = sheet.folder + "/" + file;
    std::string error;
    if (!write_png_file(path.c_str(), rgb.data(), SHEET_WIDTH, SHEET_HEIGHT, true, error)) {
        std::fprintf(stderr, "CONTACT SHEET: cannot write %s: %s\n", path.c_str(), error.c_str());
        return false;
    }
    std::printf("CONTACT SHEET: wrote %s\n", path.c_str());
    sheet.pages_written++;
    return true;
}

// Share of the mesh's edges that border one face only (0 for a closed surface).
static float open_edge_share(const MeshObject *mesh) {
    std::vector<uint64_t> edges;
    edges.reserve(size_t(mesh->face_count) * 3);
    for (int f = 0; f < mesh->face_count; f++) {
        for (int j = 0; j < 3; j++) {
            const uint32_t a = uint32_t(mesh->indices[3 * f + j]), b = uint32_t(mesh->indices[3 * f + (j + 1) % 3]);
            edges.push_back(uint64_t(std::min(a, b)) << 32 | std::max(a, b));
        }
    }
    std::sort(edges.begin(), edges.end());
    size_t distinct = 0, single = 0;
    for (size_t i = 0; i < edges.size();) {
        size_t j = i;
        while (j < edges.size() && edges[j] == edges[i]) j++;
        distinct++;
        if (j - i == 1) single++;
        i = j;
    }
    return distinct ? float(single) / float(distinct) : 0.0f;
}

static MeshMeasure measure_mesh(const MeshObject *mesh) {
    MeshMeasure m = {};
    float lo[3] = { 1e30f, 1e30f, 1e30f }, hi[3] = { -1e30f, -1e30f, -1e30f };
    for (int i = 0; i < mesh->vertex_count; i++) {
        for (int k = 0; k < 3; k++) {
            lo[k] = std::min(lo[k], mesh->positions[3 * i + k]);
            hi[k] = std::max(hi[k], mesh->positions[3 * i + k]);
        }
    }
    for (int k = 0; k < 3; k++) m.centre[k] = 0.5f * (lo[k] + hi[k]);
    for (int i = 0; i < mesh->vertex_count; i++) {
        const float *p = mesh->positions + 3 * i;
        const float dx = p[0] - m.centre[0], dy = p[1] - m.centre[1], dz = p[2] - m.centre[2];
        m.radius = std::max(m.radius, std::sqrt(dx * dx + dy * dy + dz * dz));
    }
    if (m.radius <= 0.0f) m.radius = 1.0f;

    double volume = 0.0;   // six times the signed volume, about the centre
    for (int f = 0; f < mesh->face_count; f++) {
        double c[3][3];
        for (int j = 0; j < 3; j++)
            for (int k = 0; k < 3; k++)
                c[j][k] = mesh->positions[3 * mesh->indices[3 * f + j] + k] - m.centre[k];
        volume += c[0][0] * (c[1][1] * c[2][2] - c[1][2] * c[2][1])
                - c[0][1] * (c[1][0] * c[2][2] - c[1][2] * c[2][0])
                + c[0][2] * (c[1][0] * c[2][1] - c[1][1] * c[2][0]);
    }
    m.inward = volume < 0.0 && open_edge_share(mesh) < 0.05f;
    return m;
}

// Sets projection and model-view for one view of the mesh: a look-at camera on the view's
// direction, then a 2D zoom and shift after the projection that fits the silhouette.
static void set_mesh_camera(const MeshObject *mesh, const MeshMeasure &m, const ViewAngle &angle,
                            float aspect) {
    const float az = angle.azimuth * float(PI) / 180.0f, el = angle.elevation * float(PI) / 180.0f;
    const float dir[3] = { std::sin(az) * std::cos(el), std::sin(el), std::cos(az) * std::cos(el) };
    const float distance = 3.0f * m.radius;
    const float eye[3] = { m.centre[0] + distance * dir[0], m.centre[1] + distance * dir[1],
                           m.centre[2] + distance * dir[2] };

    // Camera basis: forward f into the scene, right r, up u (as gluLookAt builds them).
    const float f[3] = { -dir[0], -dir[1], -dir[2] };
    float r[3] = { -f[2], 0.0f, f[0] };   // f x (0, 1, 0)
    const float rl = std::sqrt(r[0] * r[0] + r[2] * r[2]);
    r[0] /= rl;
    r[2] /= rl;
    const float u[3] = { r[1] * f[2] - r[2] * f[1], r[2] * f[0] - r[0] * f[2], r[0] * f[1] - r[1] * f[0] };

    const float focal = 1.0f / std::tan(0.5f * VIEW_FOV * float(PI) / 180.0f);
    float lo[2] = { 1e30f, 1e30f }, hi[2] = { -1e30f, -1e30f };
    for (int i = 0; i < mesh->vertex_count; i++) {
        const float *p = mesh->positions + 3 * i;
        const float q[3] = { p[0] - eye[0], p[1] - eye[1], p[2] - eye[2] };
        const float depth = q[0] * f[0] + q[1] * f[1] + q[2] * f[2];
        const float x = focal / aspect * (q[0] * r[0] + q[1] * r[1] + q[2] * r[2]) / depth;
        const float y = focal * (q[0] * u[0] + q[1] * u[1] + q[2] * u[2]) / depth;
        lo[0] = std::min(lo[0], x);
        hi[0] = std::max(hi[0], x);
        lo[1] = std::min(lo[1], y);
        hi[1] = std::max(hi[1], y);
    }
    const float span = std::max({ hi[0] - lo[0], hi[1] - lo[1], 1e-6f });
    const float zoom = 2.0f * VIEW_FILL / span;

    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glScalef(zoom, zoom, 1.0f);
    glTranslatef(-0.5f * (lo[0] + hi[0]), -0.5f * (lo[1] + hi[1]), 0.0f);
    gluPerspective(VIEW_FOV, aspect, distance - 1.05f * m.radius, distance + 1.05f * m.radius);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(eye[0], eye[1], eye[2], m.centre[0], m.centre[1], m.centre[2], 0, 1, 0);
}

// Chrome: the metal sphere map modulated by a soft light from the upper left of the eye.
static void set_chrome_look() {
    const float light_dir[4] = { -0.45f, 0.55f, 1.0f, 0.0f };
    const float white[4]     = { 1, 1, 1, 1 };
    const float ambient[4]   = { 0.42f, 0.42f, 0.42f, 1 };
    const float diffuse[4]   = { 0.72f, 0.72f, 0.72f, 1 };
    const float none[4]      = { 0, 0, 0, 1 };
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glLightfv(GL_LIGHT0, GL_POSITION, light_dir);
    glPopMatrix();
    glLightfv(GL_LIGHT0, GL_AMBIENT, white);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, white);
    glLightfv(GL_LIGHT0, GL_SPECULAR, none);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, none);
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_TRUE);
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, ambient);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, diffuse);
    glEnable(GL_LIGHT0);
    glEnable(GL_LIGHTING);
    bind_texture(res.metal_texture, TEX_SPHERE_MAP);
}

static void draw_mesh_cell(const NamedMesh &entry, const SheetRect &cell) {
    const MeshObject *mesh = *entry.handle;
    const MeshMeasure m = measure_mesh(mesh);
    for (int v = 0; v < 2; v++) {
        const SheetRect r = mesh_view_rect(cell, v);
        reset_render_state(nullptr);
        fill_rect(r, SHEET_PANEL_RGB);
        glViewport(r.x, r.y, r.w, r.h);
        set_mesh_camera(mesh, m, VIEWS[v], float(r.w) / float(r.h));
        set_chrome_look();
        draw_mesh(mesh, m.inward ? 0 : RF_NO_CULL);
    }

    set_page_view();
    const SheetRect label = label_rect(cell);
    char stats[96];
    std::snprintf(stats, sizeof stats, "%d V   %d F   r %.1f%s", mesh->vertex_count, mesh->face_count,
                  m.radius, m.inward ? "   inward" : "");
    draw_label(sheet.bold, NAME_RGB, label.x + 2, label.y + 22, label.w - 4, entry.name);
    draw_label(sheet.regular, STATS_RGB, label.x + 2, label.y + 5, label.w - 4, stats);
}

// The picture once, upright as an image viewer shows the file, as large as fits the panel.
static void draw_texture_cell(const NamedTexture &entry, const SheetRect &cell) {
    const Texture *tex = *entry.handle;
    const float su = tex->scale[0] / entry.repeats, sv = tex->scale[1] / entry.repeats;
    const int pixels_w = int(std::lround(su * tex->width)), pixels_h = int(std::lround(sv * tex->height));

    set_page_view();
    const SheetRect panel = picture_rect(cell);
    fill_rect(panel, SHEET_PANEL_RGB);
    const float fit = std::min(float(panel.w - 8) / pixels_w, float(panel.h - 8) / pixels_h);
    const float w = fit * pixels_w, h = fit * pixels_h;
    const float x0 = panel.x + 0.5f * (panel.w - w), y0 = panel.y + 0.5f * (panel.h - h);

    bind_texture(tex, 0);
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glScalef(su, sv, 1.0f);
    glMatrixMode(GL_MODELVIEW);
    glColor3f(1, 1, 1);
    glBegin(GL_QUADS);   // the file's first row (t = 0) at the top
        glTexCoord2f(0, 1); glVertex2f(x0, y0);
        glTexCoord2f(1, 1); glVertex2f(x0 + w, y0);
        glTexCoord2f(1, 0); glVertex2f(x0 + w, y0 + h);
        glTexCoord2f(0, 0); glVertex2f(x0, y0 + h);
    glEnd();

    set_page_view();
    const SheetRect label = label_rect(cell);
    char size[48];
    std::snprintf(size, sizeof size, "%d x %d", pixels_w, pixels_h);
    draw_label(sheet.bold, NAME_RGB, label.x + 2, label.y + 22, label.w - 4, entry.name);
    draw_label(sheet.regular, STATS_RGB, label.x + 2, label.y + 5, label.w - 4, size);
}

static int pages_for(int count, int columns, int rows) {
    return (count + columns * rows - 1) / (columns * rows);
}

static bool draw_all_pages() {
    const int per_mesh_page = MESH_COLUMNS * MESH_ROWS, per_texture_page = TEXTURE_COLUMNS * TEXTURE_ROWS;
    const int mesh_pages = pages_for(named_mesh_count, MESH_COLUMNS, MESH_ROWS);
    const int texture_pages = pages_for(named_texture_count, TEXTURE_COLUMNS, TEXTURE_ROWS);
    char title[96], file[64];
    for (int page = 0; page < mesh_pages; page++) {
        std::snprintf(title, sizeof title, "orbplume meshes  %d / %d", page + 1, mesh_pages);
        begin_page(title, "chrome: metal.jpg sphere map      left: front      right: from above");
        for (int i = 0; i < per_mesh_page && page * per_mesh_page + i < named_mesh_count; i++)
            draw_mesh_cell(named_meshes[page * per_mesh_page + i], sheet_cell(i, MESH_COLUMNS, MESH_ROWS));
        std::snprintf(file, sizeof file, "meshes-%d.png", page + 1);
        if (!finish_page(file)) return false;
    }
    for (int page = 0; page < texture_pages; page++) {
        std::snprintf(title, sizeof title, "orbplume textures  %d / %d", page + 1, texture_pages);
        begin_page(title, "each file once, its first row at the top");
        for (int i = 0; i < per_texture_page && page * per_texture_page + i < named_texture_count; i++)
            draw_texture_cell(named_textures[page * per_texture_page + i],
                              sheet_cell(i, TEXTURE_COLUMNS, TEXTURE_ROWS));
        std::snprintf(file, sizeof file, "textures-%d.png", page + 1);
        if (!finish_page(file)) return false;
    }
    return true;
}

//----------------------------------------------------------------------------------
// Module Functions
//----------------------------------------------------------------------------------
SheetRect sheet_cell(int index, int columns, int rows) {
    const int col = index % columns, row = index / columns;
    const int area_h = SHEET_HEIGHT - SHEET_HEADER;
    const int x0 = col * SHEET_WIDTH / columns, x1 = (col + 1) * SHEET_WIDTH / columns;
    const int top = area_h - row * area_h / rows, bottom = area_h - (row + 1) * area_h / rows;
    return { x0 + CELL_INSET, bottom + CELL_INSET, x1 - x0 - 2 * CELL_INSET, top - bottom - 2 * CELL_INSET };
}

SheetRect mesh_view_rect(const SheetRect &cell, int view) {
    const int w = (cell.w - VIEW_GAP) / 2;
    return { cell.x + view * (cell.w - w), cell.y + SHEET_LABEL, w, cell.h - SHEET_LABEL };
}

SheetRect picture_rect(const SheetRect &cell) {
    return { cell.x, cell.y + SHEET_LABEL, cell.w, cell.h - SHEET_LABEL };
}

SheetRect label_rect(const SheetRect &cell) {
    return { cell.x, cell.y, cell.w, SHEET_LABEL };
}

int contact_sheet_page_count() {
    return pages_for(named_mesh_count, MESH_COLUMNS, MESH_ROWS) +
           pages_for(named_texture_count, TEXTURE_COLUMNS, TEXTURE_ROWS);
}

int run_contact_sheet(const char *folder) {
    const auto start = std::chrono::steady_clock::now();
    sheet.folder = folder;
    std::string error;
    if (!prepare_folder(sheet.folder, error)) {
        std::fprintf(stderr, "CONTACT SHEET: cannot write to %s: %s\n", folder, error.c_str());
        return 2;
    }

    app.unattended = true;
    app.fullscreen = false;
    app.window_width = SHEET_WIDTH;
    app.window_height = SHEET_HEIGHT;
    start_engine(false, SHEET_WIDTH, SHEET_HEIGHT, "orbplume contact sheet", WINDOW_HIDDEN);
    precalc();
    const double precalc_seconds = seconds_since(start);
    if (offline_job_interrupted()) {
        destroy_gl_window();
        SDL_Quit();
        end_interrupted_offline_job();
    }

    sheet.title = open_font("Liberation Sans:bold", TITLE_PIXELS);
    sheet.bold = open_font("Liberation Sans:bold", NAME_PIXELS);
    sheet.regular = open_font("Liberation Sans", STATS_PIXELS);
    if (!sheet.title || !sheet.bold || !sheet.regular)
        std::fprintf(stderr, "CONTACT SHEET: font \"Liberation Sans\" not found, pages unlabelled\n");
    const bool ok = draw_all_pages();
    delete sheet.title;
    delete sheet.bold;
    delete sheet.regular;
    sheet.title = sheet.bold = sheet.regular = nullptr;

    destroy_gl_window();
    SDL_Quit();
    if (offline_job_interrupted()) end_interrupted_offline_job();
    std::printf("CONTACT SHEET: %d pages in %.1f s (precalc %.1f s)\n", sheet.pages_written,
                seconds_since(start), precalc_seconds);
    // A page that could not be written (a full disk) is the folder's fault, as when it cannot
    // be made at all.
    return finish_offline_job(ok ? 0 : 2);
}
