// devtools/page_text.cpp - FreeType glyphs blended into an RGB picture in memory.
#include "devtools/page_text.h"
#include "platform/window.h"   // Required for: find_font_file()
#include <ft2build.h>
#include FT_FREETYPE_H
#include <string>

//----------------------------------------------------------------------------------
// Types
//----------------------------------------------------------------------------------
struct PageFont {
    FT_Library library;   // one library per face: fonts are opened rarely and kept briefly
    FT_Face    face;
};

//----------------------------------------------------------------------------------
// Internal Functions
//----------------------------------------------------------------------------------
// Advance of one character in whole pixels; 0 for a character the face lacks.
static int glyph_advance(PageFont *font, unsigned char code) {
    if (FT_Load_Char(font->face, code, FT_LOAD_DEFAULT)) return 0;
    return int(font->face->glyph->advance.x >> 6);
}

// One rendered glyph blended in with its pen at (x, y); returns the advance.
static int blend_glyph(PageFont *font, unsigned char *rgb, int page_w, int page_h, int x, int y,
                       const unsigned char colour[3], unsigned char code) {
    if (FT_Load_Char(font->face, code, FT_LOAD_RENDER)) return 0;
    const FT_GlyphSlot g = font->face->glyph;
    const FT_Bitmap &b = g->bitmap;
    for (int row = 0; row < int(b.rows); row++) {
        const int py = y - g->bitmap_top + row;
        if (py < 0 || py >= page_h) continue;
        for (int col = 0; col < int(b.width); col++) {
            const int px = x + g->bitmap_left + col;
            if (px < 0 || px >= page_w) continue;
            const int cover = b.buffer[row * b.pitch + col];
            unsigned char *p = rgb + (size_t(py) * page_w + px) * 3;
            for (int c = 0; c < 3; c++) p[c] = (unsigned char)((p[c] * (255 - cover) + colour[c] * cover + 127) / 255);
        }
    }
    return int(g->advance.x >> 6);
}

//----------------------------------------------------------------------------------
// Module Functions
//----------------------------------------------------------------------------------
PageFont *open_page_font(const char *pattern, int pixels) {
    const std::string path = find_font_file(pattern);
    if (path.empty()) return nullptr;
    PageFont *font = new PageFont();
    if (FT_Init_FreeType(&font->library)) {
        delete font;
        return nullptr;
    }
    if (FT_New_Face(font->library, path.c_str(), 0, &font->face) ||
        FT_Set_Pixel_Sizes(font->face, 0, FT_UInt(pixels))) {
        FT_Done_FreeType(font->library);
        delete font;
        return nullptr;
    }
    return font;
}

void close_page_font(PageFont *font) {
    if (!font) return;
    FT_Done_Face(font->face);
    FT_Done_FreeType(font->library);
    delete font;
}

int page_text_width(PageFont *font, const char *text) {
    if (!font) return 0;
    int width = 0;
    for (const char *c = text; *c; c++) width += glyph_advance(font, (unsigned char)*c);
    return width;
}

int draw_page_text(PageFont *font, unsigned char *rgb, int page_w, int page_h, int x, int y,
                   int max_width, const unsigned char colour[3], const char *text) {
    if (!font) return 0;
    std::string line = text;
    if (page_text_width(font, text) > max_width) {
        // Shorten until the rest and an ellipsis fit.
        while (!line.empty() && page_text_width(font, (line + "...").c_str()) > max_width) line.pop_back();
        line += "...";
    }
    int pen = x;
    for (unsigned char c : line) pen += blend_glyph(font, rgb, page_w, page_h, pen, y, colour, c);
    return pen - x;
}
