# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: Kestrel developers
#
# kestrel_add_test(tst_name LABEL unit|db|gui|report SOURCES a.cpp ... [LIBS ...])
#
# One QtTest executable per unit. Every test runs on the offscreen platform with a pinned
# locale and time zone, so dates and numbers come out the same on every machine.
function(kestrel_add_test name)
    cmake_parse_arguments(ARG "" "LABEL" "SOURCES;LIBS" ${ARGN})
    if(NOT ARG_LABEL MATCHES "^(unit|db|gui|report)$")
        message(FATAL_ERROR "kestrel_add_test(${name}): LABEL must be unit, db, gui or report")
    endif()
    qt_add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE Qt6::Test kestrel_testsupport ${ARG_LIBS})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES
        LABELS ${ARG_LABEL}
        TIMEOUT 300
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;TZ=Asia/Manila;LANG=C.UTF-8;LC_ALL=C.UTF-8")
endfunction()
