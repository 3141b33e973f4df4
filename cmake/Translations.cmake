# The module's catalogues and its source texts, through lupdate with the
# options used for every catalogue (no source locations, which would change
# with every edit of the code):
#   MODE=update  brings each src/res/translations/*.ts up to date with the
#                code: new texts come in unfinished, vanished ones go;
#   MODE=check   fails when lupdate would find a new (unfinished) or a
#                vanished text in a catalogue, or one is left unfinished.
#   cmake -DMODE=check -DLUPDATE=... -DSOURCE_DIR=<repository> -DWORK=<folder> -P Translations.cmake
file(GLOB catalogues ${SOURCE_DIR}/src/res/translations/*.ts)
if(NOT catalogues)
  message(FATAL_ERROR "no catalogue in ${SOURCE_DIR}/src/res/translations")
endif()
foreach(ts ${catalogues})
  get_filename_component(name ${ts} NAME)
  if(MODE STREQUAL "update")
    set(target ${ts})
    set(extra -no-obsolete)
  else()
    file(MAKE_DIRECTORY ${WORK})
    set(target ${WORK}/${name})
    file(COPY_FILE ${ts} ${target})
    set(extra)
  endif()
  execute_process(COMMAND ${LUPDATE} -silent -locations none ${extra} -source-language zh_CN
                          ${SOURCE_DIR}/src -ts ${target}
                  RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "lupdate failed on ${name}")
  endif()
  if(MODE STREQUAL "check")
    file(READ ${target} text)
    string(REGEX MATCHALL "<source>[^<]*</source>[^<]*(<comment>[^<]*</comment>[^<]*)?<translation type=\"(unfinished|vanished|obsolete)\"" bad "${text}")
    if(bad)
      list(LENGTH bad count)
      string(REPLACE ";" "\n" bad "${bad}")
      message(FATAL_ERROR "${name}: ${count} text(s) unfinished or vanished (run cmake --build build --target update_translations, then translate):\n${bad}")
    endif()
    message(STATUS "${name}: every text translated, none vanished")
  endif()
endforeach()
