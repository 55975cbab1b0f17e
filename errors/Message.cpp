#include "errors/Message.h"

#include <cstring>
#include <utility>

namespace {

char* copyOf(const char* text) {
    const std::size_t size = std::strlen(text) + 1;
    char* buffer = new char[size];
    std::memcpy(buffer, text, size);
    return buffer;
}

}  // namespace

Message::Message(const char* text) : msg(copyOf(text)) {}

Message::Message(const Message& other) : msg(copyOf(other.msg)) {}

Message& Message::operator=(const Message& other) {
    if (this != &other) {
        char* fresh = copyOf(other.msg);
        std::swap(msg, fresh);
        delete[] fresh;
    }
    return *this;
}

Message::~Message() {
    delete[] msg;
}
