#pragma once

#include <memory>
#include <string>
#include <string_view>

// The text an error carries. Copies share one immutable buffer, so copying an
// error, as every handler does, allocates nothing and cannot throw.
class Message {
  public:
    // Copies text: the caller may change or release its own buffer afterwards.
    explicit Message(std::string_view text);

    std::string_view text() const noexcept { return *msg; }

  private:
    std::shared_ptr<const std::string> msg;
};
