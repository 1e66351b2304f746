# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: Kestrel developers
#
# cmake -DSOURCE_DIR=<src> -DWIDGET_HEADERS=<file> -DSTAMP=<file> -P CheckFloors.cmake
#
# Keeps the floors of the program apart (docs/architecture.md), so that an include pointing
# the wrong way fails the build instead of growing quietly:
#   - core/ includes only core/, and its non-ui files no ui/ header;
#   - no file outside shell/ and app/ includes shell/ (the roof stands on the floors);
#   - no file outside a ui/ folder or app/ includes a ui/ header or a Qt widget header.
# WIDGET_HEADERS lists the header names of QtWidgets and QtPrintSupport, one a line.
cmake_policy(VERSION 3.25)

file(STRINGS "${WIDGET_HEADERS}" widget_headers)
file(GLOB floors RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/*")
list(JOIN floors "|" floors)
file(GLOB_RECURSE sources RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/*.cpp" "${SOURCE_DIR}/*.h")
set(faults "")
foreach(source IN LISTS sources)
    string(REGEX MATCH "(^|/)ui/" in_ui "${source}")
    string(REGEX MATCH "^app/" in_app "${source}")
    string(REGEX MATCH "^shell/" in_shell "${source}")
    string(REGEX MATCH "^core/" in_core "${source}")
    file(STRINGS "${SOURCE_DIR}/${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
    foreach(line IN LISTS includes)
        string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[<\"]([^>\"]+)[>\"].*$" "\\1" header "${line}")
        string(REGEX MATCH "^(${floors})/" project_header "${header}")
        string(REGEX MATCH "(^|/)ui/" header_ui "${header}")
        if(in_core AND project_header AND NOT header MATCHES "^core/")
            list(APPEND faults "${source}: the foundation includes ${header}")
        endif()
        if(in_core AND NOT in_ui AND header_ui)
            list(APPEND faults "${source}: the foundation includes the widget header ${header}")
        endif()
        if(NOT in_shell AND NOT in_app AND header MATCHES "^shell/")
            list(APPEND faults "${source}: includes ${header} of the main window's floor")
        endif()
        if(NOT in_ui AND NOT in_app)
            if(header_ui AND project_header)
                list(APPEND faults "${source}: a file outside ui/ includes ${header}")
            endif()
            string(REGEX REPLACE "^.*/" "" header_name "${header}")
            if(header MATCHES "^(QtWidgets|QtPrintSupport)/" OR header_name IN_LIST widget_headers)
                list(APPEND faults "${source}: a file outside ui/ includes the widget header ${header}")
            endif()
        endif()
    endforeach()
endforeach()

if(faults)
    list(JOIN faults "\n  " text)
    message(FATAL_ERROR "Includes that point the wrong way:\n  ${text}")
endif()
file(WRITE "${STAMP}" "")
