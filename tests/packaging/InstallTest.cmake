# cmake -D BUILD=... -D SCRATCH=... -D VERSION=... -D BIN_DIR=... -D DATA_DIR=...
#       -D LIBRARY_DIR=... -D SOUND_MODULE=... -P InstallTest.cmake
#
# Installs the build into a temporary prefix and the portable component into
# a temporary folder, checks that each holds the program where it looks for
# its files, then runs the installed program: the command line answers with
# no display at all, and a start offscreen writes nothing, neither in the
# prefix nor in the user's folders.

function(fail)
  string(JOIN "" message ${ARGN})
  message(FATAL_ERROR "${message}")
endfunction()

function(install_into destination)
  file(REMOVE_RECURSE ${destination})
  execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${destination} ${ARGN}
    RESULT_VARIABLE result OUTPUT_QUIET)
  if(NOT result EQUAL 0)
    fail("cmake --install ${ARGN} into ${destination} failed: ${result}")
  endif()
endfunction()

function(expect_files root)
  foreach(file IN LISTS ARGN)
    if(NOT EXISTS ${root}/${file})
      fail("missing from ${root}: ${file}")
    endif()
  endforeach()
endfunction()

set(prefix ${SCRATCH}/prefix)
set(portable ${SCRATCH}/portable)
set(home ${SCRATCH}/home)
set(id io.github.tavendel.Tavendel)
set(sounds suoni/si1.wav suoni/si2.wav suoni/si3.wav suoni/si4.wav suoni/no.wav)
list(TRANSFORM sounds PREPEND ${DATA_DIR}/ OUTPUT_VARIABLE installed_sounds)

install_into(${prefix})
expect_files(${prefix}
  ${BIN_DIR}/tavendel ${LIBRARY_DIR}/${SOUND_MODULE}
  ${DATA_DIR}/Italiano.lng ${DATA_DIR}/English.lng ${DATA_DIR}/LangSetting.ini ${installed_sounds}
  share/applications/${id}.desktop share/metainfo/${id}.metainfo.xml
  share/icons/hicolor/scalable/apps/${id}.svg share/icons/hicolor/48x48/apps/${id}.png
  share/man/man1/tavendel.1.gz share/doc/tavendel/copyright)

install_into(${portable} --component portable)
expect_files(${portable}
  tavendel ${SOUND_MODULE} Italiano.lng English.lng LangSetting.ini ${sounds} README.md LICENSE)

# The command line, with no display to open: arguments, exit code, stdout, stderr.
set(no_display env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM)
set(version_line "^tavendel ${VERSION}\n$")
set(cases
  "--version|0|${version_line}|^$"
  "-v|0|${version_line}|^$"
  "--help|0|^Usage: tavendel .*--version|^$"
  "-style,fusion,--version|0|${version_line}|^$"
  "--bogus|2|^$|^tavendel: unknown option '--bogus' [^\n]*\n$"
  "-platform=offscreen,-x|2|^$|unknown option '-x'")
foreach(case IN LISTS cases)
  string(REPLACE "|" ";" fields "${case}")
  list(GET fields 0 arguments)
  list(GET fields 1 expected_result)
  list(GET fields 2 expected_out)
  list(GET fields 3 expected_err)
  string(REPLACE "," ";" arguments "${arguments}")
  execute_process(COMMAND ${no_display} ${prefix}/${BIN_DIR}/tavendel ${arguments}
    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 20)
  if(NOT result STREQUAL expected_result OR NOT out MATCHES "${expected_out}" OR NOT err MATCHES "${expected_err}")
    fail("tavendel ${arguments}: exit ${result}, stdout [${out}], stderr [${err}]")
  endif()
endforeach()

# A start offscreen as a user with fresh folders: the program keeps running
# (the timeout ends it) and writes nothing.
file(REMOVE_RECURSE ${home})
file(MAKE_DIRECTORY ${home}/config ${home}/data ${home}/runtime)
file(GLOB_RECURSE before LIST_DIRECTORIES true ${prefix}/*)
execute_process(
  COMMAND env QT_QPA_PLATFORM=offscreen HOME=${home} XDG_CONFIG_HOME=${home}/config
          XDG_DATA_HOME=${home}/data XDG_RUNTIME_DIR=${home}/runtime
          ${prefix}/${BIN_DIR}/tavendel
  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 4)
if(NOT result MATCHES "timeout")
  fail("the installed program ended at once: ${result}, stdout [${out}], stderr [${err}]")
endif()
file(GLOB_RECURSE after LIST_DIRECTORIES true ${prefix}/*)
file(GLOB_RECURSE written LIST_DIRECTORIES true ${home}/config/* ${home}/data/*)
if(NOT before STREQUAL after OR written)
  fail("the installed program wrote files: ${written}")
endif()
