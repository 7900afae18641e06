# Include checks of the program's layers, used at configure time by
# app/CMakeLists.txt and as test scripts:
#   cmake -DROOT=<app> -DDIRS=core,engine,formats -P QtFreeCheck.cmake
#   cmake -DROOT=<app> -DDIRS=platform,views -DCHECK=below_windows -P QtFreeCheck.cmake
# (commas: a semicolon does not survive the way from add_test to the script
# as a list separator, and a folder list that is one odd name checks nothing)

# Fails with `what` when a file under one of the folders has an include line
# matching `regex`.
function(kalvora_check_includes root dirs regex what)
  set(offenders)
  foreach(dir ${dirs})
    file(GLOB_RECURSE files ${root}/${dir}/*.h ${root}/${dir}/*.cpp)
    foreach(f ${files})
      file(STRINGS ${f} lines REGEX "${regex}")
      if(lines)
        list(APPEND offenders "${f}: ${lines}")
      endif()
    endforeach()
  endforeach()
  if(offenders)
    string(REPLACE ";" "\n  " text "${offenders}")
    message(FATAL_ERROR "${what}:\n  ${text}")
  endif()
endfunction()

# No Qt header in the Qt-free part of the program.
function(kalvora_check_qt_free root dirs)
  kalvora_check_includes(${root} "${dirs}" "^[ \t]*#[ \t]*include[ \t]*[<\"](Q[A-Za-z]*|Qt[A-Za-z]*/[^>\"]*)[>\"]"
                         "Qt headers in the Qt-free part of the program")
endfunction()

# No window header below the windows: the windows use the layers under them,
# never the other way round.
function(kalvora_check_below_windows root dirs)
  kalvora_check_includes(${root} "${dirs}" "^[ \t]*#[ \t]*include[ \t]*[<\"]windows/"
                         "Window headers in a layer below the windows")
endfunction()

if(CMAKE_SCRIPT_MODE_FILE AND ROOT)
  string(REPLACE "," ";" DIRS "${DIRS}")
  foreach(dir ${DIRS})
    if(NOT IS_DIRECTORY ${ROOT}/${dir})
      message(FATAL_ERROR "No folder ${ROOT}/${dir} to check")
    endif()
  endforeach()
  if(CHECK STREQUAL "below_windows")
    kalvora_check_below_windows(${ROOT} "${DIRS}")
  else()
    kalvora_check_qt_free(${ROOT} "${DIRS}")
  endif()
endif()
