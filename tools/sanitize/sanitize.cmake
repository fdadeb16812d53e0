# tools/sanitize/sanitize.cmake - the sanitizer build: every target of the project compiled
# and linked with AddressSanitizer and UndefinedBehaviorSanitizer; any report stops the
# program (no recovery), so a test, or the content generation of the build, fails on it.
# Included from the root CMakeLists.txt before any target exists. -O1 keeps the build and
# the suite quick; the generators keep the -O2 they ask for themselves.
option(ORBPLUME_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(ORBPLUME_SANITIZE)
  set(SANITIZE_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_compile_options(${SANITIZE_FLAGS} -O1)
  # dlclose (sanitizer_options.cpp) is exported so that libraries loaded at run time find it too.
  add_link_options(-fsanitize=address,undefined -Wl,--export-dynamic-symbol=dlclose)
  add_library(sanitizer_options OBJECT ${CMAKE_CURRENT_LIST_DIR}/sanitizer_options.cpp)
  link_libraries(sanitizer_options)
endif()
