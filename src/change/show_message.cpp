#include "change/show_message.h"

#include <string>

#include "platform/message_box.h"
#include "resources/string_table.h"

namespace vivo {

int ShowErrorMessage(uint32_t stringId, unsigned style) {
    return platform::ShowMessageBox(LoadString(stringId).value_or(std::string()), "ERROR", style);
}

}  // namespace vivo
