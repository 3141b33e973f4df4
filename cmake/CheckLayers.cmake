cmake_minimum_required(VERSION 3.25)
# Fails when a source file includes a header of a higher layer, a sibling
# layer, or (for the layers without Qt) any Qt header, and when a layer
# without Qt declares a Qt class (class QWidget;) to carry its pointers.
#   cmake -DSOURCE_DIR=<src> -P CheckLayers.cmake
# The rank of a folder is its place in the build: a file may include headers
# of its own folder and of folders with a lower rank only.
set(LAYERS common protocol groups platform res clientkit controls conversation dialogs window module scripted)
set(RANK_common 0)
set(RANK_protocol 1)
set(RANK_groups 2)
set(RANK_platform 3)
set(RANK_res 4)
set(RANK_clientkit 5)
set(RANK_controls 6)
set(RANK_conversation 7)
set(RANK_dialogs 7)
set(RANK_window 8)
set(RANK_module 9)
# The scripted UI driver is a test double outside the shipped libraries: it
# builds on the seam, and nothing shipped may include it.
set(RANK_scripted 10)
set(QT_FREE common protocol groups)
# The host interface names the host's parent window: a host hands the module a
# QWidget when it loads it, so this one header may declare that class.
set(QT_DECLARATION_ALLOWED protocol/TarvolanAbi.h:QWidget)

if(NOT SOURCE_DIR)
  message(FATAL_ERROR "CheckLayers: SOURCE_DIR is not set")
endif()

set(faults "")
foreach(layer ${LAYERS})
  file(GLOB files ${SOURCE_DIR}/${layer}/*.h ${SOURCE_DIR}/${layer}/*.cpp)
  foreach(file ${files})
    file(STRINGS ${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
    foreach(line ${includes})
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[<\"]([^>\"]*)[>\"].*" "\\1" header "${line}")
      file(RELATIVE_PATH shown ${SOURCE_DIR} ${file})
      if(layer IN_LIST QT_FREE AND header MATCHES "^Q[A-Za-z]*(/|$)")
        string(APPEND faults "  ${shown}: ${header} (this layer builds without Qt)\n")
      endif()
      if(header MATCHES "^([a-z]+)/")
        set(target ${CMAKE_MATCH_1})
        if(target IN_LIST LAYERS AND NOT target STREQUAL layer)
          if(NOT RANK_${target} LESS RANK_${layer})
            string(APPEND faults "  ${shown}: ${header} (${layer} may not include ${target})\n")
          endif()
        endif()
      endif()
    endforeach()
    if(layer IN_LIST QT_FREE)
      file(STRINGS ${file} declarations REGEX "^[ \t]*(class|struct)[ \t]+Q[A-Z][A-Za-z]*[ \t]*;")
      foreach(line ${declarations})
        string(REGEX REPLACE "^[ \t]*(class|struct)[ \t]+(Q[A-Za-z]*).*" "\\2" name "${line}")
        file(RELATIVE_PATH shown ${SOURCE_DIR} ${file})
        if(NOT "${shown}:${name}" IN_LIST QT_DECLARATION_ALLOWED)
          string(APPEND faults "  ${shown}: class ${name} (this layer builds without Qt)\n")
        endif()
      endforeach()
    endif()
  endforeach()
endforeach()

if(faults)
  message(FATAL_ERROR "Layer rule broken:\n${faults}")
endif()
message(STATUS "Layers: every include points downwards")
