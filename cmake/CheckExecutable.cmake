# Checks the built Obrello.exe: a program for its processor, importing only
# Windows system DLLs, with the hardening marks a binary scanner looks for,
# the relocations address randomisation needs, no symbol table, within its
# size budget. OBJDUMP: GNU's or LLVM's. SAFESEH=ON: an i686 link by
# Microsoft's linker, which lists the runtime's exception handlers rather
# than marking none. OBJECTS: those of a program started without the runtime.
#   cmake -DEXE=path -DOBJDUMP=path -DARCH=i686|x86_64 -DMAX_BYTES=n [-DSAFESEH=ON]
#         [-DOBJECTS=a.obj;b.obj... -DOBJECT_COUNT=n] -P CheckExecutable.cmake

cmake_minimum_required(VERSION 3.25)

set(SYSTEM_DLLS KERNEL32.DLL USER32.DLL COMCTL32.DLL MSVCRT.DLL GDI32.DLL ADVAPI32.DLL)

# Each build's objdump format, optional header magic, and the marks it must
# and must not carry: no-SEH declares i686's handler table empty; x86_64
# unwinds from tables instead, and takes high-entropy randomisation.
if(ARCH STREQUAL "i686")
    set(format pei-i386)
    set(magic "010b[ \t]+\\(PE32\\)")
    set(marks DYNAMIC_BASE NX_COMPAT NO_SEH TERMINAL_SERVICE_AWARE)
    if(SAFESEH)
        list(REMOVE_ITEM marks NO_SEH)
    endif()
    set(absent)
elseif(ARCH STREQUAL "x86_64")
    set(format pei-x86-64)
    set(magic "020b[ \t]+\\(PE32\\+\\)")
    set(marks DYNAMIC_BASE NX_COMPAT HIGH_ENTROPY_VA TERMINAL_SERVICE_AWARE)
    set(absent NO_SEH)
else()
    message(FATAL_ERROR "no expectations for the processor '${ARCH}'")
endif()

if(NOT OBJDUMP)
    message(FATAL_ERROR "no objdump to read ${EXE} with: install LLVM's llvm-objdump")
endif()
execute_process(COMMAND ${OBJDUMP} -p ${EXE} OUTPUT_VARIABLE headers RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "cannot read ${EXE}")
endif()
# LLVM's objdump names the format and one mark otherwise, and lists only the
# relocations' directory.
set(relocations "PE File Base Relocations")
if(headers MATCHES "file format coff-")
    string(REPLACE "file format coff-" "file format pei-" headers "${headers}")
    string(REPLACE "TERMINAL_SERVER_AWARE" "TERMINAL_SERVICE_AWARE" headers "${headers}")
    set(relocations "\nEntry 5 [0-9a-f]+ 0*[1-9a-f][0-9a-f]* Base Relocation Directory")
endif()
if(NOT headers MATCHES "file format ${format}\n")
    message(FATAL_ERROR "${EXE} is not a ${format} file, as an ${ARCH} build must be")
endif()
if(NOT headers MATCHES "\nMagic[ \t]+${magic}")
    message(FATAL_ERROR "${EXE} lacks the optional header of an ${ARCH} program")
endif()
string(REGEX MATCHALL "DLL Name: [^\r\n]+" names "${headers}")
if(NOT names)
    message(FATAL_ERROR "no imports found in ${EXE}")
endif()
foreach(entry ${names})
    string(REPLACE "DLL Name: " "" dll "${entry}")
    string(TOUPPER "${dll}" dll)
    message(STATUS "imports ${dll}")
    list(APPEND imported ${dll})
    if(NOT dll IN_LIST SYSTEM_DLLS)
        message(FATAL_ERROR "${EXE} imports ${dll}, which is not a Windows system DLL")
    endif()
endforeach()
# Older Windows has the dialog's common controls 6 only once the program loads COMCTL32.DLL.
if(NOT COMCTL32.DLL IN_LIST imported)
    message(FATAL_ERROR "${EXE} does not import COMCTL32.DLL")
endif()
if(NOT headers MATCHES "Subsystem[ \t]+00000002")
    message(FATAL_ERROR "${EXE} is not a Windows GUI program: it would open a console")
endif()

set(listed "DllCharacteristics[^\n]*\n([ \t]+[A-Z_]+\n)*[ \t]+")
foreach(mark ${marks})
    if(NOT headers MATCHES "${listed}${mark}\n")
        message(FATAL_ERROR "${EXE} lacks the ${mark} mark")
    endif()
endforeach()
foreach(mark ${absent})
    if(headers MATCHES "${listed}${mark}\n")
        message(FATAL_ERROR "${EXE} carries the ${mark} mark, which an ${ARCH} build must not")
    endif()
endforeach()
if(NOT headers MATCHES "${relocations}")
    message(FATAL_ERROR "${EXE} has no relocations for a random base address")
endif()

# Stripped: the COFF header after the "PE\0\0" signature (e_lfanew at 0x3C
# locates it) names no symbol table.
file(READ ${EXE} lfanew OFFSET 60 LIMIT 4 HEX)
string(REGEX REPLACE "(..)(..)(..)(..)" "0x\\4\\3\\2\\1" lfanew "${lfanew}")
math(EXPR lfanew "${lfanew}")
file(READ ${EXE} header OFFSET ${lfanew} LIMIT 20 HEX)
if(NOT header MATCHES "^50450000")
    message(FATAL_ERROR "${EXE} has no PE signature at ${lfanew}")
elseif(NOT header MATCHES "0000000000000000$")
    message(FATAL_ERROR "${EXE} carries a symbol table: it was linked without stripping")
endif()

# Only the runtime's start-up code runs a constructor list: a global set by a
# function call would stay zero for users yet pass every test, which has it.
list(LENGTH OBJECTS object_count)
if(DEFINED OBJECT_COUNT AND NOT object_count EQUAL OBJECT_COUNT)
    message(FATAL_ERROR "given ${object_count} objects, not the product's ${OBJECT_COUNT}")
endif()
foreach(object ${OBJECTS})
    execute_process(COMMAND ${OBJDUMP} -h ${object} OUTPUT_VARIABLE sections RESULT_VARIABLE failed)
    if(failed OR NOT sections MATCHES "\n +0 +[^ ]+ +[0-9a-fA-F]+ ")
        message(FATAL_ERROR "objdump read no section headers from ${object}")
    elseif(sections MATCHES "[ \t](\\.ctors|\\.init_array)")
        message(FATAL_ERROR "${object} holds a dynamic initialiser, which its start never runs")
    endif()
endforeach()
message(STATUS "no dynamic initialiser in ${object_count} objects")

file(SIZE ${EXE} size)
message(STATUS "size ${size} bytes (budget ${MAX_BYTES})")
if(size GREATER MAX_BYTES)
    message(FATAL_ERROR "${EXE} is ${size} bytes, over the budget of ${MAX_BYTES}")
endif()
