# Compiler settings shared by every target, and the extra ones that keep the
# product small. The product's options for Microsoft's compiler, with its
# warnings and standard, go to product-cl-options.txt in every build, for
# scripts/lint.sh's compile in that dialect.
set(OBRELLO_CL_WARNINGS /W4)
set(OBRELLO_PRODUCT_CL_OPTIONS /O1 /GS- /GR- /EHs-c-)
string(JOIN " " cl_options ${OBRELLO_CL_WARNINGS} /std:c++${CMAKE_CXX_STANDARD} ${OBRELLO_PRODUCT_CL_OPTIONS})
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/product-cl-options.txt CONTENT "${cl_options}\n")

if(MSVC)
    add_compile_options(${OBRELLO_CL_WARNINGS})
    # Every program carries its C runtime, tests too (one link takes one
    # runtime), so a bare Windows machine needs nothing but system DLLs.
    set(CMAKE_MSVC_RUNTIME_LIBRARY "MultiThreaded$<$<CONFIG:Debug>:Debug>")
    # The product's /GR- /EHs-c- would override CMake's default /GR /EHsc
    # with a warning (D9025): out of the defaults, then; RTTI is cl's default,
    # and every target but the product's gets its exceptions back.
    foreach(flag GR EHsc)
        string(REGEX REPLACE "(^| )[/-]${flag}( |$)" " " CMAKE_CXX_FLAGS "${CMAKE_CXX_FLAGS}")
    endforeach()
    add_compile_options(
        "$<$<AND:$<COMPILE_LANGUAGE:CXX>,$<NOT:$<BOOL:$<TARGET_PROPERTY:OBRELLO_PRODUCT>>>>:/EHsc>")
else()
    add_compile_options(-Wall -Wextra)
endif()

if(OBRELLO_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
    add_link_options(-fsanitize=address,undefined)
endif()

if(MINGW)
    # Tests and product alike carry their runtime, as under MSVC.
    add_link_options(-static -static-libgcc -static-libstdc++)
    # Include folders in the compile database itself: cppcheck reads no
    # response files.
    set(CMAKE_CXX_USE_RESPONSE_FILE_FOR_INCLUDES OFF)
endif()

# Applied to product targets only: tests keep exceptions and the full library.
function(obrello_product_target target)
    set_property(GLOBAL APPEND PROPERTY OBRELLO_PRODUCT_TARGETS ${target})
    get_target_property(sources ${target} SOURCES)
    set_property(GLOBAL APPEND PROPERTY OBRELLO_PRODUCT_SOURCES ${sources})
    if(MSVC)
        set_property(TARGET ${target} PROPERTY OBRELLO_PRODUCT ON)
        target_compile_options(${target} PRIVATE ${OBRELLO_PRODUCT_CL_OPTIONS})
    else()
        target_compile_options(${target} PRIVATE -Os -fno-exceptions -fno-rtti
            -fno-asynchronous-unwind-tables -fno-unwind-tables
            -ffunction-sections -fdata-sections)
    endif()
endfunction()
