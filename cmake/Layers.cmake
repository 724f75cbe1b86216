# Each layer publishes an include folder of its own in the build tree that
# holds only a link named after the layer, so that "win/Window.h" is found
# from every layer above win/ while "app/Main.h" is found only where app/ is
# linked: an include the wrong way fails to compile.
function(pathnook_layer_includes target layer)
  set(root ${CMAKE_BINARY_DIR}/include/${layer})
  file(MAKE_DIRECTORY ${root})
  file(REMOVE ${root}/${layer})
  file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${layer} ${root}/${layer} SYMBOLIC)
  target_include_directories(${target} PUBLIC ${root})
endfunction()
