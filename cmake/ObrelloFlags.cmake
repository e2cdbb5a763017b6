# Compiler settings shared by every target, and the extra ones that keep the
# product small.

if(MSVC)
    add_compile_options(/W4)
else()
    add_compile_options(-Wall -Wextra)
endif()

if(OBRELLO_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
    add_link_options(-fsanitize=address,undefined)
endif()

if(MINGW)
    # Tests and product alike carry their runtime with them, so nothing but
    # system DLLs is needed under Wine or on a bare Windows machine.
    add_link_options(-static -static-libgcc -static-libstdc++)
endif()

# Applied to product targets only: tests keep exceptions and the full library.
function(obrello_product_target target)
    if(MSVC)
        target_compile_options(${target} PRIVATE /O1 /GS- /GR- /EHs-c-)
    else()
        target_compile_options(${target} PRIVATE -Os -fno-exceptions -fno-rtti
            -fno-asynchronous-unwind-tables -fno-unwind-tables
            -ffunction-sections -fdata-sections)
    endif()
endfunction()
