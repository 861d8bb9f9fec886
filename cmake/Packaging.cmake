# Packaging: stored forms compiled into Windows programs, the product
# payload, and installers made from a stub program and that payload, with
# a signed copy of each.
include_guard(GLOBAL)

if(WIN32)
  enable_language(RC)
endif()

# The build-time tools run on this machine. A native build makes them as
# ordinary targets; a cross build makes them in a helper tree of its own,
# configured with this machine's compiler. That tree is built on every
# build, so edits to the tools take effect; its no-op build costs little.
set(QUIMORA_HOST_TOOLS_DIR "" CACHE PATH
    "A cross build's build-time tools as a native build of this tree made them (its dist/bin); empty: the cross build makes its own")
if(CMAKE_CROSSCOMPILING AND QUIMORA_HOST_TOOLS_DIR)
  set(QUIMORA_FORMC ${QUIMORA_HOST_TOOLS_DIR}/formc)
  set(QUIMORA_MKINSTALLER ${QUIMORA_HOST_TOOLS_DIR}/mkinstaller)
  set(QUIMORA_SKINTOOL ${QUIMORA_HOST_TOOLS_DIR}/skintool)
  set(QUIMORA_FORMC_DEPENDS ${QUIMORA_FORMC})
  set(QUIMORA_MKINSTALLER_DEPENDS ${QUIMORA_MKINSTALLER})
  set(QUIMORA_SKINTOOL_DEPENDS ${QUIMORA_SKINTOOL})
elseif(CMAKE_CROSSCOMPILING)
  include(ExternalProject)
  set(host_tools ${CMAKE_BINARY_DIR}/host-tools)
  set(QUIMORA_FORMC ${host_tools}/dist/formc)
  set(QUIMORA_MKINSTALLER ${host_tools}/dist/mkinstaller)
  set(QUIMORA_SKINTOOL ${host_tools}/dist/skintool)
  # The helper tree compiles through the same compiler cache as this one.
  set(host_launchers)
  foreach(lang C CXX)
    if(CMAKE_${lang}_COMPILER_LAUNCHER)
      list(APPEND host_launchers -DCMAKE_${lang}_COMPILER_LAUNCHER=${CMAKE_${lang}_COMPILER_LAUNCHER})
    endif()
  endforeach()
  ExternalProject_Add(quimora_host_tools
    SOURCE_DIR ${CMAKE_SOURCE_DIR}
    BINARY_DIR ${host_tools}
    CMAKE_ARGS -DQUIMORA_HOST_TOOLS_ONLY=ON -DCMAKE_BUILD_TYPE=Release
               -DQUIMORA_DIST_DIR=${host_tools}/dist ${host_launchers}
    BUILD_COMMAND ${CMAKE_COMMAND} --build ${host_tools} -j2 --target formc mkinstaller skintool
    INSTALL_COMMAND ""
    BUILD_ALWAYS ON
    BUILD_BYPRODUCTS ${QUIMORA_FORMC} ${QUIMORA_MKINSTALLER} ${QUIMORA_SKINTOOL})
  set(QUIMORA_FORMC_DEPENDS quimora_host_tools ${QUIMORA_FORMC})
  set(QUIMORA_MKINSTALLER_DEPENDS quimora_host_tools ${QUIMORA_MKINSTALLER})
  set(QUIMORA_SKINTOOL_DEPENDS quimora_host_tools ${QUIMORA_SKINTOOL})
else()
  set(QUIMORA_FORMC $<TARGET_FILE:formc>)
  set(QUIMORA_MKINSTALLER $<TARGET_FILE:mkinstaller>)
  set(QUIMORA_SKINTOOL $<TARGET_FILE:skintool>)
  set(QUIMORA_FORMC_DEPENDS formc)
  set(QUIMORA_MKINSTALLER_DEPENDS mkinstaller)
  set(QUIMORA_SKINTOOL_DEPENDS skintool)
endif()

# The product payload: every file and folder the installer carries, made
# by content/ (target quimora_payload).
set(QUIMORA_PAYLOAD_DIR ${CMAKE_BINARY_DIR}/content/payload)
set(QUIMORA_PAYLOAD_STAMP ${CMAKE_BINARY_DIR}/content/payload.stamp)

# The product's skin packed from content/skin (target quimora_skin): the
# skin file, and the value the main form stores for it (its length, then
# the file).
set(QUIMORA_SKIN_DIR ${CMAKE_BINARY_DIR}/content/skin)
set(QUIMORA_SKIN_FILE ${QUIMORA_SKIN_DIR}/quimora.skin)
set(QUIMORA_SKIN_STREAM ${QUIMORA_SKIN_DIR}/quimora.skinstream)
# Our dark skin packed from content/skin-dark (target quimora_dark_skin):
# the same two files.
set(QUIMORA_DARK_SKIN_DIR ${CMAKE_BINARY_DIR}/content/skin-dark)
set(QUIMORA_DARK_SKIN_FILE ${QUIMORA_DARK_SKIN_DIR}/nocturna.skin)
set(QUIMORA_DARK_SKIN_STREAM ${QUIMORA_DARK_SKIN_DIR}/nocturna.skinstream)
# A skin of extreme values made from the dark one at build time (target
# quimora_extreme_skin): images missing or far smaller than their margins,
# frame counts that divide nothing.
set(QUIMORA_EXTREME_SKIN_DIR ${CMAKE_BINARY_DIR}/content/skin-extreme)
set(QUIMORA_EXTREME_SKIN_FILE ${QUIMORA_EXTREME_SKIN_DIR}/extreme.skin)

