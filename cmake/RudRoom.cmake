include(GoogleTest)

# rud_room(<target> DEPS <libs...>): a static library made of every source
# file of the current folder (and its subfolders), public headers included
# from the project root ("base/Errors.h", "report/model/rudXML.h").
function(rud_room target)
  cmake_parse_arguments(R "" "" "DEPS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h
       ${CMAKE_CURRENT_SOURCE_DIR}/*.qrc)
  add_library(${target} STATIC ${sources})
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${target} PUBLIC ${R_DEPS})
endfunction()

# rud_test(<name> [GUI] [PRINTING] [ENVIRONMENT <VAR=value>...] DEPS <libs...>):
# one GoogleTest executable of the sources of the current folder. GUI tests
# get a QApplication (offscreen), the others a QCoreApplication. Every case
# is its own CTest test, named <name>.<Suite>.<Case> and labelled with the
# room (the name without "test_": `ctest -L model`). ENVIRONMENT adds to or
# overrides the cases' environment. PRINTING: the program's suites named
# Cups* print to the private CUPS server (fixture "cups", started by
# tests/report/render) and are labelled "printing" too; its other cases see
# no print queue at all, so they never reach the machine's real printers.
function(rud_test name)
  cmake_parse_arguments(T "GUI;PRINTING" "" "DEPS;ENVIRONMENT" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  if(NOT sources)
    return()  # a room whose tests have not been written yet
  endif()
  add_executable(${name} ${sources})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${T_DEPS} GTest::gtest GTest::gmock rud_testsupport)
  if(T_GUI)
    target_link_libraries(${name} PRIVATE rud_testmain_gui)
  else()
    target_link_libraries(${name} PRIVATE rud_testmain_core)
  endif()
  string(REGEX REPLACE "^test_" "" room ${name})
  if(NOT T_PRINTING)
    rud_test_cases(${name} LABELS ${room} ENVIRONMENT ${T_ENVIRONMENT})
    return()
  endif()
  set(cups_dir ${PROJECT_BINARY_DIR}/cups)
  set(cups_script ${PROJECT_SOURCE_DIR}/scripts/cups-test-server.sh)
  target_compile_definitions(${name} PRIVATE
    RUD_DEFAULT_CUPS_DIR="${cups_dir}" RUD_DEFAULT_CUPS_SCRIPT="${cups_script}")
  rud_test_cases(${name} FILTER "-Cups*" LABELS ${room}
    ENVIRONMENT ${T_ENVIRONMENT} CUPS_SERVER=${cups_dir}/no-server.sock)
  # The server is one for the whole run: its tests take turns.
  rud_test_cases(${name} FILTER "Cups*" LIST ${name}_printing LABELS ${room} printing
    ENVIRONMENT ${T_ENVIRONMENT} CUPS_SERVER=${cups_dir}/cups.sock
                RUD_CUPS_DIR=${cups_dir} RUD_CUPS_SCRIPT=${cups_script}
    PROPERTIES FIXTURES_REQUIRED cups RESOURCE_LOCK cups_server)
endfunction()

# rud_test_cases(<program> [FILTER <gtest filter>] [LIST <name>]
#                [LABELS <label>...] [ENVIRONMENT <VAR=value>...]
#                [PROPERTIES <property> <value>...]):
# registers each case of a GoogleTest program that FILTER selects as its own
# CTest test, so that a red run names the failing case. The cases are listed
# when ctest starts (the program is run with --gtest_list_tests again only
# after it was rebuilt), not at build time, so that a build never runs a
# sanitized program. Their properties are set by a script CTest reads after
# the list: a property value given to the discovery itself loses its list
# separators, and the environment is a list.
function(rud_test_cases program)
  cmake_parse_arguments(C "" "FILTER;LIST" "LABELS;ENVIRONMENT;PROPERTIES" ${ARGN})
  if(NOT C_LIST)
    set(C_LIST ${program}_cases)
  endif()
  set(filter)
  if(C_FILTER)
    set(filter TEST_FILTER ${C_FILTER})
  endif()
  gtest_discover_tests(${program} TEST_PREFIX "${program}." ${filter} TEST_LIST ${C_LIST}
                       DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120)
  set(environment QT_QPA_PLATFORM=offscreen RUD_SOURCE_DIR=${PROJECT_SOURCE_DIR}
                  RUD_BINARY_DIR=${PROJECT_BINARY_DIR} ${C_ENVIRONMENT})
  set(script ${CMAKE_CURRENT_BINARY_DIR}/${C_LIST}_properties.cmake)
  file(WRITE ${script}
    "if(NOT \"\${${C_LIST}}\" STREQUAL \"\")\n"
    "  set_tests_properties(\${${C_LIST}} PROPERTIES\n"
    "    LABELS [==[${C_LABELS}]==]\n"
    "    ENVIRONMENT [==[${environment}]==]\n"
    "    TIMEOUT 600")
  foreach(item IN LISTS C_PROPERTIES)
    file(APPEND ${script} " [==[${item}]==]")
  endforeach()
  file(APPEND ${script} ")\nendif()\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${script})
endfunction()
