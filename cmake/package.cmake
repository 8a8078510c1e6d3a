# What ships: the Japanese help file beside the programs. Included from
# windows.cmake before the test section, which ends early where GoogleTest
# is missing.

set(HOPLA_VERSION 2.10)

# The help file. chmcmd (Free Pascal) compiles it; there is no other
# compiler on Linux, and a build without the help would ship a HELP button
# that opens nothing.
find_program(HOPLA_CHMCMD chmcmd)
if(NOT HOPLA_CHMCMD)
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

set(HOPLA_HELP_DIR ${CMAKE_SOURCE_DIR}/resources/help)
file(GLOB HOPLA_HELP_SOURCES CONFIGURE_DEPENDS ${HOPLA_HELP_DIR}/*)
set(help_work ${CMAKE_CURRENT_BINARY_DIR}/help)
set(HOPLA_CHM ${CMAKE_CURRENT_BINARY_DIR}/Hopla.chm)
# The pages stay UTF-8 (each says so). HTML Help reads the window title and
# the contents in the help file's code page, 932 for Japanese, so the project
# and the contents are converted. The index stays UTF-8: chmcmd makes the
# index HTML Help shows (a binary one, in UTF-16) from it, reading UTF-8.
# chmcmd writes the file into the folder it runs in.
add_custom_command(
  OUTPUT ${HOPLA_CHM}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${help_work}
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${HOPLA_HELP_DIR} ${help_work}
  COMMAND ${HOPLA_ICONV} -f UTF-8 -t CP932 -o ${help_work}/Hopla.hhp
          ${HOPLA_HELP_DIR}/Hopla.hhp
  COMMAND ${HOPLA_ICONV} -f UTF-8 -t CP932 -o ${help_work}/Hopla.hhc
          ${HOPLA_HELP_DIR}/Hopla.hhc
  COMMAND ${HOPLA_CHMCMD} --verbosity 0 ${help_work}/Hopla.hhp
  WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
  DEPENDS ${HOPLA_HELP_SOURCES}
  COMMENT "Compiling the help file Hopla.chm"
  VERBATIM)
# Beside Hopla.exe, which opens it from the folder it is started in.
add_custom_target(hopla_help ALL
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${HOPLA_CHM}
          $<TARGET_FILE_DIR:Hopla>/Hopla.chm
  DEPENDS ${HOPLA_CHM}
  VERBATIM)
