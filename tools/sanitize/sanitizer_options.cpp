// tools/sanitize/sanitizer_options.cpp - run-time settings linked into every program of a
// sanitizer build (-DORBPLUME_SANITIZE=ON), so that the build's own generator runs, ctest and
// a developer's shell all check the same way without any environment variables.
//
// Leaks: reported for our code everywhere. The only ones waived are inside libraries that
// keep process-lifetime caches on purpose and free them never: the GL driver (Mesa's
// GLX/EGL front ends, the gallium driver and its LLVM compiler), the X and Wayland client
// libraries, D-Bus (which SDL opens), and fontconfig's configuration.
extern "C" {

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
