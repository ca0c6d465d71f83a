# Installs the build into PREFIX and checks the result. Arguments: BUILD_DIR, SOURCE_DIR, PREFIX,
# PROBE (the data-folder probe, copied into the installed bin/ and run from there).
cmake_minimum_required(VERSION 3.25)

function(fail what)
  message(FATAL_ERROR "install_tree: ${what}")
endfunction()

# Runs a command (the arguments after what) and fails, naming what, unless it exits with 0; its
# standard output is left in run_out.
function(run what)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    fail("${what} failed (${rc}):\n${out}${err}")
  endif()
  set(run_out "${out}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE "${PREFIX}")
run("cmake --install" "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}")

# Every file: the three programs, the desktop entry and icon, the manuals, and all of the data
# folder (the tone lists among it) without its version-control files.
set(expected
    bin/korvane bin/korvane-cli bin/korvane-radio-sim
    share/applications/korvane.desktop
    share/icons/hicolor/scalable/apps/korvane.svg share/mime/packages/korvane.xml
    share/doc/korvane/copyright share/doc/korvane/changelog.gz
    share/korvane/manual/index.html share/korvane/manual/keywords.html share/korvane/manual/manual.css)
foreach(page korvane korvane-cli korvane-radio-sim)
  list(APPEND expected share/man/man1/${page}.1.gz share/man/zh_CN/man1/${page}.1.gz)
endforeach()
file(GLOB_RECURSE data RELATIVE "${SOURCE_DIR}/data" "${SOURCE_DIR}/data/*")
list(FILTER data EXCLUDE REGEX "(^|/)\\.")
list(TRANSFORM data PREPEND share/korvane/)
foreach(f IN LISTS expected data)
  if(NOT EXISTS "${PREFIX}/${f}")
    fail("missing ${f}")
  endif()
endforeach()
file(GLOB_RECURSE hidden RELATIVE "${PREFIX}" "${PREFIX}/share/korvane/.*" "${PREFIX}/share/korvane/*/.*")
if(hidden)
  fail("hidden files installed: ${hidden}")
endif()
run("the installed korvane-radio-sim" "${PREFIX}/bin/korvane-radio-sim" --help)

# The installed korvane-cli writes each kind of file; from the installed bin/, the window program's
# rule finds the installed data and manual, and the files are known by their types, with an
# extension and without one (by their first bytes).
get_filename_component(probe_name "${PROBE}" NAME)
file(COPY "${PROBE}" DESTINATION "${PREFIX}/bin")
foreach(kind rdw rdh rdhax)
  run("korvane-cli new -o typed.${kind}" "${PREFIX}/bin/korvane-cli" new --model 1 -o "${PREFIX}/typed.${kind}")
  file(COPY_FILE "${PREFIX}/typed.${kind}" "${PREFIX}/typed-${kind}")
  list(APPEND typed "${PREFIX}/typed.${kind}" "${PREFIX}/typed-${kind}")
  list(APPEND want_types application/x-korvane-${kind} application/x-korvane-${kind})
endforeach()
run("update-mime-database" update-mime-database "${PREFIX}/share/mime")
run("the data probe" "${CMAKE_COMMAND}" -E env --unset=KORVANE_DATA_DIR "XDG_DATA_DIRS=${PREFIX}/share:/usr/share"
    "${PREFIX}/bin/${probe_name}" ${typed})
file(REMOVE "${PREFIX}/bin/${probe_name}")
string(STRIP "${run_out}" out)
string(REPLACE "\n" ";" found "${out}")
list(POP_FRONT found data_dir manual_dir)
file(REAL_PATH "${PREFIX}/share/korvane" want)
file(REAL_PATH "${data_dir}" got)
if(NOT got STREQUAL want OR NOT EXISTS "${manual_dir}/index.html" OR NOT found STREQUAL want_types)
  fail("the installed program's data ${data_dir} (not ${want}), manual ${manual_dir}, file types ${found}")
endif()
