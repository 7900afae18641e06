# kalvora_check_qt_free(root dirs): fails when a file under one of the folders
# includes a Qt header. Used at configure time by app/CMakeLists.txt and as a
# test script: cmake -DROOT=<app> -DDIRS="core;engine;formats" -P QtFreeCheck.cmake
function(kalvora_check_qt_free root dirs)
  set(offenders)
  foreach(dir ${dirs})
    file(GLOB_RECURSE files ${root}/${dir}/*.h ${root}/${dir}/*.cpp)
    foreach(f ${files})
      file(STRINGS ${f} lines REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"](Q[A-Za-z]*|Qt[A-Za-z]*/[^>\"]*)[>\"]")
      if(lines)
        list(APPEND offenders "${f}: ${lines}")
      endif()
    endforeach()
  endforeach()
  if(offenders)
    string(REPLACE ";" "\n  " text "${offenders}")
    message(FATAL_ERROR "Qt headers in the Qt-free part of the program:\n  ${text}")
  endif()
endfunction()

if(CMAKE_SCRIPT_MODE_FILE AND ROOT)
  kalvora_check_qt_free(${ROOT} "${DIRS}")
endif()
