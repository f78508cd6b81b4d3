# Fails the build when a file includes what its layer must not see. Run with
#   -DSOURCE_DIR=… -DFOLDERS="a;b;…" -DFORBIDDEN="x|y|…" [-DNO_GUI=ON]
# FOLDERS are checked; FORBIDDEN names the folders whose files they must not
# include; NO_GUI forbids the Qt GUI modules as well (the base library).
set(gui_modules "Gui|Widgets|OpenGL[A-Za-z]*|Multimedia[A-Za-z]*|WebEngine[A-Za-z]*|Quick[A-Za-z]*|Svg[A-Za-z]*|PrintSupport")
set(problems "")
foreach(folder ${FOLDERS})
  file(GLOB_RECURSE files ${SOURCE_DIR}/${folder}/*.cpp ${SOURCE_DIR}/${folder}/*.h)
  foreach(file ${files})
    file(STRINGS ${file} includes REGEX "^[ \t]*#[ \t]*include")
    foreach(line ${includes})
      if(line MATCHES "\"(${FORBIDDEN})/" OR (NO_GUI AND line MATCHES "<Qt(${gui_modules})/"))
        file(RELATIVE_PATH shown ${SOURCE_DIR} ${file})
        string(APPEND problems "  ${shown}: ${line}\n")
      endif()
    endforeach()
  endforeach()
endforeach()
if(problems)
  message(FATAL_ERROR "Files of ${FOLDERS} include what their layer must not see (${FORBIDDEN}):\n${problems}")
endif()
