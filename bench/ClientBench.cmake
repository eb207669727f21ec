# Client: a whole search through the real main window against devserver.
add_executable(client_search_bench ClientSearchBench.cpp)
target_link_libraries(client_search_bench PRIVATE trovik_client_ui trovik_uilib_testing
                                                  trovik_testsupport
                                                  benchmark::benchmark)
set_target_properties(client_search_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
add_dependencies(client_search_bench trovik_skin vantrel devserver)
# The benchmark copies sample portal pages from the source tree.
target_compile_definitions(client_search_bench PRIVATE TROVIK_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
