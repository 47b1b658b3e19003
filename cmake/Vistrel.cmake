# Build helpers shared by every folder.
#
# Each subsystem folder builds two kinds of targets: a Qt-free `<name>_core`
# library from the .cpp files beside it, and (in its ui/ folder) a Qt library.
# Tests sit beside the code as *_test.cpp and are gathered into one GoogleTest
# program per folder.

# vistrel_core_library(<target> [DEPS <targets>...] [EXCLUDE <files>...])
# Builds a static library from every .cpp in the current folder that is not a
# test (*_test.cpp) and not listed in EXCLUDE.
function(vistrel_core_library target)
  cmake_parse_arguments(ARG "" "" "DEPS;EXCLUDE" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  list(FILTER sources EXCLUDE REGEX "_test\\.cpp$")
  foreach(ex IN LISTS ARG_EXCLUDE)
    list(REMOVE_ITEM sources ${CMAKE_CURRENT_SOURCE_DIR}/${ex})
  endforeach()
  if(NOT sources)
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${target} INTERFACE ${ARG_DEPS})
    return()
  endif()
  add_library(${target} STATIC ${sources})
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${target} PUBLIC ${ARG_DEPS})
  set_target_properties(${target} PROPERTIES AUTOMOC OFF)
endfunction()

# vistrel_ui_library(<target> [DEPS <targets>...])
# Builds a static Qt library from every .cpp in the current folder.
function(vistrel_ui_library target)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  list(FILTER sources EXCLUDE REGEX "_test\\.cpp$|/main\\.cpp$")
  if(NOT sources)
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${target} INTERFACE ${ARG_DEPS} Qt6::Widgets Qt6::PrintSupport)
    return()
  endif()
  add_library(${target} STATIC ${sources} ${headers})
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${target} PUBLIC ${ARG_DEPS} Qt6::Widgets Qt6::PrintSupport)
endfunction()

# vistrel_folder_tests(<target> [LIBS <targets>...] [LABELS <labels>...])
# One GoogleTest program from every *_test.cpp in the current folder.
function(vistrel_folder_tests target)
  if(NOT VISTREL_TESTS)
    return()
  endif()
  cmake_parse_arguments(ARG "" "" "LIBS;LABELS" ${ARGN})
  file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
  if(NOT tests)
    return()
  endif()
  add_executable(${target} ${tests})
  target_link_libraries(${target} PRIVATE ${ARG_LIBS} vistrel_testing GTest::gtest GTest::gtest_main)
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  if(NOT ARG_LIBS MATCHES "_ui")
    set_target_properties(${target} PROPERTIES AUTOMOC OFF)
  endif()
  if(NOT ARG_LABELS)
    set(ARG_LABELS quick)
  endif()
  add_test(NAME ${target} COMMAND ${target})
  set_tests_properties(${target} PROPERTIES LABELS "${ARG_LABELS}"
    ENVIRONMENT "VISTREL_SOURCE_DIR=${PROJECT_SOURCE_DIR}")
endfunction()

# vistrel_gui_test(<name> SOURCES <files>... LIBS <targets>...)
# A QtTest program that drives real windows on the offscreen platform.
function(vistrel_gui_test name)
  if(NOT VISTREL_TESTS OR NOT VISTREL_GUI)
    return()
  endif()
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} vistrel_testing Qt6::Test Qt6::Widgets)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES LABELS gui
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;VISTREL_SOURCE_DIR=${PROJECT_SOURCE_DIR}")
endfunction()
