# One test program per *_test.cpp file in the calling folder, linked against the given libraries
# (never recompiling their sources), run with Qt's offscreen platform so widgets need no display.
find_package(GTest REQUIRED)

function(quil_add_tests)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
  file(RELATIVE_PATH rel ${PROJECT_SOURCE_DIR}/tests ${CMAKE_CURRENT_SOURCE_DIR})
  string(REPLACE "/" "_" prefix "${rel}")
  foreach(src IN LISTS test_sources)
    get_filename_component(name ${src} NAME_WE)
    set(target ${prefix}_${name})
    add_executable(${target} ${src})
    target_link_libraries(${target} PRIVATE ${ARG_LIBS} quil_test_support GTest::gtest GTest::gmock)
    if(QUIL_SANITIZE)
      # A test's own source is assertions over the program's calls, which run in the libraries
      # (built at -O1); at -O0 it compiles in half the time, and the suite's run is the same.
      target_compile_options(${target} PRIVATE -O0)
    endif()
    set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    add_test(NAME ${target} COMMAND ${target})
    set_tests_properties(${target} PROPERTIES
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QUIL_PROGRAM_DIR=${QUIL_PROGRAM_DIR}"
      # A hang's stop, not a speed limit: the largest programs (backups, repair) take a minute
      # under the sanitizers alone, and two or three times that with a build beside them.
      TIMEOUT 400)
  endforeach()
endfunction()
