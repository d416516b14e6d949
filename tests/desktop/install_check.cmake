# Installs the build into SCRATCH/root as `DESTDIR=... cmake --install` does for a package, then
# checks that every file an installation needs is there, that the installed activation file
# starts the installed editor, and that the installed vendigo-html builds a page from an
# installed template with the same bytes as the portable copy in build/bin.
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
    share/dbus-1/services/FrontPage.Editor.service
    share/dbus-1/services/org.vendigo.Palette.service)
  if(NOT EXISTS ${installed}/${file})
    message(FATAL_ERROR "the installation lacks ${prefix}/${file}")
  endif()
endforeach()

file(READ ${installed}/share/dbus-1/services/FrontPage.Editor.service service)
if(NOT service MATCHES "\nExec=${prefix}/bin/vendigo-pageeditor\n")
  message(FATAL_ERROR "the activation file does not start the installed editor:\n${service}")
endif()
file(READ ${installed}/share/dbus-1/services/org.vendigo.Palette.service service)
if(NOT service MATCHES "\nExec=${prefix}/bin/vendigo\n")
  message(FATAL_ERROR "the activation file does not start the installed palette:\n${service}")
endif()

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
# One user's installations, whose prefixes are not the build's: see palette_starts_the_editor.sh.
foreach(prefix "${SCRATCH}/home/Jane Doe/.local" ${SCRATCH}/opt/vendigo)
  run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})
  set(VENDIGO_BUS_SERVICE_DIR ${prefix}/share/dbus-1/services)
  configure_file(${CMAKE_CURRENT_LIST_DIR}/../support/session-bus.conf.in ${SCRATCH}/bus.conf @ONLY)
  run(${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen QTWEBENGINE_DISABLE_SANDBOX=1
      XDG_CONFIG_HOME=${SCRATCH}/config XDG_DATA_HOME=${SCRATCH}/data dbus-run-session
      --config-file=${SCRATCH}/bus.conf -- sh ${CMAKE_CURRENT_LIST_DIR}/palette_starts_the_editor.sh
      ${prefix})
endforeach()
message(STATUS "installed into ${root}: every file there, the page as the portable copy makes it")
