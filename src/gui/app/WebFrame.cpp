#include "gui/app/WebFrame.h"

namespace tovin {

CWebFrame::CWebFrame(CDocument& document) : CDocumentFrame(document) {}

} // namespace tovin
