// devtools/contact_sheet.h - every mesh and picture of the show on a few labelled PNG pages.
// `orbplume --contact-sheet DIR` runs this instead of the show: a hidden window, the whole
// precalc, then pages of 1024x768 written to DIR. Mesh pages (meshes-N.png) show each mesh as
// chrome (metal.jpg sphere map, a soft headlight) from the front and from above the side,
// fitted to its cell; picture pages (textures-N.png) show each texture once at its own
// proportions. Every cell carries the name and the counts or the size in pixels.
#pragma once

constexpr int SHEET_WIDTH     = 1024;   // page size in pixels
constexpr int SHEET_HEIGHT    = 768;
constexpr int SHEET_HEADER    = 34;     // title strip across the top of a page
constexpr int SHEET_LABEL     = 38;     // two label lines under each cell's picture
constexpr int MESH_COLUMNS    = 3;      // 9 meshes to a page
constexpr int MESH_ROWS       = 3;
constexpr int TEXTURE_COLUMNS = 5;      // 15 pictures to a page
constexpr int TEXTURE_ROWS    = 3;

// Page colours (RGB 0..1): the page, and the panels behind each view or picture.
constexpr float SHEET_PAGE_RGB[3]  = { 0.06f, 0.06f, 0.07f };
constexpr float SHEET_PANEL_RGB[3] = { 0.20f, 0.21f, 0.24f };

// A rectangle of window pixels, y up from the bottom edge as GL counts.
struct SheetRect {
    int x, y, w, h;
};

SheetRect sheet_cell(int index, int columns, int rows);   // index row by row from the top left
SheetRect mesh_view_rect(const SheetRect &cell, int view);   // view 0 the front, 1 from above
SheetRect picture_rect(const SheetRect &cell);               // the panel of a picture cell
SheetRect label_rect(const SheetRect &cell);                 // the two label lines at the bottom

int contact_sheet_page_count();               // mesh pages + picture pages
int run_contact_sheet(const char *folder);    // exit status: 0 written, 2 folder unwritable or a page lost (disk full)
