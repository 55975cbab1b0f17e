#pragma once

#include "records/men.h"

// One-step undo holder: the value last remembered (tek) and the one before (pred). Each change
// copies first and then exchanges, so memory running out leaves the holder as it was.
template <class T>
class otmena {
  public:
    // tek becomes a copy of value; what tek held moves to pred.
    void zapomnit(const T& value) {
        T kept = value;
        swapRecords(pred, tek);
        swapRecords(tek, kept);
    }
    // tek goes back to pred; pred stays, so a second undo changes nothing.
    void otkat() {
        T back = pred;
        swapRecords(tek, back);
    }
    // A copy of tek; the holder is not changed.
    T poluchit() const { return tek; }

  private:
    T tek{};
    T pred{};
};

// Runs change on rec. When it fails (memory running out, input ending), rec gets back the value
// it had, without a copy that could fail in turn, and the failure goes on.
template <class T, class Change>
void orUndo(T& rec, Change change) {
    T before = rec;
    try {
        change();
    } catch (...) {
        swapRecords(rec, before);
        throw;
    }
}
