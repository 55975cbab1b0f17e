#pragma once

// One node of a record list: the record by value and the link to the next node.
// Nodes are owned by their list, which frees them without recursion.
template <class T>
struct uzel {
    T inf{};
    uzel* next = nullptr;
};
