# Every target of ours builds with the same warnings, and warnings stay at zero.
function(korvane_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion)
  if(WIN32 AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    # mingw's g++ 12 at -O2 warns of overlapping copies inside std::string's operator+ itself, a
    # known false alarm of that release.
    target_compile_options(${target} PRIVATE -Wno-restrict)
  endif()
endfunction()
