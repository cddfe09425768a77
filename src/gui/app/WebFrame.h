#pragma once
// The frame of an HTML, XML or Jython window: the view alone.

#include "gui/framework/DocumentFrame.h"

namespace tovin {

class CWebFrame : public CDocumentFrame {
    Q_OBJECT
public:
    explicit CWebFrame(CDocument& document);
};

} // namespace tovin
