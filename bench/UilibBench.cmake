# uilib benchmark: building and first painting a window of about 80 controls.
find_package(Qt6 REQUIRED COMPONENTS Gui)
set(UILIB_BENCH_FILES UilibBench.xml)
set(UILIB_BENCH_IMAGES button.png frame.png sample_bg.png)
set(UILIB_BENCH_ZIP ${CMAKE_CURRENT_BINARY_DIR}/uilib-bench.zip)
set(UILIB_BENCH_STAGE ${CMAKE_CURRENT_BINARY_DIR}/uilib-bench-skin)
file(MAKE_DIRECTORY ${UILIB_BENCH_STAGE})
add_custom_command(
    OUTPUT ${UILIB_BENCH_ZIP}
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_SOURCE_DIR}/data/UilibBench.xml ${UILIB_BENCH_STAGE}/
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/uilib/tests/data ${UILIB_BENCH_STAGE}
    COMMAND ${CMAKE_COMMAND} -E rm -f ${UILIB_BENCH_ZIP}
    COMMAND ${CMAKE_COMMAND} -E tar cf ${UILIB_BENCH_ZIP} --format=zip ${UILIB_BENCH_FILES} ${UILIB_BENCH_IMAGES}
    WORKING_DIRECTORY ${UILIB_BENCH_STAGE}
    DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/data/UilibBench.xml
    COMMENT "Packing the uilib benchmark skin")
add_executable(uilib_bench UilibBench.cpp ${UILIB_BENCH_ZIP})
set_target_properties(uilib_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${TROVIK_TEST_BIN_DIR})
target_compile_definitions(uilib_bench PRIVATE UILIB_BENCH_ZIP="${UILIB_BENCH_ZIP}")
target_link_libraries(uilib_bench PRIVATE trovik_uilib benchmark::benchmark Qt6::Gui)
