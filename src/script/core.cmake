# The language core: values, lexer, parser, tree evaluation and the entry point.
find_package(FLEX REQUIRED)
find_package(BISON 3.8 REQUIRED)

flex_target(kirabi_script_lexer ${CMAKE_CURRENT_LIST_DIR}/lexer.l ${CMAKE_CURRENT_BINARY_DIR}/lexer.cpp)
bison_target(kirabi_script_parser ${CMAKE_CURRENT_LIST_DIR}/parser.y ${CMAKE_CURRENT_BINARY_DIR}/parser.cpp
  DEFINES_FILE ${CMAKE_CURRENT_BINARY_DIR}/parser.hpp
  COMPILE_FLAGS "-Wno-precedence -Wno-conflicts-sr")
add_flex_bison_dependency(kirabi_script_lexer kirabi_script_parser)

# Generated code is not ours to tidy: keep its warnings out of the build.
set_source_files_properties(${FLEX_kirabi_script_lexer_OUTPUTS} ${BISON_kirabi_script_parser_OUTPUT_SOURCE}
  PROPERTIES COMPILE_OPTIONS "-Wno-unused-parameter;-Wno-sign-compare;-Wno-unused-function")

list(APPEND KIRABI_SCRIPT_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/value.cpp
  ${CMAKE_CURRENT_LIST_DIR}/constant_table.cpp
  ${CMAKE_CURRENT_LIST_DIR}/script_run.cpp
  ${CMAKE_CURRENT_LIST_DIR}/nodes_support.cpp
  ${CMAKE_CURRENT_LIST_DIR}/nodes_statements.cpp
  ${CMAKE_CURRENT_LIST_DIR}/nodes_assignment.cpp
  ${CMAKE_CURRENT_LIST_DIR}/nodes_expressions.cpp
  ${CMAKE_CURRENT_LIST_DIR}/nodes_calls.cpp
  ${CMAKE_CURRENT_LIST_DIR}/parse.cpp
  ${CMAKE_CURRENT_LIST_DIR}/builtin_table.cpp
  ${CMAKE_CURRENT_LIST_DIR}/builtin_args.cpp
  ${CMAKE_CURRENT_LIST_DIR}/qv_script.cpp
  ${FLEX_kirabi_script_lexer_OUTPUTS}
  ${BISON_kirabi_script_parser_OUTPUT_SOURCE})
