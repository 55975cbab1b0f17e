#pragma once

#include "errors/ErrorLog.h"
#include "errors/Exp.h"
#include "errors/Message.h"

// A word too long for the string buffer; the message is the rejected word.
class charExp : public Exp {
  public:
    explicit charExp(std::string_view text) : msg(text) {}

    // The console gets a fixed text, the log the word itself.
    void report() const override { errorlog::report("eror in  razmer srtoki", msg.text()); }

    std::string_view getMsg() const { return msg.text(); }

  private:
    Message msg;
};
