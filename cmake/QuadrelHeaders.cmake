# Header visibility follows the links between targets, so that the layer order is enforced by the
# compiler: there is no include path for the whole tree.
#
# Every target gets an include root of its own in the build tree, holding only its own folder
# under its root-relative name (build/include/<target>/platform/media/base -> the source folder),
# so that `#include "platform/media/base/base_filter.h"` resolves in the target itself and in the
# targets that link it (PUBLIC for libraries, PRIVATE for programs). A target that does not link
# another cannot see its headers.
#
# A target whose folder holds the folders of other targets gets its own files and the remaining
# sub-folders one by one, so that it does not expose theirs. A library that only gathers other
# libraries (no sources of its own) sets the property QUADREL_NO_HEADERS.

set(QUADREL_INCLUDE_ROOT ${CMAKE_BINARY_DIR}/include)

# Collects the targets defined in `dir` and below it into the list `out`.
function(quadrel_collect_targets dir out)
    get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
    get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
    foreach(sub IN LISTS subdirs)
        quadrel_collect_targets(${sub} more)
        list(APPEND targets ${more})
    endforeach()
    set(${out} ${targets} PARENT_SCOPE)
endfunction()

# Mirrors the source folder `src` at `dest`: one symbolic link for the whole folder, unless one of
# `others` (folders of other targets) lies inside it.
function(quadrel_mirror_folder src dest others)
    set(nested FALSE)
    foreach(other IN LISTS others)
        string(FIND "${other}/" "${src}/" at)
        if(at EQUAL 0 AND NOT other STREQUAL src)
            set(nested TRUE)
        endif()
    endforeach()
    if(NOT nested)
        get_filename_component(parent ${dest} DIRECTORY)
        file(MAKE_DIRECTORY ${parent})
        file(CREATE_LINK ${src} ${dest} SYMBOLIC)
        return()
    endif()
    file(MAKE_DIRECTORY ${dest})
    file(GLOB entries LIST_DIRECTORIES true RELATIVE ${src} ${src}/*)
    foreach(entry IN LISTS entries)
        if(IS_DIRECTORY ${src}/${entry})
            if(NOT "${src}/${entry}" IN_LIST others)
                quadrel_mirror_folder(${src}/${entry} ${dest}/${entry} "${others}")
            endif()
        else()
            file(CREATE_LINK ${src}/${entry} ${dest}/${entry} SYMBOLIC)
        endif()
    endforeach()
endfunction()

function(quadrel_expose_headers)
    quadrel_collect_targets(${CMAKE_SOURCE_DIR} targets)
    set(exposed)
    set(folders)
    foreach(target IN LISTS targets)
        get_target_property(type ${target} TYPE)
        get_target_property(skip ${target} QUADREL_NO_HEADERS)
        if(type STREQUAL "UTILITY" OR skip)
            continue()
        endif()
        list(APPEND exposed ${target})
        get_target_property(dir ${target} SOURCE_DIR)
        list(APPEND folders ${dir})
    endforeach()
    list(REMOVE_DUPLICATES folders)
    file(REMOVE_RECURSE ${QUADREL_INCLUDE_ROOT})
    foreach(target IN LISTS exposed)
        get_target_property(dir ${target} SOURCE_DIR)
        file(RELATIVE_PATH rel ${CMAKE_SOURCE_DIR} ${dir})
        set(root ${QUADREL_INCLUDE_ROOT}/${target})
        quadrel_mirror_folder(${dir} ${root}/${rel} "${folders}")
        get_target_property(type ${target} TYPE)
        if(type STREQUAL "EXECUTABLE" OR type STREQUAL "MODULE_LIBRARY")
            target_include_directories(${target} PRIVATE ${root})
        elseif(type STREQUAL "INTERFACE_LIBRARY")
            target_include_directories(${target} INTERFACE ${root})
        else()
            target_include_directories(${target} PUBLIC ${root})
        endif()
    endforeach()
endfunction()
