# The licence texts the release carries: the project's own (LICENSE, MIT)
# and those of the compiler's run-time code that is linked into the Windows
# files (docs/licenses/third-party.txt says what that is and under which
# terms). The zips carry them as LICENSE.TXT, the Debian package as its
# machine-readable copyright file.

set(velmora_license_dir ${PROJECT_SOURCE_DIR}/docs/licenses)
# Each: the heading in LICENSE.TXT, then the file (and Debian's short name).
set(velmora_third_party_licenses
  "GCC Runtime Library Exception|GCC-exception-3.1"
  "Zope Public License 2.1 (mingw-w64)|ZPL-2.1"
  "Lucent|Lucent"
  "Keith Marshall|Keith-Marshall")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
  ${PROJECT_SOURCE_DIR}/LICENSE ${velmora_license_dir}/third-party.txt)

# velmora_write_license_txt(FILE): our licence, the list of third-party
# code and the notices it requires, with Windows line ends.
function(velmora_write_license_txt file)
  file(READ ${PROJECT_SOURCE_DIR}/LICENSE text)
  file(READ ${velmora_license_dir}/third-party.txt list)
  string(APPEND text "\n\n${list}")
  foreach(entry IN LISTS velmora_third_party_licenses)
    string(REPLACE "|" ";" entry "${entry}")
    list(GET entry 0 heading)
    list(GET entry 1 name)
    file(READ ${velmora_license_dir}/${name}.txt body)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${velmora_license_dir}/${name}.txt)
    string(LENGTH "${heading}" length)
    string(REPEAT "-" ${length} rule)
    string(APPEND text "\n${heading}\n${rule}\n${body}")
  endforeach()
  file(CONFIGURE OUTPUT ${file} CONTENT "${text}" @ONLY NEWLINE_STYLE CRLF)
endfunction()

# velmora_dep5_text(VAR TEXT): TEXT as the body of a field in a Debian
# control-style file: each line indented by a space, empty lines as " .".
function(velmora_dep5_text var text)
  string(STRIP "${text}" text)
  string(REPLACE "\n" "\n " text " ${text}")
  string(REGEX REPLACE "\n +\n" "\n .\n" text "${text}")
  string(REGEX REPLACE "\n +\n" "\n .\n" text "${text}")  # (two empty lines in a row)
  set(${var} "${text}" PARENT_SCOPE)
endfunction()

# velmora_write_debian_copyright(TEMPLATE FILE): the copyright file, with
# @VELMORA_LICENSE_<name>@ in TEMPLATE replaced by each licence's text
# (<name> with "-" and "." as "_") and @VELMORA_THIRD_PARTY@ by the list.
function(velmora_write_debian_copyright template file)
  file(READ ${PROJECT_SOURCE_DIR}/LICENSE mit)
  string(FIND "${mit}" "Permission is hereby granted" at)
  string(SUBSTRING "${mit}" ${at} -1 mit)
  velmora_dep5_text(VELMORA_LICENSE_Expat "${mit}")
  foreach(entry IN LISTS velmora_third_party_licenses)
    string(REGEX REPLACE ".*\\|" "" name "${entry}")
    file(READ ${velmora_license_dir}/${name}.txt body)
    string(MAKE_C_IDENTIFIER "${name}" id)
    velmora_dep5_text(VELMORA_LICENSE_${id} "${body}")
  endforeach()
  file(READ ${velmora_license_dir}/third-party.txt list)
  # (Its heading is the field's name in the copyright file.)
  string(REGEX REPLACE "^[^\n]*\n=+\n\n" "" list "${list}")
  velmora_dep5_text(VELMORA_THIRD_PARTY "${list}")
  configure_file(${template} ${file} @ONLY)
endfunction()
