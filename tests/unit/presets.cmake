spk_test(tst_presetfile SOURCES unit/presets/tst_presetfile.cpp LIBS core)
spk_test(tst_spktool SOURCES unit/presets/tst_spktool.cpp LIBS core)
target_compile_definitions(tst_spktool PRIVATE SPKTOOL_PATH="$<TARGET_FILE:spktool>")
add_dependencies(tst_spktool spktool)
