# A layer is a static library made of every source file under its folder.
function(kiv_layer_library name dir)
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS
       ${dir}/*.cpp ${dir}/*.h ${dir}/*.qrc)
  add_library(${name} STATIC ${sources})
  target_link_libraries(${name} PUBLIC ${ARGN})
endfunction()

# The resources of QRC compiled by rcc into CPP, as the interface library NAME. rcc's output registers itself when
# its object is linked, so the object goes straight onto the link line of every program that links NAME rather
# than into a static library, where nothing would pull it in. Further arguments are what QRC is made by.
function(kiv_resource_objects name qrc cpp)
  add_custom_command(OUTPUT ${cpp}
                     COMMAND Qt6::rcc --name ${name} --output ${cpp} ${qrc}
                     DEPENDS ${qrc} ${ARGN}
                     VERBATIM)
  set_source_files_properties(${cpp} PROPERTIES SKIP_AUTOGEN ON)
  add_library(${name}_objects OBJECT ${cpp})
  target_link_libraries(${name}_objects PRIVATE Qt6::Core)
  add_library(${name} INTERFACE)
  target_link_libraries(${name} INTERFACE ${name}_objects "$<TARGET_OBJECTS:${name}_objects>")
endfunction()
