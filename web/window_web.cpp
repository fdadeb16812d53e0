// web/window_web.cpp - the show's window in the browser: the page's canvas and a WebGL 1
// context with the GL 1.x emulation on it. The drawing buffer stays 640x480 (or the size
// asked for); the page scales the canvas for full screen. Frames are shown when control
// returns to the browser, so swapping only wipes the bars. The outline font of the
// developer overlay has no web counterpart: the overlay is not part of the page.
#include "platform/window.h"
#include "platform/settings.h"
#include <emscripten.h>
#include <cstdio>

WindowGlobals win;

// Creates the context through the emulation's own path, so its immediate-mode state is set
// up; antialiasing off and no stencil, as natively; the buffer kept between frames (and for
// screenshots). The buffer has an alpha channel only because WebGL copies into RGBA textures
// from such buffers alone; the GL layer keeps it at 1 everywhere, as a buffer without alpha
// reads natively (web_gl_colour_mask never lets a draw write it).
EM_JS(int, web_create_context, (int width, int height), {
    var canvas = Module.canvas;
    if (!canvas) return 0;
    canvas.width = width;
    canvas.height = height;
    var ctx = Browser.createContext(canvas, true, true, {
        antialias: false, alpha: true, premultipliedAlpha: false, depth: true, stencil: false, preserveDrawingBuffer: true,
        majorVersion: 1, minorVersion: 0 });
    if (!ctx) return 0;
    // The emulation's combiner samples a cube map through a 2D sampler with two coordinates,
    // and in its GL_COMBINE path it cuts the coordinates' swizzle off the texture lookup and
    // leaves it on the lookup's later uses; its shaders are mended here.
    var shaderSource = GLctx.shaderSource.bind(GLctx);
    GLctx.shaderSource = function (shader, source) {
        var cubes = {};
        source = source.replace(/textureCube[(]u_texUnit([0-9]+), [(]([^()]*)[)][.]xy[)]/g, function (m, unit, coords) {
            cubes[unit] = 1;
            return 'textureCube(u_texUnit' + unit + ', (' + coords + ').xyz)';
        });
        source = source.replace(/(texture2D|textureCube)[(]u_texUnit([0-9]+), [(](u_textureMatrix[0-9]+ [*] v_texCoord[0-9]+)[)];/g,
                                function (m, lookup, unit, coords) {
            if (lookup == 'textureCube') cubes[unit] = 1;
            return lookup + '(u_texUnit' + unit + ', (' + coords + ').' + (lookup == 'textureCube' ? 'xyz' : 'xy') + ');';
        });
        source = source.replace(/(tej_env[0-9]+_texload[0-9]+)[.]xyz?[)]/g, '$1');
        Object.keys(cubes).forEach(function (unit) {
            source = source.replace('uniform sampler2D u_texUnit' + unit + ';', 'uniform samplerCube u_texUnit' + unit + ';');
        });
        shaderSource(shader, source);
    };
    if (Module.arguments.indexOf('gldebug') >= 0) {
        // Developer aid: names the first WebGL call of each kind that raises an error.
        var getError = GLctx.getError.bind(GLctx), seen = {};
        var compile = GLctx.compileShader.bind(GLctx);
        GLctx.compileShader = function (shader) {
            compile(shader);
            if (!GLctx.getShaderParameter(shader, GLctx.COMPILE_STATUS))
                console.error('GL shader: ' + GLctx.getShaderInfoLog(shader) + ' ' + GLctx.getShaderSource(shader));
        };
        Object.keys(Object.getPrototypeOf(GLctx)).forEach(function (name) {
            var f = GLctx[name];
            if (typeof f != 'function' || name == 'getError') return;
            GLctx[name] = function () {
                var r = f.apply(GLctx, arguments), e = getError();
                if (e && !seen[name]) { seen[name] = 1; console.error('GL error ' + e + ' in ' + name + '(' + Array.prototype.join.call(arguments, ', ') + ')'); }
                return r;
            };
        });
    }
    GLctx.clearColor(0, 0, 0, 1);
    GLctx.clear(GLctx.COLOR_BUFFER_BIT);
    GLctx.colorMask(true, true, true, false);
    return 1;
});

static char canvas_marker;   // the window handle the rest of the engine sees

bool display_video_driver(const char *, bool) { return true; }
bool init_display_video(std::string &) { return true; }
void prefer_offscreen_video() {}

SDL_Window *create_gl_window(bool, int width, int height, int, int, const char *, int, int, bool hidden, bool) {
    win.failure[0] = 0;
    if (!web_create_context(width, height)) {
        std::snprintf(win.failure, sizeof win.failure, "GL context: no WebGL in this browser");
        return nullptr;
    }
    win.hidden = hidden;
    win.window = reinterpret_cast<SDL_Window *>(&canvas_marker);
    win.context = &canvas_marker;
    return win.window;
}

void destroy_gl_window() {
    win.window = nullptr;
    win.context = nullptr;
}

void swap_frame() {
    if (win.window) clear_picture_bars();
}

void create_outline_font() { win.font_base = 0; }
void print_text(const char *) {}
std::string find_font_file(const char *) { return ""; }
