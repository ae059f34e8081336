# The photographs that the picture tests, the benchmark and the demo choose,
# drawn at build time into build/<preset>/photos (target photos).
set(VCARD_PHOTOS ${CMAKE_BINARY_DIR}/photos)
set(VCARD_PHOTO_FILES
  ${VCARD_PHOTOS}/photo-2400x1600.jpg
  ${VCARD_PHOTOS}/photo-4000x3000.jpg
  ${VCARD_PHOTOS}/transparent-600x600.png
  ${VCARD_PHOTOS}/strip-4000x1.bmp
  ${VCARD_PHOTOS}/small-16x16.bmp
  ${VCARD_PHOTOS}/plain-2048x2048.png)
add_custom_command(OUTPUT ${VCARD_PHOTO_FILES}
  COMMAND ${CMAKE_SOURCE_DIR}/tools/make-photos ${VCARD_PHOTOS}
  DEPENDS ${CMAKE_SOURCE_DIR}/tools/make-photos
  VERBATIM)
add_custom_target(photos DEPENDS ${VCARD_PHOTO_FILES})

# Lets target find the photographs under Wine (VCARD_PHOTOS) and draws them first.
function(vcard_use_photos target)
  add_dependencies(${target} photos)
  target_compile_definitions(${target} PRIVATE VCARD_PHOTOS="Z:${VCARD_PHOTOS}")
endfunction()
