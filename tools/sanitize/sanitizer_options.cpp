// tools/sanitize/sanitizer_options.cpp - run-time settings linked into every program of a
// sanitizer build (-DORBPLUME_SANITIZE=ON), so that the build's own generator runs, ctest and
// a developer's shell all check the same way without any environment variables.
//
// Leaks: reported for our code everywhere, the test suite included. The only ones waived are
// inside libraries that keep process-lifetime caches on purpose and free them never: the GL
// driver (Mesa's GLX/EGL front ends, the gallium driver and its LLVM compiler), the X and
// Wayland client libraries, D-Bus (which SDL opens), and fontconfig's configuration. They are
// waived by the library's name, which only works while the library is still mapped when the
// check runs at exit; see dlclose below.
extern "C" {

// No shared library is ever unloaded in this build. SDL unloads the GL driver when video shuts
// down (and the GL dispatch library its vendor library, and that the DRI driver), well before
// the leak check at exit: the driver's caches would then be reported from "<unknown module>",
// which no suppression by name can match, and waiving unnamed stacks would hide our own leaks
// too. Kept mapped, every driver allocation stays attributed to the driver. Defined here, in
// the executable, it comes first in symbol lookup for every library, loaded early or late.
__attribute__((visibility("default"))) int dlclose(void *) {
    return 0;
}

const char *__asan_default_options() {
    return "detect_leaks=1:halt_on_error=1:check_initialization_order=1:strict_string_checks=1";
}

const char *__ubsan_default_options() {
    return "print_stacktrace=1:halt_on_error=1";
}

const char *__lsan_default_options() {
    return "print_suppressions=0";
}

const char *__lsan_default_suppressions() {
    return "leak:libGLX_mesa.so\n"
           "leak:libEGL_mesa.so\n"
           "leak:libGLX.so\n"
           "leak:libEGL.so\n"
           "leak:libGLdispatch.so\n"
           "leak:libgallium\n"
           "leak:swrast_dri.so\n"
           "leak:libLLVM\n"
           "leak:libglapi.so\n"
           "leak:libX11.so\n"
           "leak:libxcb\n"
           "leak:libwayland-client.so\n"
           "leak:libdbus-1.so\n"
           "leak:libfontconfig.so\n";
}

}
