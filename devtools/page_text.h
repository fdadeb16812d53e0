// devtools/page_text.h - text drawn straight into a picture held in memory (packed RGB, top
// row first), for the pages the offline tools compose without GL: anti-aliased FreeType
// glyphs of a fontconfig font, blended over what is there. Latin-1 text.
#pragma once

struct PageFont;   // one face at one pixel size

PageFont *open_page_font(const char *pattern, int pixels);   // fontconfig pattern; null if none
void      close_page_font(PageFont *font);                   // null is fine
int       page_text_width(PageFont *font, const char *text); // advance in pixels (0 without a font)
// Draws text with its baseline at y, starting at x; characters that would pass x + max_width
// are left off (the last kept one replaced by "..." when there is room). Returns the width drawn.
int       draw_page_text(PageFont *font, unsigned char *rgb, int page_w, int page_h, int x, int y,
                         int max_width, const unsigned char colour[3], const char *text);
