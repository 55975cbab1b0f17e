#pragma once

// Base of the program's error reports. Each kind is thrown by value where bad
// input is found and caught by value by a handler of its exact class, which
// calls report and lets the user try again.
class Exp {
  public:
    Exp() = default;
    Exp(const Exp&) = default;
    Exp& operator=(const Exp&) = delete;
    virtual void report() const = 0;
    virtual ~Exp() = default;
};
