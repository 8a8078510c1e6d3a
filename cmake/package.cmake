# What ships: the help files (Japanese and English) beside the programs, and
# the zip a user downloads. Included from windows.cmake before the test section, which ends
# early where GoogleTest is missing.

set(HOPLA_VERSION 2.10)

# The help file. chmcmd (Free Pascal) compiles it; there is no other
# compiler on Linux, and a build without the help would ship a HELP button
# that opens nothing.
find_program(HOPLA_CHMCMD chmcmd)
if(NOT HOPLA_CHMCMD OR NOT EXISTS "${HOPLA_CHMCMD}")
  message(FATAL_ERROR
    "chmcmd not found: it builds the help file Hopla.chm. Install it "
    "(Debian: apt-get install fp-utils; Windows: Free Pascal) or pass "
    "-DHOPLA_CHMCMD=/path/to/chmcmd.")
endif()
find_program(HOPLA_ICONV iconv)
if(NOT HOPLA_ICONV)
  message(FATAL_ERROR "iconv not found: the help's project and contents "
    "are turned into code page 932 with it.")
endif()

# The help files, one for each face of the program: Hopla.chm (Japanese)
# and Hopla-en.chm (English). The pages stay UTF-8 (each says so). HTML Help
# reads the window title and the contents as ANSI text, code page 932 on a
# Japanese Windows, so the Japanese project and contents are converted; the
# English ones are ASCII. The index stays UTF-8: chmcmd makes the index HTML
# Help shows (a binary one, in UTF-16) from it, reading UTF-8. chmcmd writes
# the file into the folder it runs in.
# Every language's pages share the Japanese help's style sheet.
function(hopla_help_file name source_dir to_cp932)
  file(GLOB sources CONFIGURE_DEPENDS ${source_dir}/*)
  set(style ${CMAKE_SOURCE_DIR}/resources/help/style.css)
  set(work ${CMAKE_CURRENT_BINARY_DIR}/help-${name})
  set(chm ${CMAKE_CURRENT_BINARY_DIR}/${name}.chm)
  set(convert)
  if(to_cp932)
    foreach(kind hhp hhc)
      list(APPEND convert COMMAND ${HOPLA_ICONV} -f UTF-8 -t CP932 -o
           ${work}/${name}.${kind} ${source_dir}/${name}.${kind})
    endforeach()
  endif()
  add_custom_command(
    OUTPUT ${chm}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${work}
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${source_dir} ${work}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${style} ${work}/style.css
    ${convert}
    COMMAND ${HOPLA_CHMCMD} --verbosity 0 ${work}/${name}.hhp
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
    DEPENDS ${sources} ${style}
    COMMENT "Compiling the help file ${name}.chm"
    VERBATIM)
endfunction()

set(HOPLA_HELP_DIR ${CMAKE_SOURCE_DIR}/resources/help)
set(HOPLA_HELP_EN_DIR ${CMAKE_SOURCE_DIR}/resources/help-en)
hopla_help_file(Hopla ${HOPLA_HELP_DIR} TRUE)
hopla_help_file(Hopla-en ${HOPLA_HELP_EN_DIR} FALSE)
set(HOPLA_CHM ${CMAKE_CURRENT_BINARY_DIR}/Hopla.chm)
set(HOPLA_CHM_EN ${CMAKE_CURRENT_BINARY_DIR}/Hopla-en.chm)
# Beside Hopla.exe, which opens the one of its face from the folder it is
# started in.
add_custom_target(hopla_help ALL
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${HOPLA_CHM} ${HOPLA_CHM_EN}
          $<TARGET_FILE_DIR:Hopla>
  DEPENDS ${HOPLA_CHM} ${HOPLA_CHM_EN}
  VERBATIM)

# The zip. Its files sit in a folder "Hopla-2.10/": Hopla writes its
# settings into the folder it is started from, so unpacking ("extract here")
# gives Hopla a folder of its own instead of spilling it among whatever else
# lies in Downloads. The read-me has an ASCII name: extractors that ignore
# the zip's UTF-8 flag would garble a Japanese one.
set(package_top Hopla-${HOPLA_VERSION})
set(HOPLA_ZIP ${CMAKE_CURRENT_BINARY_DIR}/Hopla-${HOPLA_VERSION}-win64.zip)
set(package_stage ${CMAKE_CURRENT_BINARY_DIR}/package-stage)
set(package_files Hopla.exe pu.wav Pomclick.wav Hopla.chm Hopla-en.chm
    README.txt)
list(TRANSFORM package_files PREPEND ${package_top}/ OUTPUT_VARIABLE
     package_members)
add_custom_command(
  OUTPUT ${HOPLA_ZIP}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${package_stage}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${package_stage}/${package_top}
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:Hopla>
          ${CMAKE_SOURCE_DIR}/resources/pu.wav
          ${CMAKE_SOURCE_DIR}/resources/Pomclick.wav ${HOPLA_CHM}
          ${HOPLA_CHM_EN} ${CMAKE_SOURCE_DIR}/resources/package/README.txt
          ${package_stage}/${package_top}
  # Files only, no entry for the folder itself.
  COMMAND ${CMAKE_COMMAND} -E chdir ${package_stage}
          ${CMAKE_COMMAND} -E tar cf ${HOPLA_ZIP} --format=zip
          ${package_members}
  DEPENDS Hopla ${HOPLA_CHM} ${HOPLA_CHM_EN}
          ${CMAKE_SOURCE_DIR}/resources/pu.wav
          ${CMAKE_SOURCE_DIR}/resources/Pomclick.wav
          ${CMAKE_SOURCE_DIR}/resources/package/README.txt
  COMMENT "Packing ${HOPLA_ZIP}"
  VERBATIM)
# "package" is free while CPack is not used (CMP0037); part of ALL, so the
# zip the tests unpack is always the one of this build.
add_custom_target(package ALL DEPENDS ${HOPLA_ZIP})

# The tests of what ships: shell scripts under Wine (Linux hosts only).
# A stand-in for a planted DLL, built as winmm.dll and as oleacc.dll, and a
# program that imports both the ordinary way, to show the loader takes them.
set(planted_dir ${CMAKE_CURRENT_BINARY_DIR}/planted)
foreach(name winmm oleacc)
  add_library(planted-${name} MODULE tests/package/planted_dll.cpp)
  set_target_properties(planted-${name} PROPERTIES PREFIX "" OUTPUT_NAME
                        ${name} LIBRARY_OUTPUT_DIRECTORY ${planted_dir})
endforeach()
add_executable(planted-dll-canary tests/package/planted_dll_canary.cpp)
target_link_libraries(planted-dll-canary PRIVATE winmm oleacc)
set_target_properties(planted-dll-canary PROPERTIES RUNTIME_OUTPUT_DIRECTORY
                      ${planted_dir})
# Starts and quits the programs of the unpacked zip, opens the help.
add_executable(hopla-unpacked tests/package/unpacked_hopla.cpp)
target_link_libraries(hopla-unpacked PRIVATE hopla_wine_kit)
if(MINGW)
  target_link_options(hopla-unpacked PRIVATE -municode)
endif()

if(CMAKE_HOST_UNIX)
  set(package_tests ${CMAKE_SOURCE_DIR}/tests/package)
  set(package_work ${CMAKE_CURRENT_BINARY_DIR}/package-tests)
  find_program(HOPLA_OBJDUMP x86_64-w64-mingw32-objdump)
  find_program(HOPLA_CHMLS chmls)
  add_test(NAME Package.ImportsOnlySystemDlls
    COMMAND bash ${package_tests}/imports_test.sh ${HOPLA_OBJDUMP}
            $<TARGET_FILE:Hopla> $<TARGET_FILE:planted-dll-canary>)
  add_test(NAME Package.ZipHoldsItsFilesAndRuns
    COMMAND bash ${package_tests}/zip_test.sh ${HOPLA_ZIP}
            $<TARGET_FILE:hopla-unpacked> ${package_work}/zip)
  add_test(NAME Package.PlantedDllsAreNotLoaded
    COMMAND bash ${package_tests}/planted_dll_test.sh ${HOPLA_ZIP}
            $<TARGET_FILE:hopla-unpacked> ${planted_dir}
            $<TARGET_FILE:Hopla-testswitch> ${package_work}/planted)
  add_test(NAME Package.HelpListsItsPages
    COMMAND bash ${package_tests}/chm_test.sh ${HOPLA_CHMLS} ${HOPLA_CHM}
            ${HOPLA_HELP_DIR} $<TARGET_FILE:hopla-unpacked> 0x411
            「ホプラー。」ヘルプ)
  add_test(NAME Package.EnglishHelpListsItsPages
    COMMAND bash ${package_tests}/chm_test.sh ${HOPLA_CHMLS} ${HOPLA_CHM_EN}
            ${HOPLA_HELP_EN_DIR} $<TARGET_FILE:hopla-unpacked> 0x409
            "Hopla Help")
endif()
