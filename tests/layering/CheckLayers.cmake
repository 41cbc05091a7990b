# Checks the layers of the sources: run as
#   cmake -DSOURCES=<src folder> -DLINKS=<file> -P CheckLayers.cmake
# and fails (a message of each fault, exit status 1) when
# - a file includes a header of a folder of a higher layer, or a logic file includes a window
#   header ("X/ui/..."), or
# - a logic target (every library but the windows' *_ui and solardesk_app) links Qt Widgets,
#   Qt Gui, Qt Print Support or QCustomPlot, directly or through another library; the one
#   exception is Qt Gui for the report (solardesk_report draws pages) and what links it.
# LINKS holds one line per library: "name=lib;lib;..." with every library it links, at any depth.

# The layers, bottom up; a folder may include its own headers and those of lower layers.
get_filename_component(SOURCES "${SOURCES}" ABSOLUTE)
set(LAYERS "core" "data link" "analysis" "report" "panel" "setup logger sim" "recording" "graphs station"
           "app")
set(rank 0)
foreach(layer IN LISTS LAYERS)
  string(REPLACE " " ";" folders "${layer}")
  foreach(folder IN LISTS folders)
    set(RANK_${folder} ${rank})
  endforeach()
  math(EXPR rank "${rank} + 1")
endforeach()

set(faults "")
file(GLOB_RECURSE files RELATIVE "${SOURCES}" "${SOURCES}/*.h" "${SOURCES}/*.cpp")
foreach(file IN LISTS files)
  string(REGEX MATCH "^[^/]+" folder "${file}")
  if(NOT DEFINED RANK_${folder})
    continue()
  endif()
  # Windows live in ui/ folders; everything else is logic.
  set(logic TRUE)
  if(file MATCHES "/ui/" OR folder STREQUAL "app" AND NOT file MATCHES "^app/cli/")
    set(logic FALSE)
  endif()
  file(STRINGS "${SOURCES}/${file}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^[^\"]*\"([^\"]*)\".*$" "\\1" header "${line}")
    string(REGEX MATCH "^[^/]+" target "${header}")
    if(NOT header MATCHES "/" OR NOT DEFINED RANK_${target})
      continue()
    endif()
    if(RANK_${target} GREATER RANK_${folder} OR
       (RANK_${target} EQUAL RANK_${folder} AND NOT target STREQUAL folder))
      list(APPEND faults "${file} includes ${header}, of a higher layer")
    elseif(logic AND header MATCHES "/ui/")
      list(APPEND faults "${file} is logic and includes the window header ${header}")
    endif()
  endforeach()
endforeach()

file(STRINGS "${LINKS}" targets)
foreach(line IN LISTS targets)
  string(REGEX REPLACE "=.*$" "" name "${line}")
  string(REGEX REPLACE "^[^=]*=" "" libs "${line}")
  if(name MATCHES "_ui$" OR name STREQUAL "solardesk_app")
    continue()
  endif()
  set(paints FALSE)
  list(FIND libs "solardesk_report" linksReport)
  if(name STREQUAL "solardesk_report" OR linksReport GREATER -1)
    set(paints TRUE)
  endif()
  foreach(lib IN LISTS libs)
    if(paints AND lib STREQUAL "Qt6::Gui")
      continue()
    endif()
    if(lib MATCHES "^Qt6::(Widgets|Gui|PrintSupport)$" OR lib MATCHES "QCustomPlot")
      list(APPEND faults "${name} is logic and links ${lib}")
    endif()
  endforeach()
endforeach()

if(faults)
  list(JOIN faults "\n  " text)
  message(FATAL_ERROR "Layering faults:\n  ${text}")
endif()
message(STATUS "Layers clean: ${SOURCES}")
