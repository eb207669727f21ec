# Updater: the digest of a whole installation (WriteLocalManifest) against md5sum.
add_executable(updater_manifest_bench ManifestDigestBench.cpp)
target_link_libraries(updater_manifest_bench PRIVATE trovik_updater_core)
set_target_properties(updater_manifest_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
