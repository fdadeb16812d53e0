// platform/font.cpp - the extruded outline font used by the developer overlay.
// Each character code 0..254 gets one display list holding the glyph as solid polygons
// (front, back and an extruded side 0.2 em deep) followed by a move of the origin by the
// glyph's advance. Glyphs are one unit per em. The 256th list stays empty.
#include "platform/window.h"
#include "platform/messages.h"
#include <GL/gl.h>
#include <FTGL/ftgl.h>
#include <fontconfig/fontconfig.h>
#include <string>

constexpr float GLYPH_PIXELS = 64.0f;   // outline resolution; lists scale back to 1 per em
constexpr float EXTRUSION    = 0.2f;    // depth of the glyphs in em

std::string find_font_file(const char *pattern) {
    std::string path;
    FcPattern *want = FcNameParse(reinterpret_cast<const FcChar8 *>(pattern));
    FcConfigSubstitute(nullptr, want, FcMatchPattern);
    FcDefaultSubstitute(want);
    FcResult result;
    FcPattern *match = FcFontMatch(nullptr, want, &result);
    FcChar8 *file = nullptr;
    if (match && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch)
        path = reinterpret_cast<const char *>(file);
    if (match) FcPatternDestroy(match);
    FcPatternDestroy(want);
    return path;
}

void create_outline_font() {
    win.font_base = glGenLists(256);
    std::string path = find_font_file("Liberation Sans:bold");
    static FTExtrudeFont *font = nullptr;   // kept for the life of the process
    if (!path.empty()) font = new FTExtrudeFont(path.c_str());
    if (!font || font->Error()) {
        warn("Outline font \"Liberation Sans Bold\" not found, overlay text disabled");
        return;
    }
    font->FaceSize(static_cast<unsigned>(GLYPH_PIXELS));
    font->Depth(EXTRUSION * GLYPH_PIXELS);
    font->UseDisplayList(false);   // we compile our own lists; FTGL's would nest
    const float scale = 1.0f / GLYPH_PIXELS;
    for (int code = 0; code < 255; code++) {
        wchar_t text[2] = { static_cast<wchar_t>(code), 0 };   // codes are Latin-1
        float advance = code ? font->Advance(text) : 0.0f;
        glNewList(win.font_base + code, GL_COMPILE);
        if (code >= 32) {
            glPushMatrix();
            glScalef(scale, scale, scale);
            font->Render(text);
            glPopMatrix();
        }
        glTranslatef(advance * scale, 0.0f, 0.0f);
        glEndList();
    }
}

void print_text(const char *text) {
    glPushMatrix();
    glTranslatef(0.0f, 0.0f, 0.1f);
    glPushAttrib(GL_LIST_BIT);
    glListBase(win.font_base);
    for (const unsigned char *p = reinterpret_cast<const unsigned char *>(text); *p; p++) {
        glTranslatef(-0.05f, 0.0f, 0.0f);
        glCallLists(1, GL_UNSIGNED_BYTE, p);
    }
    glPopAttrib();
    glPopMatrix();
}
