# Installs the build into PREFIX and checks the result. Arguments: BUILD_DIR, SOURCE_DIR, PREFIX,
# PROBE (the data-folder probe, copied into the installed bin/ and run from there).
cmake_minimum_required(VERSION 3.25)

function(fail what)
  message(FATAL_ERROR "install_tree: ${what}")
endfunction()

file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE rc OUTPUT_VARIABLE log ERROR_VARIABLE log)
if(NOT rc EQUAL 0)
  fail("cmake --install failed (${rc}):\n${log}")
endif()

# Every file: the three programs, the desktop entry and icon, the manual, and all of the data
# folder (the tone lists among it).
set(expected
    bin/korvane bin/korvane-cli bin/korvane-radio-sim
    share/applications/korvane.desktop
    share/icons/hicolor/scalable/apps/korvane.svg share/mime/packages/korvane.xml
    share/doc/korvane/copyright share/doc/korvane/changelog.gz
    share/korvane/manual/index.html share/korvane/manual/keywords.html share/korvane/manual/manual.css)
file(GLOB_RECURSE data RELATIVE "${SOURCE_DIR}/data" "${SOURCE_DIR}/data/*")
list(FILTER data EXCLUDE REGEX "(^|/)\\.") # version-control files stay behind
foreach(page korvane korvane-cli korvane-radio-sim)
  list(APPEND expected share/man/man1/${page}.1.gz share/man/zh_CN/man1/${page}.1.gz)
endforeach()
foreach(f IN LISTS data)
  list(APPEND expected "share/korvane/${f}")
endforeach()
foreach(f IN LISTS expected)
  if(NOT EXISTS "${PREFIX}/${f}")
    fail("missing ${f}")
  endif()
endforeach()
file(GLOB_RECURSE hidden RELATIVE "${PREFIX}" "${PREFIX}/share/korvane/.*" "${PREFIX}/share/korvane/*/.*")
if(hidden)
  fail("hidden files installed: ${hidden}")
endif()
file(READ "${PREFIX}/bin/korvane" head LIMIT 4 HEX)
if(NOT head STREQUAL "7f454c46")
  fail("bin/korvane is not an executable")
endif()

# The desktop entry starts the installed program by name and shows the installed icon.
file(READ "${PREFIX}/share/applications/korvane.desktop" entry)
foreach(line "Exec=korvane %f" "Icon=korvane" "Type=Application"
        "MimeType=application/x-korvane-rdw;application/x-korvane-rdh;application/x-korvane-rdhax;")
  string(FIND "${entry}" "\n${line}\n" at)
  if(at EQUAL -1)
    fail("korvane.desktop lacks ${line}")
  endif()
endforeach()
find_program(validate desktop-file-validate)
if(validate)
  execute_process(COMMAND "${validate}" "${PREFIX}/share/applications/korvane.desktop" RESULT_VARIABLE rc
                  OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT rc EQUAL 0)
    fail("desktop-file-validate: ${out}")
  endif()
endif()

# The installed command-line companion and simulated radio run.
execute_process(COMMAND "${PREFIX}/bin/korvane-cli" new --model 2 -o "${PREFIX}/check.rdw"
                COMMAND "${PREFIX}/bin/korvane-radio-sim" --help RESULTS_VARIABLE rcs OUTPUT_QUIET ERROR_QUIET)
if(NOT rcs STREQUAL "0;0" OR NOT EXISTS "${PREFIX}/check.rdw")
  fail("the installed korvane-cli or korvane-radio-sim failed: ${rcs}")
endif()

# From the installed bin/, the window program's rule finds the installed data and manual.
get_filename_component(probe_name "${PROBE}" NAME)
file(COPY "${PROBE}" DESTINATION "${PREFIX}/bin")
# The saved files are known by their types, with an extension and without one (by their first bytes).
foreach(kind rdw rdh rdhax)
  execute_process(COMMAND "${PREFIX}/bin/korvane-cli" new --model 1 -o "${PREFIX}/typed.${kind}")
  file(COPY_FILE "${PREFIX}/typed.${kind}" "${PREFIX}/typed-${kind}")
  list(APPEND typed "${PREFIX}/typed.${kind}" "${PREFIX}/typed-${kind}")
endforeach()
find_program(update_mime update-mime-database)
if(update_mime)
  execute_process(COMMAND "${update_mime}" "${PREFIX}/share/mime" RESULT_VARIABLE rc ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    fail("update-mime-database: ${err}")
  endif()
endif()
execute_process(COMMAND "${CMAKE_COMMAND}" -E env --unset=KORVANE_DATA_DIR "XDG_DATA_DIRS=${PREFIX}/share:/usr/share"
                "${PREFIX}/bin/${probe_name}" ${typed} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
file(REMOVE "${PREFIX}/bin/${probe_name}")
if(NOT rc EQUAL 0)
  fail("data probe failed: ${err}")
endif()
string(STRIP "${out}" out)
string(REPLACE "\n" ";" found "${out}")
list(GET found 0 data_dir)
list(GET found 1 manual_dir)
list(SUBLIST found 2 6 types)
set(want_types application/x-korvane-rdw application/x-korvane-rdw application/x-korvane-rdh
    application/x-korvane-rdh application/x-korvane-rdhax application/x-korvane-rdhax)
if(NOT types STREQUAL want_types)
  fail("the saved files' types: ${types}")
endif()
file(REAL_PATH "${PREFIX}/share/korvane" want)
file(REAL_PATH "${data_dir}" got)
if(NOT got STREQUAL want)
  fail("the installed program looks for its data in ${data_dir}, not ${want}")
endif()
if(NOT EXISTS "${manual_dir}/index.html" OR NOT EXISTS "${manual_dir}/keywords.html")
  fail("no manual in ${manual_dir}")
endif()
message(STATUS "install_tree: ${PREFIX} holds every file; data found at ${data_dir}")
