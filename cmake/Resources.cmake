# Files delivered next to the program (the executables live in the build
# root): the print template "shablon.fr3" that the print and template
# commands load from the program's folder.
configure_file(${PROJECT_SOURCE_DIR}/resources/shablon.fr3 ${PROJECT_BINARY_DIR}/shablon.fr3 COPYONLY)

# templategen: writes resources/shablon.fr3; run it by hand after changing
# the built-in template (templategen resources/shablon.fr3).
add_executable(templategen ${PROJECT_SOURCE_DIR}/tools/templategen/main.cpp)
target_link_libraries(templategen PRIVATE rud_model)
set_target_properties(templategen PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR})
