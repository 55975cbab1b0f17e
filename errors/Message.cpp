#include "errors/Message.h"

Message::Message(const char* text) : msg(std::make_shared<const std::string>(text)) {}
