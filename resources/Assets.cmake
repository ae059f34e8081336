# Rebuilds a target's copy of the resources when the artwork, the manifest or
# the ids change (windres reports no dependencies of its own).
file(GLOB VCARD_ASSET_FILES CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/resources/*/*.bmp
  ${CMAKE_SOURCE_DIR}/resources/*/*.ico
  ${CMAKE_SOURCE_DIR}/resources/*/*.cur)
set_source_files_properties(${CMAKE_SOURCE_DIR}/resources/vcardpc.rc PROPERTIES OBJECT_DEPENDS
  "${VCARD_ASSET_FILES};${CMAKE_SOURCE_DIR}/resources/resource.h;${CMAKE_SOURCE_DIR}/resources/vcardpc.manifest")
