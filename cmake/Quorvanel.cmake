# Helpers shared by the build files.

# qv_subsystem(NAME [DIR folder] DEPS ...): the static library qv_NAME from
# src/<folder>/*.cpp, folder defaulting to NAME (an interface library while
# the folder has no sources). Every library
# joins qv_all, which links the whole engine.
if(NOT TARGET qv_all)
  add_library(qv_all INTERFACE)
endif()

function(qv_subsystem name)
  cmake_parse_arguments(ARG "" "DIR" "DEPS" ${ARGN})
  if(NOT ARG_DIR)
    set(ARG_DIR ${name})
  endif()
  file(GLOB sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/${ARG_DIR}/*.cpp)
  if(sources)
    add_library(qv_${name} STATIC ${sources})
    target_include_directories(qv_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(qv_${name} PUBLIC ${ARG_DEPS})
  else()
    add_library(qv_${name} INTERFACE)
    target_include_directories(qv_${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(qv_${name} INTERFACE ${ARG_DEPS})
  endif()
  target_link_libraries(qv_all INTERFACE qv_${name})
endfunction()

# qv_layers(FILE): one qv_subsystem per line "name: deps..." of FILE, linked
# to the libraries it names and to QV_EXTERNAL_<name>.
function(qv_layers file)
  file(STRINGS ${file} lines REGEX "^[a-z]+:")
  foreach(line ${lines})
    string(REGEX MATCH "^([a-z]+):(.*)$" _ "${line}")
    set(name ${CMAKE_MATCH_1})
    string(STRIP "${CMAKE_MATCH_2}" deps)
    set(targets)
    if(deps)
      string(REPLACE " " ";" deps "${deps}")
      foreach(dep ${deps})
        list(APPEND targets qv_${dep})
      endforeach()
    endif()
    qv_subsystem(${name} DEPS ${targets} ${QV_EXTERNAL_${name}})
  endforeach()
endfunction()

# qv_embed_block(TARGET NAME FILE): embeds FILE into TARGET as the "res:NAME"
# block. The bytes go in through the assembler's .incbin; a generated source
# registers them at start-up of the executable.
function(qv_embed_block target name file)
  string(MAKE_C_IDENTIFIER "${name}" id)
  set(asm ${CMAKE_CURRENT_BINARY_DIR}/embed_${id}.S)
  set(src ${CMAKE_CURRENT_BINARY_DIR}/embed_${id}.cpp)
  file(WRITE ${asm}
    "    .section .rodata\n"
    "    .global qv_embed_${id}_begin\n"
    "    .global qv_embed_${id}_end\n"
    "    .balign 16\n"
    "qv_embed_${id}_begin:\n"
    "    .incbin \"${file}\"\n"
    "qv_embed_${id}_end:\n"
    "    .byte 0\n"
    "    .section .note.GNU-stack,\"\",%progbits\n")
  file(WRITE ${src}
    "#include <string_view>\n"
    "#include \"storage/DataPaths.h\"\n"
    "extern \"C\" const char qv_embed_${id}_begin[];\n"
    "extern \"C\" const char qv_embed_${id}_end[];\n"
    "namespace {\n"
    "struct Registrar {\n"
    "  Registrar() {\n"
    "    qv::RegisterResourceBlock(\"${name}\", std::string_view(qv_embed_${id}_begin,\n"
    "        static_cast<size_t>(qv_embed_${id}_end - qv_embed_${id}_begin)));\n"
    "  }\n"
    "} registrar;\n"
    "}\n")
  set_source_files_properties(${asm} PROPERTIES OBJECT_DEPENDS ${file})
  target_sources(${target} PRIVATE ${asm} ${src})
endfunction()