# The test certificate that signs installers, made once per build tree by
# packaging/ (target quimora_signing_certificate).
set(QUIMORA_SIGNING_DIR ${CMAKE_BINARY_DIR}/signing)
set(QUIMORA_SIGNING_CERT ${QUIMORA_SIGNING_DIR}/quimora-test-codesign.crt)
set(QUIMORA_SIGNING_KEY ${QUIMORA_SIGNING_DIR}/quimora-test-codesign.key)
find_program(QUIMORA_OSSLSIGNCODE osslsigncode)
find_program(QUIMORA_OPENSSL openssl)
if(QUIMORA_OSSLSIGNCODE AND QUIMORA_OPENSSL)
  set(QUIMORA_SIGNING ON)
else()
  set(QUIMORA_SIGNING OFF)
  if(WIN32)
    message(WARNING "osslsigncode or openssl is missing: installers are not signed")
  endif()
endif()

# quimora_add_form_resource(TARGET FORM [NAME RESNAME] [SEARCH DIR...]
#                           [DEPENDS FILE...])
# Compiles the form description FORM into an RCDATA resource of the Windows
# program TARGET, named RESNAME (default "T" + the description's name in
# capitals: fmMain.form gives TFMMAIN). Files the description references
# are looked for beside it, then in the SEARCH folders; DEPENDS names the
# files the build makes for it. The resource is made again when the
# description or any file it references changes.
function(quimora_add_form_resource target form)
  cmake_parse_arguments(ARG "" "NAME" "SEARCH;DEPENDS" ${ARGN})
  if(NOT WIN32)
    message(FATAL_ERROR "quimora_add_form_resource: form resources belong to Windows programs")
  endif()
  get_filename_component(form ${form} ABSOLUTE)
  if(ARG_NAME)
    set(name ${ARG_NAME})
  else()
    get_filename_component(stem ${form} NAME_WE)
    string(TOUPPER "T${stem}" name)
  endif()
  set(dir ${CMAKE_CURRENT_BINARY_DIR}/${target}.forms)
  set(bytes ${dir}/${name}.bin)
  set(rc ${dir}/${name}.rc)
  set(search)
  foreach(folder ${ARG_SEARCH})
    list(APPEND search --search ${folder})
  endforeach()
  add_custom_command(OUTPUT ${bytes}
    COMMAND ${QUIMORA_FORMC} ${form} ${bytes} --depfile ${bytes}.d ${search}
    DEPENDS ${form} ${QUIMORA_FORMC_DEPENDS} ${ARG_DEPENDS}
    DEPFILE ${bytes}.d
    COMMENT "Compiling form ${name}"
    VERBATIM)
  file(CONFIGURE OUTPUT ${rc} CONTENT "${name} RCDATA \"${bytes}\"\n")
  # The bytes are a source of the target too, which gives their rule a home
  # in this directory; windres reads them, so it runs again when they change.
  target_sources(${target} PRIVATE ${rc} ${bytes})
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS ${bytes})
endfunction()

# quimora_make_installer(TARGET_STUB OUT_NAME [DESTINATION DIR])
# Appends the product payload to the program TARGET_STUB, giving
# DIR/OUT_NAME.exe (DIR defaults to the dist folder), and signs a copy of
# it, DIR/OUT_NAME-signed.exe. Target OUT_NAME_installer builds both.
function(quimora_make_installer stub name)
  cmake_parse_arguments(ARG "" "DESTINATION" "" ${ARGN})
  if(NOT ARG_DESTINATION)
    set(ARG_DESTINATION ${QUIMORA_DIST_DIR})
  endif()
  set(out ${ARG_DESTINATION}/${name}.exe)
  add_custom_command(OUTPUT ${out}
    COMMAND ${QUIMORA_MKINSTALLER} ${QUIMORA_PAYLOAD_DIR} $<TARGET_FILE:${stub}> ${out}
    DEPENDS ${stub} ${QUIMORA_PAYLOAD_STAMP} ${QUIMORA_MKINSTALLER_DEPENDS}
    COMMENT "Making the installer ${name}.exe"
    VERBATIM)
  set(outputs ${out})
  if(QUIMORA_SIGNING)
    set(signed ${ARG_DESTINATION}/${name}-signed.exe)
    # osslsigncode refuses to overwrite its output.
    add_custom_command(OUTPUT ${signed}
      COMMAND ${CMAKE_COMMAND} -E rm -f ${signed}
      COMMAND ${QUIMORA_OSSLSIGNCODE} sign -certs ${QUIMORA_SIGNING_CERT} -key ${QUIMORA_SIGNING_KEY}
              -h sha256 -n "Instala el Quimora" -in ${out} -out ${signed}
      DEPENDS ${out} ${QUIMORA_SIGNING_CERT} ${QUIMORA_SIGNING_KEY}
      COMMENT "Signing ${name}-signed.exe"
      VERBATIM)
    list(APPEND outputs ${signed})
  endif()
  add_custom_target(${name}_installer ALL DEPENDS ${outputs})
  add_dependencies(${name}_installer quimora_payload)
  if(QUIMORA_SIGNING)
    add_dependencies(${name}_installer quimora_signing_certificate)
  endif()
endfunction()
