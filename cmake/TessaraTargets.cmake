# Helpers every folder uses to declare its library, tests and benchmarks alike.
include(GoogleTest)

# tessara_add_test(NAME <name> SOURCES <files...> LIBS <targets...> [GL] [TSAN] [SERIAL])
# One GoogleTest program per call; each test case becomes a CTest test.
# GL marks tests that need a display (they run under xvfb-run in test.sh, and
# carry the label "gl" so a run without a display can exclude them). TSAN marks
# tests whose threads meet in our own code; ./test.sh --sanitize runs them under
# ThreadSanitizer.
function(tessara_add_test)
  cmake_parse_arguments(T "GL;TSAN;SERIAL" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  set_target_properties(${T_NAME} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  set(labels unit)
  if(T_GL)
    set(labels gl)
  endif()
  if(T_TSAN)
    set(labels tsan)   # one label per program: lists do not survive discovery
  endif()
  # SERIAL: tests that read the shared display's own pixels or click on it run
  # alone, so no other test's window lies over theirs.
  set(serial FALSE)
  if(T_SERIAL)
    set(serial TRUE)
  endif()
  math(EXPR timeout "300 * ${TESSARA_TIMEOUT_SCALE}")
  gtest_discover_tests(${T_NAME}
    DISCOVERY_MODE PRE_TEST
    NO_PRETTY_VALUES
    DISCOVERY_TIMEOUT 60
    PROPERTIES LABELS "${labels}" TIMEOUT ${timeout} RUN_SERIAL ${serial}
               ENVIRONMENT "TESSARA_SOURCE_DIR=${CMAKE_SOURCE_DIR}")
  # A second variable does not survive test discovery (the list separator is lost),
  # so the folders also reach the tests as compile definitions.
  target_compile_definitions(${T_NAME} PRIVATE
    TESSARA_SOURCE_DIR_PATH="${CMAKE_SOURCE_DIR}" TESSARA_BINARY_DIR_PATH="${CMAKE_BINARY_DIR}")
endfunction()

# tessara_add_benchmark(NAME bench_<area> SOURCES <files...> LIBS <targets...>)
function(tessara_add_benchmark)
  cmake_parse_arguments(B "" "NAME" "SOURCES;LIBS" ${ARGN})
  if(NOT TARGET benchmark::benchmark)
    return()
  endif()
  add_executable(${B_NAME} ${B_SOURCES})
  target_link_libraries(${B_NAME} PRIVATE ${B_LIBS} benchmark::benchmark)
  set_target_properties(${B_NAME} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
endfunction()

# tessara_add_plugin(NAME Mod04827 SOURCES <files...> LIBS <targets...> [DATA_DIR dir])
# A plug-in is a MODULE with hidden visibility and no "lib" prefix, written to
# build/plugins/ with its data files copied beside it.
function(tessara_add_plugin)
  cmake_parse_arguments(P "" "NAME;DATA_DIR" "SOURCES;LIBS" ${ARGN})
  add_library(${P_NAME} MODULE ${P_SOURCES})
  target_link_libraries(${P_NAME} PRIVATE ${P_LIBS})
  set_target_properties(${P_NAME} PROPERTIES
    PREFIX ""
    LIBRARY_OUTPUT_DIRECTORY ${TESSARA_PLUGIN_DIR}
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON)
  target_link_options(${P_NAME} PRIVATE ${TESSARA_NO_UNDEFINED_LINK_OPTION} -Wl,--exclude-libs,ALL)
  if(P_DATA_DIR)
    file(GLOB_RECURSE data_files CONFIGURE_DEPENDS ${P_DATA_DIR}/*)
    foreach(f ${data_files})
      file(RELATIVE_PATH rel ${P_DATA_DIR} ${f})
      add_custom_command(TARGET ${P_NAME} POST_BUILD
        COMMAND ${CMAKE_COMMAND} -E copy_if_different ${f} ${TESSARA_PLUGIN_DIR}/${rel})
    endforeach()
  endif()
endfunction()

# tessara_add_library(NAME <target> [SHARED] [RECURSE] [HIDDEN] LIBS <public deps...> [PRIVATE_LIBS <deps...>])
# A folder's library from every .cpp in the folder (and its sub-folders with RECURSE),
# so parallel work in one folder never has to edit the same list. Code includes
# headers by their path from the repository root ("platform/Cp932.h").
# Until a folder has sources the target is an interface library.
function(tessara_add_library)
  cmake_parse_arguments(L "SHARED;RECURSE;HIDDEN" "NAME" "LIBS;PRIVATE_LIBS" ${ARGN})
  if(L_RECURSE)
    file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h ${CMAKE_CURRENT_SOURCE_DIR}/*.qrc)
  else()
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h ${CMAKE_CURRENT_SOURCE_DIR}/*.qrc)
  endif()
  set(cpp ${sources})
  list(FILTER cpp INCLUDE REGEX "\\.cpp$")
  if(NOT cpp)
    add_library(${L_NAME} INTERFACE)
    target_include_directories(${L_NAME} INTERFACE ${CMAKE_SOURCE_DIR})
    target_link_libraries(${L_NAME} INTERFACE ${L_LIBS})
    return()
  endif()
  if(L_SHARED)
    add_library(${L_NAME} SHARED ${sources})
  else()
    add_library(${L_NAME} STATIC ${sources})
  endif()
  target_include_directories(${L_NAME} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(${L_NAME} PUBLIC ${L_LIBS} PRIVATE ${L_PRIVATE_LIBS})
  if(L_HIDDEN)
    set_target_properties(${L_NAME} PROPERTIES CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
  endif()
endfunction()

# tessara_add_areas(): adds every sub-folder of the current folder that has a
# CMakeLists.txt as one area (tests/, tools/ and bench/ are laid out this way).
# Only top-most areas are added: a nested CMakeLists.txt is its parent's business.
function(tessara_add_areas)
  file(GLOB_RECURSE area_lists CONFIGURE_DEPENDS RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} */CMakeLists.txt)
  list(SORT area_lists)
  foreach(area_list ${area_lists})
    get_filename_component(area ${area_list} DIRECTORY)
    get_filename_component(parent ${area} DIRECTORY)
    if(parent STREQUAL "" OR NOT EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${parent}/CMakeLists.txt)
      add_subdirectory(${area})
    endif()
  endforeach()
endfunction()

# tessara_scaled_timeout(VAR SECONDS): a test's hang limit, longer in sanitizer builds.
function(tessara_scaled_timeout var seconds)
  math(EXPR scaled "${seconds} * ${TESSARA_TIMEOUT_SCALE}")
  set(${var} ${scaled} PARENT_SCOPE)
endfunction()

# tessara_moc_only_where_needed(): CMAKE_AUTOMOC is on for every target, but a target
# whose sources declare no Q_OBJECT, Q_GADGET or Q_NAMESPACE (nor include a moc file)
# gains nothing from it, and still pays an autogen step and one more compile. Called
# once at the end of the top-level list: switches AUTOMOC off for those targets. A
# source is looked at together with the header of its name beside it, as AUTOMOC does.
function(tessara_moc_only_where_needed)
  set(dirs ${CMAKE_SOURCE_DIR})
  while(dirs)
    list(POP_FRONT dirs dir)
    get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
    list(APPEND dirs ${subdirs})
    get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target ${targets})
      get_target_property(type ${target} TYPE)
      if(type STREQUAL "INTERFACE_LIBRARY" OR type STREQUAL "UTILITY")
        continue()
      endif()
      get_target_property(automoc ${target} AUTOMOC)
      if(NOT automoc)
        continue()
      endif()
      get_target_property(sources ${target} SOURCES)
      get_target_property(source_dir ${target} SOURCE_DIR)
      set(needed FALSE)
      foreach(source ${sources})
        if(source MATCHES "^\\$<" OR NOT source MATCHES "\\.(cpp|h|hpp)$")
          continue()   # generator expressions (other targets' objects), resources
        endif()
        if(NOT IS_ABSOLUTE ${source})
          set(source ${source_dir}/${source})
        endif()
        string(REGEX REPLACE "\\.[^./]+$" ".h" header ${source})
        foreach(file ${source} ${header})
          if(EXISTS ${file})
            file(STRINGS ${file} hits LIMIT_COUNT 1
                 REGEX "Q_OBJECT|Q_GADGET|Q_NAMESPACE|#include[ \t]*[\"<](moc_[^\">]*|[^\">]*\\.moc)[\">]")
            if(hits)
              set(needed TRUE)
              break()
            endif()
          endif()
        endforeach()
        if(needed)
          break()
        endif()
      endforeach()
      if(NOT needed)
        set_target_properties(${target} PROPERTIES AUTOMOC OFF)
      endif()
    endforeach()
  endwhile()
endfunction()
