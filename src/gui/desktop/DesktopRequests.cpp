#include "gui/desktop/DesktopRequests.h"

namespace tovin {

bool OpenWithDesktopOrSay(CUiHost& host, const std::string& target) {
    if (host.OpenWithDesktop(target)) {
        return true;
    }
    host.MessageBox("The desktop could not open \"" + target + "\".", "Tovin", EMsgButtons::Ok,
                    EMsgIcon::Warning);
    return false;
}

} // namespace tovin
