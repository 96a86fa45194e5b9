#include "change/show_message.h"

#include <string>

#include "platform/message_box.h"
#include "resources/string_table.h"

namespace vivo {
namespace {

// The caption the application's standard message box carries: the plug-in's own name, as a
// plug-in-wide message box names the module it comes from.
constexpr std::string_view kApplicationCaption = "Vivo";

}  // namespace

int ShowMessage(int mode, uint32_t stringId, unsigned style, std::string_view caption) {
    const std::string text = LoadString(stringId).value_or(std::string());
    std::string_view shownCaption = caption;
    switch (mode) {
        case kMessageApplication: shownCaption = kApplicationCaption; break;
        case kMessageWarning: shownCaption = "WARNING"; break;
        case kMessageError: shownCaption = "ERROR"; break;
        default: break;
    }
    return platform::ShowMessageBox(text, shownCaption, style);
}

}  // namespace vivo
