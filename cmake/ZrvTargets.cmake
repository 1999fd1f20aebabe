# Helpers that keep the per-folder CMake files short. Sources are globbed so that adding a
# file to a folder needs no CMake edit; CONFIGURE_DEPENDS re-globs on every build.

# zrv_own_headers(<target> <headers>...): the target's include folder holds its own headers only,
# as links under <build>/include/<target>/<folder below src>/, so that "area/header.h" compiles
# only in targets that link the library owning it: an include that goes up the layers, or to a
# library that is not linked, fails to compile. The links are made at configure time; a new header
# is picked up by the headers' CONFIGURE_DEPENDS glob.
function(zrv_own_headers target)
  file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR}/src ${CMAKE_CURRENT_SOURCE_DIR})
  set(include_dir ${CMAKE_BINARY_DIR}/include/${target})
  file(REMOVE_RECURSE ${include_dir})
  file(MAKE_DIRECTORY ${include_dir}/${folder})
  foreach(header ${ARGN})
    get_filename_component(header_name ${header} NAME)
    file(CREATE_LINK ${header} ${include_dir}/${folder}/${header_name} SYMBOLIC)
  endforeach()
  target_include_directories(${target} PUBLIC ${include_dir})
endfunction()

# zrv_library(<name> [QT] [PUBLIC <targets>...] [DEPS <targets>...]): a static library of every
# .cpp in the current folder. PUBLIC: what its headers include (passed on to whoever links it);
# DEPS: what only its sources use. QT turns on Qt's meta-object compiler for it.
function(zrv_library name)
  cmake_parse_arguments(ARG "QT" "" "PUBLIC;DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  add_library(${name} STATIC ${sources} ${headers})
  zrv_own_headers(${name} ${headers})
  target_link_libraries(${name} PUBLIC ${ARG_PUBLIC} PRIVATE ${ARG_DEPS})
  if(ARG_QT)
    set_target_properties(${name} PROPERTIES AUTOMOC ON AUTORCC ON)
  endif()
endfunction()

# zrv_program_folder(): the program folder of the executables of the current folder. A program
# looks for skin/, DefaultData/, Font/ and SDK/ beside itself (or, installed, in
# <prefix>/share/zrv31); in the build tree they are links to the source tree's folders, so an edit
# of the skin needs no build and any build folder, in or outside the source tree, works.
function(zrv_program_folder)
  foreach(folder skin DefaultData Font SDK)
    if(EXISTS ${PROJECT_SOURCE_DIR}/${folder})
      file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${CMAKE_CURRENT_BINARY_DIR}/${folder} SYMBOLIC)
    endif()
  endforeach()
endfunction()

# zrv_test_dir(<name> [QT] [OWN_MAIN] [DEPS <targets>...] [LABELS <labels>...] [ENV <VAR=value>...]):
# one GoogleTest program of every .cpp in the current folder, its tests registered with CTest one
# by one. QT tests run on the offscreen platform unless ENV says otherwise; OWN_MAIN leaves out
# gtest_main for folders whose main() must create a QApplication first.
function(zrv_test_dir name)
  cmake_parse_arguments(ARG "QT;OWN_MAIN" "" "DEPS;LABELS;ENV" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_executable(${name} ${sources})
  # Test programs find the program folder as the program does.
  zrv_program_folder()
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gmock)
  if(NOT ARG_OWN_MAIN)
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  target_compile_definitions(${name} PRIVATE
    ZRV31_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    ZRV31_TESTDATA_DIR="${PROJECT_SOURCE_DIR}/tests/data")
  if(ARG_QT)
    set_target_properties(${name} PROPERTIES AUTOMOC ON AUTORCC ON)
    if(NOT ARG_ENV MATCHES "QT_QPA_PLATFORM")
      list(APPEND ARG_ENV QT_QPA_PLATFORM=offscreen)
    endif()
  endif()
  if("threaded" IN_LIST ARG_LABELS)
    set_property(GLOBAL APPEND PROPERTY ZRV31_THREADED_TESTS ${name})
  endif()
  # Empty lists would shift the property pairs, so only the ones with values are passed.
  set(properties)
  if(ARG_LABELS)
    list(APPEND properties LABELS "${ARG_LABELS}")
  endif()
  if(ARG_ENV)
    list(APPEND properties ENVIRONMENT "${ARG_ENV}")
  endif()
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES ${properties})
endfunction()
