#pragma once

// One-step undo holder: the value last remembered (tek) and the one before (pred).
template <class T>
class otmena {
  public:
    // tek becomes a copy of value; what tek held moves to pred.
    void zapomnit(const T& value) {
        pred = tek;
        tek = value;
    }
    // tek goes back to pred; pred stays, so a second undo changes nothing.
    void otkat() { tek = pred; }
    // A copy of tek; the holder is not changed.
    T poluchit() const { return tek; }

  private:
    T tek{};
    T pred{};
};
