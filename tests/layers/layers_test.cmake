# The layering rule on graphs made for it: the build's own graph keeps the rule (or the
# configuration would have stopped), so these are the breaks it must catch.
#   cmake -DQUIL_SOURCE_DIR=<source> -P layers_test.cmake
cmake_minimum_required(VERSION 3.25)
include(${QUIL_SOURCE_DIR}/cmake/QuilLayers.cmake)

set(failures 0)
function(expect_breaks name expected)
  quil_check_layer_edges(breaks ${ARGN})
  if(expected STREQUAL "none")
    if(breaks)
      message(SEND_ERROR "${name}: expected no break, got: ${breaks}")
    endif()
  elseif(NOT breaks MATCHES "${expected}")
    message(SEND_ERROR "${name}: expected a break matching '${expected}', got: '${breaks}'")
  endif()
endfunction()

expect_breaks("the program's own shape" none
  quil_jet>quil_vb quil_dao>quil_jet quil_data>quil_dao quil_schema>quil_dao quil_demo>quil_schema
  quil_frame>quil_schema quil_frame>quil_data quil_db>quil_frame quil_records>quil_frame
  quil_filters>quil_frame quil_reports>quil_frame quil_access>quil_frame
  quil_app>quil_db quil_app>quil_records quil_app>quil_filters quil_app>quil_frame)
expect_breaks("a subsystem linking another" "quil_filters links quil_records: libraries of one layer \\(subsystems\\)"
  quil_records>quil_frame quil_filters>quil_frame quil_filters>quil_records)
expect_breaks("the frame linking a subsystem" "quil_frame \\(frame\\) links quil_records, a library of a higher layer"
  quil_records>quil_frame quil_frame>quil_records)
expect_breaks("a subsystem linking the program" "quil_db \\(subsystems\\) links quil_app"
  quil_app>quil_db quil_db>quil_app)
expect_breaks("the platform linking the file format" "quil_dao \\(platform\\) links quil_schema"
  quil_schema>quil_dao quil_dao>quil_schema)
expect_breaks("a cycle inside the platform" "quil_jet reaches itself through its links: a cycle"
  quil_jet>quil_dao quil_dao>quil_jet)
expect_breaks("a library in no layer" "quil_extra is in no layer"
  quil_extra>quil_frame)
