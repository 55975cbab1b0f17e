#pragma once

#include "errors/ErrorLog.h"
#include "errors/Exp.h"
#include "errors/Message.h"

// A union member's list of works that cannot be made.
class memberExp : public Exp {
  public:
    explicit memberExp(std::string_view text) : msg(text) {}

    void report() const override { errorlog::report(msg.text(), msg.text()); }

  private:
    Message msg;
};
