# Compile time is most of a fresh build and test run, and most of that is Qt's, GoogleTest's and
# QCustomPlot's headers parsed again for every file. Every target of two or more files gets them
# precompiled once (cmake/Precompiled.h picks them by the Qt modules the target links).
set(SOLARDESK_PRECOMPILED_HEADER ${CMAKE_CURRENT_LIST_DIR}/Precompiled.h)

function(solardesk_precompile_headers_in dir)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    if(NOT type MATCHES "^(STATIC_LIBRARY|EXECUTABLE)$")
      continue()
    endif()
    get_target_property(sources ${target} SOURCES)
    list(FILTER sources INCLUDE REGEX "\\.cpp$")
    list(LENGTH sources count)
    if(count GREATER_EQUAL 2)
      target_precompile_headers(${target} PRIVATE ${SOLARDESK_PRECOMPILED_HEADER})
      # Without its time stamp clang's precompiled header can be cached like any object.
      if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        target_compile_options(${target} PRIVATE "SHELL:-Xclang -fno-pch-timestamp")
      endif()
    endif()
  endforeach()
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(sub IN LISTS subdirs)
    solardesk_precompile_headers_in(${sub})
  endforeach()
endfunction()
