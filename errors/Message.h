#pragma once

#include <memory>
#include <string>

// The text an error carries. Copies share one immutable buffer, so copying an
// error, as every handler does, allocates nothing and cannot throw.
class Message {
  public:
    // Copies text: the caller may change or release its own buffer afterwards.
    explicit Message(const char* text);

    const char* text() const noexcept { return msg->c_str(); }

  private:
    std::shared_ptr<const std::string> msg;
};
