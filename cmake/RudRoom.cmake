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

# rud_test(<name> [GUI] [PRINTING] [DATABASE] [ENVIRONMENT <VAR=value>...] DEPS <libs...>):
# one GoogleTest executable of the sources of the current folder. GUI tests
# get a QApplication (offscreen), the others a QCoreApplication. Every case
# is its own CTest test, named <name>.<Suite>.<Case> and labelled with the
# room (the name without "test_": `ctest -L model`). ENVIRONMENT adds to or
# overrides the cases' environment. PRINTING: the program's suites named
# Cups* print to the private CUPS server (fixture "cups", started by
# tests/report/render) and are labelled "printing" too; its other cases see
# no print queue at all, so they never reach the machine's real printers.
# DATABASE: the program's suites named Pg* use the private PostgreSQL server
# (fixture "postgres", started by tests/records) and are labelled "database";
# with PRINTING, its printing suites may print into a register there too.
function(rud_test name)
  cmake_parse_arguments(T "GUI;PRINTING;DATABASE" "" "DEPS;ENVIRONMENT" ${ARGN})
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
  set(server_suites)
  set(postgres_environment)
  if(T_DATABASE)
    set(postgres_dir ${PROJECT_BINARY_DIR}/postgres)
    set(postgres_script ${PROJECT_SOURCE_DIR}/scripts/postgres-test-server.sh)
    target_compile_definitions(${name} PRIVATE
      RUD_DEFAULT_POSTGRES_DIR="${postgres_dir}" RUD_DEFAULT_POSTGRES_SCRIPT="${postgres_script}")
    set(postgres_environment RUD_POSTGRES_DIR=${postgres_dir} RUD_POSTGRES_SCRIPT=${postgres_script})
    list(APPEND server_suites "Pg*")
    # The server is one for the whole run: its tests take turns.
    rud_test_cases(${name} FILTER "Pg*" LIST ${name}_database LABELS ${room} database
      ENVIRONMENT ${T_ENVIRONMENT} ${postgres_environment}
      FIXTURES postgres LOCKS postgres_server)
  endif()
  if(T_PRINTING)
    set(cups_dir ${PROJECT_BINARY_DIR}/cups)
    set(cups_script ${PROJECT_SOURCE_DIR}/scripts/cups-test-server.sh)
    target_compile_definitions(${name} PRIVATE
      RUD_DEFAULT_CUPS_DIR="${cups_dir}" RUD_DEFAULT_CUPS_SCRIPT="${cups_script}")
    list(APPEND server_suites "Cups*")
    set(fixtures cups)
    set(locks cups_server)
    if(T_DATABASE)
      list(APPEND fixtures postgres)
      list(APPEND locks postgres_server)
    endif()
    rud_test_cases(${name} FILTER "Cups*" LIST ${name}_printing LABELS ${room} printing
      ENVIRONMENT ${T_ENVIRONMENT} CUPS_SERVER=${cups_dir}/cups.sock
                  RUD_CUPS_DIR=${cups_dir} RUD_CUPS_SCRIPT=${cups_script} ${postgres_environment}
      FIXTURES ${fixtures} LOCKS ${locks})
  endif()
  if(NOT server_suites)
    rud_test_cases(${name} LABELS ${room} ENVIRONMENT ${T_ENVIRONMENT})
    return()
  endif()
  # The other cases see no print queue and no database server at all.
  list(JOIN server_suites ":" excluded)
  rud_test_cases(${name} FILTER "-${excluded}" LABELS ${room}
    ENVIRONMENT ${T_ENVIRONMENT} CUPS_SERVER=${PROJECT_BINARY_DIR}/cups/no-server.sock)
endfunction()

# rud_test_cases(<program> [FILTER <gtest filter>] [LIST <name>]
#                [LABELS <label>...] [ENVIRONMENT <VAR=value>...]
#                [FIXTURES <fixture>...] [LOCKS <resource>...]):
# registers each case of a GoogleTest program that FILTER selects as its own
# CTest test, so that a red run names the failing case. The cases are listed
# when ctest starts (the program is run with --gtest_list_tests again only
# after it was rebuilt), not at build time, so that a build never runs a
# sanitized program. Their properties are set by a script CTest reads after
# the list: a property value given to the discovery itself loses its list
# separators, and the environment is a list.
function(rud_test_cases program)
  cmake_parse_arguments(C "" "FILTER;LIST" "LABELS;ENVIRONMENT;FIXTURES;LOCKS" ${ARGN})
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
  if(C_FIXTURES)
    file(APPEND ${script} "\n    FIXTURES_REQUIRED [==[${C_FIXTURES}]==] RESOURCE_LOCK [==[${C_LOCKS}]==]")
  endif()
  file(APPEND ${script} ")\nendif()\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${script})
endfunction()
