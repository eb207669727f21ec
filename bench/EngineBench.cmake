# Engine: extraction of synthetic portal pages, and a whole vantrel search.
add_executable(engine_extract_bench ExtractBench.cpp SyntheticPages.cpp)
target_include_directories(engine_extract_bench PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(engine_extract_bench PRIVATE vantrel_core trovik_platform benchmark::benchmark)
set_target_properties(engine_extract_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
trovik_add_version(engine_extract_bench)

add_executable(vantrel_search_bench VantrelSearchBench.cpp SyntheticPages.cpp)
target_include_directories(vantrel_search_bench PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(vantrel_search_bench PRIVATE trovik_testsupport
                                                   trovik_platform benchmark::benchmark)
set_target_properties(vantrel_search_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
add_dependencies(vantrel_search_bench vantrel_command devserver)
trovik_add_version(vantrel_search_bench)
