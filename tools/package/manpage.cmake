# tools/package/manpage.cmake - writes the manual page from the program's own --help, so the
# two never disagree. Run as: cmake -DEXE=<orbplume> -DOUT=<orbplume.6> -P manpage.cmake
execute_process(COMMAND ${EXE} --help OUTPUT_VARIABLE usage RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${EXE} --help failed (${status})")
endif()
# roff: a leading dot or quote would read as a request; backslashes start escapes.
string(REPLACE "\\" "\\e" usage "${usage}")
string(REPLACE "-" "\\-" usage "${usage}")   # a minus, not a hyphen, as typed options need
string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" usage "${usage}")
string(REGEX REPLACE "^usage: [^\n]*\n" "" options "${usage}")
file(WRITE ${OUT} ".TH ORBPLUME 6 \"\" \"orbplume\" \"Games Manual\"
.SH NAME
orbplume \\- a music-synchronised real-time 3D show
.SH SYNOPSIS
.B orbplume
[\\fIoptions\\fR]
.SH DESCRIPTION
After a small start-up dialog, orbplume opens an OpenGL window, builds its meshes and
textures behind a loading screen and plays about ten minutes of animated scenes in step
with its generated track.
.SH OPTIONS
.nf
${options}.fi
.SH FILES
The pictures and the track are read from the first of these folders that holds them:
.I data/
in the working directory,
.I data/
beside the executable,
.I ../share/orbplume/data
from the executable's folder, and the installed data folder.
Screenshots and recorded beat ticks are written to the working directory.
.SH EXIT STATUS
0 on success, 2 for bad arguments or an output folder that cannot be written.
")
