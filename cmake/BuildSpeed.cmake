# Compile time is most of a fresh build and test run, and much of a program's is Qt's and
# QCustomPlot's headers parsed again for every file. Every target of src/ and tools/ with two or
# more files gets them precompiled once (cmake/Precompiled.h picks them by the Qt modules the
# target links): a third of the time of those files. Not the tests, benchmarks and fuzz targets:
# their header, with GoogleTest and QtTest, costs each program more than its files gain (measured
# on a fresh build: about 25 s a test program against about 2 s saved per file).
set(SOLARDESK_PRECOMPILED_HEADER ${CMAKE_CURRENT_LIST_DIR}/Precompiled.h)

function(solardesk_precompile_headers_in dir)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    if(NOT type MATCHES "^(STATIC_LIBRARY|EXECUTABLE)$")
      continue()
    endif()
    get_target_property(source_dir ${target} SOURCE_DIR)
    file(RELATIVE_PATH where ${CMAKE_SOURCE_DIR} ${source_dir})
    if(NOT where MATCHES "^(src|tools)(/|$)")
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
