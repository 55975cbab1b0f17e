#pragma once

// The text an error carries: a terminated character buffer of its own on the
// free store, sized to the text. Every copy owns a buffer of its own, so a copy
// can be read until it is destroyed, whatever happens to the others.
class Message {
  public:
    explicit Message(const char* text);
    Message(const Message& other);
    Message& operator=(const Message& other);
    ~Message();

    const char* text() const { return msg; }

  private:
    char* msg;
};
