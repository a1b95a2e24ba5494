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

# rud_test(<name> [GUI] DEPS <libs...>): one GoogleTest executable of the
# sources of the current folder, registered with CTest. GUI tests get a
# QApplication (offscreen), the others a QCoreApplication.
function(rud_test name)
  cmake_parse_arguments(T "GUI" "" "DEPS" ${ARGN})
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
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;RUD_SOURCE_DIR=${PROJECT_SOURCE_DIR};RUD_BINARY_DIR=${PROJECT_BINARY_DIR}"
    TIMEOUT 600)
endfunction()
