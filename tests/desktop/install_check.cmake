# Installs the build into SCRATCH/root as `DESTDIR=... cmake --install` does for a package, then
# checks that every file an installation needs is there, that the installed activation file
# and menu entries start the installed programs, and that the installed vendigo-html builds a page
# from an installed template with the same bytes as the portable copy in build/bin. Then installs
# for two other prefixes, as one user would, and starts each installed palette on a bus that only
# knows that installation: its start must have the bus start the editor installed beside it.
set(root ${SCRATCH}/root)
set(prefix /usr)
file(REMOVE_RECURSE ${SCRATCH})
file(MAKE_DIRECTORY ${SCRATCH})

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "failed (${status}): ${ARGN}\n${out}${err}")
  endif()
  set(out "${out}" PARENT_SCOPE)
endfunction()

run(${CMAKE_COMMAND} -E env DESTDIR=${root}
    ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})

set(installed ${root}${prefix})
foreach(file
    bin/vendigo bin/vendigo-pageeditor bin/vendigo-html bin/vendigo-cart
    share/vendigo/templates/single_product.zft share/vendigo/templates/single_product.inf
    share/vendigo/templates/single_product.bmp share/vendigo/templates/product_range.zft
    share/vendigo/templates/no_pre.bmp
    share/applications/org.vendigo.Vendigo.desktop
    share/applications/org.vendigo.PageEditor.desktop
    share/icons/hicolor/scalable/apps/org.vendigo.Vendigo.svg
    share/metainfo/org.vendigo.Vendigo.metainfo.xml
    share/dbus-1/services/FrontPage.Editor.service)
  if(NOT EXISTS ${installed}/${file})
    message(FATAL_ERROR "the installation lacks ${prefix}/${file}")
  endif()
endforeach()

# The paths in the installed files follow the prefix given to cmake --install, not the one the
# build was configured with.
function(check_paths installed prefix)
  foreach(file applications/org.vendigo.Vendigo.desktop applications/org.vendigo.PageEditor.desktop
      dbus-1/services/FrontPage.Editor.service)
    get_filename_component(name ${file} NAME)
    file(READ ${SOURCE_DIR}/desktop/${name}.in template)
    string(REPLACE "@VENDIGO_BINDIR@" "${prefix}/bin" expected "${template}")
    file(READ ${installed}/share/${file} actual)
    if(NOT actual STREQUAL expected)
      message(FATAL_ERROR "${file} does not name the programs in ${prefix}/bin:\n${actual}")
    endif()
  endforeach()
endfunction()
check_paths(${installed} ${prefix})

run(${DESKTOP_FILE_VALIDATE} ${installed}/share/applications/org.vendigo.Vendigo.desktop
    ${installed}/share/applications/org.vendigo.PageEditor.desktop)

# Both copies read the same settings, so only the installation can make a difference.
file(WRITE ${SCRATCH}/pelluxfp.ini
  "[CONFIGS]\nCurrency=€\nCGI_BIN=https://shop.example/cgi-bin/pellux.cgi\n")
set(template share/vendigo/templates/single_product.zft)
run(${installed}/bin/vendigo-html --settings ${SCRATCH}/pelluxfp.ini page
    --template ${installed}/${template} --input ${INPUT})
set(installed_page "${out}")
run(${PORTABLE_HTML} --settings ${SCRATCH}/pelluxfp.ini page
    --template ${BUILD_DIR}/bin/single_product.zft --input ${INPUT})
if(NOT installed_page STREQUAL out OR installed_page STREQUAL "")
  message(FATAL_ERROR "the installed vendigo-html built another page:\n${installed_page}")
endif()

foreach(prefix ${SCRATCH}/home/.local ${SCRATCH}/opt/vendigo)
  run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})
  check_paths(${prefix} ${prefix})
  set(VENDIGO_BUS_SERVICE_DIR ${prefix}/share/dbus-1/services)
  configure_file(${BUS_CONFIG} ${SCRATCH}/session-bus.conf @ONLY)
  run(${CMAKE_COMMAND} -E env XDG_CONFIG_HOME=${SCRATCH}/config XDG_DATA_HOME=${SCRATCH}/data
      ${DBUS_RUN_SESSION} --config-file=${SCRATCH}/session-bus.conf --
      sh ${ACTIVATION_CHECK} ${prefix})
endforeach()
message(STATUS "installed into ${root}: every file there, the page as the portable copy makes it; "
  "installed for two more prefixes: each palette had the bus start its own editor")
