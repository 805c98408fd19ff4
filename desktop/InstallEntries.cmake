# Run by `cmake --install`: writes the desktop entries with the programs' installed folder, which
# only the install knows (--prefix may differ from the configured prefix), and installs them.
# Set before: TESSARYN_ENTRIES (the .desktop.in templates), TESSARYN_ENTRY_BINDIR (the programs'
# folder, relative to the prefix or absolute), TESSARYN_ENTRY_DESTINATION (likewise, for the
# entries) and TESSARYN_ENTRY_WORK (a folder of the build to write them in first).

cmake_path(ABSOLUTE_PATH TESSARYN_ENTRY_BINDIR BASE_DIRECTORY "${CMAKE_INSTALL_PREFIX}"
           NORMALIZE OUTPUT_VARIABLE _bindir)
cmake_path(ABSOLUTE_PATH TESSARYN_ENTRY_DESTINATION BASE_DIRECTORY "${CMAKE_INSTALL_PREFIX}"
           NORMALIZE OUTPUT_VARIABLE _destination)
string(REGEX REPLACE "(.)/$" "\\1" _bindir "${_bindir}")
if(_bindir MATCHES "[\n\r\t]")
  message(FATAL_ERROR "A desktop entry cannot name a program in \"${_bindir}\"")
endif()

# Inside Exec's quotes '"', '`', '$' and '\' take a backslash and '%' is written twice; then, as in
# every string value of an entry, each backslash is written twice.
string(REGEX REPLACE "([\"`$\\\\])" "\\\\\\1" EXEC_BINDIR "${_bindir}")
string(REPLACE "%" "%%" EXEC_BINDIR "${EXEC_BINDIR}")
string(REPLACE "\\" "\\\\" EXEC_BINDIR "${EXEC_BINDIR}")
string(REPLACE "\\" "\\\\" TRYEXEC_BINDIR "${_bindir}")

foreach(_template IN LISTS TESSARYN_ENTRIES)
  cmake_path(GET _template STEM _name)
  set(_entry "${TESSARYN_ENTRY_WORK}/${_name}.desktop")
  configure_file("${_template}" "${_entry}" @ONLY)
  file(INSTALL "${_entry}" DESTINATION "${_destination}"
       PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
  # The copy in the build goes again: an install as root leaves no file there that the owner of
  # the build could not replace.
  file(REMOVE "${_entry}")
endforeach()
