#pragma once
// The project's document window: a plain document frame, named for the project's own view.

#include "gui/framework/DocumentFrame.h"

namespace tovin {

class CProjectFrame : public CDocumentFrame {
    Q_OBJECT
public:
    using CDocumentFrame::CDocumentFrame;
};

} // namespace tovin
