# Fails the build when an include breaks the layout of the sources under ROOT:
#  - src/core names a Qt or QScintilla header (even behind a preprocessor condition);
#  - a window room of src/gui names a header of its own floor or of one above it (app/ is the
#    top floor: what the rooms below need of the application reaches them through interfaces);
#  - an include of a project header does not name its layer from src/ ("project/X.h" for
#    "core/project/X.h" or "gui/project/X.h"), in the sources, tests, benchmarks or fuzz targets.
set(bad "")
macro(report file text)
    file(RELATIVE_PATH shown "${ROOT}" "${file}")
    list(APPEND bad "${shown}: ${text}")
endmacro()

file(GLOB_RECURSE core "${ROOT}/src/core/*.h" "${ROOT}/src/core/*.cpp")
foreach(f IN LISTS core)
    file(STRINGS "${f}" hits REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"](Q[A-Za-z]+|Qsci/)")
    foreach(hit IN LISTS hits)
        report("${f}" "the core stays Qt-free: ${hit}")
    endforeach()
endforeach()

# The language client stands on the core and Qt Core: below the windows and the CLI, above the
# core, which never names it.
foreach(f IN LISTS core)
    file(STRINGS "${f}" hits REGEX "^[ \t]*#[ \t]*include[ \t]*\"language/")
    foreach(hit IN LISTS hits)
        report("${f}" "the core is below the language client: ${hit}")
    endforeach()
endforeach()
file(GLOB_RECURSE language "${ROOT}/src/language/*.h" "${ROOT}/src/language/*.cpp")
foreach(f IN LISTS language)
    file(STRINGS "${f}" hits REGEX
        "^[ \t]*#[ \t]*include[ \t]*([<\"](QtWidgets|QtGui|Qsci)/|[<\"]Q(Widget|Application|Gui)|\"(gui|cli|settings)/)")
    foreach(hit IN LISTS hits)
        report("${f}" "the language client stands on the core and Qt Core only: ${hit}")
    endforeach()
endforeach()

# The floors of src/gui, lowest first: a room includes only its own headers and those of the
# floors below it. A new room must be given its floor here.
set(floor_framework 1)
set(floor_desktop 1)
set(floor_process 1)
set(floor_editor 2)
set(floor_project 2)
set(floor_testing 2)
set(floor_debug 2)
set(floor_dialogs 3)
set(floor_prefs 3)
set(floor_app 4)
file(GLOB_RECURSE gui "${ROOT}/src/gui/*.h" "${ROOT}/src/gui/*.cpp")
foreach(f IN LISTS gui)
    string(REGEX REPLACE "^.*/src/gui/([^/]+)/.*$" "\\1" room "${f}")
    if(NOT DEFINED floor_${room})
        report("${f}" "the room ${room} has no floor in cmake/CheckIncludes.cmake")
        continue()
    endif()
    file(STRINGS "${f}" hits REGEX "^[ \t]*#[ \t]*include[ \t]*\"gui/")
    foreach(hit IN LISTS hits)
        string(REGEX REPLACE "^.*\"gui/([^/]+)/.*$" "\\1" target "${hit}")
        if(NOT target STREQUAL room AND
           (NOT DEFINED floor_${target} OR NOT floor_${target} LESS floor_${room}))
            report("${f}" "${room} looks down only: ${hit}")
        endif()
    endforeach()
endforeach()

# The rooms of every layer, which an include must not name without its layer.
file(GLOB rooms LIST_DIRECTORIES true "${ROOT}/src/*/*")
set(names "")
foreach(room IN LISTS rooms)
    if(IS_DIRECTORY "${room}")
        get_filename_component(name "${room}" NAME)
        list(APPEND names "${name}")
    endif()
endforeach()
list(REMOVE_DUPLICATES names)
string(REPLACE ";" "|" names "${names}")
file(GLOB_RECURSE all "${ROOT}/src/*.h" "${ROOT}/src/*.cpp" "${ROOT}/tests/*.h"
    "${ROOT}/tests/*.cpp" "${ROOT}/bench/*.h" "${ROOT}/bench/*.cpp" "${ROOT}/fuzz/*.h"
    "${ROOT}/fuzz/*.cpp")
foreach(f IN LISTS all)
    file(STRINGS "${f}" hits REGEX "^[ \t]*#[ \t]*include[ \t]*\"(${names})/")
    foreach(hit IN LISTS hits)
        report("${f}" "name the layer from src/: ${hit}")
    endforeach()
endforeach()

if(bad)
    string(REPLACE ";" "\n  " bad "${bad}")
    message(FATAL_ERROR "Includes out of place:\n  ${bad}")
endif()
