#pragma once
// What a document needs from the application that holds it: the host for messages and dialogs,
// the recent-file list, and the main window its frames are shown in. The application implements
// it, so the document classes stay free of any one program.

#include "core/app/UiHost.h"

#include <string>

namespace tovin {

class CDocument;
class CDocumentFrame;

class CDocumentHost {
public:
    virtual ~CDocumentHost() = default;

    virtual CUiHost& Host() const = 0;
    // The caption of the document's error messages.
    virtual std::string MessageCaption() const = 0;
    virtual void AddToRecentFileList(const std::string& path) = 0;
    // A new document gets the application's own commands (close, save) on its command map.
    virtual void DocumentCreated(CDocument& document) = 0;
    virtual void AddDocumentFrame(CDocumentFrame* frame) = 0;
    virtual void ActivateDocumentFrame(CDocumentFrame* frame) = 0;
};

} // namespace tovin
