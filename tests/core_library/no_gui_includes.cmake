# Fails when a source of the core library includes a header of a Qt module above Qt Core.
# The core's include path reaches every module's headers through the Qt root folder
# (<QtWidgets/QWidget>), so the build alone does not stop such an include.
#   cmake -DSOURCES_FILE=<file listing the core sources> -DQT_ROOT=<Qt include root> -P ...
file(STRINGS "${SOURCES_FILE}" sources)
set(modules QtGui QtWidgets QtMultimedia QtMultimediaWidgets QtCharts QtOpenGL
            QtOpenGLWidgets QtPrintSupport QtSvg QtQuick QtQml)
set(found)
foreach(source ${sources})
  file(STRINGS "${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
  foreach(line ${includes})
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[<\"]([^>\"]+)[>\"].*" "\\1" header "${line}")
    foreach(module ${modules})
      if(header MATCHES "^${module}/" OR EXISTS "${QT_ROOT}/${module}/${header}")
        list(APPEND found "${source}: ${header} (${module})")
      endif()
    endforeach()
  endforeach()
endforeach()
if(found)
  list(JOIN found "\n  " text)
  message(FATAL_ERROR "The core library includes headers above Qt Core:\n  ${text}")
endif()
list(LENGTH sources count)
message(STATUS "${count} core sources include nothing above Qt Core")
