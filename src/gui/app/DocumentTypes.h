#pragma once
// Tovin's five document types, in registration order: the order of the open dialog's filters,
// of matching a file to a type, and of Save All.

#include "core/app/UiHost.h"

#include <vector>

namespace tovin {

struct SDocumentTypeRow {
    const char* resourceString; // the fields of SDocTypeStrings, separated by "\n"
    EDocumentKind documentKind;
    const char* iconName; // the picture of the type's windows
};
const std::vector<SDocumentTypeRow>& DocumentTypeRows();

} // namespace tovin
