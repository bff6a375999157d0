# The fuzz targets list: target name, entry source, the library it reads
# through. Shared by the replay programs of the test build (this file, from
# tests/CMakeLists.txt) and the libFuzzer build (tests/fuzz/CMakeLists.txt).
set(QUILLON_FUZZ_TARGETS
  layout LayoutFuzzTarget.cpp quillon_render
  catalogue-header CatalogueHeaderFuzzTarget.cpp quillon_document
  screenplay-source ScreenplaySourceFuzzTarget.cpp quillon_document
  settings-store SettingsStoreFuzzTarget.cpp quillon_fc
  input-history InputHistoryFuzzTarget.cpp quillon_app
  window-configuration WindowConfigurationFuzzTarget.cpp quillon_app
  string-reading StringReadingFuzzTarget.cpp quillon_fc
  print-settings PrintSettingsFuzzTarget.cpp quillon_format
  convert ConvertFuzzTarget.cpp quillon_convert
  voice-number VoiceNumberFuzzTarget.cpp quillon_voices
  scene-changes SceneChangesFuzzTarget.cpp quillon_changes)

# In the test build every target is a replay program (no libFuzzer): one
# CTest per target replays its saved corpus and its saved crash reproducers.
if(NOT QUILLON_FUZZ_BUILD)
  set(fuzz_dir "${CMAKE_CURRENT_LIST_DIR}")
  set(fuzz_list ${QUILLON_FUZZ_TARGETS})
  while(fuzz_list)
    list(POP_FRONT fuzz_list fuzz_name fuzz_source fuzz_library)
    add_executable(fuzz_replay_${fuzz_name} "${fuzz_dir}/${fuzz_source}" "${fuzz_dir}/FuzzReplayMain.cpp")
    target_link_libraries(fuzz_replay_${fuzz_name} PRIVATE ${fuzz_library})
    target_include_directories(fuzz_replay_${fuzz_name} PRIVATE "${fuzz_dir}")
    add_test(NAME FuzzReplay.${fuzz_name}
      COMMAND fuzz_replay_${fuzz_name} "${fuzz_dir}/corpus/${fuzz_name}" "${fuzz_dir}/crashes/${fuzz_name}")
    set_tests_properties(FuzzReplay.${fuzz_name} PROPERTIES TIMEOUT 60)
  endwhile()
endif()
