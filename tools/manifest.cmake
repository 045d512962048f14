# Included by the project (and by the scripts' own check, tests/scripts/mini): alk_manifest().
#
# Application manifests (resource type 24) name the processor architecture of the program and of
# the side-by-side assemblies it binds, the common controls 6 among them: "x86" for the 32-bit
# deliverables, "amd64" for the x86_64 test vehicle. A 64-bit process asking for the x86 assembly
# fails to load comctl32 (c000007b) wherever one is installed: a win64 prefix of a host that also
# has the 32-bit Wine holds it, a host without 32-bit Wine does not. Each manifest is written from
# its NAME.manifest.in into one folder of the build, where the resource compiler finds it.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(ALK_MANIFEST_ARCH x86)
else()
  set(ALK_MANIFEST_ARCH amd64)
endif()
set(ALK_MANIFEST_DIR "${CMAKE_BINARY_DIR}/manifests")
add_compile_options("$<$<COMPILE_LANGUAGE:RC>:-I${ALK_MANIFEST_DIR}>")
function(alk_manifest template)
  get_filename_component(name "${template}" NAME_WLE)
  configure_file("${template}" "${ALK_MANIFEST_DIR}/${name}" @ONLY)
endfunction()
