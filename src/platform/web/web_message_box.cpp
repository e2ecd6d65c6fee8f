#include "platform/web/web_message_box.h"

#include <emscripten.h>

// clang-format off
EM_JS(void, zemra_page_message, (const char* text), { zemraPage.message(UTF8ToString(text)); });
// clang-format on

void WebMessageBox::showMessage(const std::string& text) { zemra_page_message(text.c_str()); }
