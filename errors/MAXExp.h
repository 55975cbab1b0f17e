#pragma once

#include "errors/ErrorLog.h"
#include "errors/Exp.h"
#include "errors/Message.h"

// A date of birth above 65535.
class MAXExp : public Exp {
  public:
    explicit MAXExp(std::string_view text) : msg(text) {}

    void report() const override { errorlog::report(msg.text(), msg.text()); }

  private:
    Message msg;
};
