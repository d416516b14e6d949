# The menu entries and the D-Bus activation file name the installed programs by their full path.
# They are written from their templates for the folder the programs are in: at configure time into
# the build folder, and again at install time for the prefix cmake --install is given, so that
# `cmake --install build --prefix ~/.local` writes entries that start ~/.local/bin/vendigo.
# Runs in the project and, from install(CODE), in the install script.

set(vendigo_prefixed_files
  org.vendigo.Vendigo.desktop org.vendigo.PageEditor.desktop FrontPage.Editor.service
  org.vendigo.Palette.service)

# Exec= splits its line at blanks, so a folder with a blank or a character a shell would read is
# quoted there; the few characters that would need escaping even inside quotes are refused.
function(vendigo_write_prefixed_files source_dir out_dir bindir)
  if(bindir MATCHES "[\"`$\\%]")
    message(FATAL_ERROR "Programs in ${bindir} cannot be named in a menu entry: choose an "
      "installation prefix without \", `, $, \\ or %.")
  endif()
  set(VENDIGO_BINDIR ${bindir})
  set(VENDIGO_QUOTE "")
  if(bindir MATCHES "[ \t'<>~|&;*?#()]")
    set(VENDIGO_QUOTE "\"")
  endif()
  foreach(file IN LISTS vendigo_prefixed_files)
    configure_file(${source_dir}/${file}.in ${out_dir}/${file} @ONLY)
  endforeach()
endfunction()

# dir as GNUInstallDirs gives it (relative to the prefix, or absolute) below the install prefix.
function(vendigo_install_folder dir result)
  if(NOT IS_ABSOLUTE "${dir}")
    set(dir "${CMAKE_INSTALL_PREFIX}/${dir}")
  endif()
  set(${result} "${dir}" PARENT_SCOPE)
endfunction()

# Install time: CMAKE_INSTALL_PREFIX is the prefix given now, and file(INSTALL) adds DESTDIR.
function(vendigo_install_prefixed_files source_dir staging_dir bindir datadir)
  vendigo_install_folder("${bindir}" bindir)
  vendigo_install_folder("${datadir}" datadir)
  vendigo_write_prefixed_files(${source_dir} ${staging_dir} ${bindir})
  file(INSTALL ${staging_dir}/org.vendigo.Vendigo.desktop
    ${staging_dir}/org.vendigo.PageEditor.desktop DESTINATION ${datadir}/applications)
  file(INSTALL ${staging_dir}/FrontPage.Editor.service ${staging_dir}/org.vendigo.Palette.service
    DESTINATION ${datadir}/dbus-1/services)
  # What file(INSTALL) added to the list of installed files belongs to the install script.
  set(CMAKE_INSTALL_MANIFEST_FILES "${CMAKE_INSTALL_MANIFEST_FILES}" PARENT_SCOPE)
endfunction()
