#pragma once

#include <iostream>
#include <memory>

#include "console/Console.h"
#include "console/EndOfInput.h"
#include "console/Input.h"
#include "errors/EnterExp.h"
#include "registry/Dialog.h"
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
    void vivodAll() {
        if (head == nullptr) {
            std::cout << "NO Element" << std::endl;
        } else {
            for (uzel<T>* node = head; node != nullptr; node = node->next) {
                node->inf.vivod();
                std::cout << dialog::kSeparator << std::endl;
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

    // For walking the list from outside (tests, listings).
    const uzel<T>* first() const { return head; }

  private:
    static constexpr int kLastPosition = 25;

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
    for (;;) {
        try {
            if (pos < 0 || pos > kLastPosition) {
                throw EnterExp(" oshibka v granizah spiska");
            }
            if (head == nullptr) {
                std::cout << "NO Element" << std::endl;
                return;
            }
            // Position 0 and positions past the end match no record and change nothing.
            int count = 0;
            for (uzel<T>* node = head; node != nullptr; node = node->next, ++count) {
                if (count != pos - 1) {
                    continue;
                }
                men& record = node->inf;
                obj.zapomnit(node->inf);
                record.vvod();
                const int too = dialog::askSave();
                if (too != 1) {
                    node->inf = obj.poluchit();
                }
                break;
            }
            return;
        } catch (const EnterExp& thrown) {
            EnterExp objtt = thrown;  // the handler works on its own copy
            objtt.report();
            pos = console::askNumber([] { std::cout << "NUM" << std::endl; });
        } catch (const EndOfInput&) {
            throw;
        } catch (...) {
            std::cout << "eror is no in memory" << std::endl;
        }
    }
}

template <class T>
void spisok<T>::vvodInf() {
    otmena<T> obj;
    T s;
    bool running = true;
    while (running) {
        std::cout << "1-vvod\n2-otmena poslednego deistvia\n3-prosmotr\n4-vivod" << std::endl;
        const std::optional<int> vibor = console::readNumber();
        if (!vibor) {
            continue;
        }
        switch (*vibor) {
            case 1: {
                obj.zapomnit(s);
                s.vvod();
                const int too = dialog::askSave();
                if (too == 1) {
                    obj.otkat();
                } else {
                    s = obj.poluchit();
                }
                break;
            }
            case 2:
                s = obj.poluchit();
                break;
            case 3:
                s.vivod();
                break;
            case 4:
                running = false;
                break;
            default:
                std::cout << "nepravelnii vvod->" << std::endl;
                break;
        }
    }
    dobavit(s);
}
