# SPDX-License-Identifier: GPL-3.0-or-later
# Precompiled headers: the Qt Widgets and GoogleTest headers parsed once per build tree and
# reused by every widget library, program and test. Off by default: with the sanitizers and full
# debug information the precompiled file grows to some 200 MB, and loading it into every unit
# cost more than parsing saved (tavro_ui and tavro_windows: 117 s against 96 s on two cores).
option(TAVRO_PCH "Precompile the Qt Widgets and GoogleTest headers" OFF)

set(TAVRO_PCH_WIDGETS
  <algorithm> <functional> <map> <memory> <optional> <string> <vector>
  <QApplication> <QComboBox> <QDialog> <QLabel> <QLineEdit> <QPainter> <QPushButton> <QString>
  <QStringList> <QTableView> <QTimer> <QWidget>)

# tavro_pch_host(NAME HEADERS... LIBS...): a library that only holds the precompiled headers,
# compiled with the flags those libraries bring.
function(tavro_pch_host name)
  cmake_parse_arguments(P "" "" "HEADERS;LIBS" ${ARGN})
  set(source ${CMAKE_CURRENT_BINARY_DIR}/${name}.cpp)
  file(CONFIGURE OUTPUT ${source} CONTENT "// The precompiled headers' host: no code of its own.\n")
  add_library(${name} STATIC ${source})
  target_link_libraries(${name} PRIVATE ${P_LIBS})
  target_precompile_headers(${name} PRIVATE ${P_HEADERS})
endfunction()

# tavro_use_pch(TARGET HOST): TARGET's units start with HOST's precompiled headers. GCC takes them
# only where every macro defined when they were made is defined alike, so a host links as little
# as its users have in common.
function(tavro_use_pch target host)
  # tavro_links_widgets(TARGET RESULT): whether TARGET links Qt Widgets, itself or through the
# project's libraries.
function(tavro_links_widgets target result)
  get_target_property(direct ${target} LINK_LIBRARIES)
  get_target_property(passed ${target} INTERFACE_LINK_LIBRARIES)
  set(found OFF)
  foreach(lib IN LISTS direct passed)
    string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" lib "${lib}")
    if(lib STREQUAL "Qt6::Widgets")
      set(found ON)
    elseif(lib MATCHES "^tavro_")
      tavro_links_widgets(${lib} inner)
      if(inner)
        set(found ON)
      endif()
    endif()
  endforeach()
  set(${result} ${found} PARENT_SCOPE)
endfunction()

if(TAVRO_PCH)
    target_precompile_headers(${target} REUSE_FROM ${host})
  endif()
endfunction()

if(TAVRO_PCH)
  tavro_pch_host(tavro_pch_widgets HEADERS ${TAVRO_PCH_WIDGETS} LIBS Qt6::Widgets)
endif()
