# huebox_module(<name> SOURCES file... [HEADERS file...] [DEPS ...]): a static
# library of the listed files of the current folder (an interface library when
# nothing is compiled). Its include root is a folder of its own in the build
# tree holding links to its headers alone (those among SOURCES, and HEADERS,
# built only on some systems) under the folder's path, as
# include/huebox_slider/widgets/slider/imageslider.h; the root is public. So a
# library and whatever links it find the headers of what they link and no
# others: an include of a library not declared in DEPS fails to compile.
function(huebox_module name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS;HEADERS" ${ARGN})
  set(root ${PROJECT_BINARY_DIR}/include/${name})
  file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  file(REMOVE_RECURSE ${root})
  file(MAKE_DIRECTORY ${root}/${folder})
  set(headers ${ARG_SOURCES})
  list(FILTER headers INCLUDE REGEX "\\.h$")
  foreach(header ${headers} ${ARG_HEADERS})
    file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR}/${header} ${root}/${folder}/${header} SYMBOLIC)
  endforeach()
  set(compiled ${ARG_SOURCES})
  list(FILTER compiled EXCLUDE REGEX "\\.h$")
  if(compiled)
    add_library(${name} STATIC ${ARG_SOURCES})
    set(scope PUBLIC)
  else()
    add_library(${name} INTERFACE ${ARG_SOURCES})
    set(scope INTERFACE)
  endif()
  target_include_directories(${name} ${scope} ${root})
  target_link_libraries(${name} ${scope} ${ARG_DEPS})
endfunction()

# huebox_include_root(<folder>): the headers of a folder that is no library
# (tests/, bench/) for the targets of the current directory, by the same kind
# of include root.
function(huebox_include_root folder)
  set(root ${PROJECT_BINARY_DIR}/include/${folder})
  file(MAKE_DIRECTORY ${root})
  file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${root}/${folder} SYMBOLIC)
  include_directories(${root})
endfunction()

# huebox_tests(<folder> LIBS ... [ENV var=value...]): one Qt Test executable per
# tst_*.cpp in the folder, each registered with CTest on the offscreen platform
# at a device pixel ratio of 1; ENV settings come last and so override those.
# With SCALES, each test runs once per screen scale factor, as <test>@<factor>.
function(huebox_tests folder)
  cmake_parse_arguments(ARG "" "" "LIBS;ENV;SCALES" ${ARGN})
  set(env QT_QPA_PLATFORM=offscreen QT_ENABLE_HIGHDPI_SCALING=0 QT_SCALE_FACTOR=1 LC_ALL=C.UTF-8
          HUEBOX_TEST_OUTPUT=${CMAKE_CURRENT_BINARY_DIR} ${ARG_ENV})
  file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/tst_*.cpp)
  foreach(src ${tests})
    get_filename_component(name ${src} NAME_WE)
    add_executable(${name} ${src})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} Qt6::Test)
    if(ARG_SCALES)
      foreach(scale ${ARG_SCALES})
        add_test(NAME ${folder}/${name}@${scale} COMMAND ${name})
        set_tests_properties(${folder}/${name}@${scale} PROPERTIES
          TIMEOUT 120
          ENVIRONMENT "${env};QT_ENABLE_HIGHDPI_SCALING=1;QT_SCALE_FACTOR=${scale}")
      endforeach()
    else()
      add_test(NAME ${folder}/${name} COMMAND ${name})
      set_tests_properties(${folder}/${name} PROPERTIES
        TIMEOUT 120
        ENVIRONMENT "${env}")
    endif()
  endforeach()
endfunction()

# huebox_test_tools(<var> <group> [PROGRAMS name...] [FILES path...] [FOUND label var...]):
# sets <var> when everything the test group needs is there: each program on the
# PATH alone (found into the upper-case variable of its name, '-' as '_'), each file,
# and each variable of a FOUND pair true. What is missing is named: the group is
# dropped with a warning, or, with HUEBOX_REQUIRE_TEST_TOOLS, the configuration fails.
function(huebox_test_tools var group)
  cmake_parse_arguments(ARG "" "" "PROGRAMS;FILES;FOUND" ${ARGN})
  set(missing)
  foreach(program ${ARG_PROGRAMS})
    string(TOUPPER ${program} found)
    string(REPLACE "-" "_" found ${found})
    find_program(${found} ${program} NO_CMAKE_SYSTEM_PATH)
    if(NOT ${found})
      list(APPEND missing ${program})
    endif()
  endforeach()
  foreach(file ${ARG_FILES})
    if(NOT EXISTS ${file})
      list(APPEND missing ${file})
    endif()
  endforeach()
  while(ARG_FOUND)
    list(POP_FRONT ARG_FOUND label found)
    if(NOT ${found})
      list(APPEND missing ${label})
    endif()
  endwhile()
  if(NOT missing)
    set(${var} TRUE PARENT_SCOPE)
    return()
  endif()
  list(JOIN missing ", " names)
  if(HUEBOX_REQUIRE_TEST_TOOLS)
    message(SEND_ERROR "missing for the ${group}: ${names} (HUEBOX_REQUIRE_TEST_TOOLS is on)")
  else()
    message(WARNING "missing for the ${group}: ${names}; they are not registered")
  endif()
  set(${var} FALSE PARENT_SCOPE)
endfunction()
