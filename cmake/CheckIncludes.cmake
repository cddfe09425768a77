# Fails the build when an include breaks the layout of the sources under ROOT:
#  - src/core names a Qt or QScintilla header (even behind a preprocessor condition);
#  - a window room of src/gui below the application (every room but app/) names an app/ header:
#    what those rooms need of the application reaches them through interfaces of their own;
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

file(GLOB_RECURSE gui "${ROOT}/src/gui/*.h" "${ROOT}/src/gui/*.cpp")
list(FILTER gui EXCLUDE REGEX "/src/gui/app/")
foreach(f IN LISTS gui)
    file(STRINGS "${f}" hits REGEX "^[ \t]*#[ \t]*include[ \t]*\"gui/app/")
    foreach(hit IN LISTS hits)
        report("${f}" "only the application includes its own headers: ${hit}")
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
