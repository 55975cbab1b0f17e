#pragma once

#include <iostream>
#include <memory>

#include "console/Console.h"
#include "errors/EnterExp.h"
#include "errors/Retry.h"
#include "records/Ask.h"
#include "registry/otmena.h"
#include "registry/uzel.h"

// A registry: records in the order they were added, grown at the tail and
// shrunk at the head. It owns its nodes; it is never copied.
template <class T>
class spisok {
  public:
    spisok() = default;
    spisok(const spisok&) = delete;
    spisok& operator=(const spisok&) = delete;
    ~spisok() {
        while (head != nullptr) {
            removeFirst();
        }
    }

    // Appends a copy of rec.
    void dobavit(const T& rec) {
        auto node = std::make_unique<uzel<T>>();
        node->inf = rec;
        node->next = nullptr;
        uzel<T>* added = node.release();
        if (head != nullptr) {
            tail->next = added;
            tail = added;
        } else {
            tail = added;
            head = added;
        }
    }

    // Prints every record with a separator after each, then waits for a key.
    void vivodAll() const {
        if (head == nullptr) {
            std::cout << "NO Element" << std::endl;
        } else {
            for (const uzel<T>* node = head; node != nullptr; node = node->next) {
                node->inf.vivod();
                std::cout << kSeparator << std::endl;
            }
        }
        static_cast<void>(console::readKey());
    }

    // Removes the oldest record.
    void delet() {
        if (head == nullptr) {
            std::cout << "NO element" << std::endl;
            return;
        }
        removeFirst();
    }

    // Retypes the record at position pos (counted from 1) and keeps or restores it.
    void izmenit(int pos);

    // The new-record entry dialog; appends one record when the user leaves it.
    void vvodInf();

  private:
    static constexpr const char* kSeparator =
        "------------------------------------------------------";
    static constexpr int kLastPosition = 25;

    // After a record has been retyped: whether the user keeps what was typed.
    static bool keepTyped() {
        std::cout << kSeparator << std::endl;
        return ask::number("hotite save date?? 1/2\n") == 1;
    }

    void removeFirst() {
        const std::unique_ptr<uzel<T>> removed(head);
        head = removed->next;
    }

    uzel<T>* head = nullptr;
    uzel<T>* tail = nullptr;
};

template <class T>
void spisok<T>::izmenit(int pos) {
    otmena<T> obj;
    retry<EnterExp>(
        "eror is no in memory",
        [&] {
            if (pos < 0 || pos > kLastPosition) {
                throw EnterExp(" oshibka v granizah spiska");
            }
            if (head == nullptr) {
                std::cout << "NO Element" << std::endl;
                return;
            }
            // Position 0 and positions past the end match no record and change nothing.
            uzel<T>* node = pos == 0 ? nullptr : head;
            for (int count = 1; node != nullptr && count < pos; ++count) {
                node = node->next;
            }
            if (node == nullptr) {
                return;
            }
            // Memory running out gives the record back its value; the attempt then starts again.
            orUndo(node->inf, [&] {
                obj.zapomnit(node->inf);
                node->inf.vvod();
                if (!keepTyped()) {
                    node->inf = obj.poluchit();
                }
            });
        },
        [&pos](const EnterExp&) {
            pos = ask::number("NUM\n");
            return false;
        });
}

template <class T>
void spisok<T>::vvodInf() {
    otmena<T> obj;
    T s;
    bool appended = false;
    while (!appended) {
        const int vibor =
            ask::choice("1-vvod\n2-otmena poslednego deistvia\n3-prosmotr\n4-vivod\n", 1, 4);
        // Memory running out during a choice (the append of 4 too) is said, and the menu comes
        // back with the record as it was before it.
        orSay(kOtherFault, [&] {
            orUndo(s, [&] {
                switch (vibor) {
                    case 1:
                        obj.zapomnit(s);
                        s.vvod();
                        if (keepTyped()) {
                            obj.otkat();
                        } else {
                            s = obj.poluchit();
                        }
                        break;
                    case 2:
                        s = obj.poluchit();
                        break;
                    case 3:
                        s.vivod();
                        break;
                    case 4:
                        dobavit(s);
                        appended = true;
                        break;
                }
            });
        });
    }
}
