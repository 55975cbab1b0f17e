#include "errors/Message.h"

Message::Message(std::string_view text) : msg(std::make_shared<const std::string>(text)) {}
