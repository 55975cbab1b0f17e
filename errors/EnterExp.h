#pragma once

#include "errors/ErrorLog.h"
#include "errors/Exp.h"
#include "errors/Message.h"

// A record position outside the range that can be changed.
class EnterExp : public Exp {
  public:
    explicit EnterExp(std::string_view text) : msg(text) {}

    void report() const override { errorlog::report(msg.text(), msg.text()); }

  private:
    Message msg;
};
