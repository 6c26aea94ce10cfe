# Every target the project builds links the interface target of its warnings, so that one
# place says which warnings the code must be free of, and a target added later cannot forget
# them.

function(_vasora_targets_below dir out)
    get_property(targets DIRECTORY "${dir}" PROPERTY BUILDSYSTEM_TARGETS)
    get_property(subdirs DIRECTORY "${dir}" PROPERTY SUBDIRECTORIES)
    foreach(sub IN LISTS subdirs)
        _vasora_targets_below("${sub}" more)
        list(APPEND targets ${more})
    endforeach()
    set(${out} "${targets}" PARENT_SCOPE)
endfunction()

# vasora_link_warnings(interface-target)
function(vasora_link_warnings warnings)
    _vasora_targets_below("${PROJECT_SOURCE_DIR}" targets)
    foreach(t IN LISTS targets)
        get_target_property(type ${t} TYPE)
        if(type MATCHES "^(STATIC_LIBRARY|SHARED_LIBRARY|MODULE_LIBRARY|OBJECT_LIBRARY|EXECUTABLE)$")
            get_target_property(dir ${t} SOURCE_DIR)
            file(RELATIVE_PATH rel "${PROJECT_SOURCE_DIR}" "${dir}")
            if(rel MATCHES "^(tests|bench)(/|$)")
                set_target_properties(${t} PROPERTIES VASORA_TEST_CODE ON)
            endif()
            target_link_libraries(${t} PRIVATE ${warnings})
        endif()
    endforeach()
endfunction()
